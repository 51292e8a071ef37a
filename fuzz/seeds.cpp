// Writes small valid files of every layout the readers know into DIR/bmp, DIR/jpeg, DIR/wav,
// DIR/save, DIR/level, DIR/settings and DIR/bundle, as the fuzzers' starting corpora (made here, so no
// binary file is kept).
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/player_bundle.h"
#include "support/sample_files.h"

namespace {

void Write(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::vector<uint32_t> Gradient(int w, int h) {
  std::vector<uint32_t> px;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      px.push_back(static_cast<uint32_t>((x * 40) << 16 | (y * 50) << 8 | (x ^ y) * 30));
  }
  return px;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  for (const char* sub : {"bmp", "jpeg", "wav", "save", "level", "settings", "bundle"})
    std::filesystem::create_directories(dir / sub);

  const auto px = Gradient(5, 3);
  Write(dir / "bmp/24.bmp", samples::Bmp(5, 3, 24, px));
  Write(dir / "bmp/24-top-down.bmp", samples::Bmp(5, 3, 24, px, true));
  Write(dir / "bmp/32.bmp", samples::Bmp(5, 3, 32, px));
  const std::vector<uint32_t> idx = {0, 1, 2, 3, 1, 0, 2, 2, 1, 3, 0, 0, 1, 2, 3};
  const std::vector<uint32_t> pal = {0x000000, 0x598B2D, 0xFFFF00, 0xFFFFFF};
  Write(dir / "bmp/8.bmp", samples::Bmp(5, 3, 8, idx, false, pal));
  Write(dir / "bmp/4.bmp", samples::Bmp(5, 3, 4, idx, false, pal));
  std::vector<uint32_t> bits;
  for (uint32_t i : idx) bits.push_back(i & 1);
  Write(dir / "bmp/1.bmp", samples::Bmp(5, 3, 1, bits, false, {0, 0xFFFFFF}));
  auto rle = samples::Bmp(4, 2, 8, std::vector<uint32_t>(8, 0), false, pal);
  rle.resize(rle.size() - 8);
  samples::Set32(rle, 30, 1);
  for (uint8_t b : {3, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 2, 1, 0, 0, 0, 0, 1}) rle.push_back(b);
  Write(dir / "bmp/rle8.bmp", rle);

  const auto big = Gradient(24, 16);
  Write(dir / "jpeg/baseline.jpg", samples::Jpeg(24, 16, big, 80));
  Write(dir / "jpeg/progressive.jpg", samples::Jpeg(24, 16, big, 80, false, true));
  Write(dir / "jpeg/grey.jpg", samples::Jpeg(16, 8, std::vector<uint32_t>(128, 0x80), 80, true));

  const auto pcm = samples::Pcm16({0, 8000, 16000, 8000, 0, -8000, -16000, -8000});
  Write(dir / "wav/pcm16.wav",
        samples::Wav(1, 22050, 16, pcm, {{"LIST", {'I', 'N', 'F', 'O', 'x'}}}));
  Write(dir / "wav/pcm8-stereo.wav",
        samples::Wav(2, 11025, 8, {128, 128, 200, 60, 255, 0, 128, 128}));
  Write(dir / "wav/pcm24.wav", samples::Wav(1, 44100, 24, {0, 0, 0, 0, 0, 64, 0, 0, 192}));
  Write(dir / "wav/float.wav", samples::Wav(1, 48000, 32, {0, 0, 0, 63, 0, 0, 0, 191}, {}, 3));

  // A Jaguar with 10000 credits; the same with a tail; a short file; negative credits.
  std::vector<uint8_t> save = {0, 255, 255, 255, 255, 255, 255, 0, 0x10, 0x27, 0, 0,
                               0, 0,   0,   0,   0,   2,   0,   0, 0,    0,    0, 0};
  Write(dir / "save/jaguar.sav", save);
  auto longer = save;
  longer.insert(longer.end(), {1, 2, 3, 4, 5, 6, 7, 8});
  Write(dir / "save/longer.sav", longer);
  Write(dir / "save/short.sav", std::vector<uint8_t>(save.begin(), save.begin() + 23));
  Write(dir / "save/negative.sav", {3,    0,    1,    2,    3, 4, 1, 0, 0x00, 0xFF, 0xFF, 0xFF,
                                    0xFF, 0xFF, 0xFF, 0xFF, 5, 4, 0, 0, 0,    0,    0,    0});

  // Level inputs (see fuzz_level.cpp): the schedule's length, its rows, then map bytes that
  // the top bit of the length stretches to a full map.
  std::vector<uint8_t> level = {48, 0x80};
  const std::vector<uint8_t> enemyRow = {100, 0, 0, 0, 0x9C, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0,
                                         1,   0, 0, 0, 10,   0,    0,    0,    0, 0, 0, 0};
  const std::vector<uint8_t> bossRow = {0x90, 1,    0,    0,    0x38, 0xFF, 0xFF, 0xFF,
                                        0xFF, 0xFF, 0xFF, 0xFF, 2,    0,    0,    0,
                                        0x58, 2,    0,    0,    0,    0,    0,    0};
  level.insert(level.end(), enemyRow.begin(), enemyRow.end());
  level.insert(level.end(), bossRow.begin(), bossRow.end());
  for (uint8_t t = 0; t < 40; ++t) level.push_back(static_cast<uint8_t>(t % 12));
  Write(dir / "level/full.lvl", level);
  level[1] = 0;  // the same map bytes, not stretched: a short map
  Write(dir / "level/short-map.lvl", level);
  Write(dir / "level/torn-schedule.lvl",
        {30, 0x80, 1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
         16, 17,   18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 7});

  const std::string settings =
      "# mine\nkey_up = W, Up\nkey_cannon = Left Ctrl, Space\nkey_weapon = Return\n"
      "pad_cannon = 4, a\npad_dead_zone = 30\nvolume = 60\npause_on_focus_loss = off\n"
      "key_down = Keypad 2\nbad line\nkey_left = W\r\n";
  Write(dir / "settings/mine.ini", std::vector<uint8_t>(settings.begin(), settings.end()));

  TPlayerBundle bundle;
  bundle.Made = 1796799933;
  bundle.GameVersion = "0.1.0";
  bundle.Files = {{".config/starvelkhorn/settings.ini", {'v', '=', '1'}},
                  {".local/share/starvelkhorn/game.sav", std::vector<uint8_t>(24, 0)},
                  {".local/share/starvelkhorn/replays/a.replay", {1, 2, 3}}};
  Write(dir / "bundle/three.zaloha", EncodeBundle(bundle));
  Write(dir / "bundle/empty.zaloha", EncodeBundle(TPlayerBundle{}));
  return 0;
}
