// The campaign's story: the intro, the six briefings and the closing line.
#pragma once

#include <string>
#include <vector>

// The intro's memo lines, each a paragraph the memo wraps.
const std::vector<std::string>& IntroStoryLines();
// The briefing lines of a mission 0..5; empty for any other mission.
const std::vector<std::string>& BriefingLines(int mission);
inline constexpr const char* kCampaignWonLine =
    "         Výborně, Váš úkol je splněn! Lidstvo je osvobozeno od mimozemské tyranie. ";
