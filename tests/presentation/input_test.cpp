// Input states: the form's key bindings, the joystick with its dead zone, the union of both
// devices, and nothing while the window is in the background.
#include <gtest/gtest.h>

#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"

namespace {

namespace vk = platform::vk;

struct InputTest : ::testing::Test {
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  TDXInput& input = media.DXInput1;

  TDXInputStates Poll() {
    input.Update();
    return input.States();
  }
  static TDXInputStates Of(std::initializer_list<int> states) {
    TDXInputStates s;
    for (int i : states) s.set(static_cast<size_t>(i));
    return s;
  }
  void Stick(int32_t x, int32_t y, uint32_t buttons = 0) {
    platform::JoystickState js;
    js.Present = true;
    js.X = x;
    js.Y = y;
    js.Buttons = buttons;
    backend.SetJoystick(js);
  }
};

TEST_F(InputTest, EveryBindingOfTheFormSetsItsState) {
  const std::pair<uint8_t, int> keys[] = {
      {'K', InputUp},
      {vk::Up, InputUp},
      {0x68, InputUp},
      {'J', InputDown},
      {vk::Down, InputDown},
      {0x62, InputDown},
      {'H', InputLeft},
      {vk::Left, InputLeft},
      {0x64, InputLeft},
      {'L', InputRight},
      {vk::Right, InputRight},
      {0x66, InputRight},
      {vk::Space, InputButton1},
      {vk::Return, InputButton2},
      {vk::Shift, InputButton3},
      {vk::Tab, InputButton31},
      {vk::Escape, InputButton32},
  };
  for (auto [key, state] : keys) {
    backend.SetKey(key, true);
    EXPECT_EQ(Poll(), Of({state})) << int(key);
    backend.SetKey(key, false);
    EXPECT_TRUE(Poll().none()) << int(key);
  }
  backend.SetKey('A', true);  // bound to nothing
  EXPECT_TRUE(Poll().none());
}

TEST_F(InputTest, DevicesAreUnitedAndOppositeKeysCoexist) {
  backend.SetKey('K', true);
  backend.SetKey(vk::Up, true);
  backend.SetKey(vk::Down, true);
  Stick(32767, 32767, 1u | (1u << 31));  // centred, buttons 1 and 32
  EXPECT_EQ(Poll(), Of({InputUp, InputDown, InputButton1, InputButton32}));
  backend.ReleaseAllKeys();
  Stick(0, 32767, 1u | (1u << 31));  // X = 0 is full left
  EXPECT_EQ(Poll(), Of({InputLeft, InputButton1, InputButton32}));
  Stick(32767, 32767, 0);
  EXPECT_TRUE(Poll().none());
}

TEST_F(InputTest, TheStickMustPassHalfItsTravel) {
  // Half the travel is 32767.5 raw steps; 40 % of it to the left sets nothing, 60 % does.
  const double h = 65535 / 2.0;
  Stick(static_cast<int32_t>(h - 0.4 * h), static_cast<int32_t>(h));
  EXPECT_TRUE(Poll().none());
  Stick(static_cast<int32_t>(h - 0.6 * h), static_cast<int32_t>(h + 0.6 * h));
  EXPECT_EQ(Poll(), Of({InputLeft, InputDown}));
  EXPECT_EQ(TDXInput::ScaleAxis(65535, 0, 65535, 50), 1000);
  EXPECT_EQ(TDXInput::ScaleAxis(0, 0, 65535, 50), -1000);
  EXPECT_EQ(TDXInput::ScaleAxis(49151, 0, 65535, 50), 0);  // 50 % exactly: still dead
  // An already scaled stick (the platform applied the dead zone) is taken by its sign.
  platform::JoystickState js;
  js.Present = true;
  js.Scaled = true;
  js.X = 1;
  backend.SetJoystick(js);
  EXPECT_EQ(Poll(), Of({InputRight}));
}

TEST_F(InputTest, NothingWhileTheWindowIsInTheBackground) {
  backend.SetKey(vk::Space, true);
  Stick(0, 0, 1);
  backend.SetForeground(false);
  EXPECT_TRUE(Poll().none());
  backend.SetForeground(true);
  EXPECT_EQ(Poll(), Of({InputButton1, InputLeft, InputUp}));
  // A stick that went away leaves only the keyboard.
  backend.SetJoystick({});
  EXPECT_EQ(Poll(), Of({InputButton1}));
}

TEST_F(InputTest, TouchButtonsHoldTheirKeysStatesWhateverTheKeysAreBoundTo) {
  input.Bindings[InputButton1] = {'F'};  // the player moved the cannon off Space
  input.Bindings[InputButton32] = {};
  platform::TouchControls& touch = backend.Touch();
  touch.SetFlying(true);
  const std::pair<platform::TouchButton, int> buttons[] = {
      {platform::TouchButton::Cannon, InputButton1},
      {platform::TouchButton::Weapon, InputButton2},
      {platform::TouchButton::NextWeapon, InputButton3},
      {platform::TouchButton::Repair, InputButton31},
      {platform::TouchButton::Pause, InputButton32},
  };
  for (auto [button, state] : buttons) {
    touch.Down(1, touch.Layout().Buttons[static_cast<size_t>(button)].Centre);
    EXPECT_EQ(Poll(), Of({state})) << state;
    touch.Up(1);
    EXPECT_TRUE(Poll().none()) << state;
  }
  // The stick with a key: both devices' states, and nothing in the background.
  touch.Down(2, {300, 500});
  touch.Move(2, {300, 380});
  backend.SetKey(vk::Left, true);
  EXPECT_EQ(Poll(), Of({InputUp, InputLeft}));
  backend.SetForeground(false);
  EXPECT_TRUE(Poll().none());
}

}  // namespace
