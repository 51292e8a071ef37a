// The gamepad as the menus see it: raw button, D-pad, stick and hat changes turned into
// PadDown/PadUp events. The stick has hysteresis (pushed beyond half way it presses, back
// under a quarter it releases), so a stick resting near the threshold does not chatter, and a
// direction held by two sources at once (the D-pad and the stick) goes down and up once.
#pragma once

#include <cstdint>
#include <deque>

#include "platform/backend.h"

namespace platform {

class PadTracker {
 public:
  static constexpr int32_t kPress = 16384;   // of 32767: half way
  static constexpr int32_t kRelease = 8192;  // a quarter

  // A button or D-pad direction of the pad.
  void SetButton(PadButton button, bool down);
  // The stick's horizontal (axis 0) or vertical (axis 1) position, -32768..32767, down and
  // right positive.
  void SetStickAxis(int axis, int32_t value);
  // A joystick hat as the four directions it holds (PadBit mask).
  void SetHat(uint8_t directions);
  // The pad went away: everything held is released.
  void Clear();

  uint8_t Held() const { return held_; }
  // The next event waiting, if any.
  bool Pop(Event& e);

 private:
  void Update();

  uint8_t buttons_ = 0, hat_ = 0;
  int8_t stick_[2] = {0, 0};
  uint8_t held_ = 0;
  std::deque<Event> pending_;
};

}  // namespace platform
