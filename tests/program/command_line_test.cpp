// The game's command line as a player meets it: --help and --version, an unknown option or a
// bad value (status 2 with the usage), the settings printed, and no display (status 1, said
// on standard error, at once).
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace {

struct GameRun {
  int Status = -1;
  std::string Out, Err;
  double Seconds = 0;
};

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs the game with these arguments; `env` sets (or, with an empty value, removes) variables
// of this process's environment. A run that has not ended after 20 s is killed and fails.
GameRun RunGame(const std::vector<std::string>& args,
                const std::map<std::string, std::string>& env) {
  ScopedTempDir dir;
  std::vector<std::string> vars;
  for (char** e = environ; *e; ++e) {
    const std::string var = *e;
    if (!env.count(var.substr(0, var.find('=')))) vars.push_back(var);
  }
  for (const auto& [name, value] : env) {
    if (!value.empty()) vars.push_back(name + "=" + value);
  }
  std::vector<std::string> argv = {SK_GAME};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> argp, envp;
  for (auto& a : argv) argp.push_back(a.data());
  for (auto& v : vars) envp.push_back(v.data());
  argp.push_back(nullptr);
  envp.push_back(nullptr);
  const std::string out = (dir.Path() / "out").string(), err = (dir.Path() / "err").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  GameRun run;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, SK_GAME, &actions, nullptr, argp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    ADD_FAILURE() << "cannot start " << SK_GAME;
    return run;
  }
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(20)) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      ADD_FAILURE() << "the game did not end within 20 s";
      return run;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.Out = ReadAll(out);
  run.Err = ReadAll(err);
  return run;
}

const std::map<std::string, std::string> kDummy = {{"SDL_VIDEODRIVER", "dummy"},
                                                   {"STARVELKHORN_DATA", SK_DATA_DIR}};

TEST(CommandLine, HelpListsEveryOptionOnALineOfItsOwnAndVersionTellsTheVersion) {
  const GameRun help = RunGame({"--help"}, kDummy);
  EXPECT_EQ(help.Status, 0);
  EXPECT_EQ(help.Err, "");
  int options = 0;
  std::istringstream lines(help.Out);
  for (std::string line; std::getline(lines, line);) options += line.rfind("  --", 0) == 0;
  EXPECT_EQ(options, 8) << help.Out;
  for (const char* option :
       {"\n  --windowed ", "\n  --fullscreen ", "\n  --replay FILE ", "\n  --frame-stats ",
        "\n  --settings ", "\n  --check-data ", "\n  --help ", "\n  --version "})
    EXPECT_NE(help.Out.find(option), std::string::npos) << option;
  EXPECT_EQ(RunGame({"-h"}, kDummy).Out, help.Out);

  const GameRun version = RunGame({"--version"}, kDummy);
  EXPECT_EQ(version.Status, 0);
  EXPECT_EQ(version.Out, std::string("starvelkhorn ") + SK_VERSION + "\n");
}

TEST(CommandLine, AnUnknownOptionOrABadValueSaysWhatIsWrongWithTheUsageAndExits2) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"--windowed", "--fulscreen"}, "unknown option '--fulscreen'"},
      {{"--replay"}, "--replay needs a value: FILE"},
      {{"--replay="}, "--replay needs a file name"},
      {{"--windowed=yes"}, "--windowed takes no value"},
      {{"--windowed", "--fullscreen"}, "--windowed and --fullscreen exclude each other"},
      {{"game.sav"}, "unexpected argument 'game.sav'"},
  };
  const std::string usage = RunGame({"--help"}, kDummy).Out;
  for (const auto& [args, what] : cases) {
    const GameRun run = RunGame(args, kDummy);
    EXPECT_EQ(run.Status, 2) << what;
    EXPECT_EQ(run.Out, "") << what;
    EXPECT_EQ(run.Err, "starvelkhorn: " + what + "\n\n" + usage) << what;
  }
}

