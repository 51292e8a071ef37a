#include "platform/sdl/canvas_pixels.h"

#include <cstddef>

namespace platform {

void ToCanvasPixels(const PixelView& picture, std::vector<uint32_t>& out) {
  const size_t width = static_cast<size_t>(picture.Width);
  out.resize(width * static_cast<size_t>(picture.Height));
  uint32_t* to = out.data();
  for (int32_t y = 0; y < picture.Height; ++y) {
    const uint32_t* from = picture.Pixels + static_cast<size_t>(y) * picture.Pitch;
    // Little-endian words: 0xXXRRGGBB becomes 0xFFBBGGRR, the bytes R, G, B, A.
    for (size_t x = 0; x < width; ++x) {
      const uint32_t p = from[x];
      to[x] = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
    }
    to += width;
  }
}

}  // namespace platform
