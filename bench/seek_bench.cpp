// The viewer's longest jump: from the start of the longest recorded flight of tests/replays/
// (20,445 ticks) to its end, flown again without drawing, as the End key asks for. Each
// result also reports what a tick of that flight costs.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "base/error.h"
#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"
#include "shell/asset_loader.h"
#include "shell/replay_viewer.h"

namespace {

void BM_SeekToTheEndOfTheLongestFlight(benchmark::State& state) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::error_code ec;
  std::filesystem::current_path(SK_DATA_DIR, ec);
  TReplay replay;
  try {
    if (ec) throw EGameError("no content tree at " SK_DATA_DIR);
    replay = ReadReplayFile(SK_REPLAYS "/mission1-easy-won.replay");
  } catch (const EGameError& e) {
    state.SkipWithError(e.what());
    return;
  }
  platform::HeadlessBackend backend;
  TFormComponents media(backend);
  LoadAssets(media);
  LoadSounds(media);
  for (auto _ : state) {
    TReplayViewer viewer(media, replay, 0);
    viewer.SeekTo(viewer.Length(), 0);
    benchmark::DoNotOptimize(viewer.Position());
  }
  // Seconds a tick, shown with its SI prefix (1.5u: 1.5 microseconds).
  state.counters["per_tick"] = benchmark::Counter(
      static_cast<double>(replay.End.Tick),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  std::filesystem::current_path(previous, ec);
}
BENCHMARK(BM_SeekToTheEndOfTheLongestFlight)->Unit(benchmark::kMillisecond);

}  // namespace
