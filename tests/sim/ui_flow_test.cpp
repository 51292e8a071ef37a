// The whole program from start-up through every screen between missions, driven by
// ui-scripts on the generated content as a player would drive it. Where a step needs a
// state that play would take minutes to reach (an aircraft owned before the shop, a boss
// destroyed, the sixth mission), the test prepares it in the world directly.
#include <gtest/gtest.h>

#include <sstream>

#include "core/bonus.h"
#include "core/tick.h"
#include "flyers/aircraft.h"
#include "support/content_files.h"
#include "support/temp_dir.h"
#include "ui_driver.h"

namespace {

struct UiFlowTest : ::testing::Test {
  TUiDriver d{SK_DATA_DIR, 7};
  World& w = d.GameWorld();
  TForm1& form = d.Form();

  std::string Screen() { return TForm1::ScreenName(form.Screen()); }
  void GiveJaguar() {
    w.SetPlayer(MakeAircraft(w, akJaguar, kNewAircraftX, kNewAircraftY));
    w.State.AircraftKind = akJaguar;
  }
  void ToMainMenu() {
    d.RunText("choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\n");
    ASSERT_EQ(Screen(), "main-menu");
  }
  void NewGameInHangar(const std::string& difficulty) {
    d.RunText("click \"Nová hra\"\nclick \"" + difficulty + "\"\nclick \"Pokračuj\"\n");
    ASSERT_EQ(Screen(), "hangar");
  }
  void FlyFromHangar() {
    d.RunText("click \"Letět další misi\"\nclick \"Letět misi\"\n");
    ASSERT_EQ(Screen(), "mission");
  }
  bool EnginePlaying() { return d.GameWorld().Media.DXEnginesWaveList.Items[0].PlayingCount() > 0; }
};

TEST_F(UiFlowTest, StartUpShowsTheChoiceThenTheMenuAtTheNextTimerTick) {
  EXPECT_EQ(Screen(), "display-choice");
  EXPECT_EQ(d.Backend().Window().Caption, "Starvelkhorn");
  EXPECT_EQ(d.Backend().Window().Width, 141);
  EXPECT_EQ(form.Zobrazovani.ItemIndex(), 1);
  d.RunText("choose \"V okne\"\nclick \"Pokracovat\"\n");
  const auto& win = d.Backend().Window();
  EXPECT_EQ(win.X, 0);
  EXPECT_EQ(win.Y, 0);
  EXPECT_EQ(win.Width, 1024);
  EXPECT_EQ(win.Height, 768);
  EXPECT_FALSE(win.Fullscreen);
  // Not at the click: the menu waits for the 100 ms timer.
  EXPECT_EQ(Screen(), "display-choice");
  EXPECT_FALSE(form.FirstButton.Visible());
  d.RunText("wait 100\nexpect \"Nová hra\"\nexpect \"Nahrát hru\"\nexpect \"Konec\"\n");
  EXPECT_EQ(Screen(), "main-menu");
  EXPECT_FALSE(form.MenuTimer.Enabled());
  // The column of four holds the records and the recorded flights; "Konec" lies under it.
  EXPECT_EQ(form.MenuButton(2).Caption(), "Rekordy");
  EXPECT_EQ(form.MenuButton(3).Caption(), "Záznamy letů");
  EXPECT_TRUE(form.Button17.Visible());
  EXPECT_EQ(form.Button17.Top(), 520);
  d.RunText("click \"Konec\"\n");
  EXPECT_TRUE(d.App().Terminated());
}

TEST_F(UiFlowTest, TheDefaultChoiceStartsFullscreen) {
  d.RunText("click \"Pokracovat\"\nwait 100\n");
  EXPECT_TRUE(d.Backend().Window().Fullscreen);
  EXPECT_TRUE(d.Backend().Window().Borderless);
  EXPECT_EQ(Screen(), "main-menu");
}

TEST_F(UiFlowTest, BriefingPauseResumeAndQuitToTheMainMenu) {
  ToMainMenu();
  NewGameInHangar("Středni obtížnost");
  GiveJaguar();
  d.RunText(
      "click \"Letět další misi\"\nexpect \"Mise číslo 1: Osvobození středozemí\"\n"
      "click \"Zpět\"\nclick \"Letět další misi\"\nclick \"Letět misi\"\nwait 300\n");
  EXPECT_EQ(Screen(), "mission");
  EXPECT_FALSE(d.Backend().Window().CursorVisible);
  EXPECT_TRUE(w.PlayerInFlight());
  EXPECT_TRUE(EnginePlaying());
  const int64_t step = w.StepClock;
  EXPECT_GE(step, 1);

  d.RunText("key Escape\nexpect \"Zpět od hry\"\nwait 500\n");
  EXPECT_EQ(Screen(), "paused");
  const int64_t frozen = w.StepClock;
  d.RunText("wait 500\n");
  EXPECT_EQ(w.StepClock, frozen);
  EXPECT_FALSE(EnginePlaying());
  EXPECT_TRUE(d.Backend().Window().CursorVisible);
  EXPECT_EQ(w.Media.DXDraw1.Surface().Canvas().Font.Size, 12);

  d.RunText("click \"Zpět od hry\"\nwait 320\n");
  EXPECT_EQ(Screen(), "mission");
  EXPECT_TRUE(EnginePlaying());
  EXPECT_GE(w.StepClock, frozen + 1);

  d.RunText("key Escape\nclick \"Návrat do hlavní nabídky\"\n");
  EXPECT_EQ(w.Player, nullptr);  // freed with FlyerList
  EXPECT_FALSE(form.UpdateTimer.Enabled());
  d.RunText("wait 100\nexpect \"Nová hra\"\n");
  EXPECT_EQ(Screen(), "main-menu");
}

TEST_F(UiFlowTest, WinningCarriesTheAircraftAndBonusesIntoTheNextMission) {
  ToMainMenu();
  NewGameInHangar("Lehká obtížnost");
  GiveJaguar();
  FlyFromHangar();
  d.RunText("wait 200\n");
  TAircraft* jaguar = w.Player;
  jaguar->Health = 17;
  w.BonusList.Push(std::make_unique<TCreditBonus>(w, 10, 0));
  MissionEnd(w, true);  // the boss is destroyed
  EXPECT_EQ(w.VictoryCountdown, 120);
  d.RunText("wait 1000\n");
  EXPECT_EQ(Screen(), "mission");
  d.RunText("wait 300\nexpect \"Pokračuj\"\n");
  EXPECT_EQ(Screen(), "won");
  EXPECT_FALSE(form.UpdateTimer.Enabled());
  d.RunText("click \"Pokračuj\"\n");
  EXPECT_EQ(Screen(), "hangar");
  EXPECT_EQ(w.State.Mission, 1);
  ASSERT_EQ(w.Player, jaguar);
  EXPECT_FALSE(w.PlayerInFlight());
  EXPECT_EQ(jaguar->Health, jaguar->MaxHealth);
  EXPECT_NE(w.BonusList.Head(), nullptr);
  EXPECT_EQ(w.FlyerList.Head(), nullptr);
  d.RunText("click \"Letět další misi\"\nexpect \"Mise číslo 2: Skandinávské dostaveníčko\"\n");
}

TEST_F(UiFlowTest, ShotDownDuringTheCountdownWinsOverVictory) {
  ToMainMenu();
  NewGameInHangar("Lehká obtížnost");
  GiveJaguar();
  FlyFromHangar();
  MissionEnd(w, true);
  d.RunText("wait 500\n");
  w.Player->Hit(w.Player->Health + 1);
  d.RunText("wait 2000\nexpect \"Zpět do menu\"\n");
  EXPECT_EQ(Screen(), "shot-down");
  EXPECT_TRUE(w.State.GameOver);
  EXPECT_GT(w.VictoryCountdown, 0);  // stopped with the timers, never reached 0
  EXPECT_TRUE(d.Backend().Window().CursorVisible);
  d.RunText("click \"Zpět do menu\"\n");
  EXPECT_EQ(Screen(), "main-menu");
  EXPECT_EQ(w.Player, nullptr);
  EXPECT_TRUE(w.State.GameOver);  // until a new game
  NewGameInHangar("Lehká obtížnost");
  EXPECT_FALSE(w.State.GameOver);
}

TEST_F(UiFlowTest, QuittingToTheMenuLeavesNothingOfTheMissionRunningHoweverFastTheNextClick) {
  ToMainMenu();
  NewGameInHangar("Středni obtížnost");
  GiveJaguar();
  FlyFromHangar();
  d.RunText("wait 200\nkey Escape\n");
  ASSERT_EQ(Screen(), "paused");
  const TControl& resume = *form.MenuControls[0];
  const int32_t x = resume.Left() + resume.Width() / 2, y = resume.Top() + resume.Height() / 2;
  d.RunText("click \"Návrat do hlavní nabídky\"\n");
  // Before the menu timer: a click where "Zpět od hry" was, and Enter on the focus it had.
  d.Backend().PushClick(x, y);
  d.Backend().PushKeyPress(platform::vk::Return);
  d.App().ProcessMessages();
  const int64_t ticks = d.TicksRun();
  const int64_t presents = d.Backend().PresentCount();
  d.RunText("wait 1000\nexpect \"Nová hra\"\n");
  EXPECT_EQ(Screen(), "main-menu");
  EXPECT_EQ(d.TicksRun(), ticks);
  EXPECT_FALSE(form.UpdateTimer.Enabled());
  EXPECT_FALSE(form.DrawTimer.Enabled());
  EXPECT_FALSE(EnginePlaying());
  // A few presentations draw the menu; a mission's frames would add sixty a second.
  EXPECT_LE(d.Backend().PresentCount() - presents, 5);
}

// The generated content lacks nothing, so these tests work on a minimal tree of their own.
struct UiFlowOwnContent : ::testing::Test {
  ScopedTempDir dir;
  std::unique_ptr<TUiDriver> d;
  void SetUp() override {
    testcontent::WriteMinimalContent();  // the level of mission 1 only
    d = std::make_unique<TUiDriver>(dir.Path().string(), 1);
  }
};

TEST_F(UiFlowOwnContent, AMissingNextLevelKeepsTheCampaignOnTheSameMissionUntilItLoads) {
  d->RunText(
      "choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\nclick \"Nová hra\"\n"
      "click \"Lehká obtížnost\"\nclick \"Pokračuj\"\n");
  World& w = d->GameWorld();
  w.SetPlayer(MakeAircraft(w, akJaguar, kNewAircraftX, kNewAircraftY));
  w.State.AircraftKind = akJaguar;
  d->RunText("click \"Letět další misi\"\nclick \"Letět misi\"\n");
  MissionEnd(w, true);
  d->RunText("wait 1300\nexpect \"Pokračuj\"\n");
  // The next level cannot be read: reported each time, and each time the same mission.
  for (int attempt = 1; attempt <= 2; ++attempt) {
    d->RunText("click \"Pokračuj\"\nok\n");
    ASSERT_EQ(d->Backend().Messages().size(), static_cast<size_t>(attempt));
    EXPECT_NE(d->Backend().Messages().back().Text.find(catalog::LevelMapPath(1)),
              std::string::npos);
    EXPECT_EQ(w.State.Mission, 0);
    EXPECT_EQ(TForm1::ScreenName(d->Form().Screen()), std::string("won"));
  }
  testcontent::WriteLevel(1, [](int32_t, int32_t) { return 1; }, {});
  d->RunText(
      "click \"Pokračuj\"\nclick \"Letět další misi\"\n"
      "expect \"Mise číslo 2: Skandinávské dostaveníčko\"\n");
  EXPECT_EQ(w.State.Mission, 1);
}

TEST_F(UiFlowTest, ScriptFailuresSayWhatWasExpectedAndWhatWasVisible) {
  ToMainMenu();
  try {
    d.RunText("expect \"Nová hra\"\nclick \"Letět misi\"\n");
    FAIL() << "a missing button must fail";
  } catch (const EUiFailure& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("line 2"), std::string::npos) << what;
    EXPECT_NE(what.find("\"Konec\""), std::string::npos) << what;
  }
}

TEST(UiScriptTest, MalformedLinesAreRefusedWithTheirNumber) {
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"wait 10\nclick Nová\n", "line 2"}, {"# fine\n\nhold Space\n", "line 3"},
      {"key NoSuchKey\n", "unknown key"},  {"fly \"x\"\n", "unknown command"},
      {"click \"A\" 0\n", "count"},        {"expect \"open\n", "line 1"},
  };
  for (const auto& [script, why] : bad) {
    std::istringstream in(script);
    std::string error;
    EXPECT_FALSE(ParseUiScript(in, error).has_value()) << script;
    EXPECT_NE(error.find(why), std::string::npos) << script << " -> " << error;
  }
  std::istringstream good("click \"Slot 0 : Prodat  (4000)\" 2 # second\nhold Left Shift 5\n");
  std::string error;
  const auto commands = ParseUiScript(good, error);
  ASSERT_TRUE(commands.has_value()) << error;
  EXPECT_EQ((*commands)[0].Text, "Slot 0 : Prodat  (4000)");
  EXPECT_EQ((*commands)[0].Number, 2);
  EXPECT_EQ((*commands)[1].Text, "Left Shift");
  EXPECT_EQ((*commands)[1].Number, 5);
}

}  // namespace
