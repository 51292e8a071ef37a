// The hangar shop and the saved game end to end: ui-scripts drive the whole program from
// start-up as a player would, and the driver's summary and the saved file show the effects.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "flyers/aircraft.h"
#include "shell/game_paths.h"
#include "shell/save_record.h"
#include "support/content_files.h"
#include "support/temp_dir.h"
#include "ui_driver.h"

namespace {

// From start-up to the hangar of a new easy game.
constexpr const char* kNewGame = R"(
choose "V okne"
click "Pokracovat"
wait 200
click "Nová hra"
click "Lehká obtížnost"
click "Pokračuj"
)";

// From the hangar: the Jaguar bought, back in the hangar.
constexpr const char* kBuyJaguar = R"(
click "Nakupovat/prodávat"
click "Obchodovat s letadly"
click "Koupit"
expect "Kredit : 10000"
click "Zpět"
click "Zpět"
)";

// From start-up to loading the saved game from the main menu.
constexpr const char* kLoad = R"(
choose "V okne"
click "Pokracovat"
wait 200
click "Nahrát hru"
)";

struct ShopUi : ::testing::Test {
  ScopedTempDir dir;
  std::unique_ptr<TUiDriver> driver;

  void SetUp() override { testcontent::WriteMinimalContent(); }

  // Runs the script in a fresh program; an unmet expectation fails the test with its line.
  void Run(const std::string& script) {
    driver.reset();  // one program at a time
    driver = std::make_unique<TUiDriver>(dir.Path().string(), 1);
    try {
      driver->RunText(script);
    } catch (const EUiFailure& e) {
      ADD_FAILURE() << e.what();
    }
  }
  std::string Summary() const { return driver->SummaryLine(); }
  // Where the game keeps its save, as the program run in the content tree sees it.
  std::filesystem::path SavePath() const {
    const std::filesystem::path p = SaveGamePath();
    return p.is_absolute() ? p : dir.Path() / p;
  }
  // What the error box says about the save file.
  static std::string SaveError(const std::string& what) {
    return "expect-message \"" + SaveGamePath().string() + ": " + what + "\"\n";
  }
  std::vector<uint8_t> SaveFile() const {
    std::ifstream in(SavePath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void WriteSave(const std::vector<uint8_t>& bytes) const {
    testcontent::WriteBytes(SavePath().string(), bytes);
  }
  static std::vector<uint8_t> Bytes(const TSaveRecord& r) {
    TSaveBytes b = EncodeSaveRecord(r);
    return {b.begin(), b.end()};
  }
  static bool Has(const std::string& summary, const std::string& part) {
    return summary.find(part) != std::string::npos;
  }
};

TEST_F(ShopUi, ANewGameBuysTheJaguarAndSavesExactlyTheRecordTwiceOver) {
  Run(std::string(kNewGame) + kBuyJaguar + R"(
click "Uložit hru"
click "Uložit hru"
expect "Letět další misi"
)");
  const std::string s = Summary();
  EXPECT_TRUE(Has(s,
                  "\"screen\":\"hangar\",\"credits\":10000,\"mission\":0,\"difficulty\":0,"
                  "\"aircraftKind\":0,\"slotKinds\":[255,255,255,255,255],\"cannonKind\":255,"
                  "\"gameOver\":false,\"messages\":[]"))
      << s;
  const std::vector<uint8_t> expected = {0, 255, 255, 255, 255, 255, 255, 0, 0x10, 0x27, 0, 0,
                                         0, 0,   0,   0,   0,   0,   0,   0, 0,    0,    0, 0};
  EXPECT_EQ(SaveFile(), expected);
}

TEST_F(ShopUi, TheStockListBeforeMissionZeroShowsTwoWeaponsAndOneCannon) {
  Run(std::string(kNewGame) + kBuyJaguar + R"(
click "Nakupovat/prodávat"
click "Obchodovat se zbraněmi"
expect "Dostupné zbraně:"
expect "Rakety vzduch/vzduch, cena : 5000"
expect "Mini raktey, cena :5000"
expect "Dostupné kanóny:"
expect "20mm Vulcan, cena : 1000"
expect "Slot 0 : Koupit"
expect "Kanón : Koupit"
)");
  EXPECT_EQ(driver->Form().Memo6.Lines().size(), 6u);
}

TEST_F(ShopUi, SellingAnEquippedJaguarCreditsItsTotalValueAndClearsEveryCode) {
  Run(std::string(kNewGame) + kBuyJaguar + R"ui(
click "Nakupovat/prodávat"
click "Obchodovat se zbraněmi"
click "Slot 0 : Koupit"
expect "Rakety Vzduch/Vzduch."
click "Koupit"
expect "Slot 0 : Prodat  (4000)"
click "Kanón : Koupit"
expect "20mm Vulcan."
click "Koupit"
expect "Kanón : Prodat (800)"
expect "Kredit : 4000"
click "Zpet"
click "Obchodovat s letadly"
click "Prodat (34800)"
expect "Kredit : 38800"
)ui");
  const std::string s = Summary();
  EXPECT_TRUE(Has(s,
                  "\"credits\":38800,\"mission\":0,\"difficulty\":0,\"aircraftKind\":255,"
                  "\"slotKinds\":[255,255,255,255,255],\"cannonKind\":255"))
      << s;
}

TEST_F(ShopUi, AnF16FromASavedGameShowsFiveSlotButtons) {
  testcontent::WriteLevel(5, [](int32_t, int32_t) { return 1; }, {});
  TSaveRecord r;
  r.Credits = 400000;
  r.Mission = 5;
  WriteSave(Bytes(r));
  Run(std::string(kLoad) + R"(
click "Nakupovat/prodávat"
click "Obchodovat s letadly"
click "Koupit" 4
expect "Kredit : 0"
click "Zpět"
click "Obchodovat se zbraněmi"
expect "Slot 0 : Koupit"
expect "Slot 1 : Koupit"
expect "Slot 2 : Koupit"
expect "Slot 3 : Koupit"
expect "Slot 4 : Koupit"
expect "Plasmové dělo, cena :80000"
)");
  EXPECT_TRUE(Has(Summary(), "\"credits\":0,\"mission\":5,\"difficulty\":0,\"aircraftKind\":3"));
}

TEST_F(ShopUi, ARefusedWeaponIsShownAgainAndTheNextPurchaseFillsTheSameSlotToTheLastCredit) {
  testcontent::WriteLevel(2, [](int32_t, int32_t) { return 2; }, {});
  TSaveRecord r;
  r.AircraftKind = 1;  // the F5F: two slots
  r.Credits = 5000;
  r.Mission = 2;
  WriteSave(Bytes(r));
  Run(std::string(kLoad) + R"ui(
click "Nakupovat/prodávat"
click "Obchodovat se zbraněmi"
click "Slot 1 : Koupit"
click "Další zbraň"
click "Další zbraň"
expect "Lehký Laser."
click "Koupit"
expect-message "Nemáte dostatek kreditů!"
ok
expect "Lehký Laser."
expect "Koupit"
click "Předchozí zbraň"
expect "Mini rakety."
click "Koupit"
expect "Slot 0 : Koupit"
expect "Slot 1 : Prodat  (4000)"
expect "Kredit : 0"
)ui");
  const std::string s = Summary();
  EXPECT_TRUE(Has(s,
                  "\"screen\":\"weapon-shop\",\"credits\":0,\"mission\":2,\"difficulty\":0,"
                  "\"aircraftKind\":1,\"slotKinds\":[255,1,255,255,255]"))
      << s;
  EXPECT_TRUE(Has(s, "\"messages\":[\"Nemáte dostatek kreditů!\"]")) << s;
}

TEST_F(ShopUi, LoadingTheSavedJaguarGivesTheHangarWithTenThousand) {
  Run(std::string(kNewGame) + kBuyJaguar + R"(
click "Uložit hru"
click "Návrat do hlavní nabídky"
wait 200
click "Nahrát hru"
expect "Kredit : 10000"
expect "Letět další misi"
)");
  EXPECT_TRUE(Has(Summary(),
                  "\"screen\":\"hangar\",\"credits\":10000,\"mission\":0,"
                  "\"difficulty\":0,\"aircraftKind\":0"));
  TAircraft* p = driver->GameWorld().Player;
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Cannon, nullptr);
  for (const auto& slot : p->Slots) EXPECT_EQ(slot, nullptr);
}

TEST_F(ShopUi, NegativeCreditsSurviveALoadAndASave) {
  TSaveRecord r;
  r.AircraftKind = 0;
  r.SlotKinds = {1, kNoKind, kNoKind, kNoKind, kNoKind};
  r.CannonKind = 0;
  r.Credits = -123456789012;
  r.Difficulty = 4;
  std::vector<uint8_t> bytes = Bytes(r);
  bytes[7] = 0x5A;  // whatever the reserved bytes hold is ignored, and written back as zeros
  bytes[20] = 0xA5;
  WriteSave(bytes);
  Run(std::string(kLoad) + R"(
expect "Kredit : -123456789012"
click "Uložit hru"
)");
  EXPECT_EQ(SaveFile(), Bytes(r));
}

TEST_F(ShopUi, ALongerFileLoadsFromItsFirstTwentyFourBytes) {
  TSaveRecord r;
  r.AircraftKind = 2;
  r.Credits = 12345;
  // The record copied over a filled buffer rather than the record resized: GCC 12 at -O3 reports
  // a false -Warray-bounds inside vector::resize here.
  const std::vector<uint8_t> record = Bytes(r);
  std::vector<uint8_t> bytes(100, 0xEE);
  std::copy(record.begin(), record.end(), bytes.begin());
  WriteSave(bytes);
  Run(std::string(kLoad) + "expect \"Kredit : 12345\"\n");
  EXPECT_TRUE(Has(Summary(), "\"screen\":\"hangar\",\"credits\":12345"));
}

TEST_F(ShopUi, AShortFileOrAMissingLevelLeaveTheMainMenuAsItWas) {
  WriteSave(std::vector<uint8_t>(23, 1));
  Run(std::string(kLoad) + SaveError("Read beyond end of file") + "ok\nexpect \"Nová hra\"\n");
  const char* unchanged =
      "\"screen\":\"main-menu\",\"credits\":60000,\"mission\":0,\"difficulty\":0,"
      "\"aircraftKind\":255,\"slotKinds\":[255,255,255,255,255],\"cannonKind\":255";
  EXPECT_TRUE(Has(Summary(), unchanged)) << Summary();

  TSaveRecord r;
  r.AircraftKind = 0;
  r.Credits = 1;
  r.Mission = 6;
  WriteSave(Bytes(r));
  Run(std::string(kLoad) + R"(
expect-message "Cannot open file levels/level06.mat"
ok
expect "Nahrát hru"
)");
  EXPECT_TRUE(Has(Summary(), unchanged)) << Summary();
  EXPECT_EQ(driver->GameWorld().Player, nullptr);

  std::filesystem::remove(SavePath());
  Run(std::string(kLoad) + R"(
expect-message "Soubor s uloženou hrou neexistuje!"
ok
)");
  EXPECT_TRUE(Has(Summary(), unchanged)) << Summary();
}

TEST_F(ShopUi, ASaveThatCannotBeWrittenStillLoads) {
  TSaveRecord r;
  r.AircraftKind = 0;
  r.Credits = 777;
  WriteSave(Bytes(r));
  const std::string path = SavePath().string();
  int fd = open(path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  int flags = 0;
  if (ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0 ||
      (flags |= FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0)) {
    close(fd);
    GTEST_SKIP() << "this file system cannot make a file unwritable for root";
  }
  Run(std::string(kLoad) + "expect \"Kredit : 777\"\nclick \"Uložit hru\"\n" +
      SaveError("File access denied") + "ok\n");
  flags &= ~FS_IMMUTABLE_FL;
  ioctl(fd, FS_IOC_SETFLAGS, &flags);
  close(fd);
  EXPECT_EQ(SaveFile(), Bytes(r));
}

}  // namespace
