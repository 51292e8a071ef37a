#include "shell/quick_flight.h"

#include "base/error.h"
#include "core/level.h"
#include "core/tick.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "shell/asset_loader.h"

TQuickFlight::TQuickFlight(TFormComponents& media, TApplication& app, uint64_t seed)
    : media_(media), app_(app), world_(media, seed), updateTimer_(app, 10, false), drawTimer_(app) {
  world_.Events = this;
  // A stall (the window dragged, a slow frame) is made up for, but only a little.
  updateTimer_.MaxCatchUp = 5;
  updateTimer_.OnTimer = [this] {
    Tick(world_);
    AfterTick();
  };
  drawTimer_.OnTimer = [this](int32_t) { DrawFrame(world_); };
  setup_.Difficulty = 2;
  setup_.CannonKind = ckVulcan;
  setup_.SlotKinds[0] = wkAAMissiles;
}

void TQuickFlight::Start(bool fullscreen) {
  app_.Guard([&] {
    LoadAssets(media_);
    LoadSounds(media_);
  });
  if (fullscreen) {
    media_.DXDraw1.Options |= doFullScreen;
  } else {
    media_.DXDraw1.Options &= ~static_cast<uint32_t>(doFullScreen);
  }
  app_.Guard([&] { media_.DXDraw1.Initialize(); });
  if (!media_.DXDraw1.Initialized()) return;  // the error was shown; only closing is left
  StartMission(0);
}

void TQuickFlight::StartMission(uint8_t mission) {
  setup_.Mission = mission;
  bool started = false;
  app_.Guard([&] { started = SetUpFlight(world_, setup_); });
  if (!started) return;
  RunTimers(true);
  media_.DXEnginesWaveList.Items[0].Play(false);
  media_.Window.SetCursorVisible(false);
}

void TQuickFlight::RunTimers(bool on) {
  drawTimer_.SetEnabled(on);
  updateTimer_.SetEnabled(on);
}

// Screens are shown once the tick that asked for them has run to its end, as a window's
// screens are: the tick completes, then the player answers.
void TQuickFlight::AfterTick() {
  const TPending pending = pending_;
  pending_ = TPending::None;
  switch (pending) {
    case TPending::None:
      return;
    case TPending::Pause:
      media_.Window.SetCursorVisible(true);
      app_.ShowMessage("PAUZA");
      media_.DXEnginesWaveList.Items[0].Play(false);
      media_.Window.SetCursorVisible(false);
      RunTimers(true);
      return;
    case TPending::Defeat:
      media_.Window.SetCursorVisible(true);
      app_.ShowMessage(kDefeatText);
      setup_.Credits = kNewGameCredits;
      StartMission(0);
      return;
    case TPending::Victory: {
      media_.Window.SetCursorVisible(true);
      app_.ShowMessage(kVictoryText);
      const int next = world_.State.Mission + 1;
      if (next >= catalog::kMissions) {
        app_.ShowMessage(
            "         Výborně, Váš úkol je splněn! Lidstvo je osvobozeno od mimozemské "
            "tyranie. ");
        setup_.Credits = kNewGameCredits;
        StartMission(0);
      } else {
        setup_.Credits = world_.State.Credits;
        StartMission(static_cast<uint8_t>(next));
      }
      return;
    }
  }
}

void TQuickFlight::StopTimers() {
  RunTimers(false);
}

void TQuickFlight::ShowDefeat() {
  AnnounceOverFrame(media_.DXDraw1, kDefeatText);
  pending_ = TPending::Defeat;
}

void TQuickFlight::ShowVictory() {
  AnnounceOverFrame(media_.DXDraw1, kVictoryText);
  pending_ = TPending::Victory;
}

void TQuickFlight::PauseScreen() {
  RunTimers(false);
  StopEngineSound();
  TDirectDrawSurfaceCanvas& canvas = media_.DXDraw1.Surface().Canvas();
  const int32_t size = canvas.Font.Size;
  canvas.Font.Size = 30;
  canvas.TextOut(450, 300, "PAUZA");
  canvas.Font.Size = size;
  canvas.Release();
  media_.DXDraw1.Flip();
  pending_ = TPending::Pause;
}

void TQuickFlight::StopEngineSound() {
  media_.DXEnginesWaveList.Items[0].Stop();
}

void TQuickFlight::ReportError(const std::string& message) {
  app_.ShowException(EGameError(message));
}
