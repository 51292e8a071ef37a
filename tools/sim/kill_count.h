// Counting the enemy craft a tick destroyed, the same way for the mission runs and the
// ui-script's pilot.
#pragma once

#include <cstdint>

#include "core/world.h"
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
