// The recorded flights in the replays folder as the recordings screen lists them, newest
// first: when each was flown and what it was, or why it cannot be played (a file that cannot
// be read, or one from another version of the game's rules).
#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "replay/replay_file.h"

struct TRecordingEntry {
  std::filesystem::path Path;
  std::tm When{};  // local time: from the file's name, else when it was last written
  // Empty for a flight that can be played; otherwise what is wrong, for the player.
  std::string Problem;
  int Mission = 0;
  int Difficulty = 0;
  int Aircraft = 0;
  TFlightOutcome Outcome = TFlightOutcome::Quit;
  int64_t Ticks = 0;

  bool Playable() const { return Problem.empty(); }
};

// Every "*.replay" file of the folder (none when it is missing), newest first; a file is read
// only as far as a replay may be long.
std::vector<TRecordingEntry> ListRecordings(const std::filesystem::path& folder,
                                            const std::string& gameVersion);

// The time a name the game gave begins with ("2026-12-09_07-05-33_..."); false for another.
bool TimeOfReplayName(const std::string& name, std::tm& local);

// The entry's line for the list, its columns separated by tabs: date, mission, difficulty,
// aircraft, outcome, length; or the date and what is wrong.
std::string RecordingRowText(const TRecordingEntry& entry);
// The columns' headings, separated by tabs as the rows are.
std::string RecordingHeadingText();
