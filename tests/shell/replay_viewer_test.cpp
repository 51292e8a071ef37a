// Watching a recorded flight: whatever the player does with pause, speed and the seek keys,
// every moment shown is the moment the flight had when played straight through, down to the
// world's digest; a flight that drifts from its record is stopped where it does.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"
#include "replay/flight_digest.h"
#include "shell/asset_loader.h"
#include "shell/replay_run.h"
#include "shell/replay_viewer.h"
#include "shell/viewer_hud.h"

namespace {

namespace fs = std::filesystem;

constexpr uint64_t kTimerMicros = 10000;  // the tick timer's interval

struct ReplayViewer : ::testing::Test {
  fs::path previous = fs::current_path();
  platform::HeadlessBackend backend;
  std::unique_ptr<TFormComponents> media;
  uint64_t now = 1000000;

  void SetUp() override {
    fs::current_path(SK_DATA_DIR);
    media = std::make_unique<TFormComponents>(backend);
    LoadAssets(*media);
    LoadSounds(*media);
  }
  void TearDown() override {
    media.reset();
    fs::current_path(previous);
  }

  static TReplay Corpus(const char* name) {
    return ReadReplayFile(std::string(SK_REPLAYS) + "/" + name);
  }

  // The world's digest after every tick of the flight played straight through, the start
  // included.
  std::vector<TCheckpoint> Straight(const TReplay& replay) {
    TReplayRun run(*media, replay);
    std::vector<TCheckpoint> digests{DigestWorld(run.Flight(), 0)};
    for (int64_t i = 0; i < replay.End.Tick && !run.Done(); ++i) {
      run.Step();
      digests.push_back(DigestWorld(run.Flight(), run.Ticks()));
    }
    EXPECT_FALSE(run.Drift()) << run.Drift()->What;
    return digests;
  }

  // The shots and explosions sounding now.
  int32_t EffectsSounding() {
    int32_t n = 0;
    for (TDXWaveList* list :
         {&media->DXLaserWaveList, &media->DXExplWaveList, &media->DXWeaponWaveList}) {
      for (int32_t i = 0; i < list->Items.Count(); ++i) n += list->Items[i].PlayingCount();
    }
    return n;
  }

