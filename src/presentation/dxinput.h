// The input component: turns keyboard, joystick and a touch screen's flight controls into one
// set of 36 abstract states, polled once per tick.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

namespace platform {
class Backend;
}

enum TDXInputState : uint8_t {
  InputUp = 0,
  InputDown = 1,
  InputLeft = 2,
  InputRight = 3,
  InputButton1 = 4,  // button n is state 3 + n
  InputButton2 = 5,
  InputButton3 = 6,
  InputButton31 = 34,
  InputButton32 = 35,
};
constexpr int kInputStateCount = 36;
constexpr TDXInputState InputButton(int n) {
  return static_cast<TDXInputState>(3 + n);
}

using TDXInputStates = std::bitset<kInputStateCount>;

class TDXInput {
 public:
  explicit TDXInput(platform::Backend& backend);

  // Binding places per state, each a virtual key code (0 = empty). The form fills three;
  // the player's settings may use them all.
  static constexpr int kBindingPlaces = 8;
  std::array<std::array<uint8_t, kBindingPlaces>, kInputStateCount> Bindings{};
  // The state each joystick button (index k - 1 for button k) holds, or kNoState: button k
  // holds Button k unless the player's settings move it.
  static constexpr uint8_t kNoState = 0xFF;
  std::array<uint8_t, 32> PadButtonStates = IdentityPadButtons();
  static constexpr std::array<uint8_t, 32> IdentityPadButtons() {
    std::array<uint8_t, 32> states{};
    for (int k = 1; k <= 32; ++k) states[static_cast<size_t>(k - 1)] = InputButton(k);
    return states;
  }
  // The joystick's dead zone on the X, Y and Z axes, in percent of half the travel.
  int32_t DeadZonePercent = 50;

  // Scales a raw joystick axis value to -1000..1000 with the dead zone applied: 0 inside
  // the dead zone, otherwise the distance beyond it, rounded to the nearest integer.
  static int32_t ScaleAxis(int32_t value, int32_t min, int32_t max, int32_t deadZonePercent);

  // Polls every device and recomputes States.
  void Update();
  // Those of the given states that the devices hold now read as released until the devices
  // have let go of them once; the others are untouched. A key that pressed a menu button
  // must not also act in the game the button starts.
  void HoldBackUntilReleased(const TDXInputStates& states);
  const TDXInputStates& HeldBack() const { return heldBack_; }
  const TDXInputStates& States() const { return states_; }
  // The states a key is bound to.
  TDXInputStates BoundTo(uint8_t key) const;
  bool Held(TDXInputState s) const { return states_[s]; }

 private:
  // The states every device holds now, as bound.
  TDXInputStates Poll();
  // The states a touch screen's flight controls hold.
  TDXInputStates TouchStates();

  platform::Backend& backend_;
  TDXInputStates heldBack_;
  TDXInputStates states_;
  TDXInputStates previous_;
};
