// Choosing where to steer: every few ticks the pilot imagines a handful of short manoeuvres
// (each stick direction held briefly, a while, or throughout, then let go), follows each
// with their own aircraft against where the shots and craft they saw are heading, and takes
// the one that gets hit least and ends nearest where they want to be.
#pragma once

#include <cstdint>
#include <vector>

#include "autopilot/flight_model.h"
#include "autopilot/sight.h"

// Where the pilot wants the aircraft's top-left corner to be, and how much it matters.
struct TGoal {
  double X = 0, Y = 0;
  double WeightX = 0.04;  // cost per pixel off, in the units of hit points
  double WeightY = 0.02;
};

class TPlanner {
 public:
  static constexpr int kHorizon = 32;  // ticks looked ahead

  // `seen` is what the pilot saw `age` ticks ago; `now` is where they believe their aircraft
  // is this tick. Returns the stick to hold now.
  TStick Choose(const TSight& seen, int32_t age, const TFlightState& now, const TFlightModel& model,
                const TGoal& goal);

  // The cost the last choice expected (hit points it expects to lose, plus position).
  double LastCost() const { return lastCost_; }

 private:
  struct TPath {
    TStick Stick;
    std::vector<TFlightState> States;  // after ticks 1..kHorizon
  };
  double Cost(const TPath& path, int32_t age, const TGoal& goal) const;
  void GatherThreats(const TSight& seen, int32_t age);

  std::vector<TPath> paths_;
  std::vector<const TSeenObject*> near_;  // objects the paths might meet
  TStick previous_;
  double lastCost_ = 0;
  const TSeenAircraft* aircraft_ = nullptr;
};
