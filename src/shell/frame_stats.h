// How evenly the flights were shown: frames presented, the median and 99th-percentile time
// between them, and how many repeated the picture before while the play area moved (the
// terrain scrolls all through a flight, so a frame that draws it where the frame before did
// showed the player nothing new). A player can report this from their own machine
// (`starvelkhorn --frame-stats`).
//
// Intervals are counted only between frames of one stretch of flight, never across a pause
// or from one mission to the next; they are kept in a histogram of 10-microsecond bins, so an
// evening of play costs no more memory than a minute.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/level.h"

class TFrameStats {
 public:
  static constexpr uint64_t kBinMicros = 10;
  static constexpr uint64_t kBins = 25000;  // up to 250 ms; longer ones share the last bin

  // A mission (or a replay) takes off.
  void FlightStarted() { ++flights_; }
  // The flight's frames begin, or begin again after a pause: no interval reaches back.
  void StretchStarted() { inStretch_ = false; }
  // A frame of the flight was presented at that time with the terrain drawn there.
  void Presented(uint64_t micros, const TTerrainPlace& terrain);

  int64_t Flights() const { return flights_; }
  int64_t Frames() const { return frames_; }
  int64_t Intervals() const { return intervals_; }
  int64_t Repeated() const { return repeated_; }
  // The interval below which the given share (0..1) of intervals lie, in microseconds, to the
  // middle of its bin; 0 without intervals.
  double PercentileMicros(double share) const;

  // Three lines for the player.
  std::string Report() const;

 private:
  int64_t flights_ = 0;
  int64_t frames_ = 0;
  int64_t intervals_ = 0;
  int64_t repeated_ = 0;
  bool inStretch_ = false;
  uint64_t lastMicros_ = 0;
  TTerrainPlace lastTerrain_;
  std::vector<uint32_t> bins_;
};
