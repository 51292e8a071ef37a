#include "shell/replay_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "base/error.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(ReplayStore, LivesBesideTheSavedGame) {
  ProcessPlaces build;
  build.Executable = "/src/build/src/starvelkhorn";
  EXPECT_EQ(ReplayDirectory(build), fs::path("replays"));
}

TEST(ReplayStore, NamesSayDateMissionAndOutcome) {
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(ReplayFileName(1796799933, 3, TFlightOutcome::Won),
            "2026-12-09_07-05-33_mise-3_vyhra.replay");
  EXPECT_EQ(ReplayFileName(0, 6, TFlightOutcome::Lost),
            "1970-01-01_00-00-00_mise-6_sestrelen.replay");
  EXPECT_EQ(ReplayFileName(0, 1, TFlightOutcome::Quit),
            "1970-01-01_00-00-00_mise-1_preruseno.replay");
}

TEST(ReplayStore, KeepsTheNewestFiftyAndOnlyReplays) {
  ScopedTempDir dir;
  const fs::path folder = dir.Path() / "data" / "replays";
  TReplay r;
  r.End.Tick = 1;
  fs::path first, last;
  for (int i = 0; i < 53; ++i) {
    r.Start.Campaign.Mission = static_cast<uint8_t>(i % 6);
    // The same second for several: each still gets a file of its own.
    last = StoreReplay(r, folder, 1796799933 + i / 3);
    if (i == 0) first = last;
    // Distinct write times in the past, oldest first, whatever the clock's resolution.
    fs::last_write_time(last, fs::file_time_type::clock::now() - std::chrono::seconds(100 - i));
  }
  std::ofstream(folder / "notes.txt") << "mine";
  StoreReplay(r, folder, 1796799999);
  std::set<fs::path> left;
  for (const auto& e : fs::directory_iterator(folder)) left.insert(e.path().filename());
  EXPECT_EQ(left.size(), kReplaysKept + 1);
  EXPECT_TRUE(left.count("notes.txt"));
  EXPECT_FALSE(fs::exists(first));
  EXPECT_TRUE(fs::exists(last));
  EXPECT_EQ(ReadReplayFile(last.string()), r);
}

TEST(ReplayStore, AFolderThatCannotBeMadeIsReportedByName) {
  ScopedTempDir dir;
  std::ofstream("blocked") << "a file where the folder would go";
  try {
    StoreReplay(TReplay{}, dir.Path() / "blocked" / "replays", 0);
    FAIL() << "stored";
  } catch (const EInOutError& e) {
    EXPECT_NE(std::string(e.what()).find("blocked"), std::string::npos) << e.what();
  }
}

}  // namespace
