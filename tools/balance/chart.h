// The balance chart: median credits before each mission per difficulty, and the first-try
// win rate of each mission per difficulty, side by side in one PNG.
#pragma once

#include <string>
#include <vector>

#include "report.h"

// Returns false when the file cannot be written.
bool DrawBalanceChart(const std::vector<TDifficultyFigures>& all, const std::string& file);
