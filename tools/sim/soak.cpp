// pilot-soak: missions flown by the built-in pilot back to back in one process, for an hour
// of game time by default, with frames. Reports resident memory before and after the first
// mission and at the end, and the ticks per second of wall time and of the process's CPU
// time (on a shared machine the two differ); fails when memory grew by more than 5 MB after
// the first mission.
//   pilot-soak --data DIR [--ticks N] [--difficulty D]
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <iostream>
#include <string>

#include "sim.h"

namespace {

constexpr int64_t kAllowedGrowth = 5 * 1024 * 1024;

int64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  int64_t size = 0, resident = 0;
  statm >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

}  // namespace

int main(int argc, char** argv) {
  std::string data = ".";
  int64_t ticks = 360000;
  uint8_t difficulty = 2;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i], v = argv[i + 1];
    if (a == "--data") {
      data = v;
    } else if (a == "--ticks") {
      ticks = std::stoll(v);
    } else if (a == "--difficulty") {
      difficulty = static_cast<uint8_t>(std::stoi(v));
    } else {
      std::cerr << "pilot-soak: unknown option " << a << "\n";
      return 2;
    }
  }
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  const int64_t atStart = ResidentBytes();
  // Measured at the same point of every mission (its end, with the mission still held), so
  // the figures compare like with like.
  int64_t done = 0, missions = 0, won = 0, afterFirst = 0, end = 0;
  try {
    while (done < ticks) {
      TSimOptions o;
      o.DataDir = data;
      o.Difficulty = difficulty;
      o.Mission = static_cast<uint8_t>(missions % 6);
      o.Seed = static_cast<uint64_t>(missions + 1);
      o.AircraftKind = 3;  // the F16 with a full kit survives every mission often enough
      o.CannonKind = 2;
      o.SlotKinds = {4, 3, 3, 5, 0};
      o.Credits = 200000;
      o.Autopilot = true;
      o.Ticks = ticks - done;
      TSimulation sim(o);
      sim.Run();
      done += sim.TicksRun();
      won += sim.Outcome() == "won" ? 1 : 0;
      end = ResidentBytes();
      if (++missions == 1) afterFirst = end;
    }
  } catch (const std::exception& e) {
    std::cerr << "pilot-soak: " << e.what() << "\n";
    return 1;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  std::cout << "{\"ticks\":" << done << ",\"missions\":" << missions << ",\"won\":" << won
            << ",\"rssAtStart\":" << atStart << ",\"rssAfterFirstMission\":" << afterFirst
            << ",\"rssAtEnd\":" << end
            << ",\"ticksPerSecond\":" << static_cast<int64_t>(done / seconds)
            << ",\"ticksPerCpuSecond\":" << static_cast<int64_t>(done / cpuSeconds) << "}\n";
  if (end - afterFirst > kAllowedGrowth) {
    std::cerr << "pilot-soak: resident memory grew by " << (end - afterFirst) << " bytes\n";
    return 1;
  }
  return 0;
}
