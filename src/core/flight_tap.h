// A listener on every tick of a mission: it sees the input states the tick is about to use
// and may put others in their place (a replay), and hears when the tick's rules have run.
// A recorder and a replay sit here, at the polled states, so what they keep is the flight's
// input whatever keys or pad produced it.
#pragma once

#include "presentation/dxinput.h"

class World;

class TFlightTap {
 public:
  virtual ~TFlightTap() = default;
  // The states polled for the tick about to run (after the game-over check).
  virtual void Input(World& w, TDXInputStates& states) = 0;
  // Every rule of that tick has run.
  virtual void TickDone(World& w) = 0;
};
