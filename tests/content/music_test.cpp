// The soundtrack as generated: every theme reads, the lands run a minute or two before they
// loop, all sit at one loudness with room below full scale, and every loop joins without a
// seam. Rendered at the mixer's rate: noise and filters sound brighter or duller at others.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "base/asset_catalog.h"
#include "platform/score_reader.h"
#include "platform/synth.h"

namespace {

constexpr int32_t kRate = 44100;

// Under the sanitizers a whole pass of every theme takes minutes: there only the loop points
// are rendered (the notes sound the same; loudness is measured by the other builds).
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kWholePasses = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kWholePasses = false;
#else
constexpr bool kWholePasses = true;
#endif
#else
constexpr bool kWholePasses = true;
#endif

struct Rendered {
  platform::Score Score;
  std::vector<float> Samples;  // from Skipped on: to a second beyond the loop point (or the tail)
  int64_t LoopFrame = 0;       // where the first pass ends and the loop goes back
  int64_t Skipped = 0;         // frames moved over without sound before Samples
};

Rendered Render(const char* theme) {
  Rendered r{platform::LoadScoreFile(
                 (std::filesystem::path(SK_DATA_DIR) / catalog::MusicPath(theme)).string()),
             {},
             0,
             0};
  r.LoopFrame = r.Score.FrameOfStep(r.Score.Steps, kRate);
  if (!kWholePasses) r.Skipped = std::max<int64_t>(0, r.LoopFrame - 4 * kRate);
  const int64_t frames = r.LoopFrame - r.Skipped + (r.Score.Loops ? 1 : 3) * kRate;
  platform::Synth synth(kRate);
  synth.Start(&r.Score);
  synth.Skip(r.Skipped);
  r.Samples.assign(static_cast<size_t>(2 * frames), 0.0f);
  synth.Render(r.Samples.data(), static_cast<int32_t>(frames));
  return r;
}

double Db(double amplitude) {
  return 20.0 * std::log10(std::max(amplitude, 1e-12));
}

TEST(Music, EveryThemeAtOneLoudnessLandsAMinuteOrTwoLongAndEveryLoopSeamless) {
  std::vector<double> loudness;
  for (const char* theme : catalog::kMusicThemes) {
    SCOPED_TRACE(theme);
    const Rendered r = Render(theme);
    const auto pass = static_cast<size_t>(2 * (r.LoopFrame - r.Skipped));
    double sum = 0.0, peak = 0.0, step = 0.0;
    for (size_t i = 0; i < pass; ++i) {
      sum += static_cast<double>(r.Samples[i]) * r.Samples[i];
      peak = std::max(peak, static_cast<double>(std::fabs(r.Samples[i])));
      if (i >= 2)
        step = std::max(step, std::fabs(static_cast<double>(r.Samples[i] - r.Samples[i - 2])));
    }
    loudness.push_back(Db(std::sqrt(sum / static_cast<double>(pass))));
    if (kWholePasses) {
      EXPECT_LT(Db(peak), -3.0);  // the mixer's headroom is for the effects
    }
    if (!r.Score.Loops) {
      EXPECT_LT(r.LoopFrame, 10 * kRate);  // a sting is short
      continue;
    }
    const double loopSeconds =
        static_cast<double>(r.LoopFrame - r.Score.FrameOfStep(r.Score.LoopStep, kRate)) / kRate;
    if (std::string(theme) == catalog::LandThemeFor(0) ||
        std::string(theme) == catalog::LandThemeFor(1) ||
        std::string(theme) == catalog::LandThemeFor(2)) {
      EXPECT_GE(loopSeconds, 60.0);
      EXPECT_LE(loopSeconds, 120.0);
    }
    // Across the loop point the sound goes on: no step beyond the theme's ordinary ones and no
    // gap of silence after it.
    for (size_t side = 0; side < 2; ++side) {
      const size_t at = pass + side;
      EXPECT_LE(std::fabs(r.Samples[at] - r.Samples[at - 2]), step);
    }
    double after = 0.0;
    for (size_t i = pass; i < pass + 2 * kRate / 20; ++i) after += std::fabs(r.Samples[i]);
    EXPECT_GT(after / (kRate / 10.0), 1e-3);
  }
  if (!kWholePasses) return;
  const auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
  EXPECT_LE(*loudest - *quietest, 2.0);
  // Under the effects: a flight's sound averages about -16 dBFS, the music 6 to 10 dB below.
  EXPECT_GT(*quietest, -26.5);
  EXPECT_LT(*loudest, -22.0);
}

}  // namespace
