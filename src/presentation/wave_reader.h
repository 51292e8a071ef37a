// The RIFF WAVE reader behind TWave::LoadFromFile, on a file already in memory.
#pragma once

#include <cstddef>
#include <cstdint>

struct TWave;

namespace wave_codec {

// The largest wave file read at all (the game's longest sound is a few seconds).
inline constexpr uint64_t kMaxFileBytes = uint64_t{64} << 20;

// "RIFF", a size, "WAVE", then chunks (4-byte name, 4-byte little-endian length) to the end of
// the file: "fmt " is the format record, "data" the samples, any other chunk is skipped by its
// length (and the pad byte RIFF puts after a chunk of odd length). Returns false when the file
// is not a wave the mixer can play: a wrong header, a chunk whose length runs past the end of
// the file, a missing format or sample chunk, or a format other than PCM. On false, out is
// left empty.
bool ParseWave(const uint8_t* data, size_t size, TWave& out);

}  // namespace wave_codec
