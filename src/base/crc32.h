// CRC-32 with the zip polynomial: the checksum the game's own binary files end with, so a
// file cut short or damaged on the disk is told apart from one that is merely unexpected.
#pragma once

#include <cstddef>
#include <cstdint>

// Bit by bit: the files it guards are small and written once in a while.
inline uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}
