// Recorded flights replayed: a recording verifies against itself, any drift is found at the
// first checkpoint after it and named, and what a mission carries over from the one before is
// part of the recording.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/bonus.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "replay/flight_start.h"
#include "shell/asset_loader.h"
#include "shell/replay_store.h"
#include "shell/replay_viewer.h"
#include "shell/replayed_flight.h"
#include "sim.h"
#include "support/temp_dir.h"
#include "ui_driver.h"
#include "verify_replay.h"

namespace {

namespace fs = std::filesystem;

// The pilot flies the first 1600 ticks of mission 2 on hard, recorded.
TReplay RecordedFlight(const fs::path& file) {
  TSimOptions o;
  o.DataDir = SK_DATA_DIR;
  o.Mission = 1;
  o.Difficulty = 4;
  o.AircraftKind = akF5F;
  o.CannonKind = ckTriple;
  o.SlotKinds = {wkMediumLaser, wkMiniMissiles, kNoKind, kNoKind, kNoKind};
  o.Ticks = 1600;
  o.Autopilot = true;
  o.Frames = false;
  o.RecordFile = file.string();
  TSimulation sim(o);
  sim.Run();
  return ReadReplayFile(file.string());
}

struct ReplayFlight : ::testing::Test {
  ScopedTempDir dir;
  platform::HeadlessBackend backend;
  std::unique_ptr<TFormComponents> media;

