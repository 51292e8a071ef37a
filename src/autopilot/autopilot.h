// A pilot that flies the player's aircraft as a capable person would. It looks at the world
// after every tick but acts only on what it saw at least a tenth of a second earlier, and
// answers with the input states a player would hold for the next tick; the driver feeds
// them through the keyboard and joystick, so the game cannot tell it from a player.
//
// It sees what is on the screen: the aircraft with its status bar, the craft, shots and
// bonuses with their motion. It never reads the random generator, the schedule or any
// counter a player cannot see. Given the same seed and the same world it flies the same way.
#pragma once

#include <array>
#include <cstdint>

#include "autopilot/flight_model.h"
#include "autopilot/gunnery.h"
#include "autopilot/planner.h"
#include "autopilot/sight.h"
#include "base/random.h"
#include "presentation/dxinput.h"

class World;

class TAutopilot {
 public:
  static constexpr int32_t kMinReaction = 10;  // ticks: 0.1 s
  static constexpr int32_t kMaxReaction = 13;
  static constexpr int32_t kPlanEvery = 3;  // ticks between new decisions on where to steer
  static constexpr int32_t kRepairBelowPercent = 30;

  explicit TAutopilot(uint64_t seed = 1);

  // Takes in the world as it stands after a tick and returns what to hold during the next.
  TDXInputStates Next(const World& w);
  // Forgets what it saw and pressed: a new mission, or the pilot taking over mid-flight.
  void Reset();

  // The reaction delay of the last decision, in ticks.
  int32_t LastReaction() const { return reaction_; }

 private:
  static constexpr size_t kMemory = 16;  // more than the longest reaction
  const TSight* Recall(int32_t ticksAgo) const;
  TFlightState Believed(const TSight& seen, int32_t ticksAgo) const;
  bool WantsRepair(const TSight& seen);
  bool SwitchWeapon(const TSight& seen, int32_t ticksAgo, const TFlightState& now);

  TRandom random_;
  std::array<TSight, kMemory> sights_;
  std::array<TStick, kMemory> sticks_{};  // what was held during each remembered tick
  int64_t ticks_ = 0;                     // sights taken
  int32_t reaction_ = kMinReaction;
  TPlanner planner_;
  TGunnery gunnery_;
  TStick stick_;
  int32_t untilPlan_ = 0;
  int32_t sinceRepair_ = 1000;
  bool switching_ = false;
  uint8_t slotWhenSwitchBegan_ = 0;
  int32_t switchPause_ = 0;
  int64_t elapsed_ = 0;  // mission time when last called
};
