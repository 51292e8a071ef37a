// Reading pictures: every bitmap layout the game may meet, JPEG through libjpeg, the exact
// error texts, and damaged or lying files that must fail cleanly.
#include <gtest/gtest.h>

#include <jerror.h>
#include <jpeglib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/random.h"
#include "presentation/picture.h"
#include "presentation/picture_decoders.h"
#include "support/sample_files.h"
#include "support/temp_dir.h"

namespace {

using picture_codec::DecodeBmp;
using picture_codec::DecodeJpeg;

// 3 x 2 (a row of 9 bytes pads to 12 at 24 bits): red green blue / white black grey.
const std::vector<uint32_t> kSix = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};

std::string ErrorOf(TPicture& p, const std::string& path) {
  try {
    p.LoadFromFile(path);
  } catch (const EGameError& e) {
    return e.what();
  }
  return "";
}

TEST(BmpDecoder, TrueColourBottomUpAndTopDown) {
  for (bool topDown : {false, true}) {
    auto file = samples::Bmp(3, 2, 24, kSix, topDown);
    TPicture p;
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), p)) << topDown;
    EXPECT_EQ(p.Width, 3);
    EXPECT_EQ(p.Height, 2);
    EXPECT_EQ(p.Pixels, kSix) << topDown;
  }
}

TEST(BmpDecoder, ThirtyTwoBitsIgnoreTheFourthByte) {
  std::vector<uint32_t> withAlpha;
  for (uint32_t c : kSix) withAlpha.push_back(c | 0xAB000000u);
  auto file = samples::Bmp(3, 2, 32, withAlpha);
  TPicture p;
  ASSERT_TRUE(DecodeBmp(file.data(), file.size(), p));
  EXPECT_EQ(p.Pixels, kSix);  // the key compares exact 24-bit colours
}

TEST(BmpDecoder, PaletteDepths) {
  const std::vector<uint32_t> palette = {0x000000, 0x598B2D, 0xFFFF00, 0x123456};
  const std::vector<uint32_t> indexes = {0, 1, 2, 3, 1, 0};
  std::vector<uint32_t> expected;
  for (uint32_t i : indexes) expected.push_back(palette[i]);
  for (int bpp : {4, 8}) {
    auto file = samples::Bmp(3, 2, bpp, indexes, false, palette);
    TPicture p;
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), p)) << bpp;
    EXPECT_EQ(p.Pixels, expected) << bpp;
  }
  auto mono = samples::Bmp(9, 1, 1, {1, 0, 1, 0, 1, 0, 1, 0, 1}, false, {0x000000, 0xFFFFFF});
  TPicture p;
  ASSERT_TRUE(DecodeBmp(mono.data(), mono.size(), p));
  EXPECT_EQ(p.Pixels[8], 0xFFFFFFu);  // the ninth pixel sits in the second byte
  EXPECT_EQ(p.Pixels[7], 0u);
}

TEST(BmpDecoder, BitFieldsAndSixteenBits) {
  // 16 bits, 5-6-5 through bit fields: full-scale channels must come out as 255.
  std::vector<uint8_t> f = samples::Bmp(2, 1, 24, {0, 0});  // header to patch
  f.resize(14 + 40);
  samples::Set32(f, 10, 14 + 40 + 12);
  f[28] = 16;
  samples::Set32(f, 30, 3);  // BI_BITFIELDS
  samples::Put32(f, 0xF800);
  samples::Put32(f, 0x07E0);
  samples::Put32(f, 0x001F);
  samples::Put16(f, 0xF800);  // red
  samples::Put16(f, 0x07FF);  // green + blue
  TPicture p;
  ASSERT_TRUE(DecodeBmp(f.data(), f.size(), p));
  EXPECT_EQ(p.Pixels, (std::vector<uint32_t>{0xFF0000, 0x00FFFF}));
}

