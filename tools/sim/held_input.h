// Holding a set of input states the way the driver's scripts and the pilot do: directions on
// the arrow keys (opposite ones can be held together there), buttons on the joystick, so the
// states come back through the game's own poll.
#pragma once

#include "platform/headless/headless_backend.h"
#include "presentation/dxinput.h"

inline void HoldInputStates(platform::HeadlessBackend& backend, const TDXInputStates& held) {
  backend.SetKey(platform::vk::Up, held[InputUp]);
  backend.SetKey(platform::vk::Down, held[InputDown]);
  backend.SetKey(platform::vk::Left, held[InputLeft]);
  backend.SetKey(platform::vk::Right, held[InputRight]);
  platform::JoystickState stick;
  stick.Present = true;
  stick.Scaled = true;
  for (int n = 1; n <= 32; ++n) {
    if (held[InputButton(n)]) stick.Buttons |= 1u << (n - 1);
  }
  backend.SetJoystick(stick);
}
