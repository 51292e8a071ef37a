// A mission: the tile map that scrolls under the aircraft, the schedule of enemies and the
// boss, the scroll position and the goods the shop offers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "core/motion.h"

class World;

// One schedule row, as stored in a 24-byte record of the .ene file.
struct TEnemySpawn {
  int32_t X = 0;          // left edge when created
  int32_t Y = 0;          // top edge when created (negative: above the screen)
  int32_t EnemyKind = 0;  // -1: a boss; else the enemy kind is the low byte
  uint8_t Variant = 0;    // enemy behaviour variant, or the boss kind
  int64_t Time = 0;       // StepClock value at which the row is spawned
};

// Goods of the hangar shop, by kind code; set at every level load.
struct TOffers {
  std::array<bool, 6> WeaponOffered{};
  std::array<bool, 4> CannonOffered{};
  std::array<bool, 4> AircraftOffered{};
};

struct TLevel {
  static constexpr int32_t kColumns = 32;
  static constexpr int32_t kRows = 8192;
  static constexpr int32_t kMapBytes = kColumns * kRows;  // 262144
  static constexpr int32_t kRecordBytes = 24;
  static constexpr int64_t kMaxSpawns = 1048576;

  // Tile codes, column by column: Map[c * kRows + r] is column c at map row r. Row r + 1
  // lies directly above row r on screen; the map wraps.
  std::vector<uint8_t> Map = std::vector<uint8_t>(kMapBytes, 0);
  std::vector<TEnemySpawn> Spawns;  // in file order
  int64_t ScrollRow = 0;            // the bottom visible tile row is map row ScrollRow + 1
  int64_t NextSpawn = 0;            // index of the next row not yet spawned
  TOffers Offers;

  uint8_t Tile(int32_t column, int64_t row) const {
    return Map[static_cast<size_t>(column) * kRows + static_cast<size_t>(row % kRows)];
  }
};

// Sets the shop offers for mission m: what missions 0..m introduced.
void SetOffers(TOffers& offers, int32_t mission);

// Makes the world's level hold mission m. Both files and the terrain picture are read and
// checked completely before anything changes: a missing file, a map shorter than 262144
// bytes, or a schedule whose length is not a whole number of 24-byte records (or that holds
// more than 1048576 rows) raises EInOutError naming the file, and the previous level,
// offers and victory countdown stay as they were.
void LoadLevel(World& w, int32_t mission);

// Where a frame drew the terrain: the bottom visible map row, Row + 1, lay Offset pixels
// below its place at rest (0..31 when smooth; up to twice the ticks gathered otherwise).
struct TTerrainPlace {
  int64_t Row = 0;
  int32_t Offset = 0;
};

// Draws the 32 x 25 visible tiles for the given ScrollTicks (2 pixels a tick) and advances the
// scroll. As it stands: drawn at the ticks gathered, then one row on once 16 have gathered,
// ticks beyond that dropped. Smooth: the latest tick's 2 pixels carried by the phase's
// fraction; rows passed are stepped over before drawing and the ticks beyond them kept, so
// the terrain runs on evenly across a row change.
TTerrainPlace DrawTerrain(World& w, int32_t& scrollTicks, const TFramePhase& phase = {});

// Spawns every consecutive schedule row whose Time has come (equals StepClock). A row whose
// Time had already passed when it became the next row spawns at once, so a row out of order
// never holds back the rows after it; a sorted schedule spawns each row exactly on its Time.
void SpawnDue(World& w);

// Creates the row's enemy or boss and pushes it on FlyerList.
void SpawnRow(World& w, const TEnemySpawn& row);

// Reading the two level files; exposed for tests and tools. Throw EInOutError.
std::vector<uint8_t> ReadLevelMap(const std::string& path);
std::vector<TEnemySpawn> ReadLevelSchedule(const std::string& path);

// What the readers make of a file's bytes, as fileio::ReadPrefix read them (the map up to its
// 262144 bytes, the schedule up to kMaxScheduleBytes); `path` names the file in errors. The
// readers above are these on a file; the fuzzer feeds them bytes directly.
inline constexpr uint64_t kMaxScheduleBytes = TLevel::kMaxSpawns * TLevel::kRecordBytes;
std::vector<uint8_t> DecodeLevelMap(fileio::ReadResult file, const std::string& path);
std::vector<TEnemySpawn> DecodeLevelSchedule(const fileio::ReadResult& file,
                                             const std::string& path);
