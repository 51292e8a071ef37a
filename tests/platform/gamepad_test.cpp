// The SDL backend's gamepad path without hardware, through SDL's virtual joysticks: plugging
// in and pulling out at any time (also while the game polls), a game controller's mapping to
// the input states, a plain joystick's hat, axes and buttons, and the menus' pad events.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "platform/pad.h"
#include "platform/sdl/sdl_backend.h"
#include "presentation/application.h"
#include "presentation/controls.h"
#include "presentation/dxinput.h"
#include "presentation/window.h"
#include "shell/apply_settings.h"
#include "shell/form1.h"
#include "shell/settings.h"
#include "support/temp_dir.h"

namespace {

using platform::EventKind;
using platform::PadButton;

// A virtual device: a game controller with every button and axis, or a plain joystick with
// two axes, a hat and eight buttons, as a cheap pad that SDL knows no mapping for.
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
      desc.nbuttons = 8;
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
  static const char* kNames[] = {"Up", "Down", "Left", "Right", "Accept", "Back", "Start"};
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

// Everything a pad does, and how each kind of device does it: a controller by its D-pad, left
// stick and A, B and Start; a plain joystick by its hat, first two axes and buttons 1, 2 and 8.
enum class PadAction { Down, Up, Right, Left, StickDown, StickUp, StickRight, Accept, Back, Start };

void Do(VirtualStick& pad, bool controller, PadAction action, bool down) {
  const uint8_t hat = SDL_HAT_CENTERED;
  const int16_t pushed = down ? 32767 : 0, pulled = down ? -32768 : 0;
  switch (action) {
    case PadAction::Down:
      return controller ? pad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, down)
                        : pad.Hat(down ? SDL_HAT_DOWN : hat);
    case PadAction::Up:
      return controller ? pad.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, down)
                        : pad.Hat(down ? SDL_HAT_UP : hat);
    case PadAction::Right:
      return controller ? pad.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, down)
                        : pad.Hat(down ? SDL_HAT_RIGHT : hat);
    case PadAction::Left:
      return controller ? pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, down)
                        : pad.Hat(down ? SDL_HAT_LEFT : hat);
    case PadAction::StickDown:
      return pad.Axis(controller ? SDL_CONTROLLER_AXIS_LEFTY : 1, pushed);
    case PadAction::StickUp:
      return pad.Axis(controller ? SDL_CONTROLLER_AXIS_LEFTY : 1, pulled);
    case PadAction::StickRight:
      return pad.Axis(controller ? SDL_CONTROLLER_AXIS_LEFTX : 0, pushed);
    case PadAction::Accept:
      return pad.Button(controller ? SDL_CONTROLLER_BUTTON_A : 0, down);
    case PadAction::Back:
      return pad.Button(controller ? SDL_CONTROLLER_BUTTON_B : 1, down);
    case PadAction::Start:
      return pad.Button(controller ? SDL_CONTROLLER_BUTTON_START : 7, down);
  }
}

