// The picture in the byte order of a browser canvas's image data (red, green, blue, opaque
// alpha), from the back buffer's XRGB words (blue first in memory). A page hands the result
// to the canvas as it is: no copy through SDL's surfaces, no conversion in JavaScript.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/backend.h"

namespace platform {

// Fills `out` with picture.Width x picture.Height pixels, row after row without padding.
void ToCanvasPixels(const PixelView& picture, std::vector<uint32_t>& out);

}  // namespace platform
