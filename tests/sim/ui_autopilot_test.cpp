// The pilot in a ui-script: it takes over a mission started through the real screens, flies
// and fights through the game's own input poll, and hands the controls back when told.
#include <gtest/gtest.h>

#include <sstream>

#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "ui_driver.h"

namespace {

TEST(UiAutopilot, FliesAMissionStartedFromTheHangarAndHandsBackTheControls) {
  TUiDriver d{SK_DATA_DIR, 3};
  World& w = d.GameWorld();
  d.RunText(
      "choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\n"
      "click \"Nová hra\"\nclick \"Lehká obtížnost\"\nclick \"Pokračuj\"\n");
  // The shop is not needed here: the aircraft is put in the hangar directly.
  auto aircraft = MakeAircraft(w, akJaguar, kNewAircraftX, kNewAircraftY);
  aircraft->Cannon = MakeCannon(w, ckDC);
  w.SetPlayer(std::move(aircraft));
  w.State.AircraftKind = akJaguar;
  w.State.CannonKind = ckDC;
  d.RunText("click \"Letět další misi\"\nclick \"Letět misi\"\nautopilot on\nwait 40000\n");
  ASSERT_TRUE(w.PlayerInFlight());
  EXPECT_GT(w.State.Credits, kNewGameCredits);  // craft shot down
  EXPECT_NE(w.Player->X, kNewAircraftX);         // and flown about

  d.RunText("autopilot off\nwait 50\n");
  EXPECT_TRUE(w.Media.DXInput1.States().none());  // nothing left held
}

TEST(UiAutopilot, TheCommandTakesOnOrOff) {
  for (const char* bad : {"autopilot\n", "autopilot maybe\n"}) {
    std::istringstream in(bad);
    std::string error;
    EXPECT_FALSE(ParseUiScript(in, error).has_value()) << bad;
    EXPECT_NE(error.find("on or off"), std::string::npos) << error;
  }
  std::istringstream good("autopilot on\nautopilot off\n");
  std::string error;
  const auto commands = ParseUiScript(good, error);
  ASSERT_TRUE(commands.has_value()) << error;
  EXPECT_EQ((*commands)[0].Number, 1);
  EXPECT_EQ((*commands)[1].Number, 0);
}

}  // namespace
