// The content tests read every file through the game's own readers: what they accept is
// exactly what the game can load.
#include "content_files.h"

#include <fstream>
#include <stdexcept>

#include "presentation/dxsound.h"
#include "presentation/picture.h"

namespace content_test {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Picture LoadPicture(const std::filesystem::path& path) {
  TPicture game;
  game.LoadFromFile(path.string());
  Picture p{game.Width, game.Height, std::vector<Pixel>(game.Pixels.size())};
  for (size_t i = 0; i < game.Pixels.size(); ++i) {
    uint32_t v = game.Pixels[i];  // XRGB8888
    p.px[i] = {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
  }
  return p;
}

Wave LoadWave(const std::filesystem::path& path) {
  TWave game;
  game.LoadFromFile(path.string());
  const auto& f = game.Format;
  if (f.size() < 16) throw std::runtime_error("format record too short: " + path.string());
  auto u16 = [&](size_t at) { return uint16_t(f[at] | f[at + 1] << 8); };
  Wave w;
  w.format = u16(0);
  w.channels = u16(2);
  w.rate = uint32_t(u16(4)) | uint32_t(u16(6)) << 16;
  w.bits = u16(14);
  for (size_t i = 0; i + 1 < game.Data.size(); i += 2) {
    w.samples.push_back(int16_t(uint16_t(game.Data[i] | game.Data[i + 1] << 8)));
  }
  return w;
}

}  // namespace content_test
