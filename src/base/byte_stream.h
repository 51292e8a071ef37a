// Little-endian byte streams for the game's own binary files: a writer that appends and a
// reader that checks every length against the bytes left, failing with the file's name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "base/error.h"
#include "base/file_io.h"

class TByteWriter {
 public:
  void U8(uint8_t v) { bytes_.push_back(v); }
  void U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
  }
  void U64(uint64_t v) {
    for (int i = 0; i < 8; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void I64(int64_t v) { U64(static_cast<uint64_t>(v)); }
  void Bytes(const std::vector<uint8_t>& b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
  // Unsigned LEB128: seven bits a byte, low first.
  void Var(uint64_t v) {
    while (v >= 0x80) {
      U8(static_cast<uint8_t>(v | 0x80));
      v >>= 7;
    }
    U8(static_cast<uint8_t>(v));
  }
  std::vector<uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

class TByteReader {
 public:
  // `cutShort` is what a read beyond the end says.
  TByteReader(const uint8_t* data, size_t size, std::string name, std::string cutShort)
      : data_(data), size_(size), name_(std::move(name)), cutShort_(std::move(cutShort)) {}
  virtual ~TByteReader() = default;
  TByteReader(const TByteReader&) = delete;
  TByteReader& operator=(const TByteReader&) = delete;

  // Throws Raise's error; never returns.
  [[noreturn]] void Fail(const std::string& what) const {
    Raise(what);
    std::abort();  // a Raise that returned would leave the reader past a failed check
  }
  const std::string& Name() const { return name_; }
  size_t Left() const { return size_ - pos_; }
  size_t Position() const { return pos_; }

  const uint8_t* Take(size_t n) {
    if (Left() < n) Fail(cutShort_);
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
  }
  uint8_t U8() { return *Take(1); }
  uint16_t U16() { return fileio::U16(Take(2)); }
  uint32_t U32() { return fileio::U32(Take(4)); }
  uint64_t U64() { return fileio::U64(Take(8)); }
  int32_t I32() { return fileio::I32(Take(4)); }
  int64_t I64() { return fileio::I64(Take(8)); }
  uint64_t Var() {
    uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      const uint8_t b = U8();
      v |= static_cast<uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
    }
    Fail("a number too long");
  }

 protected:
  // EInOutError "<name>: <what>"; a reader of a file the player handles may say it otherwise.
  virtual void Raise(const std::string& what) const { throw EInOutError(name_ + ": " + what); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  std::string name_;
  std::string cutShort_;
};
