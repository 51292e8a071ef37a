// How evenly a virtual display showed the flight (starvelkhorn-sim --refresh HZ --pacing):
// from one presented frame to the next, how far the terrain, the aircraft and each enemy
// craft moved on the screen. Where a thing moves at a steady v pixels a tick, a display of HZ
// should show it v x 100 / HZ pixels on each frame, that rounded down or up, and never the
// same picture twice while the terrain scrolls.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

#include "core/level.h"
#include "core/motion.h"

class TPacing {
 public:
  explicit TPacing(int32_t hz) : hz_(hz) {}

  // A frame begins; then the things it drew.
  void Frame(const TTerrainPlace& terrain);
  // The player's aircraft, drawn at `at`, moved by `move` in the latest tick.
  void Aircraft(TDrawPoint at, TDrawPoint move);
  // An enemy craft or boss by its number.
  void Craft(int64_t number, TDrawPoint at, TDrawPoint move);

  // Steps (pixels) between consecutive frames and how often each came.
  using THistogram = std::map<int64_t, int64_t>;
  const THistogram& TerrainSteps() const { return terrain_; }
  // The aircraft's and the enemy craft's steps by their speed in pixels a tick.
  using TBySpeed = std::map<int64_t, THistogram>;
  const TBySpeed& AircraftSteps() const { return aircraft_; }
  const TBySpeed& CraftSteps() const { return craft_; }
  int64_t Repeated() const { return terrain_.count(0) ? terrain_.at(0) : 0; }

  // One row of a Markdown table: | HZ | steps | repeated | aircraft | enemies |.
  std::string Row(const std::string& label) const;

 private:
  struct TSeen {
    TDrawPoint At{0, 0};
    int32_t Mx = 0, My = 0;
    int64_t Frame = -1;
  };
  // A thing moving at the same steady speed in both frames: its step along its way.
  static bool Steady(const TSeen& before, const TSeen& now, int64_t& step, int64_t& speed);
  // "3 x1333, 4 x667 (even: 3..4)" for a thing of that speed.
  std::string Steps(const THistogram& h, int64_t speed) const;

  int32_t hz_;
  int64_t frame_ = -1;
  bool haveTerrain_ = false;
  TTerrainPlace terrainBefore_;
  TSeen aircraftBefore_;
  std::unordered_map<int64_t, TSeen> craftBefore_;
  THistogram terrain_;
  TBySpeed aircraft_;
  TBySpeed craft_;
};
