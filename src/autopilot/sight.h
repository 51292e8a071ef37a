// What the pilot sees at one tick: the aircraft and its status bar, and everything in the
// air with its motion. Copied out of the world so that the pilot can act on it later, as a
// person acts on what they saw a moment ago; the pilot never looks at the world otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

class World;

enum class TSeenKind : uint8_t {
  Craft,   // an enemy craft: a target, and dangerous to touch
  Boss,    // a mother ship: the same, much tougher
  Shot,    // anything fired at the aircraft: shells, beams, missiles, plasma, fragments
  Health,  // a bonus that restores the aircraft
  Credit,  // a bonus that pays
};

// A box in screen pixels with the distance it travels per tick.
struct TSeenObject {
  TSeenKind Kind = TSeenKind::Shot;
  float X = 0, Y = 0;  // top-left corner
  float W = 0, H = 0;
  float Dx = 0, Dy = 0;
  // Craft and bosses: their full strength (as a player learns each kind's toughness); shots:
  // what one hit costs.
  int32_t Strength = 0;
  uint8_t Type = 0;  // the enemy or boss kind
};

// A rectangle of the aircraft's outline, relative to its top-left corner.
struct TOutlineBox {
  float L = 0, T = 0, R = 0, B = 0;
};

struct TSeenAircraft {
  bool Present = false;
  int32_t X = 0, Y = 0;
  double Dx = 0, Dy = 0;
  double Accel = 0;  // how it handles, as its pilot knows it
  int32_t MaxSpeed = 0;
  int32_t Width = 0, Height = 0;
  int32_t Health = 0, MaxHealth = 0;
  bool HasCannon = false;
  bool WideCannon = false;  // the triple cannon's side shells spread out
  std::array<uint8_t, 5> Slots{255, 255, 255, 255, 255};  // weapon kind per slot, 255 = empty
  uint8_t CurrentSlot = 0;
  bool WeaponReady = false;  // the status bar's lamp
  std::vector<TOutlineBox> Outline;
};

struct TSight {
  TSeenAircraft Aircraft;
  int64_t Credits = 0;
  std::vector<TSeenObject> Objects;
};

// Fills `sight` with what is on the screen now (reusing its memory).
void See(const World& w, TSight& sight);
