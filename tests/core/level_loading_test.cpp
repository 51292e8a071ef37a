// Loading a level is all or nothing: every way a level's files can be broken leaves the
// level, the offers and the victory countdown exactly as they were.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "base/error.h"
#include "core/level.h"
#include "presentation/form_components.h"
#include "support/content_files.h"
#include "support/temp_dir.h"
#include "support/test_world.h"

namespace {

using testcontent::Row;

struct LevelLoadingTest : ::testing::Test {
  ScopedTempDir dir;
  TestWorld t;
  World& w = t.world;

  void SetUp() override {
    testcontent::WriteMinimalContent();
    // Mission 1: tile 3 everywhere, two rows.
    testcontent::WriteLevel(1, [](int32_t, int32_t) { return uint8_t{3}; },
                            {{10, -100, 0, 0, 0}, {20, -100, 1, 2, 5}});
    LoadLevel(w, 1);
    w.Level.ScrollRow = 40;
    w.Level.NextSpawn = 1;
    w.VictoryCountdown = 77;
  }

  void ExpectMissionOneUntouched() {
    EXPECT_EQ(w.Level.Spawns.size(), 2u);
    EXPECT_EQ(w.Level.Spawns[1].Time, 5);
    EXPECT_EQ(w.Level.Tile(7, 100), 3);
    EXPECT_EQ(w.Level.ScrollRow, 40);
    EXPECT_EQ(w.Level.NextSpawn, 1);
    EXPECT_EQ(w.VictoryCountdown, 77);
    EXPECT_TRUE(w.Level.Offers.WeaponOffered[2]);  // mission 1 offers the light laser
    EXPECT_FALSE(w.Level.Offers.AircraftOffered[1]);
  }

  std::string FailureLoading(int mission) {
    try {
      LoadLevel(w, mission);
    } catch (const EInOutError& e) {
      return e.what();
    } catch (const EGameError& e) {
      return std::string("not an input/output error: ") + e.what();
    }
    return "";
  }
};

TEST_F(LevelLoadingTest, ALoadedLevelResetsItsPositionAndOffers) {
  EXPECT_EQ(w.Level.Spawns.size(), 2u);
  testcontent::WriteLevel(2, [](int32_t c, int32_t) { return static_cast<uint8_t>(c); }, {});
  LoadLevel(w, 2);
  EXPECT_TRUE(w.Level.Spawns.empty());
  EXPECT_EQ(w.Level.ScrollRow, 0);
  EXPECT_EQ(w.Level.NextSpawn, 0);
  EXPECT_EQ(w.VictoryCountdown, -1);
  EXPECT_EQ(w.Level.Tile(9, 0), 9);
  EXPECT_TRUE(w.Level.Offers.AircraftOffered[1]);  // the F5F from mission 2 on
  EXPECT_EQ(w.Media.BackgroundPictures.Items[0].Transparent, false);
  EXPECT_FALSE(w.Media.BackgroundPictures.Items[0].Picture.Empty());
}

TEST_F(LevelLoadingTest, EveryBrokenFileIsRefusedNamingItAndChangesNothing) {
  testcontent::WriteLevel(2, [](int32_t, int32_t) { return uint8_t{1}; }, {{0, 0, 0, 0, 0}});
  const auto schedule = catalog::LevelSchedulePath(2);
  const auto map = catalog::LevelMapPath(2);

  std::filesystem::remove(map);
  EXPECT_NE(FailureLoading(2).find("level02.mat"), std::string::npos);
  ExpectMissionOneUntouched();

  testcontent::WriteBytes(map, std::vector<uint8_t>(262143, 1));  // one byte short
  EXPECT_NE(FailureLoading(2).find("level02.mat"), std::string::npos);
  ExpectMissionOneUntouched();

  testcontent::WriteBytes(map, std::vector<uint8_t>(262144, 1));
  testcontent::WriteBytes(schedule, std::vector<uint8_t>(24 * 3 + 5, 0));  // a partial record
  EXPECT_NE(FailureLoading(2).find("level02.ene"), std::string::npos);
  ExpectMissionOneUntouched();

  std::filesystem::remove(schedule);
  EXPECT_NE(FailureLoading(2).find("level02.ene"), std::string::npos);
  ExpectMissionOneUntouched();

  // More rows than the schedule can hold: refused before anything is read.
  testcontent::WriteBytes(schedule, {});
  ASSERT_EQ(truncate(schedule.c_str(), (1048576LL + 1) * 24), 0);
  EXPECT_NE(FailureLoading(2).find("level02.ene"), std::string::npos);
  ExpectMissionOneUntouched();

  // A missing terrain picture is refused too (a picture error, naming its file).
  std::filesystem::remove(catalog::TerrainFor(2));
  testcontent::WriteBytes(schedule, {});
  try {
    LoadLevel(w, 2);
    FAIL();
  } catch (const EGameError& e) {
    EXPECT_NE(std::string(e.what()).find("desert.jpg"), std::string::npos) << e.what();
  }
  ExpectMissionOneUntouched();
}

}  // namespace
