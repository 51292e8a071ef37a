// One full frame of the game's kind: 800 opaque 32 x 32 terrain tiles, 200 keyed 64 x 64
// sprites and a line of text, drawn into the 1024 x 768 back buffer. Each frame result also
// reports its cost in "copies": how many plain copies of the whole back buffer, timed in the
// same run, the frame takes (the budget is 4).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "../tests/presentation/test_scene.h"
#include "platform/headless/headless_backend.h"

namespace {

// Nanoseconds for one memcpy of the back buffer, the best of a few rounds.
double CopyNanos() {
  std::vector<uint32_t> a(1024 * 768, 0x123456), b(1024 * 768);
  double best = 1e18;
  for (int round = 0; round < 5; ++round) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i) {
      std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
      benchmark::DoNotOptimize(b.data());
      benchmark::ClobberMemory();
    }
    const auto t1 = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::nano>(t1 - t0).count() / 20);
  }
  return best;
}

void BM_BackBufferCopy(benchmark::State& state) {
  std::vector<uint32_t> a(1024 * 768, 0x123456), b(1024 * 768);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(a.size() * 4));
}
BENCHMARK(BM_BackBufferCopy)->Unit(benchmark::kMicrosecond);

void Frame(benchmark::State& state, bool present) {
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  media.DXDraw1.Initialize();
  test_scene::Draw(media);  // loads the pictures once
  const double copy = CopyNanos();
  const auto t0 = std::chrono::steady_clock::now();
  for (auto _ : state) {
    test_scene::Draw(media, 800, 200);
    if (present) media.DXDraw1.Flip();
    benchmark::DoNotOptimize(media.DXDraw1.Surface().Pixels());
  }
  const double frame =
      std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count() /
      static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
  state.counters["copy_us"] = copy / 1000.0;
  state.counters["copies"] = frame / copy;
}

// The frame as DrawFrame builds it.
void BM_Frame(benchmark::State& state) {
  Frame(state, false);
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMicrosecond);

// The same with Flip on the headless backend (which keeps a copy of every picture shown).
void BM_FrameAndFlip(benchmark::State& state) {
  Frame(state, true);
}
BENCHMARK(BM_FrameAndFlip)->Unit(benchmark::kMicrosecond);

}  // namespace