  TVerifyResult Verify(const TReplay& r) {
    const auto here = fs::current_path();
    fs::current_path(SK_DATA_DIR);
    if (!media) {
      media = std::make_unique<TFormComponents>(backend);
      LoadAssets(*media);
      LoadSounds(*media);
    }
    TVerifyResult result = VerifyReplay(*media, r);
    fs::current_path(here);
    return result;
  }
};

TEST_F(ReplayFlight, ARecordingVerifiesAndEveryKindOfDriftIsFoundAndNamed) {
  const TReplay r = RecordedFlight(dir.Path() / "f.replay");
  ASSERT_EQ(r.End.Tick, 1600);
  EXPECT_EQ(r.End.Outcome, TFlightOutcome::Quit);
  ASSERT_EQ(r.Checkpoints.size(), 3u);
  EXPECT_EQ(r.Checkpoints[2].Tick, 1500);
  ASSERT_GT(r.Inputs.size(), 10u);

  const TVerifyResult same = Verify(r);
  EXPECT_FALSE(same.Mismatch) << same.Mismatch->What;
  EXPECT_EQ(same.Ticks, 1600);

  // Fire held from tick 700 on: found at the first checkpoint after it.
  TReplay fired = r;
  fired.Inputs.clear();
  uint64_t held = 0;
  size_t next = 0;
  for (int64_t t = 1; t <= r.End.Tick; ++t) {
    while (next < r.Inputs.size() && r.Inputs[next].Tick <= t) held = r.Inputs[next++].States;
    const uint64_t now = held | (t >= 700 ? uint64_t{1} << InputButton1 : 0);
    if (fired.Inputs.empty() || fired.Inputs.back().States != now) fired.Inputs.push_back({t, now});
  }
  const TVerifyResult drift = Verify(fired);
  ASSERT_TRUE(drift.Mismatch);
  EXPECT_TRUE(drift.Mismatch->Tick == 1000 || drift.Mismatch->Tick == 1500) << drift.Mismatch->Tick;

  TReplay richer = r;
  richer.Start.Campaign.Credits += 7;
  const TVerifyResult credits = Verify(richer);
  ASSERT_TRUE(credits.Mismatch);
  EXPECT_EQ(credits.Mismatch->Tick, 500);
  EXPECT_EQ(credits.Mismatch->What, "credits " + std::to_string(r.Checkpoints[0].Credits + 7) +
                                        ", recorded " + std::to_string(r.Checkpoints[0].Credits));

  TReplay reseeded = r;
  reseeded.Start.RandomState ^= 1;
  const TVerifyResult random = Verify(reseeded);
  ASSERT_TRUE(random.Mismatch);
  EXPECT_LE(random.Mismatch->Tick, 500);

  TReplay won = r;
  won.End.Outcome = TFlightOutcome::Won;
  const TVerifyResult outcome = Verify(won);
  ASSERT_TRUE(outcome.Mismatch);
  EXPECT_EQ(outcome.Mismatch->Tick, 1600);
  EXPECT_EQ(outcome.Mismatch->What, "the outcome: still flying, recorded won at tick 1600");
}

TEST_F(ReplayFlight, AStartPutBackIntoAWorldIsCapturedUnchanged) {
  TReplay r = RecordedFlight(dir.Path() / "f.replay");
  TReplayStart& s = r.Start;
  s.X = 123;
  s.Dx = -1.5;
  s.Health = 11;
  s.CurrentSlot = 1;
  s.SwitchHoldTicks = 5;
  s.Cannon = {2, false, 0};
  s.Slots[1] = {9, false, 1};
  s.Bonuses = {{TBonusKind::Credit, 300, 40, 0, 2, 7}, {TBonusKind::Health, 500, 90, 0, 2, 3}};
  const auto here = fs::current_path();
  fs::current_path(SK_DATA_DIR);
  TFormComponents m(backend);
  LoadAssets(m);
  World w(m);
  ASSERT_TRUE(StartReplayedFlight(w, s));
  EXPECT_EQ(CaptureStart(w), s);
  fs::current_path(here);
}

// The window shows a replay in the viewer (`--replay FILE`), flies through a recorded pause,
// stops at the recorded end and says on stderr where a replay drifts from its record.
TEST_F(ReplayFlight, TheWindowShowsAReplayToItsEndAndNamesADrift) {
  TReplay r = RecordedFlight(dir.Path() / "f.replay");
  // A pause held for a tick changes nothing in the rules; the replay flies through it.
  TReplay paused = r;
  paused.Inputs.clear();
  uint64_t held = 0;
  size_t next = 0;
  for (int64_t t = 1; t <= r.End.Tick; ++t) {
    while (next < r.Inputs.size() && r.Inputs[next].Tick <= t) held = r.Inputs[next++].States;
    const uint64_t now = held | (t == 300 ? uint64_t{1} << InputButton32 : 0);
    if (paused.Inputs.empty() || paused.Inputs.back().States != now)
      paused.Inputs.push_back({t, now});
  }
  for (const bool drift : {false, true}) {
    TReplay shown = paused;
    if (drift) shown.End.Credits += 1;
    TUiDriver d{SK_DATA_DIR, 9};
    d.RunText("choose \"V okne\"\nclick \"Pokracovat\"\n");
    testing::internal::CaptureStderr();
    d.Form().PlayReplay(shown);
    d.Wait(15000);
    EXPECT_FALSE(d.Form().ReplayDone());
    d.Wait(2000);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(d.Form().ReplayDone());
    d.ExpectScreen(TForm1::TScreen::Viewer);
    EXPECT_EQ(d.Form().Viewer()->Flight().State.Credits, r.End.Credits);
    EXPECT_FALSE(d.Form().UpdateTimer.Enabled());
    if (drift) {
      EXPECT_NE(err.find("differs from its recording at tick 1600: credits at the end"),
                std::string::npos)
          << err;
    } else {
      EXPECT_EQ(err, "");
    }
    // The viewer's way back ends the program that was started to show the flight.
    d.PressKey(platform::vk::Escape, 1);
    EXPECT_TRUE(d.App().Terminated());
  }
}

// The game itself: a mission flown from the hangar after a won one carries the aircraft's
// state and bonuses still falling; its recording, left from the pause screen, holds them.
TEST_F(ReplayFlight, TheGameRecordsWhatCarriesOverAndAReplayThatCannotBeWrittenChangesNothing) {
  for (const bool writable : {true, false}) {
    const fs::path folder = writable ? dir.Path() / "replays" : dir.Path() / "blocked" / "replays";
    if (!writable) std::ofstream(dir.Path() / "blocked") << "not a folder";
    TUiDriver d{SK_DATA_DIR, 5};
    d.Form().ReplayFolder = folder;
    World& w = d.GameWorld();
    d.RunText(
        "choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\n"
        "click \"Nová hra\"\nclick \"Lehká obtížnost\"\nclick \"Pokračuj\"\n");
    auto aircraft = MakeAircraft(w, akJaguar, 300, 500);
    aircraft->Cannon = MakeCannon(w, ckDC);
    aircraft->Dx = 1.25;
    aircraft->Cannon->Counter = 3;
    w.SetPlayer(std::move(aircraft));
    w.State.AircraftKind = akJaguar;
    w.State.CannonKind = ckDC;
    // As a won mission leaves them: bonuses still on their way down.
    w.BonusList.Push(std::make_unique<TCreditBonus>(w, 280, 200));
    w.BonusList.Push(std::make_unique<THealthBonus>(w, 600, 100));
    d.RunText("click \"Letět další misi\"\nclick \"Letět misi\"\nautopilot on\nwait 6000\n");
    testing::internal::CaptureStderr();
    d.RunText("autopilot off\nkey Escape\nwait 50\nclick \"Návrat do hlavní nabídky\"\nwait 300\n");
    const std::string stderrText = testing::internal::GetCapturedStderr();
    d.ExpectScreen(TForm1::TScreen::MainMenu);
    if (!writable) {
      EXPECT_NE(stderrText.find("the flight's replay was not saved"), std::string::npos);
      EXPECT_NE(stderrText.find("blocked"), std::string::npos) << stderrText;
      EXPECT_EQ(d.SummaryLine().find("\"messages\":[]") != std::string::npos, true);
      continue;
    }
    EXPECT_EQ(stderrText, "");
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(folder)) files.push_back(e.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(files[0].filename().string().find("_mise-1_preruseno.replay"), std::string::npos);
    const TReplay r = ReadReplayFile(files[0].string());
    EXPECT_EQ(r.Start.Bonuses.size(), 2u);
    EXPECT_EQ(r.Start.X, 300);
    EXPECT_EQ(r.Start.Dx, 1.25);
    EXPECT_EQ(r.Start.Cannon.Counter, 3);
    EXPECT_GE(r.End.Tick, 550);
    const TVerifyResult v = Verify(r);
    EXPECT_FALSE(v.Mismatch) << v.Mismatch->Tick << ": " << v.Mismatch->What;
    EXPECT_EQ(v.Ticks, r.End.Tick);
  }
}

}  // namespace

