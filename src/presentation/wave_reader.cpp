#include "presentation/wave_reader.h"

#include <cstring>

#include "base/error.h"
#include "base/file_io.h"
#include "platform/pcm.h"
#include "presentation/dxsound.h"

namespace wave_codec {

bool ParseWave(const uint8_t* p, size_t n, TWave& out) {
  out.Format.clear();
  out.Data.clear();
  if (p == nullptr || n < 12 || std::memcmp(p, "RIFF", 4) != 0 ||
      std::memcmp(p + 8, "WAVE", 4) != 0) {
    return false;
  }
  bool haveFormat = false;
  bool haveData = false;
  size_t at = 12;
  while (n - at >= 8) {
    const uint8_t* header = p + at;
    const uint32_t length = fileio::U32(header + 4);
    at += 8;
    if (length > n - at) {  // a chunk longer than the rest of the file
      out.Format.clear();
      out.Data.clear();
      return false;
    }
    const uint8_t* body = p + at;
    if (std::memcmp(header, "fmt ", 4) == 0) {
      out.Format.assign(body, body + length);
      haveFormat = true;
    } else if (std::memcmp(header, "data", 4) == 0) {
      out.Data.assign(body, body + length);
      haveData = true;
    }
    at += length;
    if ((length & 1u) != 0 && at < n) ++at;
  }
  if (!haveFormat || !haveData || !platform::ParsePcmFormat(out.Format.data(), out.Format.size())) {
    out.Format.clear();
    out.Data.clear();
    return false;
  }
  return true;
}

}  // namespace wave_codec

void TWave::LoadFromFile(const std::string& path) {
  const fileio::ReadResult file = fileio::ReadPrefix(path, wave_codec::kMaxFileBytes + 1);
  if (!file.Opened) throw EInOutError("Cannot open file " + path);
  // The old wave is gone from here on: a file that is not a wave leaves the item silent.
  Format.clear();
  Data.clear();
  if (file.FileSize > wave_codec::kMaxFileBytes ||
      !wave_codec::ParseWave(file.Bytes.data(), file.Bytes.size(), *this)) {
    throw EGameError("Wave is invalid");
  }
}
