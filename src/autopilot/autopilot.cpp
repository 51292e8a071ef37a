#include "autopilot/autopilot.h"

#include "core/player_control.h"
#include "core/world.h"

TAutopilot::TAutopilot(uint64_t seed) : random_(seed ^ 0x5eed0f9170a1ULL) {}

void TAutopilot::Reset() {
  ticks_ = 0;
  sticks_.fill(TStick{});
  stick_ = {};
  untilPlan_ = 0;
  sinceRepair_ = 1000;
  switching_ = false;
  switchPause_ = 0;
  planner_ = TPlanner();
  gunnery_ = TGunnery();
}

const TSight* TAutopilot::Recall(int32_t ticksAgo) const {
  if (ticksAgo >= ticks_ || ticksAgo >= static_cast<int32_t>(kMemory)) return nullptr;
  return &sights_[static_cast<size_t>((ticks_ - 1 - ticksAgo) % kMemory)];
}

// Where the aircraft is now, by the pilot's feel: where it was seen, flown on with what was
// held since. sticks_ for a sight holds the stick held in the tick after it was taken.
TFlightState TAutopilot::Believed(const TSight& seen, int32_t ticksAgo) const {
  const TFlightModel model(seen.Aircraft);
  TFlightState s = TFlightModel::StateOf(seen.Aircraft);
  for (int32_t k = ticksAgo; k >= 1; --k) {
    model.Fly(s, sticks_[static_cast<size_t>((ticks_ - 1 - k) % kMemory)]);
  }
  return s;
}

bool TAutopilot::WantsRepair(const TSight& seen) {
  ++sinceRepair_;
  const TSeenAircraft& a = seen.Aircraft;
  // Once pressed, wait until the repair shows before pressing again.
  if (sinceRepair_ <= 2 * kMaxReaction) return false;
  if (seen.Credits <= kRepairPrice) return false;
  if (a.Health * 100 >= a.MaxHealth * kRepairBelowPercent) return false;
  sinceRepair_ = 0;
  return true;
}

bool TAutopilot::SwitchWeapon(const TSight& seen, int32_t ticksAgo, const TFlightState& now) {
  const TSeenAircraft& a = seen.Aircraft;
  if (switchPause_ > 0) {
    --switchPause_;
    return false;
  }
  if (switching_) {
    // Hold the switch until the status bar shows another weapon, then let go and look.
    if (a.CurrentSlot == slotWhenSwitchBegan_) return true;
    switching_ = false;
    switchPause_ = kMaxReaction;
    return false;
  }
  const int32_t wanted = gunnery_.PreferredSlot(seen, ticksAgo, now);
  if (wanted < 0 || wanted == a.CurrentSlot) return false;
  switching_ = true;
  slotWhenSwitchBegan_ = a.CurrentSlot;
  return true;
}

TDXInputStates TAutopilot::Next(const World& w) {
  // A new mission (its clock started again): what was seen before belongs to another flight.
  const int64_t elapsed = w.StepClock * 16 + w.StepTicks;
  if (elapsed < elapsed_) Reset();
  elapsed_ = elapsed;
  See(w, sights_[static_cast<size_t>(ticks_ % kMemory)]);
  sticks_[static_cast<size_t>(ticks_ % kMemory)] = TStick{};
  ++ticks_;

  TDXInputStates held;
  reaction_ = kMinReaction + random_.Random(kMaxReaction - kMinReaction + 1);
  const TSight* seen = Recall(reaction_);
  if (!seen || !seen->Aircraft.Present) return held;  // nothing seen long enough ago yet

  const TFlightModel model(seen->Aircraft);
  const TFlightState now = Believed(*seen, reaction_);
  if (--untilPlan_ <= 0) {
    const TGoal goal = gunnery_.Goal(*seen, reaction_, now);
    stick_ = planner_.Choose(*seen, reaction_, now, model, goal);
    untilPlan_ = kPlanEvery;
  }
  sticks_[static_cast<size_t>((ticks_ - 1) % kMemory)] = stick_;

  held[InputUp] = stick_.Y < 0;
  held[InputDown] = stick_.Y > 0;
  held[InputLeft] = stick_.X < 0;
  held[InputRight] = stick_.X > 0;
  held[InputButton1] = seen->Aircraft.HasCannon && gunnery_.CannonHasTarget(*seen, reaction_, now);
  held[InputButton2] = gunnery_.WeaponHasTarget(*seen, reaction_, now);
  held[InputButton3] = SwitchWeapon(*seen, reaction_, now);
  held[InputButton31] = WantsRepair(*seen);
  return held;
}
