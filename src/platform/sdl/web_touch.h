// The touch screen of a browser page: what the page saw (web/touch.js: its size and the
// picture's place in it, touches, a phone turned on end) fed to the flight's controls, and
// the controls drawn over the page whenever they change. Outside a browser it holds no
// controls and reads none.
#pragma once

#include "platform/backend.h"
#include "platform/touch_controls.h"

namespace platform {

class WebTouch {
 public:
  // Asks the page for its size again: the program may start anew in the same page.
  WebTouch();
  // Takes in what the page queued since the last call and draws what changed.
  void Pump();
  // The flight runs (the game hid its cursor) or stopped.
  void SetFlying(bool flying);
  void KeyOrPadUsed();
  void Read(TouchState& touch) { touch = controls_.Read(); }
  // Whether the page turned to portrait, where it asks to be turned back, since last asked.
  bool TakeTurnedAway();

 private:
  void Paint();

  TouchControls controls_;
  bool turnedAway_ = false;
};

}  // namespace platform
