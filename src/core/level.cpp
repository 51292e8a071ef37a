#include "core/level.h"

#include <algorithm>
#include <memory>

#include "base/asset_catalog.h"
#include "base/error.h"
#include "base/file_io.h"
#include "core/world.h"
#include "enemies/scheduled.h"
#include "presentation/form_components.h"

namespace {

// The mission from which each kind code is offered.
constexpr std::array<int32_t, 6> kWeaponFrom{0, 0, 1, 3, 4, 5};
constexpr std::array<int32_t, 4> kCannonFrom{0, 1, 3, 4};
constexpr std::array<int32_t, 4> kAircraftFrom{0, 2, 4, 5};

template <size_t N>
void Offer(std::array<bool, N>& flags, const std::array<int32_t, N>& from, int32_t mission) {
  for (size_t k = 0; k < N; ++k) flags[k] = from[k] <= mission;
}

}  // namespace

void SetOffers(TOffers& offers, int32_t mission) {
  Offer(offers.WeaponOffered, kWeaponFrom, mission);
  Offer(offers.CannonOffered, kCannonFrom, mission);
  Offer(offers.AircraftOffered, kAircraftFrom, mission);
}

std::vector<uint8_t> DecodeLevelMap(fileio::ReadResult file, const std::string& path) {
  if (!file.Opened) throw EInOutError("Cannot open file " + path);
  if (file.Bytes.size() < static_cast<size_t>(TLevel::kMapBytes)) {
    throw EInOutError(path + ": Read beyond end of file (a map holds 262144 bytes)");
  }
  file.Bytes.resize(TLevel::kMapBytes);  // a longer file is read from its first map
  return std::move(file.Bytes);
}

std::vector<TEnemySpawn> DecodeLevelSchedule(const fileio::ReadResult& file,
                                             const std::string& path) {
  if (!file.Opened) throw EInOutError("Cannot open file " + path);
  if (file.FileSize > kMaxScheduleBytes) {
    throw EInOutError(path + ": the schedule holds more than 1048576 rows");
  }
  if (file.FileSize % TLevel::kRecordBytes != 0 || file.Bytes.size() != file.FileSize) {
    throw EInOutError(path + ": Read beyond end of file (records are 24 bytes)");
  }
  std::vector<TEnemySpawn> rows(file.Bytes.size() / TLevel::kRecordBytes);
  const uint8_t* p = file.Bytes.data();
  for (auto& row : rows) {
    row.X = fileio::I32(p);
    row.Y = fileio::I32(p + 4);
    row.EnemyKind = fileio::I32(p + 8);
    row.Variant = p[12];
    row.Time = fileio::I64(p + 16);
    p += TLevel::kRecordBytes;
  }
  return rows;
}

std::vector<uint8_t> ReadLevelMap(const std::string& path) {
  return DecodeLevelMap(fileio::ReadPrefix(path, TLevel::kMapBytes), path);
}

std::vector<TEnemySpawn> ReadLevelSchedule(const std::string& path) {
  return DecodeLevelSchedule(fileio::ReadPrefix(path, kMaxScheduleBytes), path);
}

void LoadLevel(World& w, int32_t mission) {
  // Read everything first: a failure must leave the level that was there untouched.
  TPicture terrain;
  if (mission >= 0 && mission < catalog::kMissions) {
    terrain.LoadFromFile(catalog::TerrainFor(mission));
  }
  std::vector<uint8_t> map = ReadLevelMap(catalog::LevelMapPath(mission));
  std::vector<TEnemySpawn> spawns = ReadLevelSchedule(catalog::LevelSchedulePath(mission));

  w.VictoryCountdown = -1;
  TLevel& level = w.Level;
  level.NextSpawn = 0;
  level.ScrollRow = 0;
  SetOffers(level.Offers, mission);
  if (!terrain.Empty()) {
    TPictureCollectionItem& item = w.Media.BackgroundPictures.Items[0];
    item.Picture = std::move(terrain);
    item.Transparent = false;
    w.Media.BackgroundPictures.Items.Restore();
  }
  level.Map = std::move(map);
  level.Spawns = std::move(spawns);
}

namespace {

constexpr int32_t kPixelsPerTick = 2;
constexpr int32_t kTile = 32;

void DrawTiles(World& w, int64_t row, int32_t offset) {
  const TPictureCollectionItem& tiles = w.Media.BackgroundPictures.Items[0];
  TDirectDrawSurface& surface = w.Media.DXDraw1.Surface();
  for (int32_t c = 0; c < TLevel::kColumns; ++c) {
    for (int32_t j = 1; j <= 25; ++j) {
      uint8_t t = w.Level.Tile(c, row + j);
      tiles.Draw(surface, kTile * c, 768 - kTile * j + offset, t);
    }
  }
}

TTerrainPlace DrawTerrainSmooth(World& w, int32_t& scrollTicks, double fraction) {
  TLevel& level = w.Level;
  const double behind =
      w.TerrainMoved ? kPixelsPerTick * (1.0 - std::clamp(fraction, 0.0, 1.0)) : 0;
  int64_t offset = DrawnPixels(static_cast<double>(kPixelsPerTick) * scrollTicks - behind);
  if (offset >= kTile) {
    const int64_t rows = offset / kTile;
    level.ScrollRow = (level.ScrollRow + rows) % TLevel::kRows;
    scrollTicks -= static_cast<int32_t>(rows * kTile / kPixelsPerTick);
    offset -= rows * kTile;
  }
  // A frame drawn just after a row change, before the tick that follows it, could fall a
  // fraction of a pixel short of the row; the bottom line must never be left bare.
  offset = std::max<int64_t>(offset, 0);
  DrawTiles(w, level.ScrollRow, static_cast<int32_t>(offset));
  return {level.ScrollRow, static_cast<int32_t>(offset)};
}

}  // namespace

TTerrainPlace DrawTerrain(World& w, int32_t& scrollTicks, const TFramePhase& phase) {
  if (phase.Smooth) return DrawTerrainSmooth(w, scrollTicks, phase.Fraction);
  TLevel& level = w.Level;
  const int32_t offset = kPixelsPerTick * scrollTicks;
  const TTerrainPlace drawn{level.ScrollRow, offset};
  DrawTiles(w, level.ScrollRow, offset);
  if (offset >= 31) {
    if (++level.ScrollRow >= TLevel::kRows) level.ScrollRow = 0;
    scrollTicks = 0;
  }
  return drawn;
}

void SpawnDue(World& w) {
  TLevel& level = w.Level;
  while (level.NextSpawn < static_cast<int64_t>(level.Spawns.size())) {
    const TEnemySpawn& row = level.Spawns[static_cast<size_t>(level.NextSpawn)];
    // A row whose time has already passed when it becomes the next one (an out-of-order
    // schedule) comes at once instead of stopping every row behind it.
    if (row.Time > w.StepClock) return;
    SpawnRow(w, row);
    ++level.NextSpawn;
  }
}

void SpawnRow(World& w, const TEnemySpawn& row) {
  std::unique_ptr<TFlyer> flyer =
      row.EnemyKind == -1
          ? MakeBoss(w, row.X, row.Y, row.Variant)
          : MakeEnemy(w, row.X, row.Y, static_cast<uint8_t>(row.EnemyKind & 0xFF), row.Variant);
  // Kinds the game does not define create nothing; the schedule simply moves on.
  if (!flyer) return;
  w.FlyerList.Push(std::move(flyer));
  if (row.EnemyKind == -1) w.Events->BossAppeared();
}
