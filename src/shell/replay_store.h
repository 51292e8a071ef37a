// Where the game keeps the flights it records: "replays/" beside the saved game (the working
// directory in a build tree, the user's data directory when installed), one file a mission
// flown, named by date, mission and outcome, the newest 50 kept.
#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <string>

#include "replay/replay_file.h"
#include "shell/data_dir.h"

inline constexpr size_t kReplaysKept = 50;
inline constexpr const char* kReplayExtension = ".replay";

// The folder for this process, and for any process's places.
std::filesystem::path ReplayDirectory();
std::filesystem::path ReplayDirectory(const ProcessPlaces& places);

// "2026-12-09_07-05-33_mise-1_vyhra.replay": local time, the mission counted from 1 and the
// outcome (vyhra, sestrelen, preruseno).
std::string ReplayFileName(std::time_t when, int mission, TFlightOutcome outcome);

// Writes the replay into the folder (made when missing) under its name, a free one if a file
// of that name exists, then removes the oldest replays beyond `keep`. Returns the file's path.
// Throws EInOutError (or a filesystem error) naming what failed; nothing else is touched.
std::filesystem::path StoreReplay(const TReplay& replay, const std::filesystem::path& folder,
                                  std::time_t when, size_t keep = kReplaysKept);
