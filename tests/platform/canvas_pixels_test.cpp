#include "platform/sdl/canvas_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A canvas reads bytes R, G, B, A; the rows lose the back buffer's padding.
TEST(CanvasPixels, EachPixelBecomesItsRedGreenBlueBytesOpaqueRowAfterRow) {
  const std::vector<uint32_t> back = {0x00112233, 0xFF0000FF, 0x7F00FF00, 0xDEADBEEF,
                                      0x00FFFFFF, 0x00000000, 0x12345678, 0xDEADBEEF};
  platform::PixelView view{back.data(), 3, 2, 4};
  std::vector<uint32_t> out = {1, 2};
  platform::ToCanvasPixels(view, out);
  ASSERT_EQ(out.size(), 6u);
  std::vector<uint8_t> bytes(24);
  std::memcpy(bytes.data(), out.data(), bytes.size());
  const std::vector<uint8_t> expected = {0x11, 0x22, 0x33, 0xFF, 0x00, 0x00, 0xFF, 0xFF,
                                         0x00, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                         0x00, 0x00, 0x00, 0xFF, 0x34, 0x56, 0x78, 0xFF};
  EXPECT_EQ(bytes, expected);
}

}  // namespace
