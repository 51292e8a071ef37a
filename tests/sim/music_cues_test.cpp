// The soundtrack follows the screens, walked through the real program as a player goes: the
// title, the hangar, the mission's land, its mother ship, the stings at the end, with the
// pause lowering what plays. Where play would take minutes (the boss's arrival, its death)
// the test moves the world on directly.
#include <gtest/gtest.h>

#include "core/tick.h"
#include "flyers/aircraft.h"
#include "platform/mixer.h"
#include "shell/apply_settings.h"
#include "shell/settings.h"
#include "ui_driver.h"

namespace {

struct MusicCuesTest : ::testing::Test {
  TUiDriver d{SK_DATA_DIR, 7};
  World& w = d.GameWorld();
  TForm1& form = d.Form();
  TDXSound& sound = form.Media.DXSound1;

  std::string Music() { return sound.MusicPlaying(); }
  float Level(const std::string& theme) { return sound.Mixer()->MusicLevel(theme); }
  void Fly() {
    w.SetPlayer(MakeAircraft(w, akJaguar, kNewAircraftX, kNewAircraftY));
    w.State.AircraftKind = akJaguar;
    d.RunText("click \"Letět další misi\"\nclick \"Letět misi\"\n");
    ASSERT_EQ(form.Screen(), TForm1::TScreen::Mission);
  }
  // The schedule's clock set to its last row, the mother ship, which comes at the next tick.
  void BringTheBoss() {
    w.Level.NextSpawn = static_cast<int64_t>(w.Level.Spawns.size()) - 1;
    w.StepClock = w.Level.Spawns.back().Time;
    ASSERT_EQ(w.Level.Spawns.back().EnemyKind, -1);
  }
};

TEST_F(MusicCuesTest, TitleHangarLandMotherShipVictoryAndDefeatFollowTheScreens) {
  ASSERT_NE(sound.Mixer(), nullptr);
  EXPECT_EQ(Music(), "");  // the display choice is silent
  d.RunText("choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\n");
  EXPECT_EQ(Music(), "title");
  d.RunText("click \"Nová hra\"\nclick \"Lehká obtížnost\"\n");
  EXPECT_EQ(Music(), "title");  // the story is told over the title's theme
  d.RunText("wait 1100\n");
  EXPECT_FLOAT_EQ(Level("title"), 1.0f);
  d.RunText("click \"Pokračuj\"\nclick \"Nakupovat/prodávat\"\n");
  EXPECT_EQ(Music(), "hangar");
  d.RunText("wait 500\n");
  EXPECT_NEAR(Level("title"), 0.5f, 0.02f);  // crossfading, not cut
  EXPECT_NEAR(Level("hangar"), 0.5f, 0.02f);
  d.RunText("click \"Zpět\"\n");
  EXPECT_EQ(Music(), "hangar");

  Fly();
  EXPECT_EQ(Music(), "temperate");
  d.RunText("wait 200\nhold Escape 3\nwait 100\n");
  EXPECT_EQ(form.Screen(), TForm1::TScreen::Paused);
  EXPECT_EQ(Music(), "temperate");
  EXPECT_TRUE(sound.MusicPaused());
  d.RunText("click \"Zpět od hry\"\n");
  EXPECT_FALSE(sound.MusicPaused());

  BringTheBoss();
  d.RunText("wait 100\n");
  EXPECT_EQ(Music(), "mothership");
  d.RunText("wait 1100\n");
  EXPECT_FLOAT_EQ(Level("mothership"), 1.0f);
  EXPECT_FLOAT_EQ(Level("temperate"), 0.0f);

  MissionEnd(w, true);  // the mother ship destroyed: the mission flies on 120 ticks
  d.RunText("wait 1000\n");
  EXPECT_EQ(Music(), "mothership");
  d.RunText("wait 300\n");
  EXPECT_EQ(form.Screen(), TForm1::TScreen::Won);
  EXPECT_EQ(Music(), "victory");

  d.RunText("click \"Pokračuj\"\n");
  EXPECT_EQ(Music(), "hangar");
  d.RunText("click \"Letět další misi\"\nclick \"Letět misi\"\n");
  EXPECT_EQ(Music(), "snow");  // the second mission's land; its own theme from the start
  MissionEnd(w, false);
  EXPECT_EQ(Music(), "defeat");
  d.RunText("click \"Zpět do menu\"\n");
  EXPECT_EQ(Music(), "title");
}

}  // namespace

namespace {

TEST_F(MusicCuesTest, MusicVolumeIsTheMusicsOwnAndLeavesTheEffectsAlone) {
  ApplySettings(ParseSettings("volume = 50\nmusic_volume = 0\n", "s.ini"), form);
  EXPECT_EQ(sound.Mixer()->MusicVolume(), 0);
  EXPECT_EQ(sound.Mixer()->Volume(), 50);
}

}  // namespace
