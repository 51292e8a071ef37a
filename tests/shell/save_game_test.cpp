// Saving in the hangar and loading from the main menu, through the window's own buttons, where
// the campaign walk (tests/sim/campaign_walk_test.cpp) cannot go: saves the game never writes
// itself, failed loads and saves.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

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

TEST_F(SavedGame, NegativeCreditsAndReservedBytesSurviveALoadAndASave) {
  TSaveRecord r;
  r.AircraftKind = 0;
  r.SlotKinds = {1, kNoKind, kNoKind, kNoKind, kNoKind};
  r.CannonKind = 0;
  r.Credits = -123456789012;
  r.Difficulty = 4;
  std::vector<uint8_t> bytes = RecordBytes(r);
  bytes[7] = 0x5A;  // whatever the reserved bytes hold is ignored, and written back as zeros
  bytes[20] = 0xA5;
  WriteSave(bytes);
  Click(kLoadButton);
  EXPECT_EQ(form->Edit1.Text(), "Kredit : -123456789012");
  Click(kSaveButton);
  EXPECT_EQ(SaveFileBytes(), RecordBytes(r));
}

TEST_F(SavedGame, ASaveThatCannotBeWrittenStillLoads) {
  TSaveRecord r;
  r.AircraftKind = 0;
  r.Credits = 777;
  WriteSave(RecordBytes(r));
  int fd = open(SaveGamePath().c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  int flags = 0;
  if (ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0 ||
      (flags |= FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0)) {
    close(fd);
    GTEST_SKIP() << "this file system cannot make a file unwritable for root";
  }
  Click(kLoadButton);
  EXPECT_EQ(form->Edit1.Text(), "Kredit : 777");
  Click(kSaveButton);
  flags &= ~FS_IMMUTABLE_FL;
  ioctl(fd, FS_IOC_SETFLAGS, &flags);
  close(fd);
  EXPECT_EQ(MessageTexts(),
            std::vector<std::string>{SaveGamePath().string() + ": File access denied"});
  EXPECT_EQ(SaveFileBytes(), RecordBytes(r));
}

}  // namespace
