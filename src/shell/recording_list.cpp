#include "shell/recording_list.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "base/error.h"
#include "shell/flight_texts.h"
#include "shell/replay_store.h"

namespace fs = std::filesystem;

namespace {

std::tm WrittenAt(const fs::path& path) {
  std::error_code ec;
  const auto written = fs::last_write_time(path, ec);
  std::time_t when = 0;
  if (!ec) {
    when = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(
            written - fs::file_time_type::clock::now() + std::chrono::system_clock::now()));
  }
  std::tm local{};
  localtime_r(&when, &local);
  return local;
}

TRecordingEntry ReadEntry(const fs::path& path, const std::string& gameVersion) {
  TRecordingEntry e;
  e.Path = path;
  if (!TimeOfReplayName(path.filename().string(), e.When)) e.When = WrittenAt(path);
  TReplay replay;
  try {
    replay = ReadReplayFile(path.string());
  } catch (const EGameError&) {
    e.Problem = "poškozený soubor, nelze přehrát";
    return e;
  }
  const GameState& g = replay.Start.Campaign;
  e.Mission = g.Mission;
  e.Difficulty = g.Difficulty;
  e.Aircraft = g.AircraftKind;
  e.Outcome = replay.End.Outcome;
  e.Ticks = replay.End.Tick;
  // The rules may have changed with the version: such a flight would not fly as it was flown.
  if (replay.GameVersion != gameVersion)
    e.Problem = "z jiné verze hry (" + replay.GameVersion + "), nelze přehrát";
  return e;
}

// Comparable local times: year, month, day, hour, minute, second.
auto Key(const std::tm& t) {
  return std::make_tuple(t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

}  // namespace

bool TimeOfReplayName(const std::string& name, std::tm& local) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, used = 0;
  if (std::sscanf(name.c_str(), "%4d-%2d-%2d_%2d-%2d-%2d%n", &year, &month, &day, &hour, &minute,
                  &second, &used) != 6 ||
      used != 19)
    return false;
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
    return false;
  local = {};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  return true;
}

std::vector<TRecordingEntry> ListRecordings(const fs::path& folder,
                                            const std::string& gameVersion) {
  std::vector<TRecordingEntry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (!it->is_regular_file(kind) || it->path().extension() != kReplayExtension) continue;
    entries.push_back(ReadEntry(it->path(), gameVersion));
  }
  std::sort(entries.begin(), entries.end(), [](const TRecordingEntry& a, const TRecordingEntry& b) {
    if (Key(a.When) != Key(b.When)) return Key(a.When) > Key(b.When);
    return a.Path.filename() > b.Path.filename();
  });
  return entries;
}

std::string RecordingHeadingText() {
  return "Datum a čas\tMise\tObtížnost\tLetadlo\tVýsledek\tDélka";
}

std::string RecordingRowText(const TRecordingEntry& e) {
  const std::string date = DateText(e.When);
  if (!e.Playable()) return date + "\t" + e.Problem;
  return date + "\t" + std::to_string(e.Mission + 1) + "\t" + DifficultyText(e.Difficulty) + "\t" +
         AircraftText(e.Aircraft) + "\t" + OutcomeText(e.Outcome) + "\t" + FlightTimeText(e.Ticks);
}
