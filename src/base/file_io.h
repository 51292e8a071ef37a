// Reading and writing whole small files with bounds. Every loader treats its file as hostile:
// it states the most it will read, so a huge or endless file can never exhaust memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fileio {

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The file's size in bytes, or nullopt if it cannot be opened or measured.
inline std::optional<uint64_t> SizeOf(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return std::nullopt;
  long size = std::ftell(f);
  if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) return std::nullopt;
  return static_cast<uint64_t>(size);
}

struct ReadResult {
  bool Opened = false;
  uint64_t FileSize = 0;       // the whole file's size
  std::vector<uint8_t> Bytes;  // at most maxBytes of it, from the start
};

// Reads up to maxBytes from the start of the file. Opened is false if it cannot be opened
// (or is not a regular readable file).
inline ReadResult ReadPrefix(const std::string& path, uint64_t maxBytes) {
  ReadResult r;
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) return r;
  auto size = SizeOf(f.get());
  if (!size) return r;
  r.Opened = true;
  r.FileSize = *size;
  uint64_t want = *size < maxBytes ? *size : maxBytes;
  r.Bytes.resize(static_cast<size_t>(want));
  size_t got = want ? std::fread(r.Bytes.data(), 1, r.Bytes.size(), f.get()) : 0;
  r.Bytes.resize(got);  // a file that shrank under us reads short, never garbage
  return r;
}

// Little-endian readers over a byte buffer; the caller has checked the bounds.
inline uint16_t U16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline int32_t I32(const uint8_t* p) {
  return static_cast<int32_t>(U32(p));
}
inline uint64_t U64(const uint8_t* p) {
  return static_cast<uint64_t>(U32(p)) | (static_cast<uint64_t>(U32(p + 4)) << 32);
}
inline int64_t I64(const uint8_t* p) {
  return static_cast<int64_t>(U64(p));
}

inline void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void PutU64(uint8_t* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace fileio
