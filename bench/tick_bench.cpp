// The logic tick over synthetic worlds. A tick has a budget of 10 ms; the scenes here show
// how far below it the tick stays as the world fills up.
//
//   BM_TickBusy    a hard moment of a mission: the player's aircraft, 20 enemy craft of
//                  every kind firing their guns, 200 shells, 100 missiles, beams and plasma
//                  balls, 200 explosions and smoke puffs; what is destroyed or leaves is
//                  replaced every tick, so the scene stays this full
//   BM_TickStress  far beyond any mission: 1000 flyers and 2000 shells (with and without
//                  the impact sounds of the hundreds of shells that strike every tick)
//   BM_FrameBusy   drawing the busy scene (terrain, sprites, status bar), the terrain at each
//                  of the 16 places a row passes through in turn, as in flight
//   BM_FrameBusySmooth  the same frames drawn smoothly, half a tick past the last one: the
//                  terrain and every moving thing carried between their last two places
//   BM_TickDrifters                 N craft that let each other pass, packed ever closer:
//                                   the flyer pass alone; "pairs" is the box pairs a tick
//   BM_TickDriftersConstantDensity  the same at the density of N = 100, whatever N
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "core/collision.h"
#include "core/effect.h"
#include "core/level.h"
#include "core/tick.h"
#include "core/world.h"
#include "enemies/enemy.h"
#include "flyers/aircraft.h"
#include "flyers/cannon_shell.h"
#include "flyers/flyer.h"
#include "flyers/projectile.h"
#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"
#include "shell/asset_loader.h"
#include "support/content_files.h"
#include "support/temp_dir.h"

