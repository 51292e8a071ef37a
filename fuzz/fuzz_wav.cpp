// RIFF WAVE files, and the conversion of whatever they hold to the mixer's format.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/pcm.h"
#include "presentation/dxsound.h"
#include "presentation/wave_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TWave w;
  if (!wave_codec::ParseWave(data, size, w)) return 0;
  const auto format = platform::ParsePcmFormat(w.Format.data(), w.Format.size());
  if (!format) std::abort();  // the reader promised a playable format
  const auto samples = platform::ToStereoFloat(*format, w.Data.data(), w.Data.size(), 44100);
  for (float s : samples) {
    if (!(s >= -1.0f && s <= 1.0f)) std::abort();
  }
  return 0;
}