namespace {

TEST(VerifyReplayProgram, StatusSaysMatchedDifferedOrUnreadable) {
  ScopedTempDir dir;
  const std::string good = (dir.Path() / "good.replay").string();
  const std::string bad = (dir.Path() / "bad.replay").string();
  const std::string foreign = (dir.Path() / "game.sav").string();
  TReplay r = RecordedFlight(good);
  r.End.Credits += 1;
  const std::vector<uint8_t> bytes = EncodeReplay(r);
  dir.Write("bad.replay", bytes);
  dir.Write("game.sav", std::vector<uint8_t>(24, 0));
  auto run = [&](std::vector<std::string> files, std::string& out, std::string& err) {
    std::vector<std::string> args{"--data", SK_DATA_DIR, "--verify-replay"};
    args.insert(args.end(), files.begin(), files.end());
    std::ostringstream o, e;
    const int status = SimMain(args, o, e);
    out = o.str();
    err = e.str();
    return status;
  };
  std::string out, err;
  EXPECT_EQ(run({good}, out, err), 0);
  EXPECT_EQ(out, good + ": ok, 1600 ticks, quit\n");
  EXPECT_EQ(run({good, bad}, out, err), 1);
  EXPECT_NE(out.find(bad + ": differs at tick 1600: credits at the end "), std::string::npos)
      << out;
  EXPECT_EQ(run({foreign, good}, out, err), 2);
  EXPECT_EQ(err, "starvelkhorn-sim: " + foreign + ": not a replay file\n");
  EXPECT_EQ(out, good + ": ok, 1600 ticks, quit\n");
}

// The driver flies a recording again tick for tick: the trace of the replayed flight is the
// trace of the flight that was recorded, whatever the seed it is started with.
TEST(ReplayInTheDriver, FliesTheRecordedFlightTickForTick) {
  ScopedTempDir dir;
  TSimOptions o;
  o.DataDir = SK_DATA_DIR;
  o.Mission = 2;
  o.Difficulty = 2;
  o.AircraftKind = akF15;
  o.CannonKind = ckDC;
  o.SlotKinds = {wkAAMissiles, wkPlasmaCannon, kNoKind, kNoKind, kNoKind};
  o.Ticks = 400;
  o.Autopilot = true;
  o.Frames = false;
  o.RecordFile = (dir.Path() / "f.replay").string();
  o.TraceFile = (dir.Path() / "recorded.jsonl").string();
  TSimulation(o).Run();

  TSimOptions again;
  again.DataDir = SK_DATA_DIR;
  again.Seed = 99;
  again.ReplayFile = o.RecordFile;
  again.Ticks = 400;
  again.Frames = false;
  again.TraceFile = (dir.Path() / "replayed.jsonl").string();
  TSimulation(again).Run();
  auto text = [](const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  };
  const std::string recorded = text(o.TraceFile);
  EXPECT_EQ(std::count(recorded.begin(), recorded.end(), '\n'), 400);
  EXPECT_EQ(text(again.TraceFile), recorded);

  again.RecordFile = (dir.Path() / "g.replay").string();
  EXPECT_THROW(TSimulation{again}, ESimUsage);
  again.RecordFile.clear();
  again.ReplayFile = (dir.Path() / "recorded.jsonl").string();
  EXPECT_THROW(TSimulation{again}, ESimUsage);
}

}  // namespace
