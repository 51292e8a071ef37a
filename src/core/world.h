// The world: the campaign record, the player's aircraft, the level, the counters of a
// mission, the four object lists and the random generator, all in one object that code
// reaches explicitly. A test builds a fresh world in one line; nothing leaks between worlds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/random.h"
#include "core/collision.h"
#include "core/game_state.h"
#include "core/level.h"
#include "core/lists.h"

class TFormComponents;
class TAircraft;
class TFlightTap;

// What a mission tells the screens around it. The shell implements these with its screens;
// the defaults do nothing, which is what a bare simulation wants.
class TMissionEvents {
 public:
  virtual ~TMissionEvents() = default;
  virtual void StopTimers() {}   // both game timers off: no further Tick or DrawFrame
  virtual void ShowDefeat() {}   // the shot-down screen
  virtual void ShowVictory() {}  // the mission-won screen
  virtual void PauseScreen() {}  // the pause screen (stops the timers itself)
  virtual void StopEngineSound() {}
  virtual void BossAppeared() {}  // the mission's mother ship has come on the schedule
  // A failure the player did not cause (a missing or broken file) during a mission; the
  // screens show it in the standard error message box.
  virtual void ReportError(const std::string& /*message*/) {}
};

class World {
 public:
  explicit World(TFormComponents& media, uint64_t seed = 1);
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  TFormComponents& Media;
  TMissionEvents* Events;  // never null; defaults to a do-nothing instance

  GameState State;
  TLevel Level;

  int32_t ScrollTicks = 0;  // ticks since the terrain last advanced a row
  int64_t StepClock = 0;    // completed 16-tick steps: the schedule's clock
  int64_t StepTicks = 0;    // ticks into the current step, 0..15
  int32_t SwitchHoldTicks = 0;
  int8_t VictoryCountdown = -1;  // -1 idle; 120 after a boss dies; victory at 0

  // For smooth frames only (core/motion.h): counts the ticks that took the moving things'
  // places and the cuts (a flight begun or resumed) after which nothing is drawn sliding.
  uint64_t MotionTick = 0;
  bool TerrainMoved = false;  // the latest tick scrolled the terrain, and no cut since

  TFlyerList FlyerList;
  TShellList ShellList;
  TEffectList EffectList;
  TBonusList BonusList;

  TRandom Random;
  TFlightTap* Tap = nullptr;            // a flight recorder or a replay; none by default
  TCollisionMemoryPtr CollisionMemory;  // the collision passes' working memory

  // --- The player's aircraft -------------------------------------------------------------
  // Player points at the aircraft wherever it is owned: by the world between missions, by
  // FlyerList during one. It becomes null whenever the aircraft is freed, by any path.
  TAircraft* Player = nullptr;

  // Gives the world a new aircraft to hold between missions (bought or loaded); any aircraft
  // held before is released.
  template <class A>
  void SetPlayer(std::unique_ptr<A> aircraft) {
    ReleasePlayer();
    Player = aircraft.get();
    parked_ = std::move(aircraft);
  }
  // Frees the aircraft the world holds (selling it, leaving for the main menu) and forgets
  // one that a list holds; the list frees that one itself.
  void ReleasePlayer();
  // Mission start: the aircraft moves into FlyerList.
  void PushPlayer();
  // Mission won: the aircraft comes back out of FlyerList, unfreed.
  void UnlinkPlayer();
  bool PlayerInFlight() const { return Player && !parked_; }

 private:
  std::unique_ptr<TFlyer> parked_;
  TMissionEvents quietEvents_;
};

// Zeroes the step and scroll counters, as a mission starts them.
void ResetCounters(World& w);
// A flight begins or resumes: until the next tick every thing is drawn where it stands.
void CutMotion(World& w);
// Frees everything in the four lists and makes them empty and ready for a mission.
void EmptyLists(World& w);