// What a player gets from each pad action, pressed and let go, on a menu of three buttons: the
// events the form sees, where the focus goes and what is clicked, the flight's input states and
// the pad buttons a new screen would take as held.
std::vector<std::string> PadTranscript(bool controller) {
  platform::SdlBackend sdl;
  InFront backend{sdl};
  TWindow window{backend};
  TApplication app{backend, window};
  window.SetBounds(0, 0, 400, 300);
  TControls controls{window};
  TButton first{"First"}, second{"Second"}, back{"Zpět"};
  first.SetBounds(10, 10, 130, 30);
  second.SetBounds(10, 50, 130, 30);
  back.SetBounds(10, 90, 130, 30);
  std::string clicked, seen;
  for (TButton* b : {&first, &second, &back}) {
    b->SetCaption(b->Name);
    controls.Add(*b);
    b->OnClick = [&](TControl& sender) { clicked += sender.Name; };
  }
  controls.BackControl = [&]() -> TControl* { return &back; };
  static const char* kPad[] = {"Up", "Down", "Left", "Right", "Accept", "Back", "Start"};
  app.OnPreview = [&](const platform::Event& e) {
    if (e.Kind == EventKind::PadDown || e.Kind == EventKind::PadUp) {
      seen += std::string(seen.empty() ? "" : " ") + (e.Kind == EventKind::PadDown ? "+" : "-") +
              kPad[static_cast<int>(e.Pad)];
    }
    return false;
  };
  TDXInput input{backend};
  // The flight's states and the pad buttons held, as names.
  auto held = [&] {
    input.Update();
    std::string text;
    for (int s = InputUp; s <= InputButton32; ++s) {
      if (!input.Held(static_cast<TDXInputState>(s))) continue;
      static const char* kDirections[] = {"Up", "Down", "Left", "Right"};
      text += s <= InputRight ? kDirections[s] : "Button" + std::to_string(s - InputButton1 + 1);
      text += ' ';
    }
    platform::JoystickState js;
    backend.ReadJoystick(js);
    const uint8_t pad = platform::PadButtonsHeld(js);
    for (int b = 0; b < platform::kPadButtonCount; ++b) {
      if (pad & (1u << b)) text += std::string("pad ") + kPad[b] + ' ';
    }
    return text;
  };

  VirtualStick pad{controller};
  app.ProcessMessages();
  controls.ScreenChanged();
  std::vector<std::string> transcript;
  for (PadAction a : {PadAction::Down, PadAction::Up, PadAction::Right, PadAction::Left,
                      PadAction::StickDown, PadAction::StickUp, PadAction::StickRight,
                      PadAction::Accept, PadAction::Back, PadAction::Start}) {
    seen.clear();
    clicked.clear();
    Do(pad, controller, a, true);
    app.ProcessMessages();
    std::string line = seen + " | " + held() + "| ";
    seen.clear();
    Do(pad, controller, a, false);
    app.ProcessMessages();
    const auto* focus = dynamic_cast<const TButton*>(controls.Focused());
    transcript.push_back(line + seen + " | " + held() + "| focus " +
                         (focus ? focus->Caption() : "-") + ", clicked " + clicked);
  }
  return transcript;
}

