// Bitmap layouts checked pixel by pixel against pictures worked out by hand from the coded
// bytes: run-length 8- and 4-bit rows, and 16-bit pixels in the default 5-5-5 layout.
#include <gtest/gtest.h>

#include <vector>

#include "presentation/picture.h"
#include "presentation/picture_decoders.h"
#include "support/sample_files.h"

namespace {

using picture_codec::DecodeBmp;

// Palette colours by index.
constexpr uint32_t K = 0x000000, A = 0xFF0000, B = 0x00FF00, C = 0x0000FF, D = 0xFFFF00,
                   E = 0x00FFFF;
const std::vector<uint32_t> kPalette = {K, A, B, C, D, E};

// A run-length bitmap of the given sides holding the coded bytes.
std::vector<uint8_t> RleBmp(int32_t w, int32_t h, bool four, const std::vector<uint8_t>& coded) {
  auto f = samples::Bmp(1, 1, four ? 4 : 8, {0}, false, kPalette);
  f.resize(14 + 40 + kPalette.size() * 4);
  samples::Set32(f, 18, static_cast<uint32_t>(w));
  samples::Set32(f, 22, static_cast<uint32_t>(h));
  samples::Set32(f, 30, four ? 2 : 1);
  f.insert(f.end(), coded.begin(), coded.end());
  return f;
}

TEST(BmpPixels, RunLengthEightBitsWithAnOddLiteralRunAndDeltas) {
  const std::vector<uint8_t> coded = {
      0, 3, 1, 2, 3, 7,  // bottom row: a literal of three, then its pad byte (not a command)
      2, 4,              // a run of two: colour 4
      0, 0,              // end of row
      0, 2, 2, 0,        // move 2 right
      1, 5,              // one of colour 5 at x 2
      0, 2, 1, 1,        // move 1 right and 1 up: x 4 of the top row
      1, 3,              // one of colour 3
      0, 1,              // end of picture
  };
  const auto f = RleBmp(5, 3, false, coded);
  TPicture p;
  ASSERT_TRUE(DecodeBmp(f.data(), f.size(), p));
  EXPECT_EQ(p.Pixels, (std::vector<uint32_t>{
                          K, K, K, K, C,  // top row: untouched pixels are colour 0
                          K, K, E, K, K,  //
                          A, B, C, D, D,  // bottom row
                      }));
}

TEST(BmpPixels, RunLengthFourBitsHighNibbleFirstAndAMissingEndMarker) {
  const std::vector<uint8_t> coded = {
      5,    0x12,                    // bottom row: a run of five alternating 1, 2, 1, 2, 1
      0,    0,                       // end of row
      0,    5,    0x34, 0x51, 0x20,  // a literal of five nibbles in three bytes...
      0x77,                          // ...and its pad byte
      0,    0,                       // end of row: every row is done, the end marker is missing
  };
  auto f = RleBmp(6, 2, true, coded);
  TPicture p;
  ASSERT_TRUE(DecodeBmp(f.data(), f.size(), p));
  EXPECT_EQ(p.Pixels, (std::vector<uint32_t>{
                          C, D, E, A, B, K,  // top row
                          A, B, A, B, A, K,  // bottom row
                      }));
  // Without the last end of row a row is missing: the file is damaged.
  f.resize(f.size() - 2);
  EXPECT_FALSE(DecodeBmp(f.data(), f.size(), p));
}

TEST(BmpPixels, SixteenBitsWithoutMasksAreFiveFiveFive) {
  // 3 x 2, rows of 6 bytes padded to 8, bottom row first.
  auto f = samples::Bmp(3, 2, 24, std::vector<uint32_t>(6, 0));
  f.resize(14 + 40);
  f[28] = 16;
  const uint16_t bottom[3] = {0x7C00, 0x03E0, 0x001F};  // full red, green, blue
  const uint16_t top[3] = {0xFFFF, 0x4210, 0x0001};     // the top bit is unused; 16 of 31; 1
  for (const uint16_t* row : {bottom, top}) {
    for (int x = 0; x < 3; ++x) samples::Put16(f, row[x]);
    samples::Put16(f, 0xABCD);  // padding
  }
  TPicture p;
  ASSERT_TRUE(DecodeBmp(f.data(), f.size(), p));
  // A five-bit v widens to (v * 255 + 15) / 31: 31 -> 255, 16 -> 132, 1 -> 8.
  EXPECT_EQ(p.Pixels,
            (std::vector<uint32_t>{0xFFFFFF, 0x848484, 0x000008, 0xFF0000, 0x00FF00, 0x0000FF}));
}

}  // namespace
