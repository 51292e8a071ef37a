// The pilot's feel for their own aircraft: where it will be after holding the stick a given
// way, from where it was last seen and what the pilot has pressed since.
#pragma once

#include <cstdint>

struct TSeenAircraft;

// A stick position: -1, 0 or 1 on each axis (left/up negative).
struct TStick {
  int8_t X = 0;
  int8_t Y = 0;
  bool operator==(const TStick&) const = default;
};

struct TFlightState {
  double X = 0, Y = 0;  // top-left corner
  double Dx = 0, Dy = 0;
};

class TFlightModel {
 public:
  explicit TFlightModel(const TSeenAircraft& a);
  // One tick with the stick held as given: the aircraft speeds up, moves, stays with its
  // centre on the screen and slows by drag.
  void Fly(TFlightState& s, TStick stick) const;
  static TFlightState StateOf(const TSeenAircraft& a);

 private:
  double accel_;
  double maxSpeed_;
  double halfWidth_;
  double halfHeight_;
};
