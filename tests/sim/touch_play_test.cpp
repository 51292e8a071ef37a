// A flight played on a touch screen and a full screen left behind the game's back, through the
// whole program on the headless backend: the controls appear with the flight after a tap in
// the menus, the thumb on the stick flies the aircraft (a light thumb slower than a full one),
// a finger fires and a tap pauses; a full screen the browser leaves pauses the flight, whatever
// the focus setting, and the next switch goes back into it.
#include <gtest/gtest.h>

#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "shell/apply_settings.h"
#include "shell/settings.h"
#include "ui_driver.h"

namespace {

using platform::TouchButton;

struct TouchPlayTest : ::testing::Test {
  TUiDriver d{SK_DATA_DIR, 7};
  World& w = d.GameWorld();
  TForm1& form = d.Form();
  platform::TouchControls& touch = d.Backend().Touch();

  std::string Screen() { return TForm1::ScreenName(form.Screen()); }
  void ToHangar(const char* display = "V okne") {
    d.RunText(std::string("choose \"") + display +
              "\"\nclick \"Pokracovat\"\nwait 100\nclick \"Nová hra\"\n"
              "click \"Středni obtížnost\"\nclick \"Pokračuj\"\n");
    ASSERT_EQ(Screen(), "hangar");
    auto plane = MakeAircraft(w, akJaguar, kNewAircraftX, kNewAircraftY);
    plane->Cannon = MakeCannon(w, 0);
    w.SetPlayer(std::move(plane));
    w.State.AircraftKind = akJaguar;
    w.State.CannonKind = 0;
  }
  void Fly() {
    d.RunText("click \"Letět další misi\"\nclick \"Letět misi\"\nwait 100\n");
    ASSERT_EQ(Screen(), "mission");
  }
  platform::TouchPoint At(TouchButton b) {
    return touch.Layout().Buttons[static_cast<size_t>(b)].Centre;
  }
  float Radius() { return touch.Layout().StickRadius; }
};

TEST_F(TouchPlayTest, TheThumbFliesTheAircraftAFingerFiresAndATapPauses) {
  ToHangar();
  EXPECT_FALSE(touch.Visible());
  touch.Touched();  // the menus were played by tap
  Fly();
  EXPECT_TRUE(touch.Visible());
  TAircraft& plane = *w.Player;
  const int32_t x0 = plane.X, y0 = plane.Y;
  touch.Down(1, {300, 500});
  touch.Move(1, {300 - Radius(), 500});
  d.Wait(300);
  EXPECT_LT(plane.X, x0 - 100);
  EXPECT_EQ(plane.Y, y0);

  EXPECT_EQ(w.ShellList.Count(), 0u);
  touch.Down(2, At(TouchButton::Cannon));
  d.Wait(200);
  EXPECT_GT(w.ShellList.Count(), 0u);
  touch.Up(2);
  touch.Up(1);

  // A tap shorter than a tick still pauses.
  touch.Down(3, At(TouchButton::Pause));
  touch.Up(3);
  d.Wait(20);
  EXPECT_EQ(Screen(), "paused");
  EXPECT_FALSE(touch.Visible());
  const int32_t pausedX = plane.X;
  touch.Down(4, {300, 500});  // the pause screen's touches are taps on its buttons
  touch.Move(4, {100, 500});
  d.Wait(300);
  EXPECT_EQ(plane.X, pausedX);
  d.RunText("click \"Zpět od hry\"\nwait 1000\n");
  EXPECT_EQ(Screen(), "mission");
  EXPECT_TRUE(touch.Visible());
  // The aircraft coasts out the speed it had, then stays: nothing was left held.
  const int32_t coasted = plane.X;
  EXPECT_LT(coasted, pausedX);
  d.Wait(300);
  EXPECT_EQ(plane.X, coasted);
}

TEST_F(TouchPlayTest, ALightThumbFliesSlowerThanAFullOne) {
  ToHangar();
  touch.Touched();
  Fly();
  TAircraft& plane = *w.Player;
  // Full left for 40 ticks, then let go and coast to a stop.
  const int32_t x0 = plane.X;
  touch.Down(1, {300, 500});
  touch.Move(1, {300 - Radius(), 500});
  d.Wait(400);
  const int32_t full = x0 - plane.X;
  touch.Up(1);
  d.Wait(1000);
  // Half a radius right: (0.5 - 0.2) / 0.6, every other tick.
  const int32_t x1 = plane.X;
  touch.Down(1, {300, 500});
  touch.Move(1, {300 + Radius() / 2, 500});
  d.Wait(400);
  const int32_t light = plane.X - x1;
  EXPECT_GT(full, 250);
  EXPECT_GT(light, full * 35 / 100);
  EXPECT_LT(light, full * 75 / 100);
}

TEST_F(TouchPlayTest, AFullScreenLeftBehindTheGamesBackPausesAndTheNextSwitchReturnsToIt) {
  ApplySettings(ParseSettings("pause_on_focus_loss = off\n", "s.ini"), form);
  ToHangar("Fullscreen");
  EXPECT_TRUE(form.Media.DXDraw1.FullScreen());
  platform::Event left;
  left.Kind = platform::EventKind::FullScreenLeft;
  Fly();
  d.Backend().PushEvent(left);
  d.Wait(20);
  EXPECT_EQ(Screen(), "paused");
  EXPECT_FALSE(form.Media.DXDraw1.FullScreen());
  // F11 asks for the full screen again, not to leave one already left.
  d.RunText("key F11\nwait 50\n");
  EXPECT_TRUE(form.Media.DXDraw1.FullScreen());
  EXPECT_TRUE(d.Backend().Window().Fullscreen);
  // Outside a flight it only says the full screen is gone.
  d.RunText("click \"Návrat do hlavní nabídky\"\nwait 300\n");
  d.Backend().PushEvent(left);
  d.Wait(20);
  EXPECT_EQ(Screen(), "main-menu");
  EXPECT_FALSE(form.Media.DXDraw1.FullScreen());
}

}  // namespace
