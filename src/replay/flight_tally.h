// What a flight destroyed and cost, tallied the same way for the mission runs, the
// ui-script's pilot and the campaign runner.
#pragma once

#include <cstdint>

#include "core/world.h"
#include "flyers/aircraft.h"
#include "flyers/projectile.h"

// A destroyed craft stays in the list, dead, until the next tick's move pass frees it: each is
// seen here exactly once, right after the tick that destroyed it. Craft that flew off have
// health left and do not count.
inline int64_t CraftDestroyedInLastTick(const World& w) {
  int64_t n = 0;
  for (auto* node = w.FlyerList.Head(); node; node = node->Next) {
    const TFlyer& f = *node->Object;
    const bool craft = f.Side == kSideEnemy && !dynamic_cast<const TProjectile*>(&f);
    if (!f.Alive && f.Health <= 0 && craft) ++n;
  }
  return n;
}

// What a flight cost and brought, tick by tick: the craft destroyed, the health the aircraft
// lost and the repairs bought in flight. A repair shows as health rising while the credits
// fall in the same tick; a health bonus raises health without taking credits.
struct TFlightTally {
  int64_t Kills = 0;
  int64_t Damage = 0;
  int64_t Repairs = 0;

  void AfterTick(const World& w) {
    Kills += CraftDestroyedInLastTick(w);
    const int32_t health = w.Player ? w.Player->Health : 0;
    const int64_t credits = w.State.Credits;
    if (seen_ && health < health_) Damage += health_ - health;
    if (seen_ && health > health_ && credits < credits_) ++Repairs;
    seen_ = w.Player != nullptr;
    health_ = health;
    credits_ = credits;
  }

 private:
  bool seen_ = false;
  int32_t health_ = 0;
  int64_t credits_ = 0;
};
