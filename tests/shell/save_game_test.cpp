// Saving in the hangar and loading from the main menu, through the window's own buttons.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "flyers/weapon.h"
#include "shell/atomic_file.h"
#include "shell/game_paths.h"
#include "shell/save_record.h"
#include "shell/shop_form.h"

namespace {

using SavedGame = ShopForm;

constexpr int kSaveButton = 2, kQuitButton = 3, kLoadButton = 1;

std::vector<uint8_t> SaveFileBytes() {
  std::ifstream in(SaveGamePath(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteSave(const std::vector<uint8_t>& bytes) {
  testcontent::WriteBytes(SaveGamePath().string(), bytes);
}

std::vector<uint8_t> RecordBytes(const TSaveRecord& r) {
  TSaveBytes b = EncodeSaveRecord(r);
  return {b.begin(), b.end()};
}

// The hangar's "Návrat do hlavní nabídky", then the menu timer paints the main menu.
void QuitToMainMenu(ShopForm& t) {
  t.Click(kQuitButton);
  t.app.RunFor(150);
  ASSERT_EQ(t.form->Screen(), ShopForm::TScreen::MainMenu);
}

TEST_F(SavedGame, SavingAfterBuyingTheJaguarWritesTheRecordByteForByteAndOnlyTheLastSave) {
  NewGameWithJaguar(2);
  Click(kSaveButton);
  EXPECT_EQ(form->Screen(), TScreen::Hangar);
  EXPECT_TRUE(MessageTexts().empty());
  const std::vector<uint8_t> expected = {0, 255, 255, 255, 255, 255, 255, 0, 0x10, 0x27, 0, 0,
                                         0, 0,   0,   0,   0,   2,   0,   0, 0,    0,    0, 0};
  EXPECT_EQ(SaveFileBytes(), expected);

  S().Credits = -5;
  Click(kSaveButton);
  std::vector<uint8_t> second = expected;
  for (size_t i = 8; i < 16; ++i) second[i] = 0xFF;
  second[8] = 0xFB;
  EXPECT_EQ(SaveFileBytes(), second);
  EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(SaveGamePath())));
}

TEST_F(SavedGame, LoadingGivesTheHangarWithTheSavedAircraftAndCredits) {
  NewGameWithJaguar(4);
  Click(kSaveButton);
  QuitToMainMenu(*this);
  ASSERT_EQ(W().Player, nullptr);
  S().Credits = 1;
  S().GameOver = true;

  Click(kLoadButton);
  EXPECT_EQ(form->Screen(), TScreen::Hangar);
  EXPECT_TRUE(MessageTexts().empty());
  ASSERT_NE(W().Player, nullptr);
  EXPECT_EQ(W().Player->Kind, 0);
  EXPECT_EQ(W().Player->Cannon, nullptr);
  for (const auto& slot : W().Player->Slots) EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(W().Player->X, 400);
  EXPECT_EQ(W().Player->Y, 600);
  EXPECT_EQ(S().Credits, 10000);
  EXPECT_EQ(S().Difficulty, 4);
  EXPECT_FALSE(S().GameOver);
  EXPECT_EQ(form->Edit1.Text(), "Kredit : 10000");
}

TEST_F(SavedGame, AFittedAircraftIsRebuiltAndUnknownCodesAreKeptAsRead) {
  testcontent::WriteLevel(1, [](int32_t, int32_t) { return 0; }, {});
  TSaveRecord r;
  r.AircraftKind = 1;
  r.SlotKinds = {2, 7, kNoKind, 1, 200};
  r.CannonKind = 9;
  r.Credits = 777;
  r.Mission = 1;
  WriteSave(RecordBytes(r));
  Click(kLoadButton);
  ASSERT_EQ(form->Screen(), TScreen::Hangar);
  TAircraft* p = W().Player;
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Kind, 1);
  ASSERT_NE(p->Slots[0], nullptr);
  EXPECT_EQ(p->Slots[0]->Icon, 2);
  EXPECT_EQ(p->Slots[1], nullptr);
  // Every slot is built from its code, even beyond the F5F's two.
  ASSERT_NE(p->Slots[3], nullptr);
  EXPECT_EQ(p->Slots[3]->Icon, 1);
  EXPECT_EQ(p->Slots[4], nullptr);
  EXPECT_EQ(p->Cannon, nullptr);
  EXPECT_EQ(RecordOf(S()), r);
  // The level of mission 1 is loaded: its offers apply.
  EXPECT_TRUE(W().Level.Offers.WeaponOffered[2]);
  EXPECT_FALSE(W().Level.Offers.WeaponOffered[3]);
}

TEST_F(SavedGame, ASaveWithoutAnAircraftLoadsWithNoneAndKeepsItsOtherCodes) {
  TSaveRecord r;
  r.AircraftKind = kNoKind;
  r.SlotKinds = {0, 1, 2, 3, 4};
  r.CannonKind = 0;
  r.Credits = 5;
  WriteSave(RecordBytes(r));
  Click(kLoadButton);
  EXPECT_EQ(form->Screen(), TScreen::Hangar);
  EXPECT_EQ(W().Player, nullptr);
  EXPECT_EQ(RecordOf(S()), r);
}

// The browsers keep their choice between visits, but a loaded game is a different campaign:
// after browsing mission 4's offers, a save of mission 1 shows, and sells, only its own.
TEST_F(SavedGame, ALoadedGameBrowsesOnlyWhatItsMissionOffers) {
  auto save = [](uint8_t mission) {
    testcontent::WriteLevel(mission, [](int32_t, int32_t) { return 0; }, {});
    TSaveRecord r;
    r.AircraftKind = 3;  // the F16: five empty slots
    r.Credits = 1000000;
    r.Mission = mission;
    WriteSave(RecordBytes(r));
  };
  save(4);
  Click(kLoadButton);
  Click(1);                              // "Nakupovat/prodávat"
  Click(1);                              // "Obchodovat se zbraněmi"
  Click(4);                              // "Slot 0 : Koupit"
  for (int i = 0; i < 4; ++i) Click(4);  // "Další zbraň" up to the heavy laser
  ASSERT_EQ(form->Memo5.Lines(), std::vector<std::string>{form->WeaponTexts[4]});
  Click(0);  // "Zpet"
  Click(1);
  Click(9);                              // "Kanón : Koupit"
  for (int i = 0; i < 3; ++i) Click(4);  // "Další kanón" up to the triple cannon
  ASSERT_EQ(form->Memo5.Lines(), std::vector<std::string>{form->CannonTexts[3]});
  Click(0);
  Click(2);  // the shop menu's "Zpět"
  QuitToMainMenu(*this);

  save(1);  // weapons 0 to 2 and cannons 0 and 1 on offer
  Click(kLoadButton);
  Click(1);
  Click(1);
  Click(4);
  EXPECT_EQ(form->Memo5.Lines(), std::vector<std::string>{form->WeaponTexts[0]});
  Click(9);  // "Koupit": what the browser shows
  EXPECT_EQ(S().SlotKinds[0], 0);
  Click(9);
  EXPECT_EQ(form->Memo5.Lines(), std::vector<std::string>{form->CannonTexts[0]});
  Click(9);
  EXPECT_EQ(S().CannonKind, 0);
  EXPECT_EQ(S().Credits, 1000000 - 5000 - 1000);
}

// A failed load leaves the main menu and everything of the game behind it as they were.
struct FailedLoad : ShopForm {
  void SetUp() override {
    ShopForm::SetUp();
    NewGameWithJaguar(2);
    QuitToMainMenu(*this);
    W().VictoryCountdown = 7;
    before = RecordOf(S());
  }
  void ExpectNothingChanged() {
    EXPECT_EQ(form->Screen(), TScreen::MainMenu);
    EXPECT_EQ(RecordOf(S()), before);
    EXPECT_EQ(W().Player, nullptr);
    EXPECT_EQ(W().VictoryCountdown, 7);
  }
  TSaveRecord before;
};

TEST_F(FailedLoad, NoFileOrAFolderInItsPlaceIsReportedAsNoSavedGame) {
  Click(kLoadButton);
  std::filesystem::create_directory(SaveGamePath());
  Click(kLoadButton);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>(2, "Soubor s uloženou hrou neexistuje!"));
  ExpectNothingChanged();
}