TEST(SdlGamepad, EveryActionWorksOnAPlainJoystickAsOnAGameController) {
  const std::vector<std::string> expected = {
      "+Down | Down pad Down | -Down | | focus Second, clicked ",
      "+Up | Up pad Up | -Up | | focus First, clicked ",
      "+Right | Right pad Right | -Right | | focus Second, clicked ",
      "+Left | Left pad Left | -Left | | focus First, clicked ",
      "+Down | Down pad Down | -Down | | focus Second, clicked ",
      "+Up | Up pad Up | -Up | | focus First, clicked ",
      "+Right | Right pad Right | -Right | | focus Second, clicked ",
      "+Accept | Button1 pad Accept | -Accept | | focus Second, clicked Second",
      "+Back | Button2 pad Back | -Back | | focus Second, clicked Zpět",
      "+Start | Button8 pad Start | -Start | | focus Second, clicked ",
  };
  EXPECT_EQ(PadTranscript(true), expected);
  EXPECT_EQ(PadTranscript(false), expected);
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

// The whole game on SDL's dummy display, played with a virtual pad alone, in a folder of its
// own that links the content (the save goes there).
class PadPlay : public ::testing::Test {
 protected:
  PadPlay() {
    for (const char* dir : {"res", "sounds", "levels", "music"})
      std::filesystem::create_directory_symlink(std::filesystem::path(SK_DATA_DIR) / dir, dir);
    form.FormCreate();
  }

  std::string Screen() const { return TForm1::ScreenName(form.Screen()); }
  // Lets the program run, its clock being the real one.
  void Run(uint64_t ms) { app.RunFor(ms); }
  // A pad button pressed and let go, as a player taps it.
  void Tap(int button) {
    pad->Button(button, true);
    Run(30);
    pad->Button(button, false);
    Run(30);
  }
  // Runs until the screen is the one named, for at most ten seconds.
  bool Reach(const std::string& screen) {
    for (int i = 0; i < 200 && Screen() != screen; ++i) Run(50);
    return Screen() == screen;
  }
  std::string FocusedCaption() const {
    const auto* b = dynamic_cast<const TButton*>(form.Controls.Focused());
    return b ? b->Caption() : "";
  }
  // Walks the focus with the D-pad down to the button with that caption; false if it never
  // comes.
  bool FocusOn(const std::string& caption) {
    for (int i = 0; i < 20 && FocusedCaption() != caption; ++i)
      Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    return FocusedCaption() == caption;
  }

  ScopedTempDir dir;
  platform::SdlBackend sdl;
  InFront backend{sdl};
  TFormComponents media{backend};
  TApplication app{backend, media.Window};
  TForm1 form{media, app, 3};
  std::unique_ptr<VirtualStick> pad = std::make_unique<VirtualStick>(true);
};

TEST_F(PadPlay, APadAloneWalksFromTheTitleThroughTheShopAMissionThePauseAndASave) {
  Run(50);
  // The display choice: up to "V okne", right to "Pokracovat".
  ASSERT_EQ(Screen(), "display-choice");
  Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
  Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
  EXPECT_EQ(form.Zobrazovani.ItemIndex(), 0);
  Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  Tap(SDL_CONTROLLER_BUTTON_A);
  ASSERT_TRUE(Reach("main-menu"));
  EXPECT_FALSE(media.DXDraw1.FullScreen());
  Tap(SDL_CONTROLLER_BUTTON_A);  // "Nová hra"
  ASSERT_EQ(Screen(), "difficulty");
  Tap(SDL_CONTROLLER_BUTTON_B);  // back to the menu, and in again
  ASSERT_EQ(Screen(), "main-menu");
  Tap(SDL_CONTROLLER_BUTTON_A);
  Tap(SDL_CONTROLLER_BUTTON_A);  // "Lehká obtížnost"
  Tap(SDL_CONTROLLER_BUTTON_A);  // the story's "Pokračuj"
  ASSERT_EQ(Screen(), "hangar");

  // The shop: the first aircraft, then a weapon for slot 0; B goes back each time.
  ASSERT_TRUE(FocusOn("Nakupovat/prodávat"));
  Tap(SDL_CONTROLLER_BUTTON_A);
  Tap(SDL_CONTROLLER_BUTTON_A);  // "Obchodovat s letadly"
  ASSERT_EQ(Screen(), "plane-shop");
  ASSERT_TRUE(FocusOn("Koupit"));
  Tap(SDL_CONTROLLER_BUTTON_A);
  ASSERT_NE(form.GameWorld().Player, nullptr);
  Tap(SDL_CONTROLLER_BUTTON_B);
  ASSERT_EQ(Screen(), "shop-menu");
  ASSERT_TRUE(FocusOn("Obchodovat se zbraněmi"));
  Tap(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(Screen(), "weapon-shop");
  ASSERT_TRUE(FocusOn("Slot 0 : Koupit"));
  Tap(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(Screen(), "weapon-browser");
  ASSERT_TRUE(FocusOn("Koupit"));
  Tap(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(Screen(), "weapon-shop");
  EXPECT_NE(form.State().SlotKinds[0], kNoKind);
  Tap(SDL_CONTROLLER_BUTTON_B);
  Tap(SDL_CONTROLLER_BUTTON_B);
  ASSERT_EQ(Screen(), "hangar");

  ASSERT_TRUE(FocusOn("Uložit hru"));
  Tap(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(std::filesystem::file_size("game.sav"), 24u);

  // The mission: the stick steers, Start pauses, B resumes, and the pause leaves for the menu.
  ASSERT_TRUE(FocusOn("Letět další misi"));
  Tap(SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(Screen(), "briefing");
  Tap(SDL_CONTROLLER_BUTTON_A);  // "Letět misi"
  ASSERT_EQ(Screen(), "mission");
  World& w = form.GameWorld();
  const int32_t x = w.Player->X;
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
  Run(300);
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  EXPECT_LT(w.Player->X, x - 100);
  Tap(SDL_CONTROLLER_BUTTON_START);
  ASSERT_EQ(Screen(), "paused");
  Tap(SDL_CONTROLLER_BUTTON_B);  // "Zpět od hry"
  ASSERT_EQ(Screen(), "mission");
  Tap(SDL_CONTROLLER_BUTTON_START);
  ASSERT_EQ(Screen(), "paused");
  Tap(SDL_CONTROLLER_BUTTON_START);  // Start again resumes
  ASSERT_EQ(Screen(), "mission");
  Tap(SDL_CONTROLLER_BUTTON_START);
  ASSERT_EQ(Screen(), "paused");
  ASSERT_TRUE(FocusOn("Návrat do hlavní nabídky"));
  Tap(SDL_CONTROLLER_BUTTON_A);
  EXPECT_TRUE(Reach("main-menu"));
}

TEST_F(PadPlay, APadPulledOutMidMissionPausesItAndAnotherPluggedInSteersAtOnce) {
  TSettings settings = ParseSettings("pad_weapon = y\n", "s.ini");
  ApplySettings(settings, form);
  form.Zobrazovani.SetItemIndex(0);
  form.FirstButtonClick();
  ASSERT_TRUE(Reach("main-menu"));
  auto click = [&](const std::string& caption) {
    for (TControl* c : form.Controls.All()) {
      auto* b = dynamic_cast<TButton*>(c);
      if (b && b->Visible() && b->Caption() == caption) return form.Controls.Click(*b);
    }
    return false;
  };
  for (const char* caption :
       {"Nová hra", "Lehká obtížnost", "Pokračuj", "Nakupovat/prodávat", "Obchodovat s letadly",
        "Koupit", "Zpět", "Obchodovat se zbraněmi", "Slot 0 : Koupit", "Koupit", "Zpet", "Zpět",
        "Letět další misi", "Letět misi"})
    ASSERT_TRUE(click(caption)) << caption;
  ASSERT_EQ(Screen(), "mission");
  World& w = form.GameWorld();
  w.Player->Slots[0] = MakeWeapon(w, 1);        // mini missiles: ready every tenth tick
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);  // steering right when it goes
  Run(200);
  pad->Unplug();
  Run(30);
  ASSERT_EQ(Screen(), "paused");
  // Nothing moves while it waits: not the aircraft, not the schedule, not a shot.
  const int32_t x = w.Player->X, y = w.Player->Y;
  const int64_t clock = w.StepClock, ticks = w.StepTicks;
  const size_t flyers = w.FlyerList.Count();
  VirtualStick again{true};
  Run(400);
  EXPECT_EQ(Screen(), "paused");
  EXPECT_EQ(w.Player->X, x);
  EXPECT_EQ(w.Player->Y, y);
  EXPECT_EQ(w.StepClock, clock);
  EXPECT_EQ(w.StepTicks, ticks);
  EXPECT_EQ(w.FlyerList.Count(), flyers);
  // The new pad resumes, steers at once and fires with the player's own button.
  pad.reset();
  again.Button(SDL_CONTROLLER_BUTTON_A, true);  // "Zpět od hry"
  Run(30);
  again.Button(SDL_CONTROLLER_BUTTON_A, false);
  ASSERT_EQ(Screen(), "mission");
  again.Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
  Run(300);
  EXPECT_LT(w.Player->X, x - 100);
  auto playerShots = [&] {
    int n = 0;
    for (auto* node = w.FlyerList.Head(); node; node = node->Next) {
      if (node->Object != w.Player && node->Object->Side == kSidePlayer) ++n;
    }
    return n;
  };
  EXPECT_EQ(playerShots(), 0);
  again.Button(SDL_CONTROLLER_BUTTON_Y, true);
  Run(400);
  EXPECT_GT(playerShots(), 0);
  again.Button(SDL_CONTROLLER_BUTTON_Y, false);

  // Without the setting, pulling it out only lets go of what it held.
  form.PauseOnPadLoss = false;
  again.Unplug();
  Run(100);
  EXPECT_EQ(Screen(), "mission");
}

}  // namespace
