// The logic tick over synthetic worlds. A tick has a budget of 10 ms; the scenes here show
// how far below it the tick stays as the world fills up.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/tick.h"
#include "core/world.h"
#include "flyers/flyer.h"
#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"

namespace {

// Drifts around the screen forever, with a typical hit area of a circle and two rectangles.
class Drifter : public TFlyer {
 public:
  Drifter(World& w, int32_t x, int32_t y, int32_t dx, int32_t dy) : TFlyer(w) {
    X = x;
    Y = y;
    Dx = dx;
    Dy = dy;
    Width = 60;
    Height = 60;
    Health = 1 << 30;  // never destroyed, so the scene stays the same size
    Side = kSideEnemy;
    AddCircle(30, 30, 20);
    AddRect(5, 20, 50, 10);
    AddRect(25, 0, 10, 60);
  }
  void Move() override {
    X += static_cast<int32_t>(Dx);
    Y += static_cast<int32_t>(Dy);
    if (X < 0 || X > 964) Dx = -Dx;
    if (Y < 0 || Y > 708) Dy = -Dy;
  }
};

void BM_TickDrifters(benchmark::State& state) {
  platform::HeadlessBackend backend;
  TFormComponents media(backend);
  World w(media, 7);
  const auto n = static_cast<int32_t>(state.range(0));
  for (int32_t i = 0; i < n; ++i) {
    w.FlyerList.Push(std::make_unique<Drifter>(w, w.Random.Random(960), w.Random.Random(700),
                                               1 + w.Random.Random(3), 1 + w.Random.Random(3)));
  }
  for (auto _ : state) Tick(w);
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_TickDrifters)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
