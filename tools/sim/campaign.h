// The campaign runner: a new game played to its end through the game's own screens, as a
// player would play it. From the main menu it starts a new game at the chosen difficulty,
// shops in the hangar by the policy of shopping.h, saves the game there before each mission,
// and lets the built-in pilot fly the mission. Shot down, it goes back to the main menu, loads
// the save and flies again from the hangar, at most three tries a mission. The mission's
// frames are not drawn: they change nothing in play, and the runs are long. Each run works in
// a directory of its own (play_dir.h), so runs side by side never share a save; the game keeps
// its records there too (or in options.PlayerDir, with the recorded flights).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/world.h"
#include "options.h"
#include "shell/record_book.h"
#include "shopping.h"

struct TMissionTry {
  std::string Outcome;  // won, lost, or running when the tick limit ran out
  int64_t Ticks = 0;
  int64_t Kills = 0;
  int64_t Damage = 0;   // health the aircraft lost
  int64_t Repairs = 0;  // bought in flight
  int64_t Credits = 0;  // at the end of the try
};

struct TMissionRecord {
  int32_t Mission = 0;  // 1..6, as the player counts them
  int64_t CreditsBefore = 0;
  int64_t CreditsAfter = 0;
  TLoadout Loadout;
  std::vector<TMissionTry> Tries;
};

struct TCampaignResult {
  bool Won = false;
  std::vector<TMissionRecord> Missions;
  // The records the game keeps after the run, read back from its file.
  TRecordBook Records;
};

struct TCampaignLimits {
  int32_t TriesPerMission = 3;
  // 15 minutes: a try still flying then counts as lost, and the runner leaves it through the
  // pause screen.
  int64_t TicksPerTry = 90000;
  // For tests: called as each try takes off, to bring about what play would take minutes to.
  std::function<void(World&)> OnTakeOff;
};

// Plays the campaign at the options' difficulty and seed, with the content tree of
// options.DataDir. Throws EUiFailure when a screen does not show what the runner needs, and
// std::runtime_error for content that cannot be read or a save that cannot be written.
TCampaignResult RunCampaign(const TSimOptions& options, const TCampaignLimits& limits = {});
std::string CampaignSummary(const TSimOptions& options, const TCampaignResult& result);
