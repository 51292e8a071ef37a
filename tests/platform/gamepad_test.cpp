// The SDL backend's gamepad path without hardware, through SDL's virtual joysticks: plugging
// in and pulling out at any time (also while the game polls), a game controller's mapping to
// the input states, a plain joystick's hat, axes and buttons, and the menus' pad events.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/pad.h"
#include "platform/sdl/sdl_backend.h"
#include "presentation/application.h"
#include "presentation/controls.h"
#include "presentation/dxinput.h"
#include "presentation/window.h"

namespace {

using platform::EventKind;
using platform::PadButton;

// A virtual device: a game controller with every button and axis, or a plain joystick with
// two axes, a hat and four buttons.
class VirtualStick {
 public:
  explicit VirtualStick(bool controller) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    if (controller) {
      desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
      desc.naxes = SDL_CONTROLLER_AXIS_MAX;
      desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
      desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
      desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
      desc.name = "Virtual pad";
    } else {
      desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
      desc.naxes = 2;
      desc.nbuttons = 4;
      desc.nhats = 1;
      desc.name = "Virtual stick";
    }
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(index, 0) << SDL_GetError();
    handle_ = SDL_JoystickOpen(index);
    EXPECT_NE(handle_, nullptr) << SDL_GetError();
    id_ = SDL_JoystickInstanceID(handle_);
  }
  ~VirtualStick() { Unplug(); }
  VirtualStick(const VirtualStick&) = delete;
  VirtualStick& operator=(const VirtualStick&) = delete;

  void Button(int button, bool down) { SDL_JoystickSetVirtualButton(handle_, button, down); }
  void Axis(int axis, int16_t value) { SDL_JoystickSetVirtualAxis(handle_, axis, value); }
  void Hat(uint8_t value) { SDL_JoystickSetVirtualHat(handle_, 0, value); }
  void Unplug() {
    if (!handle_) return;
    SDL_JoystickClose(handle_);
    handle_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id_) SDL_JoystickDetachVirtual(i);
    }
  }

 private:
  SDL_Joystick* handle_ = nullptr;
  SDL_JoystickID id_ = -1;
};

// The pad events the backend reports now, as "Down Accept", "Up Left", ...
std::vector<std::string> PadEvents(platform::Backend& backend) {
  static const char* kNames[] = {"Up", "Down", "Left", "Right", "Accept", "Back"};
  std::vector<std::string> out;
  platform::Event e;
  while (backend.PollEvent(e)) {
    if (e.Kind == EventKind::PadDown || e.Kind == EventKind::PadUp) {
      out.push_back(std::string(e.Kind == EventKind::PadDown ? "Down " : "Up ") +
                    kNames[static_cast<int>(e.Pad)]);
    }
  }
  return out;
}

using Events = std::vector<std::string>;

// The game reads its input only while its window is in front; SDL's dummy video driver never
// gives a window the input focus, so the input component here reads through a backend that
// says it is in front and otherwise is the SDL backend.
class InFront : public platform::Backend {
 public:
  explicit InFront(platform::Backend& b) : b_(b) {}
  uint64_t NowMicros() override { return b_.NowMicros(); }
  void WaitUntil(uint64_t when) override { b_.WaitUntil(when); }
  uint64_t RefreshPeriodMicros() override { return b_.RefreshPeriodMicros(); }
  bool PollEvent(platform::Event& e) override { return b_.PollEvent(e); }
  void SetCaption(const std::string& c) override { b_.SetCaption(c); }
  void SetWindowBounds(int32_t x, int32_t y, int32_t w, int32_t h) override {
    b_.SetWindowBounds(x, y, w, h);
  }
  void SetBorderless(bool on) override { b_.SetBorderless(on); }
  void ShowWindow() override { b_.ShowWindow(); }
  void SetCursorVisible(bool on) override { b_.SetCursorVisible(on); }
  platform::DisplayResult OpenDisplay(bool full) override { return b_.OpenDisplay(full); }
  void Present(const platform::PixelView& p, bool wait) override { b_.Present(p, wait); }
  bool VsyncPaced() override { return b_.VsyncPaced(); }
  bool Foreground() override { return true; }
  void ReadKeyboard(platform::KeyboardState& keys) override { b_.ReadKeyboard(keys); }
  void ReadJoystick(platform::JoystickState& js) override { b_.ReadJoystick(js); }
  platform::Mixer* Audio() override { return b_.Audio(); }
  void MessageShown(const std::string& c, const std::string& t) override { b_.MessageShown(c, t); }

 private:
  platform::Backend& b_;
};