TEST_F(FailedLoad, AShortFileIsReadBeyondItsEnd) {
  WriteSave(std::vector<uint8_t>(23, 0));
  Click(kLoadButton);
  EXPECT_EQ(MessageTexts(),
            std::vector<std::string>{SaveGamePath().string() + ": Read beyond end of file"});
  ExpectNothingChanged();
}

TEST_F(FailedLoad, AMissionWithoutLevelFilesGivesTheLevelsError) {
  TSaveRecord r;
  r.AircraftKind = 3;
  r.Credits = 1;
  r.Mission = 6;
  WriteSave(RecordBytes(r));
  Click(kLoadButton);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Cannot open file levels/level06.mat"});
  ExpectNothingChanged();
}

TEST_F(SavedGame, ASaveThatFailsKeepsThePreviousOneAndReportsTheError) {
  NewGameWithJaguar();
  Click(kSaveButton);
  const std::vector<uint8_t> first = SaveFileBytes();
  ASSERT_EQ(first.size(), kSaveRecordBytes);
  // The temporary file cannot be made where a folder has its name.
  std::filesystem::create_directory(TemporaryPathFor(SaveGamePath()));
  S().Credits = 1;
  Click(kSaveButton);
  EXPECT_EQ(MessageTexts(),
            std::vector<std::string>{SaveGamePath().string() + ": File access denied"});
  EXPECT_EQ(form->Screen(), TScreen::Hangar);
  EXPECT_EQ(SaveFileBytes(), first);
}

}  // namespace
