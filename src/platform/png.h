// Saving and reading window pictures as PNG (8-bit RGB), through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace platform {

// Writes the picture; false (with nothing half-written left behind) on failure.
bool WritePng(const std::string& path, const PixelView& picture);

struct PngPicture {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;  // XRGB8888
};
// Reads an 8-bit RGB(A) or grey PNG; false when it cannot.
bool ReadPng(const std::string& path, PngPicture& out);

}  // namespace platform
