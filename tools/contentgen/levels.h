// Levels: the readable mission descriptions in content/levels turned into the map and schedule
// files, with the economy each description promises checked against its schedule.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "terrain.h"

namespace gen {

struct SpawnRow {
  int32_t x, y, kind;  // kind -1: boss
  uint8_t variant;
  int64_t time;  // schedule steps of 16 ticks
};

struct Mission {
  int number = -1;
  std::string terrain;
  terrain::MapSpec map;
  std::vector<SpawnRow> rows;  // in Time order, the boss last
  int64_t bountyMin = 0, bountyMax = 0;
};

// Parses one description; throws std::runtime_error with the file and line on a mistake.
Mission ParseMission(const std::string& text, const std::string& name);
std::vector<uint8_t> ScheduleBytes(const std::vector<SpawnRow>& rows);

// The enemies' hit points at a difficulty (0, 2, 4) and the bosses', as the game gives them.
int EnemyMaxHealth(int kind, int difficulty);
int BossMaxHealth(int kind);
// Credits for destroying everything in the schedule: 5 x MaxHealth per enemy (at the
// difficulty), 10 x per boss.
int64_t ScheduleBounty(const std::vector<SpawnRow>& rows, int difficulty, bool withBoss);

inline constexpr double kStepsPerSecond = 100.0 / 16.0;

}  // namespace gen