TEST(BmpDecoder, DamagedOrLyingFilesFail) {
  const auto good = samples::Bmp(3, 2, 24, kSix);
  TPicture p;
  // Every truncation of a valid file fails (the pixel rows are all needed).
  for (size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(DecodeBmp(good.data(), n, p)) << n;
  }
  EXPECT_TRUE(p.Pixels.empty());

  auto patched = [&](size_t at, uint32_t v) {
    auto f = good;
    samples::Set32(f, at, v);
    return f;
  };
  const std::vector<std::vector<uint8_t>> bad = {
      patched(18, 0x7FFFFFFF),  // width beyond any bound
      patched(22, 0x80000000),  // height INT_MIN
      patched(18, 0),           // zero width
      patched(22, 0),           // zero height
      patched(18, 60000),       // 60000 x 2 claims more rows than the file holds
      patched(10, 0xFFFFFFF0),  // pixel offset past the end
      patched(14, 0xFFFFFFFF),  // header longer than the file
      patched(14, 20),          // header size of no known kind
      patched(30, 4),           // compression of no known kind (JPEG inside BMP)
  };
  for (size_t i = 0; i < bad.size(); ++i) {
    EXPECT_FALSE(DecodeBmp(bad[i].data(), bad[i].size(), p)) << i;
  }
  // The old core header has 16-bit sides; zero is no picture either.
  std::vector<uint8_t> core = {'B', 'M', 36, 0, 0, 0,  0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 3,
                               0,   0,   0,  1, 0, 24, 0, 1, 2, 3, 4,  5, 6, 7, 8,  9, 0, 0, 0};
  EXPECT_FALSE(DecodeBmp(core.data(), core.size(), p));
  core[20] = 1;  // 3 x 1 now
  EXPECT_TRUE(DecodeBmp(core.data(), core.size(), p));
  EXPECT_EQ(p.Pixels[0], 0x030201u);
  // A 32768 x 32768 claim is refused before any allocation.
  auto huge = patched(18, 32768);
  samples::Set32(huge, 22, 32768);
  EXPECT_FALSE(DecodeBmp(huge.data(), huge.size(), p));
}

TEST(BmpDecoder, RunLengthCannotWriteOutsideThePicture) {
  std::vector<uint8_t> f =
      samples::Bmp(2, 2, 8, std::vector<uint32_t>(4, 0), false, {0x000000, 0xFF0000});
  f.resize(f.size() - 8);
  samples::Set32(f, 30, 1);
  // A run far longer than a row, a delta far past the picture, a literal past the end.
  const std::vector<uint8_t> rle = {255, 1, 0, 2, 200, 200, 0, 9, 1, 1};
  f.insert(f.end(), rle.begin(), rle.end());
  TPicture p;
  EXPECT_FALSE(DecodeBmp(f.data(), f.size(), p));
}

// Coded rows read the plain way: the whole picture in colour 0 first, then every pixel put
// in place as the commands come. The reader keeps what it reads until it knows the picture
// is whole; it must still agree with this pixel for pixel, and on every failure. A picture
// may claim at most 128 pixels per coded byte (runs of 255 in two bytes).
std::optional<std::vector<uint32_t>> PlainRle(const std::vector<uint8_t>& s, int32_t w, int32_t h,
                                              bool four, const std::vector<uint32_t>& pal) {
  if (int64_t{w} * h > 128 * static_cast<int64_t>(s.size())) return std::nullopt;
  std::vector<uint32_t> px(static_cast<size_t>(w) * static_cast<size_t>(h), pal[0]);
  int64_t x = 0, row = 0;
  size_t i = 0;
  const size_t n = s.size();
  auto put = [&](uint32_t index) {
    if (x < w && row < h) px[static_cast<size_t>((h - 1 - row) * w + x)] = pal[index];
    ++x;
  };
  while (i + 1 < n) {
    const uint8_t count = s[i], value = s[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(four ? ((k & 1) ? (value & 0xF) : (value >> 4)) : value);
      continue;
    }
    if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      return px;
    } else if (value == 2) {
      if (i + 1 >= n) return std::nullopt;
      x += s[i];
      row += s[i + 1];
      i += 2;
    } else {
      const size_t bytes = four ? (value + 1u) / 2u : value;
      const size_t padded = (bytes + 1) & ~size_t{1};
      if (padded > n - i) return std::nullopt;
      for (int k = 0; k < value; ++k) {
        put(four ? ((k & 1) ? (s[i + k / 2] & 0xF) : (s[i + k / 2] >> 4)) : s[i + k]);
      }
      i += padded;
    }
    if (row > h) return std::nullopt;
  }
  if (row < h) return std::nullopt;
  return px;
}

