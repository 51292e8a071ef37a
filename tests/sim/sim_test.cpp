#include "sim.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "flyers/aircraft.h"
#include "support/content_files.h"
#include "support/temp_dir.h"

namespace {

using testcontent::Row;

// A JSON trace line's number after "key": (the first occurrence from `from`).
int64_t NumberAfter(const std::string& line, const std::string& key, size_t from = 0) {
  const auto at = line.find("\"" + key + "\":", from);
  EXPECT_NE(at, std::string::npos) << key << " in " << line;
  if (at == std::string::npos) return INT64_MIN;
  return std::stoll(line.substr(at + key.size() + 3));
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The y of every air-to-air missile in a trace line, newest first.
std::vector<int64_t> MissileYs(const std::string& line) {
  std::vector<int64_t> ys;
  for (size_t at = line.find("\"aamissile\""); at != std::string::npos;
       at = line.find("\"aamissile\"", at + 1)) {
    ys.push_back(NumberAfter(line, "y", at));
  }
  return ys;
}

struct SimTest : ::testing::Test {
  ScopedTempDir dir;

  void SetUp() override { testcontent::WriteMinimalContent(); }

  void Level(const std::vector<Row>& rows) {
    testcontent::WriteLevel(
        0, [](int32_t c, int32_t r) { return uint8_t((c + r) % 4); }, rows);
  }
  std::string Script(const std::string& text) {
    const auto path = (dir.Path() / "input.txt").string();
    std::ofstream(path) << text;
    return path;
  }
  TSimOptions Jaguar(int64_t ticks) {
    TSimOptions o;
    o.DataDir = dir.Path().string();
    o.CannonKind = 0;
    o.SlotKinds = {0, 255, 255, 255, 255};
    o.Ticks = ticks;
    o.TraceFile = (dir.Path() / "trace.jsonl").string();
    return o;
  }
};

TEST_F(SimTest, AJaguarWithAVulcanAndMissilesFliesTheScriptedMission) {
  // A kind 0 craft that only drifts down (a variant without a pattern), over the aircraft.
  Level({{505, -100, 0, 5, 1}});
  TSimOptions o = Jaguar(800);
  o.InputFile = Script(
      "100 Up\n105\n"                       // climb 40 pixels and coast to Y 610
      "116 Button1 Button2\n117 Button1\n"  // missiles from Y 600, then the Vulcan
      "167 Button1 Button2\n168 Button1\n"  // the launcher is ready again after 51 ticks
      "200\n"
      "400 Left Up\n500 Right\n600 Down Right\n700\n");
  o.Screenshots = {{150, (dir.Path() / "shot.png").string()}};
  TSimulation sim(o);
  sim.Run();
  EXPECT_EQ(sim.TicksRun(), 800);
  EXPECT_EQ(sim.Outcome(), "running");
  EXPECT_EQ(sim.Tally().Kills, 1);

  const auto trace = Lines(o.TraceFile);
  ASSERT_EQ(trace.size(), 800u);
  auto at = [&](int tick) { return trace[static_cast<size_t>(tick - 1)]; };
  EXPECT_EQ(NumberAfter(at(1), "tick"), 1);
  EXPECT_EQ(NumberAfter(at(115), "y"), 610);  // the player comes first: x, y
  // The pair leaves from Y 600 and climbs 2, 3, 4, 5 pixels a tick.
  EXPECT_EQ(MissileYs(at(116)), (std::vector<int64_t>{598, 598}));
  EXPECT_EQ(MissileYs(at(117)), (std::vector<int64_t>{595, 595}));
  EXPECT_EQ(MissileYs(at(118)), (std::vector<int64_t>{591, 591}));
  EXPECT_EQ(MissileYs(at(119)), (std::vector<int64_t>{586, 586}));
  EXPECT_TRUE(MissileYs(at(166)).empty());
  EXPECT_EQ(MissileYs(at(167)).size(), 2u);
  // The craft is destroyed and paid for: 5 x 100 on easy.
  EXPECT_EQ(NumberAfter(at(800), "credits") % 20000, 500);
  // The edges: the aircraft's centre stays on the screen.
  EXPECT_EQ(NumberAfter(at(499), "x"), -80);
  EXPECT_EQ(NumberAfter(at(499), "y"), -60);
  EXPECT_EQ(NumberAfter(at(699), "x"), 944);
  EXPECT_EQ(NumberAfter(at(800), "y"), 708);
  // Vulcan shells in flight while the trigger is held, none long after.
  EXPECT_GT(NumberAfter(at(150), "shells"), 5);
  EXPECT_EQ(NumberAfter(at(300), "shells"), 0);

  std::ifstream png(o.Screenshots[0].File, std::ios::binary);
  char signature[8] = {};
  png.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
}

TEST_F(SimTest, ACraftThatFliesOffTheScreenIsNoKill) {
  Level({{100, -100, 0, 5, 1}});  // drifts down the left side, far from the aircraft
  TSimOptions o = Jaguar(1500);
  TSimulation sim(o);
  sim.Run();
  const auto trace = Lines(o.TraceFile);
  ASSERT_EQ(trace.size(), 1500u);
  // Listed while it flies, gone at the end: it left with its health, and nobody fired.
  EXPECT_NE(trace[500].find("\"type\":\"enemy\""), std::string::npos);
  EXPECT_EQ(trace.back().find("\"type\":\"enemy\""), std::string::npos);
  EXPECT_EQ(sim.Tally().Kills, 0);
}

TEST_F(SimTest, TheTraceCountsOnlyLiveObjects) {
  // One Vulcan shot on tick 3: its muzzle flash shows for two ticks, ends in the third and
  // is freed in the fourth; in the third it is still in its list, dead, and is not counted.
  Level({});
  TSimOptions o = Jaguar(6);
  o.InputFile = Script("3 Button1\n4\n");
  TSimulation sim(o);
  sim.Run();
  const auto trace = Lines(o.TraceFile);
  ASSERT_EQ(trace.size(), 6u);
  std::vector<int64_t> effects;
  for (const auto& line : trace) effects.push_back(NumberAfter(line, "effects"));
  EXPECT_EQ(effects, (std::vector<int64_t>{0, 0, 1, 1, 0, 0}));
  EXPECT_EQ(NumberAfter(trace[2], "shells"), 1);
}

TEST_F(SimTest, TheSameSeedAndInputGiveTheSameTrace) {
  Level({{505, -100, 0, 0, 1}, {100, -90, 1, 1, 3}, {600, -100, 3, 0, 6}});
  TSimOptions o = Jaguar(600);
  o.InputFile = Script("1 Button1 Left\n50 Right Button2\n300 Up\n");
  std::string first;
  {
    TSimulation sim(o);
    sim.Run();
    first = sim.SummaryLine();
  }
  const auto a = Lines(o.TraceFile);
  TSimulation again(o);
  again.Run();
  EXPECT_EQ(Lines(o.TraceFile), a);
  EXPECT_EQ(again.SummaryLine(), first);
}

TEST_F(SimTest, RammedByAMotherShipTheMissionIsLostAndTheRunStops) {
  Level({{350, 560, -1, 0, 0}});  // a boss right on the aircraft from the first tick
  TSimOptions o = Jaguar(500);
  TSimulation sim(o);
  sim.Run();
  EXPECT_EQ(sim.Outcome(), "lost");
  EXPECT_EQ(sim.TicksRun(), 1);
  ASSERT_EQ(sim.MessagesShown().size(), 1u);
  EXPECT_EQ(sim.MessagesShown()[0], "Byl jste sestřelen/a..... Hra pro Vás konči.");
  const auto trace = Lines(o.TraceFile);
  ASSERT_EQ(trace.size(), 1u);
  EXPECT_NE(trace[0].find("\"gameOver\":true"), std::string::npos);
  EXPECT_NE(sim.SummaryLine().find("\"outcome\":\"lost\""), std::string::npos);
}

TEST_F(SimTest, AMotherShipRammedToPiecesWinsTheMissionAfterTheCountdown) {
  Level({{350, 560, -1, 0, 0}});
  TSimOptions o = Jaguar(500);
  o.AircraftKind = 3;  // the F16's 5000 outlast the boss's 2000
  TSimulation sim(o);
  sim.Run();
  EXPECT_EQ(sim.Outcome(), "won");
  EXPECT_EQ(sim.Tally().Kills, 1);
  EXPECT_EQ(sim.GameWorld().State.Credits, 60000 + 20000);
  EXPECT_EQ(sim.MessagesShown().back(), "Na tomto území jste nepřítele porazil/a!!!");
  // The tick the boss dies starts the countdown at 120; 120 ticks later the run ends.
  const auto trace = Lines(o.TraceFile);
  size_t destroyed = 0;
  while (destroyed < trace.size() && NumberAfter(trace[destroyed], "victoryCountdown") != 120) {
    ++destroyed;
  }
  ASSERT_LT(destroyed, 10u);
  EXPECT_EQ(sim.TicksRun(), static_cast<int64_t>(destroyed + 1 + 120));
  EXPECT_EQ(NumberAfter(trace[destroyed + 119], "victoryCountdown"), 1);
  EXPECT_EQ(NumberAfter(trace.back(), "victoryCountdown"), 0);
}

TEST_F(SimTest, ScriptedStatesReachTheGameThroughItsOwnInputPoll) {
  Level({});
  TSimOptions o = Jaguar(3);
  o.InputFile = Script("1 Up Down Left Right Button31\n2 Button32\n3\n");
  TSimulation sim(o);
  World& w = sim.GameWorld();
  sim.RunTick();
  const auto& held = sim.Media().DXInput1.States();
  EXPECT_TRUE(held[InputUp] && held[InputDown] && held[InputLeft] && held[InputRight]);
  EXPECT_TRUE(held[InputButton31]);
  EXPECT_LT(w.Player->Dx, 0);  // up and left win
  EXPECT_LT(w.Player->Dy, 0);
  sim.RunTick();
  EXPECT_TRUE(sim.Media().DXInput1.States()[InputButton32]);
  EXPECT_EQ(sim.MessagesShown(), (std::vector<std::string>{"PAUZA"}));
  sim.RunTick();
  EXPECT_TRUE(sim.Media().DXInput1.States().none());
}

TEST(SimOptions, ParseEveryOptionAndRefuseNonsense) {
  std::string error;
  auto o = ParseSimOptions(
      {"--data",    "d",  "--seed",       "7",         "--mission", "3", "--difficulty", "4",
       "--credits", "-5", "--aircraft",   "2",         "--cannon",  "-", "--slots",      "0,-,5",
       "--ticks",   "10", "--screenshot", "5:a:b.png", "--summary"},
      error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->DataDir, "d");
  EXPECT_EQ(o->Seed, 7u);
  EXPECT_EQ(o->Mission, 3);
  EXPECT_EQ(o->Difficulty, 4);
  EXPECT_EQ(o->Credits, -5);
  EXPECT_EQ(o->AircraftKind, 2);
  EXPECT_EQ(o->CannonKind, 255);
  EXPECT_EQ(o->SlotKinds, (std::array<uint8_t, 5>{0, 255, 5, 255, 255}));
  EXPECT_EQ(o->Ticks, 10);
  ASSERT_EQ(o->Screenshots.size(), 1u);
  EXPECT_EQ(o->Screenshots[0].Tick, 5);
  EXPECT_EQ(o->Screenshots[0].File, "a:b.png");
  EXPECT_TRUE(o->Summary);
  EXPECT_EQ(o->RefreshHz, 0);  // a frame after each tick unless asked
  o = ParseSimOptions({"--refresh", "144", "--smooth-motion", "off", "--pacing"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->RefreshHz, 144);
  EXPECT_FALSE(o->SmoothMotion);
  EXPECT_TRUE(o->Pacing);

  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--mission", "6"},
                                             {"--difficulty", "3"},
                                             {"--aircraft", "-"},
                                             {"--cannon", "4"},
                                             {"--slots", "0,1,2,3,4,5"},
                                             {"--slots", "6"},
                                             {"--ticks", "-1"},
                                             {"--seed", "x"},
                                             {"--screenshot", "5"},
                                             {"--refresh", "0"},
                                             {"--refresh", "1001"},
                                             {"--smooth-motion", "yes"},
                                             {"--pacing"},
                                             {"--ticks"},
                                             {"--bogus", "1"},
                                             {"--bogus"}}) {
    EXPECT_FALSE(ParseSimOptions(bad, error)) << bad[0];
    EXPECT_FALSE(error.empty());
  }
  // An unknown option is called that, even where a value would be missing.
  ParseSimOptions({"--summary", "--bogus"}, error);
  EXPECT_EQ(error, "unknown option --bogus");
  auto help = ParseSimOptions({"--help"}, error);
  ASSERT_TRUE(help);
  EXPECT_TRUE(help->Help);
  auto replay = ParseSimOptions({"--replay", "f.replay"}, error);
  ASSERT_TRUE(replay);
  EXPECT_EQ(replay->ReplayFile, "f.replay");
}

TEST(InputScript, HoldsExactlyTheListedStatesFromEachTickOn) {
  std::istringstream in("# comment\n\n120 Up Button1\n10 Left\n200\n300 Button32 Right\n");
  std::string error;
  auto script = TInputScript::Parse(in, error);
  ASSERT_TRUE(script) << error;
  EXPECT_TRUE(script->At(9).none());
  EXPECT_TRUE(script->At(10)[InputLeft]);
  EXPECT_EQ(script->At(119).count(), 1u);
  EXPECT_TRUE(script->At(120)[InputUp] && script->At(120)[InputButton1]);
  EXPECT_FALSE(script->At(150)[InputLeft]);
  EXPECT_TRUE(script->At(200).none());
  EXPECT_TRUE(script->At(100000)[InputButton32]);

  for (const char* bad :
       {"x Up\n", "0 Up\n", "5 Jump\n", "5 Button0\n", "5 Button33\n", "5 Button01\n", "-3\n"}) {
    std::istringstream b(bad);
    EXPECT_FALSE(TInputScript::Parse(b, error)) << bad;
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;
  }
}

TEST_F(SimTest, TheProgramRunsEndToEndAndExplainsItsMistakes) {
  Level({});
  const std::string program = SK_SIM_PROGRAM;
  const std::string out = (dir.Path() / "out.txt").string();
  const std::string cmd = program + " --data " + dir.Path().string() +
                          " --cannon 0 --ticks 30 --summary > " + out + " 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  const auto lines = Lines(out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0],
            "{\"ticks\":30,\"outcome\":\"running\",\"credits\":60000,\"mission\":0,"
            "\"kills\":0,\"damage\":0,\"repairs\":0,\"messages\":[]}");

