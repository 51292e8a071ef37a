// Where the game finds its content and keeps the saved game, for the layouts it runs in: the
// build tree, an installed prefix (also after it moved), a tree named by STARVELKHORN_DATA.
#include "shell/game_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "base/error.h"
#include "platform/headless/headless_backend.h"
#include "shell/data_dir.h"
#include "shell/missing_data_box.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

void MakeTree(const fs::path& dir) {
  for (const char* sub : {"res", "sounds", "levels"}) fs::create_directories(dir / sub);
}

// A place with a build tree (build/src/starvelkhorn, build/data) and an installed prefix
// (opt/game/bin/starvelkhorn, opt/game/share/starvelkhorn), both with their trees.
struct Layouts {
  ScopedTempDir dir;
  fs::path root = dir.Path();
  fs::path buildExe = root / "build" / "src" / "starvelkhorn";
  fs::path prefix = root / "opt" / "game";
  fs::path installedExe = prefix / "bin" / "starvelkhorn";
  Layouts() {
    MakeTree(root / "build" / "data");
    fs::create_directories(buildExe.parent_path());
    MakeTree(prefix / "share" / "starvelkhorn");
    fs::create_directories(installedExe.parent_path());
  }
  ProcessPlaces Installed() const {
    ProcessPlaces p;
    p.Executable = installedExe;
    p.Home = (root / "home").string();
    p.XdgDataHome = (root / "xdg").string();
    return p;
  }
  ProcessPlaces Build() const {
    ProcessPlaces p = Installed();
    p.Executable = buildExe;
    return p;
  }
};

TEST(DataDir, FindsTheBuildTreeNextToTheExecutableAndSavesInTheWorkingDirectory) {
  Layouts l;
  const DataSearch search = FindDataDir(l.Build());
  ASSERT_TRUE(search.Tree);
  EXPECT_EQ(*search.Tree, l.root / "build" / "data");
  EXPECT_FALSE(InstalledPrefix(l.Build()));
  EXPECT_EQ(SaveGamePath(l.Build()), fs::path("game.sav"));
}

TEST(DataDir, FindsTheInstalledTreeFromTheExecutablesOwnPlaceWhereverThePrefixMoved) {
  Layouts l;
  const fs::path moved = l.root / "elsewhere";
  fs::rename(l.prefix, moved);
  ProcessPlaces places = l.Installed();
  places.Executable = moved / "bin" / "starvelkhorn";
  const DataSearch search = FindDataDir(places);
  ASSERT_TRUE(search.Tree);
  EXPECT_EQ(*search.Tree, moved / "share" / "starvelkhorn");
  ASSERT_TRUE(InstalledPrefix(places));
  EXPECT_EQ(*InstalledPrefix(places), moved);
  // The build tree's place was looked at first.
  ASSERT_EQ(search.Tried.size(), 2u);
  EXPECT_EQ(search.Tried[0], moved / "data");
}

TEST(DataDir, DebiansGamesFolderCountsAsAnInstalledPrefixToo) {
  Layouts l;
  ProcessPlaces places = l.Installed();
  places.Executable = l.prefix / "games" / "starvelkhorn";
  EXPECT_EQ(*FindDataDir(places).Tree, l.prefix / "share" / "starvelkhorn");
  EXPECT_EQ(SaveGamePath(places), l.root / "xdg" / "starvelkhorn" / "game.sav");
  // Any other folder beside share is not an install.
  places.Executable = l.prefix / "libexec" / "starvelkhorn";
  EXPECT_FALSE(InstalledPrefix(places));
}

TEST(DataDir, TheEnvironmentComesFirstButAnUnusableTreeThereFallsThrough) {
  Layouts l;
  MakeTree(l.root / "mine");
  ProcessPlaces places = l.Installed();
  places.DataOverride = (l.root / "mine").string();
  EXPECT_EQ(*FindDataDir(places).Tree, l.root / "mine");
  // The player's files follow the installed program, not the data it was pointed at.
  EXPECT_EQ(SaveGamePath(places), l.root / "xdg" / "starvelkhorn" / "game.sav");

  places.DataOverride = (l.root / "missing").string();
  const DataSearch search = FindDataDir(places);
  EXPECT_EQ(*search.Tree, l.prefix / "share" / "starvelkhorn");
  EXPECT_EQ(search.Tried.front(), l.root / "missing");
}

