#include "platform/pcm.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {
namespace {

uint16_t U16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagFloat = 3;
constexpr uint16_t kTagExtensible = 0xFFFE;

float Sample(SampleKind kind, const uint8_t* p) {
  switch (kind) {
    case SampleKind::UInt8:
      return (static_cast<float>(p[0]) - 128.0f) / 128.0f;
    case SampleKind::Int16:
      return static_cast<float>(static_cast<int16_t>(U16(p))) / 32768.0f;
    case SampleKind::Int24: {
      const int32_t v = static_cast<int32_t>((static_cast<uint32_t>(p[0]) << 8) |
                                             (static_cast<uint32_t>(p[1]) << 16) |
                                             (static_cast<uint32_t>(p[2]) << 24)) /
                        256;
      return static_cast<float>(v) / 8388608.0f;
    }
    case SampleKind::Int32:
      return static_cast<float>(static_cast<double>(static_cast<int32_t>(U32(p))) / 2147483648.0);
    case SampleKind::Float32: {
      const uint32_t bits = U32(p);
      float f;
      std::memcpy(&f, &bits, sizeof f);
      // Files may hold anything; a NaN or a huge value must not reach the mixer.
      if (!std::isfinite(f)) return 0.0f;
      return std::clamp(f, -1.0f, 1.0f);
    }
  }
  return 0.0f;
}

}  // namespace

int32_t PcmFormat::BytesPerSample() const {
  switch (Kind) {
    case SampleKind::UInt8:
      return 1;
    case SampleKind::Int16:
      return 2;
    case SampleKind::Int24:
      return 3;
    case SampleKind::Int32:
    case SampleKind::Float32:
      return 4;
  }
  return 0;
}

std::optional<PcmFormat> ParsePcmFormat(const uint8_t* record, size_t size) {
  if (record == nullptr || size < 16) return std::nullopt;
  uint16_t tag = U16(record);
  const uint16_t channels = U16(record + 2);
  const uint32_t rate = U32(record + 4);
  const uint16_t blockAlign = U16(record + 12);
  const uint16_t bits = U16(record + 14);
  if (tag == kTagExtensible) {
    // cbSize, valid bits, channel mask, then the sub-format's GUID, which starts with the tag.
    if (size < 40 || U16(record + 16) < 22) return std::nullopt;
    tag = U16(record + 24);
  }
  PcmFormat f;
  if (tag == kTagPcm) {
    switch (bits) {
      case 8:
        f.Kind = SampleKind::UInt8;
        break;
      case 16:
        f.Kind = SampleKind::Int16;
        break;
      case 24:
        f.Kind = SampleKind::Int24;
        break;
      case 32:
        f.Kind = SampleKind::Int32;
        break;
      default:
        return std::nullopt;
    }
  } else if (tag == kTagFloat && bits == 32) {
    f.Kind = SampleKind::Float32;
  } else {
    return std::nullopt;
  }
  if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000) return std::nullopt;
  f.Channels = channels;
  f.Rate = static_cast<int32_t>(rate);
  f.BlockAlign = blockAlign;
  if (blockAlign != channels * f.BytesPerSample()) return std::nullopt;
  return f;
}

std::vector<float> ToStereoFloat(const PcmFormat& format, const uint8_t* data, size_t size,
                                 int32_t outRate) {
  int64_t frames = format.BlockAlign > 0 ? format.FramesIn(size) : 0;
  if (frames <= 0 || outRate <= 0 || format.Rate <= 0 || data == nullptr) return {};
  frames = std::min<int64_t>(frames, int64_t{kMaxSoundSeconds} * format.Rate);
  // The source as stereo float at its own rate.
  std::vector<float> src(static_cast<size_t>(frames) * 2);
  const int32_t bps = format.BytesPerSample();
  for (int64_t i = 0; i < frames; ++i) {
    const uint8_t* frame = data + static_cast<size_t>(i) * static_cast<size_t>(format.BlockAlign);
    float l, r;
    if (format.Channels == 1) {
      l = r = Sample(format.Kind, frame);
    } else {
      // Channels past the first two (centre, surrounds) are folded in at half weight.
      l = Sample(format.Kind, frame);
      r = Sample(format.Kind, frame + bps);
      float rest = 0.0f;
      for (int32_t c = 2; c < format.Channels; ++c) rest += Sample(format.Kind, frame + c * bps);
      if (format.Channels > 2) {
        const float scale = 1.0f / (1.0f + 0.5f * static_cast<float>(format.Channels - 2));
        l = (l + 0.5f * rest) * scale;
        r = (r + 0.5f * rest) * scale;
      }
    }
    src[static_cast<size_t>(2 * i)] = l;
    src[static_cast<size_t>(2 * i + 1)] = r;
  }
  if (format.Rate == outRate) return src;

  const double step = static_cast<double>(format.Rate) / outRate;
  const auto outFrames = static_cast<int64_t>(std::floor(static_cast<double>(frames) / step));
  std::vector<float> out(static_cast<size_t>(std::max<int64_t>(outFrames, 0)) * 2);
  for (int64_t j = 0; j < outFrames; ++j) {
    const double pos = static_cast<double>(j) * step;
    const auto i = static_cast<int64_t>(pos);
    const auto t = static_cast<float>(pos - static_cast<double>(i));
    const int64_t k = std::min(i + 1, frames - 1);
    for (int c = 0; c < 2; ++c) {
      const float a = src[static_cast<size_t>(2 * i + c)];
      const float b = src[static_cast<size_t>(2 * k + c)];
      out[static_cast<size_t>(2 * j + c)] = a + (b - a) * t;
    }
  }
  return out;
}

}  // namespace platform
