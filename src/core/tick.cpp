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

void DrawFrame(World& w) {
  TDXDraw& draw = w.Media.DXDraw1;
  if (!draw.CanDraw()) return;
  // After being shot down the defeat message stays on screen.
  if (w.State.GameOver) return;

  DrawTerrain(w, w.ScrollTicks);
  w.FlyerList.DrawAll();
  w.ShellList.DrawAll();
  w.EffectList.DrawAll();
  w.BonusList.DrawAll();
  if (w.Player) DrawStatusBar(w);
  draw.Surface().Canvas().Release();
  draw.Flip();
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