  // Lets the timer run for `ms` of the clock; returns the ticks flown.
  int64_t Play(TReplayViewer& v, int64_t ms) {
    int64_t flown = 0;
    for (int64_t i = 0; i < ms / 10; ++i) {
      now += kTimerMicros;
      flown += v.RunDue(now);
    }
    return flown;
  }
};

TEST_F(ReplayViewer, PausesSpeedsAndSeeksShowExactlyTheMomentsOfTheStraightFlight) {
  const TReplay replay = Corpus("mission1-easy-won.replay");
  const std::vector<TCheckpoint> straight = Straight(replay);
  ASSERT_EQ(straight.size(), 20446u);
  TReplayViewer v(*media, replay, now);
  int checks = 0;
  auto same = [&](const char* after) {
    const int64_t at = v.Position();
    ASSERT_LT(at, static_cast<int64_t>(straight.size())) << after;
    EXPECT_EQ(DigestWorld(v.Flight(), at), straight[static_cast<size_t>(at)])
        << "after " << after << ", at tick " << at;
    ++checks;
  };

  EXPECT_EQ(Play(v, 3000), 300);
  same("three seconds at normal speed");
  v.SetPaused(true, now);
  EXPECT_EQ(Play(v, 2000), 0);
  v.StepTick(now);
  v.StepTick(now);
  EXPECT_EQ(v.Position(), 302);
  same("two ticks stepped while paused");
  v.SeekBy(-1, now);
  same("a tick back");
  v.SetPaused(false, now);
  v.Faster(now);
  v.Faster(now);
  EXPECT_EQ(v.Speed(), 4);
  EXPECT_EQ(Play(v, 2000), 800);
  same("two seconds at 4x");
  v.SeekBy(TReplayViewer::kSeekTicks, now);
  EXPECT_EQ(v.Position(), 2101);
  same("ten seconds on");
  v.SeekBy(-TReplayViewer::kSeekTicks, now);
  v.SeekBy(-TReplayViewer::kSeekTicks, now);
  EXPECT_EQ(v.Position(), 101);
  same("twenty seconds back");
  for (int i = 0; i < 4; ++i) v.Slower(now);
  EXPECT_EQ(v.Speed(), 0.25);
  EXPECT_EQ(Play(v, 1000), 25);
  same("a second at a quarter of the speed");
  v.SeekTo(19000, now);
  same("a jump near the end");
  v.SeekTo(0, now);
  EXPECT_EQ(DigestWorld(v.Flight(), 0), straight[0]);
  v.SeekTo(20400, now);
  v.Faster(now);
  v.Faster(now);
  v.Faster(now);
  v.Faster(now);
  v.Faster(now);
  EXPECT_EQ(v.Speed(), 8);
  Play(v, 1000);
  // The flight's last tick, reached by playing, and again by a jump from the start.
  ASSERT_TRUE(v.AtEnd());
  EXPECT_EQ(v.Position(), 20445);
  EXPECT_EQ(v.Outcome(), TFlightOutcome::Won);
  EXPECT_FALSE(v.Drift());
  same("played to the end at 8x");
  EXPECT_EQ(Play(v, 1000), 0);
  v.SeekTo(3, now);
  v.SeekTo(99999, now);
  EXPECT_EQ(v.Position(), 20445);
  same("a jump past the end");
  EXPECT_EQ(checks, 10);
}

TEST_F(ReplayViewer, EverySpeedFliesTheSameFlightAtItsPace) {
  // Shot down at tick 4358, after a repair bought in flight.
  const TReplay replay = Corpus("mission3-hard-repair.replay");
  const TCheckpoint end = Straight(replay).back();
  for (size_t speed = 0; speed < TReplayViewer::kSpeeds.size(); ++speed) {
    TReplayViewer v(*media, replay, now);
    while (v.SpeedIndex() < speed) v.Faster(now);
    while (v.SpeedIndex() > speed) v.Slower(now);
    // A tenth of the flight's own time at that speed covers a tenth of it.
    const double pace = TReplayViewer::kSpeeds[speed];
    EXPECT_EQ(Play(v, 4000), static_cast<int64_t>(400 * pace)) << pace;
    int64_t calls = 0;
    while (!v.AtEnd() && calls < 200000) calls += Play(v, 10) >= 0 ? 1 : 0;
    EXPECT_NEAR(static_cast<double>(calls), (4358 - 400 * pace) / pace, 2.0) << pace;
    EXPECT_EQ(v.Position(), 4358);
    EXPECT_EQ(v.Outcome(), TFlightOutcome::Lost);
    EXPECT_EQ(DigestWorld(v.Flight(), v.Position()), end) << "at " << pace << "x";
  }
}

TEST_F(ReplayViewer, AFlightThatDriftsFromItsRecordStopsWhereItDoes) {
  TReplay replay = Corpus("mission2-medium.replay");
  ASSERT_EQ(replay.Checkpoints.size(), 6u);
  replay.Checkpoints[2].Positions ^= 1;  // the record of tick 1500 no longer holds
  TReplayViewer v(*media, replay, now);
  v.SeekTo(2500, now);
  EXPECT_TRUE(v.AtEnd());
  EXPECT_EQ(v.Position(), 1500);
  ASSERT_TRUE(v.Drift());
  EXPECT_EQ(v.Drift()->Tick, 1500);
  EXPECT_EQ(v.Drift()->What, "positions");
  EXPECT_EQ(Play(v, 1000), 0);
  v.SeekBy(TReplayViewer::kSeekTicks, now);
  EXPECT_EQ(v.Position(), 1500);
  // Before it the flight plays as ever; it stops at the same place again.
  v.SeekTo(1000, now);
  EXPECT_FALSE(v.AtEnd());
  EXPECT_FALSE(v.Drift());
  EXPECT_EQ(Play(v, 3000), 300);
  Play(v, 3000);
  EXPECT_EQ(v.Position(), 1500);
  EXPECT_TRUE(v.Drift());

  TViewerHud hud;
  hud.Viewer = &v;
  EXPECT_EQ(hud.DriftText(),
            "Záznam se v čase 0:15,0 rozchází s pravidly hry. Přehrávání se proto zastavilo zde.");
  EXPECT_EQ(hud.StatusTexts()[2], "Zastaveno");
}

TEST_F(ReplayViewer, SoundFollowsOnlyAFlightShownAtUpToTwiceItsSpeed) {
  const TReplay replay = Corpus("mission1-easy-won.replay");
  TWaveCollectionItem& engine = media->DXEnginesWaveList.Items[0];
  {
    TReplayViewer v(*media, replay, now);
    // Jumping on flies 40 seconds of cannon fire and explosions without a sound.
    v.SeekTo(4000, now);
    EXPECT_EQ(EffectsSounding(), 0);
    Play(v, 500);
    EXPECT_GT(EffectsSounding(), 0);  // as the flight goes on, they sound
    EXPECT_FALSE(media->DXSound1.Muted);
    EXPECT_GT(engine.PlayingCount(), 0);
    v.Faster(now);
    EXPECT_FALSE(media->DXSound1.Muted);
    v.Faster(now);
    EXPECT_TRUE(media->DXSound1.Muted);  // 4x
    EXPECT_EQ(engine.PlayingCount(), 0);
    v.Slower(now);
    v.SetPaused(true, now);
    EXPECT_TRUE(media->DXSound1.Muted);
    EXPECT_EQ(engine.PlayingCount(), 0);
    v.SetPaused(false, now);
    EXPECT_GT(engine.PlayingCount(), 0);
    // The engine falls silent with the mother ship, as it does in flight.
    v.SeekTo(20400, now);
    EXPECT_GE(v.Flight().VictoryCountdown, 0);
    EXPECT_EQ(engine.PlayingCount(), 0);
  }
  EXPECT_FALSE(media->DXSound1.Muted);
  EXPECT_EQ(engine.PlayingCount(), 0);

  TReplayViewer quiet(*media, replay, now);
  quiet.SetSilent(true);
  Play(quiet, 500);
  EXPECT_TRUE(media->DXSound1.Muted);
  EXPECT_EQ(engine.PlayingCount(), 0);
}

TEST(ViewerHud, AClickOnTheBarGoesToItsPlaceInTheFlight) {
  using H = TViewerHud;
  const int32_t y = H::kTrackTop + 2;
  EXPECT_EQ(H::TickAt(H::kTrackLeft, y, 20000), 0);
  EXPECT_EQ(H::TickAt(H::kTrackLeft + H::kTrackWidth / 2, y, 20000), 10000);
  EXPECT_EQ(H::TickAt(H::kTrackLeft + H::kTrackWidth - 1, y, 992), 991);
  EXPECT_EQ(H::TickAt(H::kTrackLeft - 1, y, 20000), -1);
  EXPECT_EQ(H::TickAt(H::kTrackLeft + H::kTrackWidth, y, 20000), -1);
  EXPECT_EQ(H::TickAt(500, H::kTrackTop - 30, 20000), -1);
}

}  // namespace