// A replay's name may follow as the next argument or after '='; either way the file is read
// before any window: a file that is no replay ends the run with status 2 and its name, a real
// one goes on to the display (none here, so status 1).
TEST(CommandLine, AReplayIsNamedEitherWayAndReadBeforeTheWindowOpens) {
  ScopedTempDir dir;
  const std::string junk = (dir.Path() / "junk.replay").string();
  std::ofstream(junk) << "not a flight";
  const std::string flight = std::string(SK_REPLAYS) + "/mission1-easy-won.replay";
  std::map<std::string, std::string> env = kDummy;
  env.insert({{"DISPLAY", ":4093"}, {"WAYLAND_DISPLAY", ""}, {"SDL_AUDIODRIVER", "dummy"}});
  env["SDL_VIDEODRIVER"] = "x11";
  env["ASAN_OPTIONS"] = "detect_leaks=0";  // the X libraries' lasting allocations, as above
  for (const bool joined : {false, true}) {
    auto args = [&](const std::string& file) {
      return joined ? std::vector<std::string>{"--replay=" + file}
                    : std::vector<std::string>{"--replay", file};
    };
    const GameRun bad = RunGame(args(junk), env);
    EXPECT_EQ(bad.Status, 2) << joined << bad.Err;
    EXPECT_EQ(bad.Err.rfind("starvelkhorn: ", 0), 0u) << bad.Err;
    EXPECT_NE(bad.Err.find(junk), std::string::npos) << joined << bad.Err;
    const GameRun good = RunGame(args(flight), env);
    EXPECT_EQ(good.Status, 1) << joined << good.Err;
    EXPECT_NE(good.Err.find("starvelkhorn: no display available ("), std::string::npos)
        << joined << good.Err;
  }
}

TEST(CommandLine, WithoutADisplayTheGameSaysSoAndEndsWithStatus1AtOnce) {
  const std::vector<std::map<std::string, std::string>> places = {
      {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"SDL_VIDEODRIVER", ""}},
      {{"DISPLAY", ":4093"}, {"WAYLAND_DISPLAY", ""}, {"SDL_VIDEODRIVER", "x11"}},
      {{"DISPLAY", ":4093"}, {"WAYLAND_DISPLAY", ""}, {"SDL_VIDEODRIVER", ""}},
  };
  for (auto env : places) {
    env["STARVELKHORN_DATA"] = SK_DATA_DIR;
    env["SDL_AUDIODRIVER"] = "dummy";
    env["XDG_RUNTIME_DIR"] = "";
    // The X and D-Bus libraries SDL probes keep a few allocations for the life of the
    // process; the sanitizer build's leak checker would turn them into a status of its own.
    env["ASAN_OPTIONS"] = "detect_leaks=0";
    const GameRun run = RunGame({"--windowed"}, env);
    EXPECT_EQ(run.Status, 1) << env["DISPLAY"] << run.Err;
    EXPECT_NE(run.Err.find("starvelkhorn: no display available ("), std::string::npos) << run.Err;
    EXPECT_LT(run.Seconds, 2.0);
  }
}

TEST(CommandLine, SettingsPrintsWhatIsInEffectAndSaysWhatWasWrong) {
  ScopedTempDir tree;
  for (const char* sub : {"res", "sounds", "levels"})
    std::filesystem::create_directories(tree.Path() / sub);
  std::ofstream(tree.Path() / "settings.ini") << "# mine\nkey_cannon = left ctrl\nvolme = 3\n";
  const std::string file = (tree.Path() / "settings.ini").string();
  const GameRun run = RunGame({"--settings"}, {{"STARVELKHORN_DATA", tree.Path().string()}});
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Err, "starvelkhorn: " + file + ":3: unknown setting \"volme\"; line ignored\n");
  EXPECT_NE(run.Out.find("(from " + file + ":2)\nkey_cannon = Left Ctrl\n"), std::string::npos)
      << run.Out;
  EXPECT_NE(run.Out.find("(default)\nvolume = 100\n"), std::string::npos) << run.Out;

  const GameRun check = RunGame({"--check-data"}, {{"STARVELKHORN_DATA", tree.Path().string()}});
  EXPECT_EQ(check.Status, 0);
  EXPECT_NE(check.Out.find("\nsettings: " + file + "\n"), std::string::npos) << check.Out;
}

}  // namespace
