// Terrain: the three tile sheets and the maps built from them.
//
// Every sheet has the same layout of tiles, so a map is valid for any sheet. Tiles are made so
// that neighbours join without seams: an area tile (water, forest, town, fields and their snow
// and desert counterparts) is drawn from the terrain classes of its four corners, and everything
// it shows near an edge depends only on the two corners of that edge and on textures that repeat
// every 32 pixels. Linear features (rivers, roads) enter a tile only at the middle of an edge.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "raster.h"

namespace gen::terrain {

// Corner classes. Base is the open land of the sheet (grass, snow, sand).
enum Class : uint8_t { kBase = 0, kWater = 1, kForest = 2, kTown = 3, kFields = 4, kClasses = 5 };
// Corner bits of an area tile (tile pixel space, y down).
enum Corner : uint8_t { kTL = 1, kTR = 2, kBL = 4, kBR = 8 };
// Edge bits of a linear feature.
enum Edge : uint8_t { kN = 1, kE = 2, kS = 4, kW = 8 };

enum class Kind : uint8_t { Base, Area, River, Road, Bridge, RiverMouth, TownRoad };
struct Tile {
  Kind kind;
  uint8_t cls = 0;      // Area, RiverMouth (water), TownRoad (town)
  uint8_t mask = 0;     // corner mask (Area), edge mask (River, Road), the water/town side
  uint8_t variant = 0;  // Base and pure Area tiles
};

inline constexpr int kSheetColumns = 16;
inline constexpr int kBaseVariants = 16;
inline constexpr int kPureVariants = 4;
// The tile layout shared by all sheets, in pattern order.
const std::vector<Tile>& Layout();
int IndexOf(const Tile& t);

// Sheet 0 temperate by day, 1 snow in the blue of dusk, 2 desert under a low red sun: every ground
// stays well darker than the light-grey shells and the bright beams, so shots read against it.
Image RenderSheet(int sheet);

// One stretch of landscape, from map row `row` on: how much of the land each class covers
// (0..1), which side a coast lies on (-1 left, 0 none, 1 right), and how many rivers and roads
// start per 100 rows.
struct Landscape {
  int row = 0;
  float water = 0, forest = 0, town = 0, fields = 0;
  int coast = 0;
  float rivers = 0, roads = 0;
};
struct MapSpec {
  uint32_t seed = 1;
  std::vector<Landscape> stretches;  // by increasing row, repeated every `cycle` rows
  int cycle = 8192;
};
inline constexpr int kMapColumns = 32;
inline constexpr int kMapRows = 8192;
// The map file's bytes: column by column, 8192 rows each.
std::vector<uint8_t> BuildMap(const MapSpec& spec);

}  // namespace gen::terrain
