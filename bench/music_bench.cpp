// The soundtrack's cost in the mixer: blocks of 1024 frames as the sound device asks for them,
// the busiest theme alone, then two themes crossfading (the most the synthesizer renders at
// once in play). Read beside BM_BackBufferCopy; "core_percent" is the share of one core the
// music takes in real time. BM_LoadScores is what reading the scores adds to start-up.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/mixer.h"
#include "platform/score_reader.h"

namespace {

constexpr int32_t kRate = 44100;
constexpr int32_t kBlock = 1024;

std::shared_ptr<const platform::Score> Theme(const char* name) {
  const auto path = std::filesystem::path(SK_SOURCE_DIR) / "content/music" / name;
  return std::make_shared<const platform::Score>(platform::LoadScoreFile(path.string() + ".txt"));
}

void Music(benchmark::State& state, bool crossfade) {
  platform::Mixer mixer(kRate);
  mixer.AddTheme(Theme("mothership"));
  mixer.AddTheme(Theme("temperate"));
  mixer.PlayMusic("mothership");
  std::vector<float> out(2 * kBlock);
  int64_t blocks = 0;
  const auto t0 = std::chrono::steady_clock::now();
  for (auto _ : state) {
    // Every half second the other theme: the fades never finish, both always sound.
    if (crossfade && blocks % 21 == 0)
      mixer.PlayMusic(blocks % 42 == 0 ? "temperate" : "mothership");
    mixer.Mix(out.data(), kBlock);
    benchmark::DoNotOptimize(out.data());
    ++blocks;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  state.counters["core_percent"] =
      100.0 * seconds / (static_cast<double>(std::max<int64_t>(blocks, 1)) * kBlock / kRate);
}

void BM_MusicSynth(benchmark::State& state) {
  Music(state, false);
}
BENCHMARK(BM_MusicSynth)->Unit(benchmark::kMicrosecond);

void BM_MusicCrossfade(benchmark::State& state) {
  Music(state, true);
}
BENCHMARK(BM_MusicCrossfade)->Unit(benchmark::kMicrosecond);

// What the soundtrack adds to start-up: reading and laying out every score, as LoadMusic does
// after the display choice is on the screen.
void BM_LoadScores(benchmark::State& state) {
  for (auto _ : state) {
    for (const char* name : {"title", "hangar", "temperate", "snow", "desert", "mothership",
                             "victory", "defeat"}) {
      benchmark::DoNotOptimize(Theme(name));
    }
  }
}
BENCHMARK(BM_LoadScores)->Unit(benchmark::kMicrosecond);

}  // namespace
