#include "platform/sdl/canvas_pixels.h"

#include <cstddef>
#include <cstring>

namespace platform {

namespace {

// Little-endian words: 0xXXRRGGBB becomes 0xFFBBGGRR, the bytes R, G, B, A.
inline uint32_t CanvasPixel(uint32_t p) {
  return 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

// The same for two pixels at once: a page runs this over every pixel of every frame, and
// 64-bit words halve the work where the wasm machine has no vector instructions.
inline uint64_t CanvasPixels(uint64_t p) {
  constexpr uint64_t kBlue = 0x000000FF000000FFull, kGreen = 0x0000FF000000FF00ull;
  constexpr uint64_t kOpaque = 0xFF000000FF000000ull;
  return kOpaque | ((p & kBlue) << 16) | (p & kGreen) | ((p >> 16) & kBlue);
}

}  // namespace

void ToCanvasPixels(const PixelView& picture, std::vector<uint32_t>& out) {
  const size_t width = static_cast<size_t>(picture.Width);
  out.resize(width * static_cast<size_t>(picture.Height));
  uint32_t* to = out.data();
  for (int32_t y = 0; y < picture.Height; ++y) {
    const uint32_t* from = picture.Pixels + static_cast<size_t>(y) * picture.Pitch;
    size_t x = 0;
    for (; x + 2 <= width; x += 2) {
      uint64_t pair;
      std::memcpy(&pair, from + x, sizeof pair);
      pair = CanvasPixels(pair);
      std::memcpy(to + x, &pair, sizeof pair);
    }
    if (x < width) to[x] = CanvasPixel(from[x]);
    to += width;
  }
}

}  // namespace platform
