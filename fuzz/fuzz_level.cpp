// A mission's two files, the tile map (.mat) and the schedule (.ene), loaded the way the game
// loads them. Any bytes either load completely or raise EInOutError and leave the level that
// was there untouched.
//
// Input: a 16-bit little-endian word, then the schedule's bytes (the word's low 15 bits say
// how many), then the map's. With the word's top bit set the map is stretched to a full map
// (and a few bytes more) by repeating its bytes, so both the length checks and full loads are
// reached from small inputs.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "base/asset_catalog.h"
#include "base/error.h"
#include "core/level.h"
#include "core/world.h"
#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"

namespace {

// A mission number with no terrain picture: only the two level files are read.
constexpr int kMission = 6;

struct Fixture {
  Fixture() {
    std::error_code ec;
    std::filesystem::path base = std::filesystem::exists("/dev/shm", ec)
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    std::string tmpl = (base / "sk-fuzz-level-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    dir = tmpl;
    std::filesystem::create_directories(dir / "levels");
    std::filesystem::current_path(dir);
  }
  ~Fixture() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::filesystem::path dir;
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  World world{media};
};

void Write(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture fx;
  if (size < 2) return 0;
  const uint16_t word = static_cast<uint16_t>(data[0] | (data[1] << 8));
  const size_t rest = size - 2;
  const size_t scheduleBytes = (word & 0x7FFFu) < rest ? (word & 0x7FFFu) : rest;
  const uint8_t* schedule = data + 2;
  std::vector<uint8_t> map(schedule + scheduleBytes, data + size);
  if ((word & 0x8000u) && !map.empty()) {
    const size_t given = map.size();
    map.resize(TLevel::kMapBytes + given % 7);
    // Doubling copies: the stretch costs a few block copies, not a loop over every byte.
    for (size_t filled = given; filled < map.size(); filled *= 2) {
      std::memcpy(map.data() + filled, map.data(), std::min(filled, map.size() - filled));
    }
  }
  Write(catalog::LevelSchedulePath(kMission), schedule, scheduleBytes);
  Write(catalog::LevelMapPath(kMission), map.data(), map.size());

  World& w = fx.world;
  const size_t spawnsBefore = w.Level.Spawns.size();
  w.Level.ScrollRow = 77;
  try {
    LoadLevel(w, kMission);
  } catch (const EInOutError&) {
    if (w.Level.Spawns.size() != spawnsBefore || w.Level.ScrollRow != 77) std::abort();
    return 0;
  }
  if (map.size() < static_cast<size_t>(TLevel::kMapBytes) ||
      scheduleBytes % TLevel::kRecordBytes != 0 ||
      w.Level.Spawns.size() != scheduleBytes / TLevel::kRecordBytes ||
      w.Level.Map.size() != static_cast<size_t>(TLevel::kMapBytes) || w.Level.ScrollRow != 0) {
    std::abort();
  }
  // Every tile a scroll position can show is inside the map.
  for (int32_t c = 0; c < TLevel::kColumns; ++c) {
    (void)w.Level.Tile(c, TLevel::kRows - 1 + 25);
  }
  return 0;
}
