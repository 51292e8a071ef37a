// Setting a world up for flight: the campaign record as a new game makes it, the mission's
// level, the aircraft fitted with its cannon and slot weapons, and the mission started. The
// headless driver and the game's quick flight both start missions this way.
#pragma once

#include <array>
#include <cstdint>

#include "core/game_state.h"

class World;
class TDirectDrawSurfaceCanvas;

struct TFlightSetup {
  uint8_t Mission = 0;
  uint8_t Difficulty = 0;
  int64_t Credits = kNewGameCredits;
  uint8_t AircraftKind = 0;
  uint8_t CannonKind = kNoKind;
  std::array<uint8_t, 5> SlotKinds{kNoKind, kNoKind, kNoKind, kNoKind, kNoKind};
};

// What the end of a mission says, written over its last frame.
inline constexpr const char* kDefeatText = "Byl jste sestřelen/a..... Hra pro Vás konči.";
inline constexpr const char* kVictoryText = "Na tomto území jste nepřítele porazil/a!!!";

class TDXDraw;
// Writes a mission-end text at (400, 300) with the game's canvas settings and presents it.
void AnnounceOverFrame(TDXDraw& draw, const char* text);

// The canvas as a new or loaded game sets it: black brush, then clear, 12 pt, green.
void SetGameCanvas(TDirectDrawSurfaceCanvas& canvas);

// Resets the world as a new game does, loads the mission's level (EGameError on broken
// content), builds the aircraft where a bought one starts with its cannon and weapons, puts
// it into FlyerList and zeroes the step clock. Returns false for an aircraft kind with no
// aircraft.
bool SetUpFlight(World& w, const TFlightSetup& setup);
