// How the content tests read the generated files: through the game's own readers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace content_test {

struct Pixel {
  uint8_t r, g, b;
  bool operator==(const Pixel&) const = default;
};

struct Picture {
  int w = 0, h = 0;
  std::vector<Pixel> px;
  Pixel At(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
};

// Chooses the decoder by extension (".bmp", ".jpg") as the game does; throws on failure.
Picture LoadPicture(const std::filesystem::path& path);

struct Wave {
  uint16_t format = 0, channels = 0, bits = 0;
  uint32_t rate = 0;
  std::vector<int16_t> samples;  // 16-bit PCM only
};
Wave LoadWave(const std::filesystem::path& path);

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);

// 0x00BBGGRR as in the game's tables.
inline Pixel KeyPixel(uint32_t key) {
  return {uint8_t(key & 0xFF), uint8_t((key >> 8) & 0xFF), uint8_t((key >> 16) & 0xFF)};
}

}  // namespace content_test
