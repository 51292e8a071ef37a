// CRC-32 with the zip polynomial: the check that the game's own files (replays, the player's
// backups) carry at their end, so that a damaged or cut file is refused as such.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace crc32_detail {

constexpr std::array<uint32_t, 256> MakeTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    table[i] = c;
  }
  return table;
}

inline constexpr std::array<uint32_t, 256> kTable = MakeTable();

}  // namespace crc32_detail

// A table a byte: a backup of many replays is checked at once when it is chosen.
inline uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i)
    crc = (crc >> 8) ^ crc32_detail::kTable[(crc ^ data[i]) & 0xFFu];
  return ~crc;
}
