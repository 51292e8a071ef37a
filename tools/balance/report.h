// Figures of many campaigns per difficulty, by mission, and the Markdown table of them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "campaign.h"

struct TMissionFigures {
  int32_t Runs = 0;  // campaigns that reached the mission
  int32_t FirstTryWins = 0;
  int32_t Wins = 0;          // within the three tries
  double MedianMinutes = 0;  // of the first tries
  double MinMinutes = 0, MaxMinutes = 0;
  int64_t MedianCreditsBefore = 0;  // after shopping
  int64_t MedianCreditsAfter = 0;
  int64_t MedianRepairs = 0;          // bought in flight on the first try
  std::array<int32_t, 4> Aircraft{};  // how many campaigns flew each kind
  double FirstTryRate() const { return Runs ? static_cast<double>(FirstTryWins) / Runs : 0; }
};

struct TDifficultyFigures {
  uint8_t Difficulty = 0;
  int32_t Campaigns = 0;
  int32_t CampaignsWon = 0;
  std::array<TMissionFigures, 6> Missions{};
};

TDifficultyFigures Summarize(uint8_t difficulty, const std::vector<TCampaignResult>& runs);
std::string MarkdownReport(const std::vector<TDifficultyFigures>& all, int32_t seeds,
                           const std::string& chartFile);
