// Smooth frames on the driver's virtual display: every step from one frame to the next is
// the even one, rounded down or up, at any refresh rate; and the flight itself, tick by tick
// and checkpoint by checkpoint, is the same with smooth frames as without.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "core/level.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "replay/replay_file.h"
#include "shell/asset_loader.h"
#include "sim.h"
#include "support/temp_dir.h"
#include "verify_replay.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<uint8_t> Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The number after "key": in a trace line, from `from` on.
int64_t NumberAfter(const std::string& line, const std::string& key, size_t from = 0) {
  const size_t at = line.find("\"" + key + "\":", from);
  if (at == std::string::npos) ADD_FAILURE() << key << " missing in " << line;
  return at == std::string::npos ? 0 : std::stoll(line.substr(at + key.size() + 3));
}

struct TFrameSeen {
  int64_t Terrain;  // pixels along the map
  int64_t X, Mx;    // the aircraft drawn, and its last tick's move
};

struct TFlight {
  std::vector<std::string> Ticks;  // the trace's tick lines
  std::vector<TFrameSeen> Frames;
  std::vector<std::string> FrameLines;
  fs::path Record;
  std::string Pacing;  // the driver's own --pacing row
};

struct SmoothMotionTest : ::testing::Test {
  ScopedTempDir dir;

  fs::path Script(const std::string& text) {
    const fs::path file = dir.Path() / "input.txt";
    std::ofstream(file) << text;
    return file;
  }

  // `before` may set the world up further once the mission has started.
  TFlight Fly(TSimOptions o, const std::string& name,
              const std::function<void(World&)>& before = {}) {
    o.DataDir = SK_DATA_DIR;
    o.TraceFile = (dir.Path() / (name + ".jsonl")).string();
    o.RecordFile = (dir.Path() / (name + ".replay")).string();
    TFlight f;
    {
      TSimulation sim(o);
      if (before) before(sim.GameWorld());
      sim.Run();
      f.Pacing = sim.PacingRow();
    }
    f.Record = o.RecordFile;
    for (const std::string& line : Lines(o.TraceFile)) {
      if (line.rfind("{\"tick\":", 0) == 0) {
        f.Ticks.push_back(line);
        continue;
      }
      const size_t player = line.find("\"player\":{");
      f.FrameLines.push_back(line);
      f.Frames.push_back({NumberAfter(line, "terrainRow") * 32 + NumberAfter(line, "terrainOffset"),
                          NumberAfter(line, "x", player), NumberAfter(line, "mx", player)});
    }
    return f;
  }
};

// From frame to frame: the terrain steps `low` or `low + 1` pixels and never stands; the
// aircraft at its full 8 pixels a tick steps `aircraftLow` or one more.
void ExpectEvenSteps(const TFlight& f, int64_t low, int64_t aircraftLow, int32_t hz) {
  int64_t steadyFrames = 0;
  for (size_t i = 1; i < f.Frames.size(); ++i) {
    const TFrameSeen &a = f.Frames[i - 1], &b = f.Frames[i];
    const int64_t step = b.Terrain - a.Terrain;
    ASSERT_TRUE(step == low || step == low + 1)
        << hz << " Hz: the terrain stepped " << step << " at " << f.FrameLines[i];
    if (a.Mx != b.Mx || (b.Mx != 8 && b.Mx != -8)) continue;
    ++steadyFrames;
    const int64_t flown = std::llabs(b.X - a.X);
    ASSERT_TRUE(flown == aircraftLow || flown == aircraftLow + 1)
        << hz << " Hz: the aircraft stepped " << flown << " at " << f.FrameLines[i];
  }
  EXPECT_GT(steadyFrames, 100) << hz << " Hz";
}

// Left and right across the screen: the Jaguar's full speed is 8 pixels a tick.
constexpr const char* kToAndFro = "1 Left\n150 Right\n300 Left\n450 Right\n600 Left\n750 Right\n";

