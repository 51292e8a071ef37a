// Where the game's content tree (res/, sounds/, levels/) is, and whether the game runs from an
// installed prefix. Every file name the game reads is relative to that tree, so the program
// works there as its working directory.
//
// The search looks, in this order, at:
//   1. $STARVELKHORN_DATA, for a tree kept anywhere;
//   2. DIR/../data next to the executable DIR/starvelkhorn: the build tree (build/src and
//      build/data);
//   3. P/share/starvelkhorn for the executable P/bin/starvelkhorn (or P/games/starvelkhorn, as
//      Debian keeps games), found from the executable's own location, so a prefix that was
//      moved after installing still works.
// Nothing here reads the process's environment by itself: the caller passes it in
// (ProcessPlaces::Current() for the running program), so tests can try any layout.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What the search needs to know about the running process.
struct ProcessPlaces {
  std::filesystem::path Executable;          // absolute, links resolved; empty when unknown
  std::optional<std::string> DataOverride;   // STARVELKHORN_DATA
  std::optional<std::string> XdgDataHome;    // XDG_DATA_HOME
  std::optional<std::string> XdgConfigHome;  // XDG_CONFIG_HOME
  std::optional<std::string> Home;           // HOME, or the user's home from the password file

  // This process: /proc/self/exe and its environment.
  static ProcessPlaces Current();
};

struct DataSearch {
  std::optional<std::filesystem::path> Tree;  // the content tree, absolute; none when missing
  std::vector<std::filesystem::path> Tried;   // every place looked at, in order
};

// A directory holding the res, sounds and levels folders.
bool IsContentTree(const std::filesystem::path& dir);
DataSearch FindDataDir(const ProcessPlaces& places);

// The prefix P the executable is installed in (it sits at P/bin or P/games and
// P/share/starvelkhorn is a content tree); none for a program run from its build tree or
// anywhere else. The player's files follow the program, not the data: an installed game keeps them
// in the user's data directory even when STARVELKHORN_DATA points it at another tree.
std::optional<std::filesystem::path> InstalledPrefix(const ProcessPlaces& places);

// The message for a search that found nothing, naming every place it looked.
std::string MissingDataMessage(const DataSearch& search);
