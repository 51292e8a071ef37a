// The campaign runner through the real screens: its visits to the hangar shop carry the
// policy out with clicks and end with exactly the loadout and credits worked out by hand, it
// keeps its save in a directory of its own, and it leaves a mission it cannot finish through
// the pause screen and loads its save for the next try.
#include <gtest/gtest.h>

#include <fstream>

#include "campaign.h"
#include "core/level.h"
#include "core/tick.h"
#include "play_dir.h"
#include "shell/record_store.h"
#include "shop_screens.h"
#include "support/temp_dir.h"
#include "ui_driver.h"

namespace {

struct ShopVisit : ::testing::Test {
  TUiDriver d{SK_DATA_DIR, 5};
  World& w = d.GameWorld();
  TLoadout owned;
  std::optional<TStock> stock;

  void SetUp() override {
    d.RunText(
        "choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\n"
        "click \"Nová hra\"\nclick \"Středni obtížnost\"\nclick \"Pokračuj\"\n");
  }
  void Visit() {
    try {
      ShopInHangar(d, owned, stock);
    } catch (const EUiFailure& e) {
      FAIL() << e.what();
    }
    EXPECT_EQ(d.Form().Screen(), TForm1::TScreen::Hangar);
    EXPECT_TRUE(d.Backend().Messages().empty());
    // What the runner remembers is what the game holds.
    EXPECT_EQ(w.State.AircraftKind, owned.Aircraft);
    EXPECT_EQ(w.State.CannonKind, owned.Cannon);
    EXPECT_EQ(w.State.SlotKinds, owned.Slots);
  }
};

TEST_F(ShopVisit, ANewGameBuysTheStartingKitAndLearnsTheStock) {
  Visit();
  EXPECT_EQ(owned.Aircraft, 0);
  EXPECT_EQ(owned.Cannon, 0);
  EXPECT_EQ(owned.Slots, (std::array<uint8_t, 5>{0, kNoKind, kNoKind, kNoKind, kNoKind}));
  EXPECT_EQ(ReadCredits(d), 4000);
  ASSERT_TRUE(stock.has_value());
  EXPECT_EQ(stock->Weapons[0], 5000);
  EXPECT_EQ(stock->Weapons[1], 5000);
  EXPECT_EQ(stock->Weapons[2], std::nullopt);
  EXPECT_EQ(stock->Cannons[0], 1000);
  EXPECT_EQ(stock->Cannons[1], std::nullopt);
}

TEST_F(ShopVisit, LaterVisitsTradeTheAircraftAndThenTheWeaponsUp) {
  Visit();
  // Before the fifth mission, with money to spend: the Jaguar and its kit fetch 34800.
  w.State.Credits = 400000;
  LoadLevel(w, 4);
  Visit();
  EXPECT_EQ(owned.Aircraft, 2);  // the F15: 434800 less 300000
  EXPECT_EQ(owned.Cannon, 2);    // the DC, 5000 kept for a weapon: 123800 left
  // A heavy laser (23800 left), a light one (5800), missiles in the last slot (800).
  EXPECT_EQ(owned.Slots, (std::array<uint8_t, 5>{4, 2, 0, kNoKind, kNoKind}));
  EXPECT_EQ(ReadCredits(d), 800);

  w.State.Credits += 200000;
  Visit();
  // The missiles go for a heavy laser (204800 with their 4000, less 100000), then the
  // light laser for another (118800 with its 14000).
  EXPECT_EQ(owned.Aircraft, 2);
  EXPECT_EQ(owned.Slots, (std::array<uint8_t, 5>{4, 4, 4, kNoKind, kNoKind}));
  EXPECT_EQ(ReadCredits(d), 18800);
}

TEST_F(ShopVisit, AClickTheGameAnswersWithAMessageBoxFailsWithItsText) {
  try {
    d.ClickButton("Letět další misi");  // no aircraft yet
    FAIL() << "the refusal must fail the click";
  } catch (const EUiFailure& e) {
    EXPECT_NE(std::string(e.what()).find("Nemáte žádné letadlo, nemůžete letět misi!"),
              std::string::npos)
        << e.what();
  }
  EXPECT_EQ(d.Form().Screen(), TForm1::TScreen::Hangar);
  EXPECT_THROW(d.ExpectScreen(TForm1::TScreen::Briefing), EUiFailure);
}

TEST(PlayDir, LinksTheContentKeepsItsOwnSaveAndLeavesNothingBehind) {
  ScopedTempDir tree;
  for (const char* folder : {"res", "sounds", "levels"}) {
    std::filesystem::create_directory(tree.Path() / folder);
  }
  tree.Write("levels/level1.map", {1, 2, 3});
  tree.Write("game.sav", {9});
  std::filesystem::path made;
  {
    TPlayDir dir(tree.Path());
    made = dir.Path();
    EXPECT_NE(made, tree.Path());
    EXPECT_TRUE(std::filesystem::exists(made / "levels" / "level1.map"));
    EXPECT_FALSE(std::filesystem::exists(made / "game.sav"));  // another run's save
    std::ofstream(made / "game.sav") << "mine";
    EXPECT_NE(made, TPlayDir(tree.Path()).Path());  // a second run gets its own
  }
  EXPECT_FALSE(std::filesystem::exists(made));
  EXPECT_TRUE(std::filesystem::exists(tree.Path() / "levels" / "level1.map"));
  std::ifstream save(tree.Path() / "game.sav");
  EXPECT_EQ(save.get(), 9);
  EXPECT_THROW(TPlayDir(tree.Path() / "missing"), std::runtime_error);
}

TEST(CampaignRunner, ATryOutOfTimeIsLeftThroughThePauseAndTheSaveLoadedForTheNext) {
  const std::filesystem::path contentSave = std::filesystem::path(SK_DATA_DIR) / "game.sav";
  const bool savedBefore = std::filesystem::exists(contentSave);
  TSimOptions o;
  o.DataDir = SK_DATA_DIR;
  o.Difficulty = 2;
  o.Seed = 4;
  TCampaignResult r;
  try {
    r = RunCampaign(o, TCampaignLimits{2, 300});
  } catch (const EUiFailure& e) {
    FAIL() << e.what();
  }
  EXPECT_FALSE(r.Won);
  ASSERT_EQ(r.Missions.size(), 1u);
  const TMissionRecord& m = r.Missions[0];
  ASSERT_EQ(m.Tries.size(), 2u);
  for (const TMissionTry& t : m.Tries) {
    EXPECT_EQ(t.Outcome, "running");
    EXPECT_EQ(t.Ticks, 300);
  }
  // The second try started from the save: the same kit, nothing earned kept.
  EXPECT_EQ(m.CreditsBefore, 4000);
  EXPECT_EQ(m.CreditsAfter, 4000);
  EXPECT_EQ(m.Loadout.Aircraft, 0);
  // The save was the run's own.
  EXPECT_EQ(std::filesystem::exists(contentSave), savedBefore);
  EXPECT_NE(CampaignSummary(o, r).find("\"outcomes\":[\"running\",\"running\"]"),
            std::string::npos);
}

TEST(CampaignRunner, ShotDownItGoesBackToTheMainMenuLoadsTheSaveAndFliesAgain) {
  TSimOptions o;
  o.DataDir = SK_DATA_DIR;
  o.Seed = 2;
  int tries = 0;
  int64_t creditsAtTakeOff = -1;
  TCampaignLimits limits{3, 200};
  limits.OnTakeOff = [&](World& w) {
    creditsAtTakeOff = w.State.Credits;
    EXPECT_FALSE(w.State.GameOver);
    w.State.Credits += 1000;  // earned in the air, lost with the aircraft
    if (++tries < 3) MissionEnd(w, false);
  };
  TCampaignResult r;
  try {
    r = RunCampaign(o, limits);
  } catch (const EUiFailure& e) {
    FAIL() << e.what();
  }
  ASSERT_EQ(r.Missions.size(), 1u);
  const TMissionRecord& m = r.Missions[0];
  ASSERT_EQ(m.Tries.size(), 3u);
  EXPECT_EQ(m.Tries[0].Outcome, "lost");
  EXPECT_EQ(m.Tries[0].Ticks, 0);
  EXPECT_EQ(m.Tries[0].Credits, 5000);
  EXPECT_EQ(m.Tries[1].Outcome, "lost");
  EXPECT_EQ(m.Tries[2].Outcome, "running");
  EXPECT_EQ(creditsAtTakeOff, 4000);  // the third try took off from the save as well
  EXPECT_EQ(m.CreditsAfter, 4000);
}

// Every mission the pilot wins leaves its record, read back from the file the game wrote.
TEST(CampaignRunner, LeavesARecordForEachMissionItWon) {
  ScopedTempDir player;
  TSimOptions o;
  o.DataDir = SK_DATA_DIR;
  o.Difficulty = 4;
  o.PlayerDir = player.Path().string();
  TCampaignLimits limits{1, 400};
  limits.OnTakeOff = [](World& w) { w.VictoryCountdown = 1; };  // the mother ship goes down
  TCampaignResult r;
  try {
    r = RunCampaign(o, limits);
  } catch (const EUiFailure& e) {
    FAIL() << e.what();
  }
  ASSERT_TRUE(r.Won);
  for (size_t slot = 0; slot < kRecordSlots; ++slot) {
    ASSERT_EQ(r.Records.Slots[slot].has_value(), slot % 3 == 2) << slot;
    if (!r.Records.Slots[slot]) continue;
    EXPECT_EQ(r.Records.Slots[slot]->Ticks, 1) << slot;
    EXPECT_EQ(r.Records.Slots[slot]->Credits, 0) << slot;
  }
  EXPECT_NE(CampaignSummary(o, r).find("\"records\":[{\"mission\":1,\"difficulty\":4,"),
            std::string::npos);
  // The player's folder keeps the records and a recording of each flight.
  EXPECT_EQ(LoadRecords(player.Path() / "records.dat").Book, r.Records);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(player.Path() / "replays"),
                          std::filesystem::directory_iterator()),
            6);
}

}  // namespace
