// The campaign record: what the saved game stores, plus the shot-down flag.
#pragma once

#include <array>
#include <cstdint>

constexpr uint8_t kNoKind = 255;  // "none" in every kind-code field

struct GameState {
  bool GameOver = false;
  uint8_t Mission = 0;      // 0..5
  int64_t Credits = 60000;  // signed: money never wraps
  uint8_t Difficulty = 0;   // 0 easy, 2 medium, 4 hard
  uint8_t AircraftKind = kNoKind;
  std::array<uint8_t, 5> SlotKinds{kNoKind, kNoKind, kNoKind, kNoKind, kNoKind};
  uint8_t CannonKind = kNoKind;

  bool operator==(const GameState&) const = default;
};

constexpr int64_t kNewGameCredits = 60000;
