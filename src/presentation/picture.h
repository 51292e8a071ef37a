// A decoded picture: the source pixels of an image-list item, kept so patterns can be rebuilt.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TPicture {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;  // XRGB8888, rows top to bottom, Width * Height entries

  bool Empty() const { return Width <= 0 || Height <= 0; }

  // Reads a picture file, choosing the decoder by the name's extension (.bmp, .jpg/.jpeg,
  // case-insensitive). Throws EGameError with "Cannot open file %s",
  // "Unknown picture file extension (.%s)", "Bitmap image is not valid" or
  // "JPEG error #%d"; on failure the previous picture is kept.
  void LoadFromFile(const std::string& path);
};
