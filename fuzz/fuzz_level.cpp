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

// The map's bytes are kept in one buffer from run to run: a full map is 256 KiB, and a fresh
// one each run would cost more than the reader and fill the sanitizer's quarantine.
std::vector<uint8_t> buffer;

void Map(const uint8_t* data, size_t size, bool stretch) {
  buffer.assign(data, data + size);
  if (stretch && size > 0) {
    buffer.resize(TLevel::kMapBytes + size % 7);
    // Doubling copies: the stretch costs a few block copies, not a loop over every byte.
    for (size_t filled = size; filled < buffer.size(); filled *= 2) {
      std::memcpy(buffer.data() + filled, buffer.data(), std::min(filled, buffer.size() - filled));
    }
  }
  const size_t length = buffer.size();
  fileio::ReadResult file;
  file.Opened = true;
  file.FileSize = length;
  file.Bytes = std::move(buffer);  // what ReadPrefix keeps of it: all, the reader cuts it
  try {
    buffer = DecodeLevelMap(std::move(file), "m.mat");
  } catch (const EInOutError&) {
    if (length >= static_cast<size_t>(TLevel::kMapBytes)) std::abort();
    return;
  }
  // The map is the file's first 262144 bytes: the given ones, then repeated.
  if (length < static_cast<size_t>(TLevel::kMapBytes) ||
      buffer.size() != static_cast<size_t>(TLevel::kMapBytes) ||
      std::memcmp(buffer.data(), data, std::min(size, buffer.size())) != 0 ||
      (size < buffer.size() &&
       std::memcmp(buffer.data() + size, buffer.data(), buffer.size() - size) != 0)) {
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

  Map(data + 2 + scheduleBytes, rest - scheduleBytes, (word & 0x8000u) != 0);
  return 0;
}