TEST_F(SmoothMotionTest, EveryFrameStepsEvenlyAtSixtyAndAHundredFortyFourHertz) {
  TSimOptions o;
  o.Ticks = 900;
  o.InputFile = Script(kToAndFro).string();
  o.RefreshHz = 60;
  const TFlight at60 = Fly(o, "60");
  // Frames from 10 ms (the first tick) to 9.01 s: n / 60 s for n = 1 .. 540.
  ASSERT_EQ(at60.Frames.size(), 540u);
  ExpectEvenSteps(at60, 3, 13, 60);  // 3.33 and 13.33 pixels a frame

  o.RefreshHz = 144;
  const TFlight at144 = Fly(o, "144");
  ASSERT_EQ(at144.Frames.size(), 1296u);  // n = 2 .. 1297
  ExpectEvenSteps(at144, 1, 5, 144);      // 1.39 and 5.56 pixels a frame

  // Without smooth frames the same display sees the judder: some frames repeat the picture.
  o.SmoothMotion = false;
  const TFlight judder = Fly(o, "144-off");
  int64_t repeated = 0;
  for (size_t i = 1; i < judder.Frames.size(); ++i)
    repeated += judder.Frames[i].Terrain == judder.Frames[i - 1].Terrain;
  EXPECT_GT(repeated, 300);  // 44 of every 144
}

// The terrain's map wraps after 8192 rows, 22 minutes into a flight: a flight begun two rows
// short of its end crosses it, and the driver's own measure of every frame's step does not
// notice. 6 s at 60 Hz are 360 frames; from the first frame (a third of a tick after tick 1)
// to the last (on tick 600) the terrain runs 2 x 598.33 = 1197 pixels in 359 steps of 3 and 4.
TEST_F(SmoothMotionTest, TheDriverMeasuresEveryFrameAcrossTheWrapOfTheTerrainMap) {
  TSimOptions o;
  o.Ticks = 600;
  o.InputFile = Script(kToAndFro).string();
  o.RefreshHz = 60;
  o.Pacing = true;
  const TFlight f = Fly(o, "wrap", [](World& w) { w.Level.ScrollRow = TLevel::kRows - 2; });
  ASSERT_EQ(f.Frames.size(), 360u);
  EXPECT_EQ(NumberAfter(f.FrameLines.front(), "terrainRow"), TLevel::kRows - 2);
  EXPECT_EQ(NumberAfter(f.FrameLines.back(), "terrainRow"), 35);
  const std::regex row(
      R"(\| 60 Hz, smooth on \| 3 x239, 4 x120 \(even: 3\.\.4\) \| 0 of 359 \(0\.0 %\) \| )"
      R"(8 px/tick: 13 x\d+, 14 x\d+ \(even: 13\.\.14\) \| .* \|)");
  EXPECT_TRUE(std::regex_match(f.Pacing, row)) << f.Pacing;
}

TEST_F(SmoothMotionTest, SmoothFramesChangeNothingInTheFlightItself) {
  TSimOptions o;
  o.Ticks = 3000;
  o.Autopilot = true;
  o.Seed = 5;
  o.AircraftKind = akF5F;
  o.CannonKind = ckVulcan;
  o.SlotKinds = {wkLightLaser, wkMiniMissiles, kNoKind, kNoKind, kNoKind};
  o.RefreshHz = 144;
  const TFlight smooth = Fly(o, "on");
  o.SmoothMotion = false;
  const TFlight plain = Fly(o, "off");

  // The frames differ (interpolation ran) ...
  ASSERT_EQ(smooth.FrameLines.size(), plain.FrameLines.size());
  size_t differ = 0;
  for (size_t i = 0; i < smooth.FrameLines.size(); ++i)
    differ += smooth.FrameLines[i] != plain.FrameLines[i];
  EXPECT_GT(differ, smooth.FrameLines.size() / 2);
  // ... and not a bit of the flight does: every tick's state, the replay with its checkpoints.
  ASSERT_EQ(smooth.Ticks.size(), 3000u);
  EXPECT_EQ(smooth.Ticks, plain.Ticks);
  EXPECT_EQ(Bytes(smooth.Record), Bytes(plain.Record));

  // The recording verifies flown again with smooth frames drawn between its ticks.
  const auto here = fs::current_path();
  fs::current_path(SK_DATA_DIR);
  platform::HeadlessBackend backend;
  TFormComponents media(backend);
  LoadAssets(media);
  LoadSounds(media);
  media.DXDraw1.Initialize();
  const TVerifyResult r = VerifyReplay(media, ReadReplayFile(smooth.Record.string()), {75, true});
  fs::current_path(here);
  EXPECT_FALSE(r.Mismatch) << r.Mismatch->What;
  EXPECT_EQ(r.Ticks, 3000);
}

}  // namespace
