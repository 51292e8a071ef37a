// The player's settings in play, through the whole program on the headless backend: a key
// bound in the settings flies the aircraft through the game's own input poll (and the key it
// replaced no longer does), and losing the window's focus mid-mission opens the pause screen,
// freezes everything until the player resumes, and does nothing outside a mission or when
// the setting is off.
#include <gtest/gtest.h>

#include "flyers/aircraft.h"
#include "shell/apply_settings.h"
#include "shell/settings.h"
#include "ui_driver.h"

namespace {

struct SettingsPlayTest : ::testing::Test {
  TUiDriver d{SK_DATA_DIR, 7};
  World& w = d.GameWorld();
  TForm1& form = d.Form();

  std::string Screen() { return TForm1::ScreenName(form.Screen()); }
  void ToHangar() {
    d.RunText(
        "choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\nclick \"Nová hra\"\n"
        "click \"Středni obtížnost\"\nclick \"Pokračuj\"\n");
    ASSERT_EQ(Screen(), "hangar");
    w.SetPlayer(MakeAircraft(w, akJaguar, kNewAircraftX, kNewAircraftY));
    w.State.AircraftKind = akJaguar;
  }
  void Fly() {
    d.RunText("click \"Letět další misi\"\nclick \"Letět misi\"\nwait 100\n");
    ASSERT_EQ(Screen(), "mission");
  }
  int64_t Ticks() { return w.StepClock * 16 + w.StepTicks; }
  // Where everything in the air is: the aircraft and every flyer, in list order.
  std::vector<std::pair<int32_t, int32_t>> Positions() {
    std::vector<std::pair<int32_t, int32_t>> at;
    for (auto* n = w.FlyerList.Head(); n; n = n->Next) at.emplace_back(n->Object->X, n->Object->Y);
    return at;
  }
};

TEST_F(SettingsPlayTest, AReboundKeyFliesTheAircraftAndTheOldKeyNoLongerDoes) {
  ApplySettings(ParseSettings("key_up = W\nkey_left = A\n", "s.ini"), form);
  ToHangar();
  Fly();
  const TAircraft& plane = *w.Player;
  const int32_t x0 = plane.X, y0 = plane.Y;
  d.RunText("hold K 40\nhold H 40\n");  // the defaults, now bound to nothing
  EXPECT_EQ(plane.X, x0);
  EXPECT_EQ(plane.Y, y0);
  d.RunText("hold W 40\n");
  EXPECT_LT(plane.Y, y0 - 20);
  EXPECT_EQ(plane.X, x0);
  d.RunText("hold A 40\n");
  EXPECT_LT(plane.X, x0 - 20);
  // The arrows are still bound (the file named only the letters).
  const int32_t y1 = plane.Y;
  d.RunText("hold Down 40\n");
  EXPECT_GT(plane.Y, y1);
}

TEST_F(SettingsPlayTest, FocusLostMidMissionPausesAndNothingMovesUntilThePlayerResumes) {
  ToHangar();
  // Focus lost and back in the menus changes nothing.
  d.Backend().SetFocus(false);
  d.Backend().SetFocus(true);
  d.Wait(100);
  EXPECT_EQ(Screen(), "hangar");
  Fly();
  // The player holds a direction when another window takes the keyboard.
  d.Backend().SetKey(platform::vk::Right, true);
  d.Wait(300);
  const int64_t ticks = Ticks();
  EXPECT_GT(w.Player->X, kNewAircraftX);

  d.Backend().SetFocus(false);
  d.Wait(10);
  EXPECT_EQ(Screen(), "paused");
  d.RunText("expect \"Zpět od hry\"\nexpect \"Návrat do hlavní nabídky\"\n");
  EXPECT_TRUE(d.Backend().Window().CursorVisible);
  const int64_t frozen = Ticks();
  EXPECT_LE(frozen, ticks + 2);
  const auto positions = Positions();
  const int32_t pausedX = w.Player->X;
  const int64_t credits = w.State.Credits;
  // Away for three seconds, then back with the key still held: still paused, nothing moved,
  // no tick ran.
  d.Wait(3000);
  d.Backend().SetFocus(true);
  d.Wait(500);
  EXPECT_EQ(Screen(), "paused");
  EXPECT_EQ(Ticks(), frozen);
  EXPECT_EQ(Positions(), positions);
  EXPECT_EQ(w.State.Credits, credits);

  d.RunText("click \"Zpět od hry\"\nwait 200\n");
  EXPECT_EQ(Screen(), "mission");
  EXPECT_GE(Ticks(), frozen + 15);
  EXPECT_GT(w.Player->X, pausedX);
}

TEST_F(SettingsPlayTest, WithTheSettingOffAMissionFliesOnWithoutFocus) {
  ApplySettings(ParseSettings("pause_on_focus_loss = off\n", "s.ini"), form);
  ToHangar();
  Fly();
  const int64_t ticks = Ticks();
  d.Backend().SetFocus(false);
  d.Wait(300);
  EXPECT_EQ(Screen(), "mission");
  EXPECT_GE(Ticks(), ticks + 25);
}

}  // namespace
