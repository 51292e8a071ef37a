// A mission's two files, the tile map (.mat) and the schedule (.ene), through the readers the
// level load uses, straight from memory: any bytes give a whole level or EInOutError.
//
// Input: a 16-bit little-endian word, then the schedule's bytes (the word's low 15 bits say
// how many), then the map's. With the word's top bit set the map is stretched to a full map
// (and a few bytes more) by repeating its bytes, so both the length checks and full maps are
// reached from small inputs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/error.h"
#include "base/file_io.h"
#include "core/level.h"

namespace {

// What fileio::ReadPrefix gives for a file holding these bytes.
fileio::ReadResult AsRead(const uint8_t* data, size_t size, uint64_t maxBytes) {
  fileio::ReadResult file;
  file.Opened = true;
  file.FileSize = size;
  file.Bytes.assign(data, data + std::min<uint64_t>(size, maxBytes));
  return file;
}

void Schedule(const uint8_t* data, size_t size) {
  std::vector<TEnemySpawn> rows;
  try {
    rows = DecodeLevelSchedule(AsRead(data, size, kMaxScheduleBytes), "s.ene");
  } catch (const EInOutError&) {
    if (size % TLevel::kRecordBytes == 0) std::abort();  // a whole number of records reads
    return;
  }
  if (size % TLevel::kRecordBytes != 0 || rows.size() != size / TLevel::kRecordBytes) std::abort();
  // Every row holds exactly its record's fields.
  for (size_t i = 0; i < rows.size(); ++i) {
    const uint8_t* p = data + i * TLevel::kRecordBytes;
    int32_t x, y, kind;
    int64_t time;
    std::memcpy(&x, p, 4);
    std::memcpy(&y, p + 4, 4);
    std::memcpy(&kind, p + 8, 4);
    std::memcpy(&time, p + 16, 8);
    const TEnemySpawn& r = rows[i];
    if (r.X != x || r.Y != y || r.EnemyKind != kind || r.Variant != p[12] || r.Time != time) {
      std::abort();
    }
  }
}

void Map(std::vector<uint8_t> map) {
  const size_t size = map.size();
  std::vector<uint8_t> tiles;
  try {
    tiles = DecodeLevelMap(AsRead(map.data(), size, TLevel::kMapBytes), "m.mat");
  } catch (const EInOutError&) {
    if (size >= static_cast<size_t>(TLevel::kMapBytes)) std::abort();
    return;
  }
  if (size < static_cast<size_t>(TLevel::kMapBytes) ||
      tiles.size() != static_cast<size_t>(TLevel::kMapBytes) ||
      !std::equal(tiles.begin(), tiles.end(), map.begin())) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint16_t word = static_cast<uint16_t>(data[0] | (data[1] << 8));
  const size_t rest = size - 2;
  const size_t scheduleBytes = std::min<size_t>(word & 0x7FFFu, rest);
  Schedule(data + 2, scheduleBytes);

  std::vector<uint8_t> map(data + 2 + scheduleBytes, data + size);
  if ((word & 0x8000u) && !map.empty()) {
    const size_t given = map.size();
    map.resize(TLevel::kMapBytes + given % 7);
    // Doubling copies: the stretch costs a few block copies, not a loop over every byte.
    for (size_t filled = given; filled < map.size(); filled *= 2) {
      std::memcpy(map.data() + filled, map.data(), std::min(filled, map.size() - filled));
    }
  }
  Map(std::move(map));
  return 0;
}