TEST(SdlGamepad, AControllerMapsToTheInputStatesAndToMenuEvents) {
  platform::SdlBackend backend;
  InFront front{backend};
  TDXInput input{front};
  platform::JoystickState js;
  backend.ReadJoystick(js);
  ASSERT_FALSE(js.Present);

  VirtualStick pad{true};
  PadEvents(backend);  // the plug-in is seen
  backend.ReadJoystick(js);
  ASSERT_TRUE(js.Present);

  pad.Button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(PadEvents(backend), Events{"Down Accept"});
  input.Update();
  EXPECT_TRUE(input.Held(InputButton1));
  pad.Button(SDL_CONTROLLER_BUTTON_A, false);
  pad.Button(SDL_CONTROLLER_BUTTON_B, true);
  EXPECT_EQ(PadEvents(backend), (Events{"Up Accept", "Down Back"}));
  input.Update();
  EXPECT_FALSE(input.Held(InputButton1));
  EXPECT_TRUE(input.Held(InputButton2));
  pad.Button(SDL_CONTROLLER_BUTTON_B, false);
  PadEvents(backend);

  // The D-pad steers like the stick pushed all the way.
  pad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  EXPECT_EQ(PadEvents(backend), Events{"Down Down"});
  input.Update();
  EXPECT_TRUE(input.Held(InputDown));
  // The stick pushed the same way as the held D-pad adds no second press.
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
  EXPECT_EQ(PadEvents(backend), Events{});
  pad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
  EXPECT_EQ(PadEvents(backend), Events{});
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
  EXPECT_EQ(PadEvents(backend), Events{"Up Down"});

  // The stick presses beyond half way and releases only under a quarter.
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -12000);
  EXPECT_EQ(PadEvents(backend), Events{});
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -20000);
  EXPECT_EQ(PadEvents(backend), Events{"Down Left"});
  input.Update();
  EXPECT_TRUE(input.Held(InputLeft));
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -12000);
  EXPECT_EQ(PadEvents(backend), Events{});
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
  EXPECT_EQ(PadEvents(backend), (Events{"Up Left", "Down Right"}));

  // Pulled out while the game polls and a direction is held: released, and nothing breaks.
  pad.Unplug();
  EXPECT_EQ(PadEvents(backend), Events{"Up Right"});
  backend.ReadJoystick(js);
  EXPECT_FALSE(js.Present);
  input.Update();
  EXPECT_FALSE(input.Held(InputRight));

  // Plugged in again, it works again.
  VirtualStick again{true};
  PadEvents(backend);
  again.Button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(PadEvents(backend), Events{"Down Accept"});
  input.Update();
  EXPECT_TRUE(input.Held(InputButton1));
}

TEST(SdlGamepad, APlainJoystickUsesItsHatAxesAndFirstTwoButtons) {
  platform::SdlBackend backend;
  InFront front{backend};
  TDXInput input{front};
  VirtualStick stick{false};
  PadEvents(backend);
  platform::JoystickState js;
  backend.ReadJoystick(js);
  ASSERT_TRUE(js.Present);

  stick.Hat(SDL_HAT_UP);
  EXPECT_EQ(PadEvents(backend), Events{"Down Up"});
  input.Update();
  EXPECT_TRUE(input.Held(InputUp));
  stick.Hat(SDL_HAT_CENTERED);
  EXPECT_EQ(PadEvents(backend), Events{"Up Up"});
  stick.Axis(0, 32767);
  EXPECT_EQ(PadEvents(backend), Events{"Down Right"});
  input.Update();
  EXPECT_TRUE(input.Held(InputRight));
  stick.Axis(0, 0);
  stick.Button(0, true);
  stick.Button(1, true);
  stick.Button(2, true);  // fires in the game, means nothing to the menus
  EXPECT_EQ(PadEvents(backend), (Events{"Up Right", "Down Accept", "Down Back"}));
  input.Update();
  EXPECT_TRUE(input.Held(InputButton3));
  EXPECT_EQ(platform::PadButtonsHeld([&] {
              platform::JoystickState s;
              backend.ReadJoystick(s);
              return s;
            }()),
            platform::PadBit(PadButton::Accept) | platform::PadBit(PadButton::Back));
}

TEST(SdlGamepad, TheDPadWalksAMenuAndTheFirstButtonClicks) {
  platform::SdlBackend backend;
  TWindow window{backend};
  TApplication app{backend, window};
  window.SetBounds(0, 0, 400, 300);
  TControls controls{window};
  TButton first{"First"}, second{"Second"};
  first.SetBounds(10, 10, 130, 30);
  second.SetBounds(10, 50, 130, 30);
  std::vector<std::string> clicks;
  for (TButton* b : {&first, &second}) {
    controls.Add(*b);
    b->OnClick = [&](TControl& sender) { clicks.push_back(sender.Name); };
  }

  VirtualStick pad{true};
  app.ProcessMessages();
  // Button A is held (firing) when the menu appears: it clicks nothing until pressed again.
  pad.Button(SDL_CONTROLLER_BUTTON_A, true);
  app.ProcessMessages();
  controls.ScreenChanged();
  EXPECT_EQ(controls.Focused(), &first);
  app.ProcessMessages();
  EXPECT_TRUE(clicks.empty());

  pad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  app.ProcessMessages();
  pad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
  app.ProcessMessages();
  EXPECT_EQ(controls.Focused(), &second);
  pad.Button(SDL_CONTROLLER_BUTTON_A, false);
  app.ProcessMessages();
  EXPECT_TRUE(clicks.empty());
  pad.Button(SDL_CONTROLLER_BUTTON_A, true);
  app.ProcessMessages();
  EXPECT_EQ(clicks, std::vector<std::string>{"Second"});

  // The stick walks back up.
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
  app.ProcessMessages();
  EXPECT_EQ(controls.Focused(), &first);
  // Pulled out in the menu: nothing clicks, nothing is left held.
  pad.Unplug();
  app.ProcessMessages();
  EXPECT_EQ(clicks.size(), 1u);
}

}  // namespace
