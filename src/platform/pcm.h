// PCM sample formats of wave files and their conversion to the mixer's own format:
// interleaved stereo 32-bit float at the device's rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

enum class SampleKind : uint8_t { UInt8, Int16, Int24, Int32, Float32 };

struct PcmFormat {
  SampleKind Kind = SampleKind::Int16;
  int32_t Channels = 0;
  int32_t Rate = 0;        // frames per second
  int32_t BlockAlign = 0;  // bytes of one frame

  int32_t BytesPerSample() const;
  // Whole frames in that many bytes of samples; a trailing part of a frame is not played.
  int64_t FramesIn(size_t bytes) const { return static_cast<int64_t>(bytes / BlockAlign); }
};

// Reads a wave file's format record ("fmt " chunk). Plain integer PCM of 8, 16, 24 or 32 bits,
// 32-bit float, and the extensible record holding either, with 1 to 8 channels: anything
// else (compressed formats, inconsistent sizes) gives nullopt.
std::optional<PcmFormat> ParsePcmFormat(const uint8_t* record, size_t size);

// The longest sound the mixer takes; anything longer is cut there (a hostile file at a very
// low rate would otherwise grow many times over when converted).
inline constexpr int32_t kMaxSoundSeconds = 120;

// Converts samples to interleaved stereo float at outRate: mono goes to both sides, more than
// two channels are folded into two, and the rate is converted by linear interpolation.
std::vector<float> ToStereoFloat(const PcmFormat& format, const uint8_t* data, size_t size,
                                 int32_t outRate);

}  // namespace platform
