// Choosing what to shoot and with what: the target to fly under, when the cannon and the
// selected weapon have something in their path, and which slot weapon suits the moment.
#pragma once

#include <cstdint>

#include "autopilot/flight_model.h"
#include "autopilot/planner.h"
#include "autopilot/sight.h"

class TGunnery {
 public:
  // Where to fly given what was seen `age` ticks ago and where the aircraft is now. Keeps
  // to the chosen target until it is gone, so the pilot does not chase two at once.
  TGoal Goal(const TSight& seen, int32_t age, const TFlightState& now);
  // Whether a craft or boss lies in the cannon's path.
  bool CannonHasTarget(const TSight& seen, int32_t age, const TFlightState& now) const;
  // Whether a craft or boss lies in the path of the selected weapon (and, for plasma, far
  // enough away that its burst cannot reach the aircraft).
  bool WeaponHasTarget(const TSight& seen, int32_t age, const TFlightState& now) const;
  // The slot the pilot would rather have selected, or -1 for none.
  int32_t PreferredSlot(const TSight& seen, int32_t age, const TFlightState& now) const;

 private:
  const TSeenObject* Target(const TSight& seen, int32_t age, const TFlightState& now);
  bool InPath(const TSight& seen, int32_t age, const TFlightState& now, float left, float right,
              float minDistance) const;
  float targetX_ = -1e9f;  // where the last target was, to know it again
  float targetY_ = -1e9f;
  bool hasTarget_ = false;
};
