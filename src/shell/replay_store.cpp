#include "shell/replay_store.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "shell/atomic_file.h"
#include "shell/game_paths.h"

namespace fs = std::filesystem;

namespace {

const char* OutcomeWord(TFlightOutcome outcome) {
  switch (outcome) {
    case TFlightOutcome::Won:
      return "vyhra";
    case TFlightOutcome::Lost:
      return "sestrelen";
    case TFlightOutcome::Quit:
      break;
  }
  return "preruseno";
}

// Oldest first: by the time each was written, then by name (which starts with the date).
void RemoveOldest(const fs::path& folder, size_t keep) {
  struct TEntry {
    fs::file_time_type Time;
    fs::path Path;
  };
  std::vector<TEntry> replays;
  for (const auto& e : fs::directory_iterator(folder)) {
    std::error_code ec;
    if (!e.is_regular_file(ec) || e.path().extension() != kReplayExtension) continue;
    const auto time = e.last_write_time(ec);
    if (!ec) replays.push_back({time, e.path()});
  }
  if (replays.size() <= keep) return;
  std::sort(replays.begin(), replays.end(), [](const TEntry& a, const TEntry& b) {
    return a.Time != b.Time ? a.Time < b.Time : a.Path.filename() < b.Path.filename();
  });
  for (size_t i = 0; i + keep < replays.size(); ++i) {
    std::error_code ec;
    fs::remove(replays[i].Path, ec);
  }
}

}  // namespace

fs::path ReplayDirectory() {
  return ReplayDirectory(ProcessPlaces::Current());
}

fs::path ReplayDirectory(const ProcessPlaces& places) {
  return SaveGamePath(places).parent_path() / "replays";
}

std::string ReplayFileName(std::time_t when, int mission, TFlightOutcome outcome) {
  std::tm local{};
  localtime_r(&when, &local);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%d_%H-%M-%S", &local);
  return std::string(date) + "_mise-" + std::to_string(mission) + "_" + OutcomeWord(outcome) +
         kReplayExtension;
}

fs::path StoreReplay(const TReplay& replay, const fs::path& folder, std::time_t when, size_t keep) {
  EnsureSaveDirectory(folder / "x");
  const std::string name =
      ReplayFileName(when, replay.Start.Campaign.Mission + 1, replay.End.Outcome);
  fs::path path = folder / name;
  const std::string stem = path.stem().string();
  for (int n = 2; fs::exists(path) && n < 1000; ++n) {
    path = folder / (stem + "-" + std::to_string(n) + kReplayExtension);
  }
  const std::vector<uint8_t> bytes = EncodeReplay(replay);
  ReplaceFileContents(path, bytes.data(), bytes.size());
  RemoveOldest(folder, keep);
  return path;
}
