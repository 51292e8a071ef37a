#include "shell/flight_setup.h"

#include "core/level.h"
#include "core/world.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "presentation/form_components.h"

void SetGameCanvas(TDirectDrawSurfaceCanvas& canvas) {
  canvas.Brush.SetColor(clBlack);
  canvas.Brush.SetStyle(TBrushStyle::bsClear);
  canvas.Font.Size = 12;
  canvas.Font.Color = clGreen;
}

void AnnounceOverFrame(TDXDraw& draw, const char* text) {
  TDirectDrawSurfaceCanvas& canvas = draw.Surface().Canvas();
  canvas.TextOut(400, 300, text);
  canvas.Release();
  draw.Flip();
}

bool SetUpFlight(World& w, const TFlightSetup& setup) {
  GameState& s = w.State;
  s.GameOver = false;
  s.Mission = setup.Mission;
  s.Credits = setup.Credits;
  s.Difficulty = setup.Difficulty;
  s.AircraftKind = setup.AircraftKind;
  s.CannonKind = setup.CannonKind;
  s.SlotKinds = setup.SlotKinds;
  ResetCounters(w);
  EmptyLists(w);
  SetGameCanvas(w.Media.DXDraw1.Surface().Canvas());
  LoadLevel(w, setup.Mission);

  auto aircraft = MakeAircraft(w, setup.AircraftKind, kNewAircraftX, kNewAircraftY);
  if (!aircraft) return false;
  aircraft->Cannon = MakeCannon(w, setup.CannonKind);
  for (size_t i = 0; i < setup.SlotKinds.size(); ++i) {
    aircraft->Slots[i] = MakeWeapon(w, setup.SlotKinds[i]);
  }
  w.SetPlayer(std::move(aircraft));
  w.PushPlayer();
  w.StepClock = 0;
  w.StepTicks = 0;
  CutMotion(w);
  return true;
}
