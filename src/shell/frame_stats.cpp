#include "shell/frame_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Where along the map the terrain was drawn, in pixels. A frame that stands on the ticks draws
// a row's last step (offset 32) before it moves on to the next row, where offset 0 is the same
// picture; the map wraps.
int64_t Along(const TTerrainPlace& t) {
  constexpr int64_t kMapPixels = int64_t{TLevel::kRows} * 32;
  return ((t.Row * 32 + t.Offset) % kMapPixels + kMapPixels) % kMapPixels;
}

}  // namespace

void TFrameStats::Presented(uint64_t micros, const TTerrainPlace& terrain) {
  ++frames_;
  if (inStretch_) {
    const uint64_t interval = micros - std::min(micros, lastMicros_);
    if (bins_.empty()) bins_.assign(kBins, 0);
    uint32_t& bin = bins_[std::min<uint64_t>(interval / kBinMicros, kBins - 1)];
    if (bin < UINT32_MAX) ++bin;
    ++intervals_;
    if (Along(terrain) == Along(lastTerrain_)) ++repeated_;
  }
  inStretch_ = true;
  lastMicros_ = micros;
  lastTerrain_ = terrain;
}

double TFrameStats::PercentileMicros(double share) const {
  if (intervals_ == 0) return 0;
  // The smallest bin that holds at least that share of all intervals.
  const auto wanted = std::max<int64_t>(
      1, static_cast<int64_t>(std::ceil(share * static_cast<double>(intervals_))));
  int64_t seen = 0;
  for (size_t i = 0; i < bins_.size(); ++i) {
    seen += bins_[i];
    if (seen >= wanted) return (static_cast<double>(i) + 0.5) * kBinMicros;
  }
  return (static_cast<double>(kBins) - 0.5) * kBinMicros;
}

std::string TFrameStats::Report() const {
  char text[512];
  const double share =
      intervals_ > 0 ? 100.0 * static_cast<double>(repeated_) / static_cast<double>(intervals_)
                     : 0.0;
  std::snprintf(text, sizeof text,
                "frame stats: %lld flight%s, %lld frames presented\n"
                "frame interval: median %.3f ms, 99th percentile %.3f ms\n"
                "frames repeating the picture before while the play area moved: %lld of %lld "
                "(%.1f %%)\n",
                static_cast<long long>(flights_), flights_ == 1 ? "" : "s",
                static_cast<long long>(frames_), PercentileMicros(0.5) / 1000.0,
                PercentileMicros(0.99) / 1000.0, static_cast<long long>(repeated_),
                static_cast<long long>(intervals_), share);
  return text;
}
