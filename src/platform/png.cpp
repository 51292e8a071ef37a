#include "platform/png.h"

#include <png.h>

#include <cstdio>
#include <filesystem>

namespace platform {

bool WritePng(const std::string& path, const PixelView& picture) {
  if (!picture.Pixels || picture.Width <= 0 || picture.Height <= 0) return false;
  std::vector<uint8_t> rgb(static_cast<size_t>(picture.Width) * picture.Height * 3);
  for (int32_t y = 0; y < picture.Height; ++y) {
    const uint32_t* row = picture.Pixels + static_cast<size_t>(y) * picture.Pitch;
    uint8_t* out = rgb.data() + static_cast<size_t>(y) * picture.Width * 3;
    for (int32_t x = 0; x < picture.Width; ++x) {
      out[3 * x] = static_cast<uint8_t>(row[x] >> 16);
      out[3 * x + 1] = static_cast<uint8_t>(row[x] >> 8);
      out[3 * x + 2] = static_cast<uint8_t>(row[x]);
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.Width);
  image.height = static_cast<png_uint_32>(picture.Height);
  image.format = PNG_FORMAT_RGB;
  // Written beside the target and renamed, so a reader never sees half a file.
  const std::string temp = path + ".part";
  const bool ok = png_image_write_to_file(&image, temp.c_str(), 0, rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  std::error_code ec;
  if (!ok) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  std::filesystem::rename(temp, path, ec);
  return !ec;
}

bool ReadPng(const std::string& path, PngPicture& out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_BGRA;
  if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
    png_image_free(&image);
    return false;
  }
  std::vector<uint32_t> px(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, px.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  for (uint32_t& p : px) p &= 0x00FFFFFFu;
  out.Width = static_cast<int32_t>(image.width);
  out.Height = static_cast<int32_t>(image.height);
  out.Pixels = std::move(px);
  return true;
}

}  // namespace platform
