#include "presentation/dxinput.h"

#include <cmath>
#include <utility>

#include "platform/backend.h"

TDXInput::TDXInput(platform::Backend& backend) : backend_(backend) {}

int32_t TDXInput::ScaleAxis(int32_t value, int32_t min, int32_t max, int32_t deadZonePercent) {
  if (max <= min) return 0;
  const double h = (static_cast<double>(max) - min) / 2.0;
  const double c = min + h;
  const double d = h * deadZonePercent / 100.0;
  const double v = value;
  if (std::fabs(v - c) <= d || h - d <= 0.0) return 0;
  const double scaled = v > c ? (v - c - d) * 1000.0 / (h - d) : (v - c + d) * 1000.0 / (h - d);
  return static_cast<int32_t>(std::nearbyint(std::fmax(-1000.0, std::fmin(1000.0, scaled))));
}

TDXInputStates TDXInput::Poll() {
  TDXInputStates keyboard;
  TDXInputStates joystick;
  TDXInputStates touch;
  // Nothing is read while another window has the keyboard and the stick.
  if (backend_.Foreground()) {
    platform::KeyboardState keys{};
    backend_.ReadKeyboard(keys);
    for (int s = 0; s < kInputStateCount; ++s) {
      for (uint8_t code : Bindings[static_cast<size_t>(s)]) {
        if (code >= 1 && keys[code]) keyboard.set(static_cast<size_t>(s));
      }
    }
    platform::JoystickState js;
    backend_.ReadJoystick(js);
    if (js.Present) {
      int32_t x = js.X, y = js.Y;
      if (!js.Scaled) {
        x = ScaleAxis(js.X, js.RawMin, js.RawMax, DeadZonePercent);
        y = ScaleAxis(js.Y, js.RawMin, js.RawMax, DeadZonePercent);
      }
      for (size_t k = 0; k < PadButtonStates.size(); ++k) {
        const uint8_t state = PadButtonStates[k];
        if ((js.Buttons & (1u << k)) && state < kInputStateCount) joystick.set(state);
      }
      if (x < 0) joystick.set(InputLeft);
      if (x > 0) joystick.set(InputRight);
      if (y < 0) joystick.set(InputUp);
      if (y > 0) joystick.set(InputDown);
    }
    touch = TouchStates();
  }
  return keyboard | joystick | touch;
}

TDXInputStates TDXInput::TouchStates() {
  platform::TouchState touch;
  backend_.ReadTouch(touch);
  TDXInputStates states;
  if (!touch.Present) return states;
  // The touch buttons hold what their keys hold by default, whatever the player rebound.
  using platform::TouchButton;
  constexpr std::pair<TouchButton, TDXInputState> kButtons[] = {
      {TouchButton::Cannon, InputButton1},     {TouchButton::Weapon, InputButton2},
      {TouchButton::NextWeapon, InputButton3}, {TouchButton::Repair, InputButton31},
      {TouchButton::Pause, InputButton32},
  };
  for (auto [button, state] : kButtons) {
    if (touch.Buttons & platform::TouchBit(button)) states.set(state);
  }
  if (touch.X < 0) states.set(InputLeft);
  if (touch.X > 0) states.set(InputRight);
  if (touch.Y < 0) states.set(InputUp);
  if (touch.Y > 0) states.set(InputDown);
  return states;
}

void TDXInput::HoldBackUntilReleased(const TDXInputStates& states) {
  heldBack_ |= states & Poll();
}

void TDXInput::Update() {
  TDXInputStates s = Poll();
  heldBack_ &= s;
  s &= ~heldBack_;
  // States come and go only on a change against the previous poll; since the game never
  // removes a state itself, this leaves States equal to s.
  states_ |= s & ~previous_;
  states_ &= ~(previous_ & ~s);
  previous_ = s;
}

TDXInputStates TDXInput::BoundTo(uint8_t key) const {
  TDXInputStates bound;
  for (int s = 0; s < kInputStateCount; ++s) {
    for (uint8_t code : Bindings[static_cast<size_t>(s)]) {
      if (key != 0 && code == key) bound.set(static_cast<size_t>(s));
    }
  }
  return bound;
}
