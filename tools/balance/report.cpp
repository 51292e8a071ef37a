#include "report.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

constexpr double kTicksPerMinute = 6000;
const char* const kAircraftNames[] = {"Jaguar", "F5F", "F15", "F16"};
const char* const kDifficultyNames[] = {"easy", "", "medium", "", "hard"};

template <class T>
T Median(std::vector<T> v) {
  if (v.empty()) return T{};
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

std::string Percent(double v) {
  char s[16];
  std::snprintf(s, sizeof s, "%.0f %%", v * 100);
  return s;
}

std::string Minutes(double v) {
  char s[16];
  std::snprintf(s, sizeof s, "%.1f", v);
  return s;
}

}  // namespace

TDifficultyFigures Summarize(uint8_t difficulty, const std::vector<TCampaignResult>& runs) {
  TDifficultyFigures f;
  f.Difficulty = difficulty;
  f.Campaigns = static_cast<int32_t>(runs.size());
  for (size_t m = 0; m < f.Missions.size(); ++m) {
    TMissionFigures& mf = f.Missions[m];
    std::vector<double> minutes;
    std::vector<int64_t> before, after, repairs;
    for (const TCampaignResult& r : runs) {
      if (m >= r.Missions.size()) continue;
      const TMissionRecord& rec = r.Missions[m];
      if (rec.Tries.empty()) continue;
      ++mf.Runs;
      if (rec.Tries.front().Outcome == "won") ++mf.FirstTryWins;
      if (rec.Tries.back().Outcome == "won") ++mf.Wins;
      minutes.push_back(static_cast<double>(rec.Tries.front().Ticks) / kTicksPerMinute);
      before.push_back(rec.CreditsBefore);
      after.push_back(rec.CreditsAfter);
      repairs.push_back(rec.Tries.front().Repairs);
      if (rec.Loadout.Aircraft < 4) ++mf.Aircraft[rec.Loadout.Aircraft];
    }
    mf.MedianMinutes = Median(minutes);
    if (!minutes.empty()) {
      mf.MinMinutes = *std::min_element(minutes.begin(), minutes.end());
      mf.MaxMinutes = *std::max_element(minutes.begin(), minutes.end());
    }
    mf.MedianCreditsBefore = Median(before);
    mf.MedianCreditsAfter = Median(after);
    mf.MedianRepairs = Median(repairs);
  }
  for (const TCampaignResult& r : runs) f.CampaignsWon += r.Won ? 1 : 0;
  return f;
}

std::string MarkdownReport(const std::vector<TDifficultyFigures>& all, int32_t seeds,
                           const std::string& chartFile) {
  std::ostringstream md;
  md << "# Balance\n\n"
     << "Made by `scripts/balance`: the campaign runner (`starvelkhorn-sim --campaign`) plays "
     << seeds << " new games at each difficulty with the built-in pilot and its shopping "
     << "policy (DESIGN.md). Per mission: how many campaigns reached it, the share won on the "
     << "first try, the first tries' median length (and range) in minutes, the median credits "
     << "after shopping and after the mission, the repairs bought in flight on the first try "
     << "(median), and the aircraft the policy could afford.\n\n"
     << "![credits and win rates](" << chartFile << ")\n\n";
  for (const TDifficultyFigures& d : all) {
    md << "## " << kDifficultyNames[d.Difficulty] << "\n\n"
       << "Campaigns won: " << d.CampaignsWon << " of " << d.Campaigns << ".\n\n"
       << "| Mission | Reached | First-try wins | Won in 3 tries | Minutes (median, range) "
       << "| Credits after shopping | Credits after | Repairs | Aircraft |\n"
       << "|---|---|---|---|---|---|---|---|---|\n";
    for (size_t m = 0; m < d.Missions.size(); ++m) {
      const TMissionFigures& f = d.Missions[m];
      md << "| " << m + 1 << " | " << f.Runs << " | " << Percent(f.FirstTryRate()) << " | "
         << f.Wins << " | " << Minutes(f.MedianMinutes) << " (" << Minutes(f.MinMinutes) << "–"
         << Minutes(f.MaxMinutes) << ") | " << f.MedianCreditsBefore << " | "
         << f.MedianCreditsAfter << " | " << f.MedianRepairs << " | ";
      bool first = true;
      for (size_t k = 0; k < f.Aircraft.size(); ++k) {
        if (f.Aircraft[k] == 0) continue;
        md << (first ? "" : ", ") << kAircraftNames[k] << " " << f.Aircraft[k];
        first = false;
      }
      md << " |\n";
    }
    md << "\n";
  }
  return md.str();
}