std::vector<uint8_t> RandomCoded(TRandom& r, bool four) {
  std::vector<uint8_t> c;
  auto add = [&](std::initializer_list<int32_t> bytes) {
    for (int32_t b : bytes) c.push_back(static_cast<uint8_t>(b));
  };
  for (int k = r.Random(60); k >= 0; --k) {
    switch (r.Random(10)) {
      case 0:
        add({0, 0});  // end of row
        break;
      case 1:
        add({0, 2, r.Random(12), r.Random(3)});  // move right and up
        break;
      case 2:
      case 3: {
        const int32_t count = 3 + r.Random(30);
        add({0, count});
        const int32_t bytes = four ? (count + 1) / 2 : count;
        for (int32_t b = 0; b < (bytes + 1) / 2 * 2; ++b) add({r.Random(256)});
        break;
      }
      default:
        add({1 + r.Random(40), r.Random(256)});  // a run
    }
  }
  if (r.Random(2)) add({0, 1});  // end of picture
  if (r.Random(8) == 0) c.pop_back();
  return c;
}

TEST(BmpDecoder, RunLengthAgreesWithThePlainReadingAtAnyClaimedSize) {
  std::vector<uint32_t> pal(256);
  for (uint32_t k = 0; k < 256; ++k) pal[k] = (0x123456 + k * 0x010305) & 0xFFFFFF;
  TRandom r(3);
  int whole = 0, large = 0;
  for (int round = 0; round < 400; ++round) {
    const bool four = round % 2 == 1;
    const std::vector<uint32_t> palette(pal.begin(), pal.begin() + (four ? 16 : 256));
    // Small pictures, larger ones, and now and then one claiming far more than its bytes.
    const int32_t kind = r.Random(8);
    const int32_t w = kind == 0 ? 2000 + r.Random(2000) : 1 + r.Random(kind < 4 ? 48 : 300);
    const int32_t h = kind == 0 ? 1000 + r.Random(1000) : 1 + r.Random(kind < 4 ? 24 : 60);
    const auto coded = RandomCoded(r, four);
    const bool huge = int64_t{w} * h > 2 * static_cast<int64_t>(coded.size());
    auto f = samples::Bmp(1, 1, four ? 4 : 8, {0}, false, palette);
    f.resize(14 + 40 + palette.size() * 4);
    samples::Set32(f, 18, static_cast<uint32_t>(w));
    samples::Set32(f, 22, static_cast<uint32_t>(h));
    samples::Set32(f, 30, four ? 2 : 1);
    f.insert(f.end(), coded.begin(), coded.end());
    TPicture p;
    const auto plain = PlainRle(coded, w, h, four, palette);
    ASSERT_EQ(DecodeBmp(f.data(), f.size(), p), plain.has_value()) << "round " << round;
    if (!plain) continue;
    ASSERT_EQ(p.Width, w);
    ASSERT_EQ(p.Height, h);
    ASSERT_TRUE(p.Pixels == *plain) << "round " << round;
    ++whole;
    large += huge;
  }
  EXPECT_GT(whole, 100);
  EXPECT_GT(large, 3);
}

std::vector<uint32_t> Blocks(int32_t w, int32_t h) {
  std::vector<uint32_t> px(static_cast<size_t>(w * h));
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) px[y * w + x] = x < w / 2 ? 0xE02010 : 0x1040D0;
  }
  return px;
}