namespace {

// Drifts around the screen forever, with a typical hit area of a circle and two rectangles.
class Drifter : public TFlyer {
 public:
  Drifter(World& w, int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t size = 60) : TFlyer(w) {
    X = x;
    Y = y;
    Dx = dx;
    Dy = dy;
    Width = size;
    Height = size;
    Health = 1 << 30;  // never destroyed, so the scene stays the same size
    Side = kSideEnemy;
    AddCircle(size / 2, size / 2, size / 3);
    AddRect(size / 12, size / 3, size * 5 / 6, size / 6);
    AddRect(size * 5 / 12, 0, size / 6, size);
  }
  void Move() override {
    X += static_cast<int32_t>(Dx);
    Y += static_cast<int32_t>(Dy);
    // Turned by side, not flipped: a flip at the wall could hold it there, flipping every
    // tick, until the whole crowd had gathered along the walls.
    if (X < 0) Dx = std::abs(Dx);
    if (X > 1024 - Width) Dx = -std::abs(Dx);
    if (Y < 0) Dy = std::abs(Dy);
    if (Y > 768 - Height) Dy = -std::abs(Dy);
  }
};

// A drifter that lets its own kind pass: every pair is still tested box and shape by shape,
// but the crowd does not destroy itself.
class Flocker final : public Drifter {
 public:
  using Drifter::Drifter;
  bool IsFriend(uint8_t side) const override { return side == kSideEnemy; }
};

// The pairs of flyers whose boxes meet, each counted once: the work of the flyer pass.
int64_t BoxPairs(const World& w) {
  int64_t pairs = 0;
  for (auto* a = w.FlyerList.Head(); a; a = a->Next) {
    for (auto* b = a->Next; b; b = b->Next) pairs += BoxesOverlap(*a->Object, *b->Object);
  }
  return pairs;
}

// N drifters of the given size over the screen; reports the box pairs per tick, counted on
// every 32nd tick (untimed), as the crowd's meetings come and go.
void TickDrifters(benchmark::State& state, int32_t size) {
  platform::HeadlessBackend backend;
  TFormComponents media(backend);
  World w(media, 7);
  const auto n = static_cast<int32_t>(state.range(0));
  for (int32_t i = 0; i < n; ++i) {
    w.FlyerList.Push(std::make_unique<Flocker>(w, w.Random.Random(1020 - size),
                                               w.Random.Random(760 - size), 1 + w.Random.Random(3),
                                               1 + w.Random.Random(3), size));
  }
  int64_t ticks = 0, pairs = 0, samples = 0;
  for (auto _ : state) {
    Tick(w);
    if (++ticks % 32 == 0) {
      state.PauseTiming();
      pairs += BoxPairs(w);
      ++samples;
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(state.iterations() * n);
  if (samples == 0) {
    pairs = BoxPairs(w);
    samples = 1;
  }
  state.counters["pairs"] = static_cast<double>(pairs) / static_cast<double>(samples);
}

// 60-pixel craft packed ever closer: at N = 1000 each meets about 20 others, so the pairs,
// and with them the flyer pass, grow as the square of N.
void BM_TickDrifters(benchmark::State& state) {
  TickDrifters(state, 60);
}
BENCHMARK(BM_TickDrifters)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The same crowd at the density of 100 such craft whatever N: the craft shrink as N grows,
// so each meets as many others as at N = 100 and the pairs grow as N. Shows the cost
// following the pairs rather than the square of the crowd.
void BM_TickDriftersConstantDensity(benchmark::State& state) {
  const double scale = std::sqrt(100.0 / static_cast<double>(state.range(0)));
  TickDrifters(state, static_cast<int32_t>(std::lround(60 * scale)));
}
BENCHMARK(BM_TickDriftersConstantDensity)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(4000)
    ->Unit(benchmark::kMicrosecond);

// A world on the headless backend with the whole catalog loaded (small pictures, short
// sounds), so shots, hits and explosions draw and play as in a mission.
struct Scene {
  explicit Scene(bool sounds = true) {
    testcontent::WriteMinimalContent();
    LoadAssets(media);
    if (sounds) LoadSounds(media);
    media.DXDraw1.Initialize();
    LoadLevel(world, 0);
  }
  ScopedTempDir dir;
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  World world{media, 7};
};

// Real enemy craft, armoured far beyond their kind and letting each other pass: they take
// every hit and stay, like a crowd that is replaced as fast as it is shot down, without
// filling the screen with the bursts of craft that rammed each other.
constexpr int32_t kArmour = 1 << 20;

class TArmouredEnemy final : public TEnemy {
 public:
  TArmouredEnemy(World& w, int32_t x, int32_t y, uint8_t kind, uint8_t variant)
      : TEnemy(w, x, y, kind, variant) {
    Health = MaxHealth = kArmour;
  }
  bool IsFriend(uint8_t side) const override { return side == kSideEnemy; }
};

struct Counts {
  int enemies = 0;
  int projectiles = 0;
};

// Cheap enough not to weigh on the measurement: the armour marks the enemies; everything
// else but the aircraft is a projectile, the enemies' shots and plasma fragments included.
Counts CountFlyers(const World& w) {
  Counts c;
  for (auto* n = w.FlyerList.Head(); n; n = n->Next) {
    const TFlyer& f = *n->Object;
    if (!f.Alive) continue;
    if (f.MaxHealth == kArmour) {
      ++c.enemies;
    } else if (&f != static_cast<const TFlyer*>(w.Player)) {
      ++c.projectiles;
    }
  }
  return c;
}

// Replaces what was destroyed or left, so every tick meets the same crowd.
void TopUpBusy(World& w) {
  TRandom& r = w.Random;
  const Counts c = CountFlyers(w);
  for (int i = c.enemies; i < 20; ++i) {
    const auto kind = static_cast<uint8_t>(r.Random(kEnemyKinds));
    w.FlyerList.Push(std::make_unique<TArmouredEnemy>(w, r.Random(880), r.Random(300) - 60, kind,
                                                      static_cast<uint8_t>(r.Random(3))));
  }
  for (int i = c.projectiles; i < 100; ++i) {
    const int32_t x = r.Random(1000);
    const int32_t y = 600 + r.Random(160);  // fired from down where the player flies
    switch (r.Random(5)) {
      case 0:
        w.FlyerList.Push(std::make_unique<TAAMissile>(w, x, y, 0, kSidePlayer));
        break;
      case 1:
        w.FlyerList.Push(std::make_unique<TMiniMissile>(w, x, y, 0, 1, kSidePlayer));
        break;
      case 2:
        w.FlyerList.Push(std::make_unique<TLightBeam>(w, x, y, 0, kSidePlayer));
        break;
      case 3:
        w.FlyerList.Push(std::make_unique<THeavyBeam>(w, x, y, 0, kSidePlayer));
        break;
      default:
        w.FlyerList.Push(std::make_unique<TPlasmaBall>(w, x, y, 0, kSidePlayer));
        break;
    }
  }
  for (auto n = static_cast<int>(w.ShellList.Count()); n < 200; ++n) {
    w.ShellList.Push(std::make_unique<TShell>(w, r.Random(1024), 600 + r.Random(160), 0, -5, 2));
  }
  for (auto n = static_cast<int>(w.EffectList.Count()); n < 200; ++n) {
    const int32_t x = r.Random(1000), y = r.Random(740);
    if (r.Random(2)) {
      w.EffectList.Push(std::make_unique<TMediumExplosion>(w, x, y, -r.Random(8)));
    } else {
      w.EffectList.Push(std::make_unique<TMissileSmoke>(w, x, y));
    }
  }
  // The aircraft outlasts everything: the scene is about load, not about the mission ending.
  w.Player->Health = w.Player->MaxHealth;
  w.State.GameOver = false;
}

void StartBusy(Scene& s) {
  World& w = s.world;
  auto aircraft = MakeAircraft(w, akF16, 432, 600);
  aircraft->MaxHealth = 1 << 30;
  aircraft->Cannon = MakeCannon(w, ckTriple);
  w.SetPlayer(std::move(aircraft));
  w.PushPlayer();
  for (int i = 0; i < 300; ++i) {  // settle into a steady state first
    s.backend.AdvanceMillis(10);
    TopUpBusy(w);
    Tick(w);
  }
}

void BM_TickBusy(benchmark::State& state) {
  Scene s;
  StartBusy(s);
  for (auto _ : state) {
    // The clock runs as in play, so sounds end and their voices are reused.
    s.backend.AdvanceMillis(10);
    TopUpBusy(s.world);
    Tick(s.world);
  }
  state.counters["flyers"] = static_cast<double>(s.world.FlyerList.Count());
  state.counters["shells"] = static_cast<double>(s.world.ShellList.Count());
  state.counters["effects"] = static_cast<double>(s.world.EffectList.Count());
}
BENCHMARK(BM_TickBusy)->Unit(benchmark::kMicrosecond);

// Frames as a flight shows them: the ticks gathered since the last row change run 1 to 16,
// so the terrain is drawn at every place a row passes through (a frame at one place only
// would flatter or burden one variant with the tiles that row leaves half in view).
void FrameBusy(benchmark::State& state, const TFramePhase& phase) {
  Scene s;
  StartBusy(s);
  int32_t gathered = 0;
  for (auto _ : state) {
    s.world.ScrollTicks = 1 + gathered++ % 16;
    DrawFrame(s.world, phase);
  }
}

void BM_FrameBusy(benchmark::State& state) {
  FrameBusy(state, {});
}
BENCHMARK(BM_FrameBusy)->Unit(benchmark::kMicrosecond);

void BM_FrameBusySmooth(benchmark::State& state) {
  FrameBusy(state, {true, 0.5});
}
BENCHMARK(BM_FrameBusySmooth)->Unit(benchmark::kMicrosecond);

void TopUpStress(World& w) {
  for (auto n = static_cast<int>(w.ShellList.Count()); n < 2000; ++n) {
    w.ShellList.Push(
        std::make_unique<TShell>(w, w.Random.Random(1024), 200 + w.Random.Random(560), 0, -5, 1));
  }
}

// Arg 1: with the sounds loaded, every shell that strikes plays its impact; arg 0: silent,
// the cost of moving and colliding alone.
void BM_TickStress(benchmark::State& state) {
  Scene s(state.range(0) != 0);
  World& w = s.world;
  for (int32_t i = 0; i < 1000; ++i) {
    w.FlyerList.Push(std::make_unique<Flocker>(w, w.Random.Random(960), w.Random.Random(700),
                                               1 + w.Random.Random(3), 1 + w.Random.Random(3)));
  }
  for (int i = 0; i < 50; ++i) {
    s.backend.AdvanceMillis(10);
    TopUpStress(w);
    Tick(w);
  }
  for (auto _ : state) {
    s.backend.AdvanceMillis(10);
    TopUpStress(w);
    Tick(w);
  }
  state.counters["flyers"] = static_cast<double>(w.FlyerList.Count());
  state.counters["shells"] = static_cast<double>(w.ShellList.Count());
}
BENCHMARK(BM_TickStress)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