  EXPECT_NE(std::system((program + " --ticks nope > " + out + " 2>&1").c_str()), 0);
  EXPECT_NE(Lines(out).at(0).find("bad value for --ticks"), std::string::npos);
  // Help is asked for: the usage on standard output, status 0. An unknown option: status 2.
  const std::string err = (dir.Path() / "err.txt").string();
  EXPECT_EQ(WEXITSTATUS(std::system((program + " --help > " + out + " 2> " + err).c_str())), 0);
  EXPECT_EQ(Lines(out).at(0), "usage: starvelkhorn-sim [options]");
  EXPECT_TRUE(Lines(err).empty());
  EXPECT_EQ(WEXITSTATUS(std::system((program + " --bogus > " + out + " 2> " + err).c_str())), 2);
  EXPECT_EQ(Lines(err).at(0), "starvelkhorn-sim: unknown option --bogus");
  EXPECT_TRUE(Lines(out).empty());
  // Content that is not there: the error names the file.
  EXPECT_NE(std::system((program + " --data " + dir.Path().string() + " --mission 4 --ticks 1 > " +
                         out + " 2>&1")
                            .c_str()),
            0);
  EXPECT_NE(Lines(out).at(0).find("level04"), std::string::npos);
  // A script it cannot understand.
  const std::string script = Script("10 Fire\n");
  EXPECT_EQ(WEXITSTATUS(std::system((program + " --data " + dir.Path().string() + " --input " +
                                     script + " --ticks 1 > " + out + " 2>&1")
                                        .c_str())),
            2);
  EXPECT_NE(Lines(out).at(0).find("unknown input state Fire"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(SimTest, AUiScriptDrivesTheProgramAndItsStatusSaysHowItEnded) {
  const std::string program = SK_SIM_PROGRAM;
  const std::string out = (dir.Path() / "out.txt").string();
  auto run = [&](const std::string& script) {
    const std::string path = Script(script);
    const std::string cmd = program + " --data " + SK_DATA_DIR + " --ui-script " + path +
                            " --summary > " + out + " 2>&1";
    return WEXITSTATUS(std::system(cmd.c_str()));
  };
  ASSERT_EQ(run("choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\nclick \"Nová hra\"\n"
                "click \"Lehká obtížnost\"\n"),
            0);
  auto lines = Lines(out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0],
            "{\"screen\":\"intro\",\"credits\":60000,\"mission\":0,\"difficulty\":0,"
            "\"aircraftKind\":255,\"slotKinds\":[255,255,255,255,255],\"cannonKind\":255,"
            "\"gameOver\":false,\"music\":\"title\",\"messages\":[]}");

  // An expectation not met: status 1, the line, and what the player could see.
  EXPECT_EQ(run("click \"Pokracovat\"\nwait 100\nexpect \"Uložit hru\"\n"), 1);
  lines = Lines(out);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_NE(lines[0].find("line 3: expect \"Uložit hru\""), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("\"Nová hra\""), std::string::npos) << lines[1];
  EXPECT_EQ(lines.back().substr(0, 21), "{\"screen\":\"main-menu\"");

  // A malformed line: status 2 and its number.
  EXPECT_EQ(run("wait 10\nwait soon\n"), 2);
  EXPECT_NE(Lines(out).at(0).find("line 2"), std::string::npos);

  // Where clicks land, for driving another build the same way: radio items and buttons of
  // the screen at that moment, inside the window; a caption not shown is an unmet step.
  EXPECT_EQ(run("locate \"V okne\"\nchoose \"V okne\"\nlocate \"Pokracovat\"\n"
                "click \"Pokracovat\"\nwait 100\nlocate \"Nová hra\"\nlocate \"Pokracovat\"\n"),
            1);
  lines = Lines(out);
  ASSERT_GE(lines.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    int x = -1, y = -1;
    ASSERT_EQ(std::sscanf(lines[i].c_str(), "at %d %d", &x, &y), 2) << lines[i];
    EXPECT_TRUE(x > 0 && x < 1024 && y > 0 && y < 768) << lines[i];
  }
  EXPECT_NE(lines[0], lines[1]);
  EXPECT_NE(lines[3].find("line 7: locate \"Pokracovat\""), std::string::npos) << lines[3];
}

TEST_F(SimTest, TheSummaryTalliesLostHealthAndBoughtRepairsButNotAHealthBonus) {
  Level({});
  TSimOptions o = Jaguar(6);
  o.TraceFile.clear();
  o.Credits = 120000;
  o.InputFile = Script("1\n3 Button31\n4\n");  // the repair key held on tick 3 only
  TSimulation sim(o);
  World& w = sim.GameWorld();
  ASSERT_TRUE(sim.RunTick());
  w.Player->Health -= 300;
  ASSERT_TRUE(sim.RunTick());  // tick 2 sees the loss
  ASSERT_TRUE(sim.RunTick());  // tick 3 buys the repair
  EXPECT_EQ(w.Player->Health, w.Player->MaxHealth);
  EXPECT_EQ(w.State.Credits, 70000);
  w.Player->Health -= 100;
  ASSERT_TRUE(sim.RunTick());
  w.Player->Health = w.Player->MaxHealth;  // as a health bonus heals: no credits change
  ASSERT_TRUE(sim.RunTick());
  EXPECT_EQ(sim.Tally().Damage, 400);
  EXPECT_EQ(sim.Tally().Repairs, 1);
  EXPECT_NE(sim.SummaryLine().find("\"damage\":400,\"repairs\":1,"), std::string::npos)
      << sim.SummaryLine();
}

}  // namespace