int Distance(uint32_t a, uint32_t b) {
  int d = 0;
  for (int s = 0; s < 24; s += 8)
    d = std::max(d, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
  return d;
}

TEST(JpegDecoder, DecodesColourGreyAndProgressiveFiles) {
  const auto px = Blocks(32, 16);
  for (bool progressive : {false, true}) {
    auto file = samples::Jpeg(32, 16, px, 95, false, progressive);
    TPicture p;
    ASSERT_EQ(DecodeJpeg(file.data(), file.size(), p), 0);
    ASSERT_EQ(p.Width, 32);
    ASSERT_EQ(p.Height, 16);
    EXPECT_LE(Distance(p.Pixels[4 * 32 + 3], 0xE02010), 8);
    EXPECT_LE(Distance(p.Pixels[12 * 32 + 28], 0x1040D0), 8);
    EXPECT_EQ(p.Pixels[0] >> 24, 0u);  // the unused byte is zero, as in every picture
  }
  std::vector<uint32_t> grey(64, 0x90);
  auto file = samples::Jpeg(8, 8, grey, 95, true);
  TPicture p;
  ASSERT_EQ(DecodeJpeg(file.data(), file.size(), p), 0);
  EXPECT_LE(Distance(p.Pixels[27], 0x909090), 2);
}

TEST(JpegDecoder, DamageIsAnErrorNeverAnExit) {
  const auto file = samples::Jpeg(32, 16, Blocks(32, 16));
  TPicture p;
  // Cut off inside the entropy-coded data: libjpeg only warns; here that is an error.
  EXPECT_EQ(DecodeJpeg(file.data(), file.size() - 40, p), JWRN_JPEG_EOF);
  EXPECT_NE(DecodeJpeg(file.data(), 100, p), 0);
  for (size_t n = 0; n < file.size(); n += 7) EXPECT_NE(DecodeJpeg(file.data(), n, p), 0) << n;
  auto junk = file;
  for (size_t i = 200; i < junk.size() - 2; i += 3) junk[i] = 0xFF;  // marker soup
  EXPECT_NE(DecodeJpeg(junk.data(), junk.size(), p), 0);
  EXPECT_TRUE(p.Pixels.empty());
}

// An 8 x 8 grey progressive JPEG of exactly `scans` scans (64 to 568): one DC scan, then
// each AC coefficient in a band of its own, sent whole or in successive approximation steps.
std::vector<uint8_t> JpegOfScans(int scans) {
  std::vector<jpeg_scan_info> script;
  script.push_back({1, {0, 0, 0, 0}, 0, 0, 0, 0});
  int extra = scans - 64;  // refinement scans still to place, at most 8 per coefficient
  for (int k = 1; k <= 63; ++k) {
    const int steps = std::min(extra, 8);
    extra -= steps;
    script.push_back({1, {0, 0, 0, 0}, k, k, 0, steps});
    for (int ah = steps; ah > 0; --ah) script.push_back({1, {0, 0, 0, 0}, k, k, ah, ah - 1});
  }
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long memSize = 0;
  jpeg_mem_dest(&c, &mem, &memSize);
  c.image_width = 8;
  c.image_height = 8;
  c.input_components = 1;
  c.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&c);
  c.scan_info = script.data();
  c.num_scans = static_cast<int>(script.size());
  jpeg_start_compress(&c, TRUE);
  uint8_t row[8] = {0, 40, 80, 120, 160, 200, 240, 255};
  while (c.next_scanline < 8) {
    JSAMPROW r = row;
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> out(mem, mem + memSize);
  jpeg_destroy_compress(&c);
  std::free(mem);
  return out;
}

// Sets the sides in the frame header (the first SOF0 marker) of a baseline JPEG.
void SetJpegSides(std::vector<uint8_t>& f, uint16_t w, uint16_t h) {
  for (size_t i = 2; i + 9 < f.size(); ++i) {
    if (f[i] == 0xFF && f[i + 1] == 0xC0) {
      f[i + 5] = static_cast<uint8_t>(h >> 8);
      f[i + 6] = static_cast<uint8_t>(h);
      f[i + 7] = static_cast<uint8_t>(w >> 8);
      f[i + 8] = static_cast<uint8_t>(w);
      return;
    }
  }
  FAIL() << "no frame header";
}

TEST(JpegDecoder, AtMost256ProgressiveScans) {
  TPicture p;
  auto ok = JpegOfScans(256);
  ASSERT_EQ(DecodeJpeg(ok.data(), ok.size(), p), 0);
  EXPECT_EQ(p.Width, 8);
  EXPECT_LE(Distance(p.Pixels[8 * 3 + 7], 0xFFFFFF), 8);
  TPicture q;
  auto many = JpegOfScans(257);
  EXPECT_EQ(DecodeJpeg(many.data(), many.size(), q), JERR_NOTIMPL);
  EXPECT_TRUE(q.Pixels.empty());
}

TEST(JpegDecoder, SidesUpTo32768AndPicturesUpTo2To25Pixels) {
  // A real 32768 x 1 picture decodes; the same header one pixel wider is refused.
  auto wide = samples::Jpeg(32768, 1, std::vector<uint32_t>(32768, 0x808080), 50, true);
  TPicture p;
  ASSERT_EQ(DecodeJpeg(wide.data(), wide.size(), p), 0);
  EXPECT_EQ(p.Width, 32768);
  auto wider = samples::Jpeg(32769, 1, std::vector<uint32_t>(32769, 0x808080), 50, true);
  EXPECT_EQ(DecodeJpeg(wider.data(), wider.size(), p), JERR_IMAGE_TOO_BIG);
  auto tall = samples::Jpeg(1, 32769, std::vector<uint32_t>(32769, 0x808080), 50, true);
  EXPECT_EQ(DecodeJpeg(tall.data(), tall.size(), p), JERR_IMAGE_TOO_BIG);
  EXPECT_EQ(p.Width, 32768);  // failures left the picture alone

  // 32768 x 1024 is exactly the pixel limit: accepted, then the end marker comes after the
  // first rows. One row more is refused before anything is allocated or decoded.
  auto limit = wide;
  SetJpegSides(limit, 32768, 1024);
  EXPECT_EQ(DecodeJpeg(limit.data(), limit.size(), p), JWRN_HIT_MARKER);  // the end marker
  auto over = wide;
  SetJpegSides(over, 32768, 1025);
  EXPECT_EQ(DecodeJpeg(over.data(), over.size(), p), JERR_IMAGE_TOO_BIG);
  SetJpegSides(over, 16384, 2049);
  EXPECT_EQ(DecodeJpeg(over.data(), over.size(), p), JERR_IMAGE_TOO_BIG);
}

TEST(PictureLoadFromFile, FilesUpTo64MiBAreReadLargerOnesRefused) {
  // Valid pictures followed by zeros up to the cap; sparse, so they cost no disk.
  ScopedTempDir dir;
  dir.Write("a.bmp", samples::Bmp(3, 2, 24, kSix));
  dir.Write("a.jpg", samples::Jpeg(32, 16, Blocks(32, 16)));
  const off_t cap = off_t{64} << 20;
  TPicture p;
  for (const char* name : {"a.bmp", "a.jpg"}) {
    ASSERT_EQ(truncate(name, cap), 0);
    p.LoadFromFile(name);
  }
  EXPECT_EQ(p.Width, 32);
  ASSERT_EQ(truncate("a.bmp", cap + 1), 0);
  EXPECT_EQ(ErrorOf(p, "a.bmp"), "Bitmap image is not valid");
  ASSERT_EQ(truncate("a.jpg", cap + 1), 0);
  EXPECT_EQ(ErrorOf(p, "a.jpg"), "JPEG error #" + std::to_string(JERR_IMAGE_TOO_BIG));
  EXPECT_EQ(p.Width, 32);
}

TEST(PictureLoadFromFile, ChoosesTheDecoderByExtensionWhateverItsCase) {
  ScopedTempDir dir;
  dir.Write("a.BMP", samples::Bmp(3, 2, 24, kSix));
  dir.Write("b.Jpg", samples::Jpeg(32, 16, Blocks(32, 16)));
  dir.Write("c.jpeg", samples::Jpeg(8, 4, Blocks(8, 4)));
  TPicture p;
  p.LoadFromFile("a.BMP");
  EXPECT_EQ(p.Pixels, kSix);
  p.LoadFromFile("b.Jpg");
  EXPECT_EQ(p.Width, 32);
  p.LoadFromFile("c.jpeg");
  EXPECT_EQ(p.Width, 8);
}

TEST(PictureLoadFromFile, ErrorsCarryTheirTextsAndKeepThePreviousPicture) {
  ScopedTempDir dir;
  dir.Write("good.bmp", samples::Bmp(3, 2, 24, kSix));
  auto bmp = samples::Bmp(3, 2, 24, kSix);
  bmp.resize(bmp.size() - 1);
  dir.Write("short.bmp", bmp);
  auto jpg = samples::Jpeg(32, 16, Blocks(32, 16));
  jpg.resize(jpg.size() / 2);
  dir.Write("short.jpg", jpg);
  dir.Write("text.jpg", {'h', 'e', 'l', 'l', 'o'});

  TPicture p;
  p.LoadFromFile("good.bmp");
  EXPECT_EQ(ErrorOf(p, "missing.bmp"), "Cannot open file missing.bmp");
  EXPECT_EQ(ErrorOf(p, "res/pic.gif"), "Unknown picture file extension (.gif)");
  EXPECT_EQ(ErrorOf(p, "noextension"), "Unknown picture file extension (.)");
  EXPECT_EQ(ErrorOf(p, "short.bmp"), "Bitmap image is not valid");
  EXPECT_EQ(ErrorOf(p, "short.jpg"), "JPEG error #" + std::to_string(JWRN_JPEG_EOF));
  EXPECT_EQ(ErrorOf(p, "text.jpg").rfind("JPEG error #", 0), 0u);
  EXPECT_EQ(p.Pixels, kSix);  // every failure left the good picture in place
  EXPECT_THROW(p.LoadFromFile("missing.jpg"), EInOutError);
}

}  // namespace
