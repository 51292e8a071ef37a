// The campaign runner: a new game played to its end with the built-in pilot. Between
// missions it shops by the policy of shopping.h; before each mission it keeps the campaign
// as it stands (as saving in the hangar would), and after being shot down it goes back to
// that and flies the mission again, at most three tries a mission. Frames are not drawn:
// they change nothing in play, and the runs are long.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "options.h"
#include "shopping.h"

struct TMissionTry {
  std::string Outcome;  // won, lost, or running when the tick limit ran out
  int64_t Ticks = 0;
  int64_t Kills = 0;
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
};

constexpr int kTriesPerMission = 3;
constexpr int64_t kMissionTickLimit = 90000;  // 15 minutes: a mission that never ends

// Plays the campaign at the options' difficulty and seed. Throws as TSimulation does.
TCampaignResult RunCampaign(const TSimOptions& options);
std::string CampaignSummary(const TSimOptions& options, const TCampaignResult& result);
