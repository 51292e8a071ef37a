#include "core/tick.h"

#include <memory>

#include "core/bonus.h"
#include "core/collision.h"
#include "core/flight_tap.h"
#include "core/player_control.h"
#include "core/status_bar.h"
#include "core/world.h"
#include "presentation/form_components.h"

namespace {

// Each bonus kind has its own two draws: whether it drops, and where.
template <class B>
void MaybeDropBonus(World& w) {
  if (w.Random.Random(kBonusDropOdds) != 0) return;
  int32_t x = 20 + w.Random.Random(800);
  w.BonusList.Push(std::make_unique<B>(w, x, 0));
}

// Where every moving thing stands as the tick begins, for the frames until the next one.
// Effects never move and are left out.
template <class List>
void TakePlaces(List& list, uint64_t tick) {
  for (auto* n = list.Head(); n; n = n->Next) {
    auto& o = *n->Object;
    o.Last = {o.X, o.Y, tick};
  }
}

void TakePlaces(World& w) {
  const uint64_t tick = ++w.MotionTick;
  TakePlaces(w.FlyerList, tick);
  TakePlaces(w.ShellList, tick);
  TakePlaces(w.BonusList, tick);
  w.TerrainMoved = true;  // AdvanceClocks scrolls it on by a tick
}

void AdvanceClocks(World& w) {
  ++w.ScrollTicks;
  if (++w.StepTicks >= kTicksPerStep) {
    w.StepTicks = 0;
    ++w.StepClock;
  }
}

}  // namespace

void Tick(World& w) {
  if (w.VictoryCountdown > 0) --w.VictoryCountdown;
  if (w.VictoryCountdown == 0) MissionEnd(w, true);
  if (w.State.GameOver) return;

  TakePlaces(w);
  w.Media.DXInput1.Update();
  TDXInputStates states = w.Media.DXInput1.States();
  if (w.Tap) w.Tap->Input(w, states);
  PlayerControl(w, states);
  AdvanceClocks(w);
  MaybeDropBonus<THealthBonus>(w);
  MaybeDropBonus<TCreditBonus>(w);
  SpawnDue(w);

  w.FlyerList.MoveAll();
  // Shells travel two steps per tick and are tested after each.
  w.ShellList.MoveAll();
  ShellsVsFlyers(w);
  w.ShellList.MoveAll();
  ShellsVsFlyers(w);
  FlyersVsFlyers(w);
  w.EffectList.MoveAll();
  w.BonusList.MoveAll();
  BonusesVsPlayer(w);
  if (w.Tap) w.Tap->TickDone(w);
}

TDrawTime DrawTimeOf(const World& w, const TFramePhase& phase) {
  return {phase.Smooth ? phase.Fraction : 1.0, w.MotionTick};
}

TFrameDrawn DrawFrame(World& w, const TFramePhase& phase) {
  TDXDraw& draw = w.Media.DXDraw1;
  if (!draw.CanDraw()) return {};
  // After being shot down the defeat message stays on screen.
  if (w.State.GameOver) return {};

  TFrameDrawn drawn;
  drawn.Drawn = true;
  drawn.Terrain = DrawTerrain(w, w.ScrollTicks, phase);
  const TDrawTime t = DrawTimeOf(w, phase);
  w.FlyerList.DrawAll(t);
  w.ShellList.DrawAll(t);
  w.EffectList.DrawAll(t);
  w.BonusList.DrawAll(t);
  // Sprite patterns and the status bar show the last tick's state.
  if (w.Player) DrawStatusBar(w);
  draw.Surface().Canvas().Release();
  draw.Flip();
  return drawn;
}

void MissionEnd(World& w, bool won) {
  w.Events->StopEngineSound();
  if (!won) {
    w.State.GameOver = true;
    w.Events->StopTimers();
    w.Events->ShowDefeat();
    return;
  }
  if (w.VictoryCountdown == -1) {
    w.VictoryCountdown = kVictoryTicks;
  } else if (w.VictoryCountdown == 0) {
    w.Events->StopTimers();
    w.Events->ShowVictory();
  }
}
