// File formats the game reads: 24-bit Windows bitmaps, baseline JPEG, PCM RIFF WAVE; plus the
// decoders the generator uses to check its own JPEG output and the contact sheets use to read
// the tree back.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "raster.h"

namespace gen {

using Bytes = std::vector<uint8_t>;

Bytes EncodeBmp(const Image& img);
Bytes EncodeJpeg(const Image& img, int quality);
Bytes EncodeWav(const std::vector<int16_t>& samples, int rate);
// Throw std::runtime_error on malformed input.
Image DecodeJpeg(const Bytes& data);
Image DecodeBmp(const Bytes& data);

Bytes ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const Bytes& data);
// Reads a picture of the tree, choosing the decoder by extension as the game does.
Image LoadPicture(const std::filesystem::path& path);

}  // namespace gen
