// balance-report: plays campaigns with the pilot and writes the balance table and chart.
//   balance-report --data DIR --seeds N --out DIR [--difficulties 0,2,4]
// Writes DIR/balance.md and DIR/balance.png; prints each campaign's JSON line as it goes.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "campaign.h"
#include "chart.h"
#include "report.h"

int main(int argc, char** argv) {
  std::string data = ".", out = "docs";
  int32_t seeds = 20;
  std::vector<uint8_t> difficulties{0, 2, 4};
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i], v = argv[i + 1];
    if (a == "--data") {
      data = v;
    } else if (a == "--out") {
      out = v;
    } else if (a == "--seeds") {
      seeds = std::stoi(v);
    } else if (a == "--difficulties") {
      difficulties.clear();
      for (char ch : v) {
        if (ch >= '0' && ch <= '4') difficulties.push_back(static_cast<uint8_t>(ch - '0'));
      }
    } else {
      std::cerr << "balance-report: unknown option " << a << "\n";
      return 2;
    }
  }
  const std::string outDir = std::filesystem::absolute(out).string();
  std::vector<TDifficultyFigures> all;
  try {
    for (uint8_t d : difficulties) {
      std::vector<TCampaignResult> runs;
      for (int32_t s = 1; s <= seeds; ++s) {
        TSimOptions o;
        o.DataDir = data;
        o.Difficulty = d;
        o.Seed = static_cast<uint64_t>(s);
        runs.push_back(RunCampaign(o));
        std::cout << CampaignSummary(o, runs.back()) << std::endl;
      }
      all.push_back(Summarize(d, runs));
    }
  } catch (const std::exception& e) {
    std::cerr << "balance-report: " << e.what() << "\n";
    return 1;
  }
  std::ofstream md(outDir + "/balance.md");
  md << MarkdownReport(all, seeds, "balance.png");
  if (!md || !DrawBalanceChart(all, outDir + "/balance.png")) {
    std::cerr << "balance-report: cannot write into " << outDir << "\n";
    return 1;
  }
  return 0;
}