TEST(DataDir, AFolderCountsOnlyWithAllThreeContentFolders) {
  Layouts l;
  fs::remove_all(l.prefix / "share" / "starvelkhorn" / "sounds");
  const DataSearch search = FindDataDir(l.Installed());
  EXPECT_FALSE(search.Tree);
  EXPECT_FALSE(InstalledPrefix(l.Installed()));
  const std::string message = MissingDataMessage(search);
  for (const auto& place : search.Tried)
    EXPECT_NE(message.find(place.string()), std::string::npos) << message;
  EXPECT_NE(message.find("STARVELKHORN_DATA"), std::string::npos);
}

TEST(DataDir, AMissingTreeIsReportedInTheErrorBoxNamingThePlaces) {
  Layouts l;
  ProcessPlaces places;
  places.Executable = l.root / "nowhere" / "bin" / "starvelkhorn";
  const DataSearch search = FindDataDir(places);
  ASSERT_FALSE(search.Tree);
  platform::HeadlessBackend backend;
  ShowMissingDataBox(backend, search);  // answered by the backend, as OK
  ASSERT_EQ(backend.Messages().size(), 1u);
  EXPECT_EQ(backend.Messages()[0].Caption, "Starvelkhorn");
  EXPECT_NE(
      backend.Messages()[0].Text.find((l.root / "nowhere" / "share" / "starvelkhorn").string()),
      std::string::npos);
}

TEST(SaveGamePath, InstalledGoesToXdgDataHomeOrTheHomeDefault) {
  Layouts l;
  ProcessPlaces places = l.Installed();
  EXPECT_EQ(SaveGamePath(places), l.root / "xdg" / "starvelkhorn" / "game.sav");
  // Unset, empty or relative XDG_DATA_HOME means the default under the home directory.
  for (std::optional<std::string> xdg :
       {std::optional<std::string>(), std::optional<std::string>(""),
        std::optional<std::string>("relative/data")}) {
    places.XdgDataHome = xdg;
    EXPECT_EQ(SaveGamePath(places),
              l.root / "home" / ".local" / "share" / "starvelkhorn" / "game.sav");
  }
  places.Home.reset();
  EXPECT_THROW(SaveGamePath(places), EInOutError);
}

TEST(SaveGamePath, TheFirstSaveCreatesTheFolderAndTheFileLandsThere) {
  Layouts l;
  const fs::path save = SaveGamePath(l.Installed());
  ASSERT_FALSE(fs::exists(save.parent_path()));
  EnsureSaveDirectory(save);
  EnsureSaveDirectory(save);  // a second time finds it there
  std::ofstream(save) << "saved";
  EXPECT_TRUE(fs::is_regular_file(l.root / "xdg" / "starvelkhorn" / "game.sav"));
  EnsureSaveDirectory("game.sav");  // the working directory: nothing to make
}

TEST(SaveGamePath, AFolderThatCannotBeMadeIsAnErrorNamingIt) {
  Layouts l;
  std::ofstream(l.root / "xdg") << "a file where the folder should be";
  const fs::path save = SaveGamePath(l.Installed());
  try {
    EnsureSaveDirectory(save);
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_NE(std::string(e.what()).find((l.root / "xdg" / "starvelkhorn").string()),
              std::string::npos)
        << e.what();
  }
}

// A variable set to nothing is as good as unset: HOME then comes from the password file.
TEST(ProcessPlaces, AnEmptyVariableCountsAsUnset) {
  const char* names[] = {"STARVELKHORN_DATA", "XDG_DATA_HOME", "HOME"};
  std::vector<std::optional<std::string>> kept;
  for (const char* name : names) {
    const char* value = std::getenv(name);
    kept.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    setenv(name, "", 1);
  }
  const ProcessPlaces places = ProcessPlaces::Current();
  for (size_t i = 0; i < kept.size(); ++i) {
    if (kept[i])
      setenv(names[i], kept[i]->c_str(), 1);
    else
      unsetenv(names[i]);
  }
  EXPECT_FALSE(places.DataOverride);
  EXPECT_FALSE(places.XdgDataHome);
  ASSERT_TRUE(places.Home);
  EXPECT_TRUE(fs::path(*places.Home).is_absolute()) << *places.Home;
}

TEST(SaveGamePath, ThisTestProgramRunsFromTheBuildTree) {
  // What the game's own saver gets in every test: the working directory, as always.
  EXPECT_EQ(SaveGamePath(), fs::path("game.sav"));
}

}  // namespace
