#include "autopilot/gunnery.h"

#include <cmath>

#include "flyers/weapon.h"

namespace {

constexpr float kShellSpeed = 10;  // a cannon shell climbs two steps of 5 per tick
constexpr double kRestY = 590;     // low on the screen, with room to dodge either way
constexpr float kMuzzle = 80;      // the cannon and the weapons fire from the middle

bool Hostile(const TSeenObject& o) {
  return o.Kind == TSeenKind::Craft || o.Kind == TSeenKind::Boss;
}

float XAt(const TSeenObject& o, float ticks) {
  return o.X + o.Dx * ticks;
}
float YAt(const TSeenObject& o, float ticks) {
  return o.Y + o.Dy * ticks;
}

// How much a slot weapon is worth against what is ahead, at the given distance: roughly the
// damage it deals per tick, less where it would hurt the aircraft or miss.
double WeaponValue(uint8_t kind, float distance, bool boss) {
  switch (kind) {
    case wkAAMissiles:
      return 2.0;
    case wkMiniMissiles:
      return 1.5;
    case wkLightLaser:
      return 3.8;
    case wkMediumLaser:
      return 6.7;
    case wkHeavyLaser:
      return boss ? 13.0 : 7.0;
    case wkPlasmaCannon:
      return distance > 220 ? (boss ? 8.0 : 4.5) : 0.5;
    default:
      return 0;
  }
}

}  // namespace

const TSeenObject* TGunnery::Target(const TSight& seen, int32_t age, const TFlightState& now) {
  const auto t = static_cast<float>(age);
  const float cx = static_cast<float>(now.X) + kMuzzle;
  const float top = static_cast<float>(now.Y);
  const TSeenObject* best = nullptr;
  float bestScore = 1e9f;
  for (const TSeenObject& o : seen.Objects) {
    if (!Hostile(o)) continue;
    const float x = XAt(o, t), y = YAt(o, t);
    // Only what is on the screen and above the aircraft can be shot at.
    if (x + o.W < 0 || x > 1024 || y + o.H < 0 || y + o.H * 0.5f > top - 20) continue;
    float score = std::fabs(x + o.W / 2 - cx) + 0.3f * (top - y);
    if (o.Kind == TSeenKind::Boss) score -= 300;  // the mother ship ends the mission
    // Stay with the same target while it lives: it is where it was, moved a little.
    if (hasTarget_ && std::fabs(x - targetX_) < 40 && std::fabs(y - targetY_) < 40) score -= 200;
    if (score < bestScore) {
      bestScore = score;
      best = &o;
    }
  }
  hasTarget_ = best != nullptr;
  if (best) {
    targetX_ = XAt(*best, t);
    targetY_ = YAt(*best, t);
  }
  return best;
}

TGoal TGunnery::Goal(const TSight& seen, int32_t age, const TFlightState& now) {
  TGoal goal;
  goal.X = now.X;
  goal.Y = kRestY;
  goal.WeightX = 0.01;  // nothing to chase: stay put, low down
  const TSeenObject* target = Target(seen, age, now);
  if (!target) return goal;
  const auto t = static_cast<float>(age);
  const float y = YAt(*target, t) + target->H / 2;
  // Lead the target by the time a shell needs to climb to it.
  const float flight = std::max(0.0f, (static_cast<float>(now.Y) - y) / kShellSpeed);
  const float x = XAt(*target, t + flight) + target->W / 2;
  goal.X = x - kMuzzle;
  goal.WeightX = 0.04;
  // Keep well below it, but never higher than the resting line.
  goal.Y = std::max<double>(kRestY, YAt(*target, t) + target->H + 120);
  goal.Y = std::min(goal.Y, 700.0);
  return goal;
}

bool TGunnery::InPath(const TSight& seen, int32_t age, const TFlightState& now, float left,
                      float right, float minDistance) const {
  const auto t = static_cast<float>(age);
  const float top = static_cast<float>(now.Y);
  for (const TSeenObject& o : seen.Objects) {
    if (!Hostile(o)) continue;
    const float y = YAt(o, t);
    if (y + o.H > top || y + o.H < -20) continue;  // below the muzzle, or not yet on screen
    if (top - (y + o.H) < minDistance) continue;
    const float flight = (top - (y + o.H / 2)) / kShellSpeed;
    const float x = XAt(o, t + flight);
    // The middle part of its box: the edges of most hulls are empty.
    const float inset = o.W * 0.2f;
    if (x + inset <= right && left <= x + o.W - inset) return true;
  }
  return false;
}

bool TGunnery::CannonHasTarget(const TSight& seen, int32_t age, const TFlightState& now) const {
  const float muzzle = static_cast<float>(now.X) + kMuzzle;
  const float spread = seen.Aircraft.WideCannon ? 60.0f : 3.0f;
  return InPath(seen, age, now, muzzle - spread, muzzle + spread, 0);
}

bool TGunnery::WeaponHasTarget(const TSight& seen, int32_t age, const TFlightState& now) const {
  const TSeenAircraft& a = seen.Aircraft;
  const uint8_t kind = a.Slots[a.CurrentSlot % a.Slots.size()];
  if (kind == 255) return false;
  const float muzzle = static_cast<float>(now.X) + kMuzzle;
  switch (kind) {
    case wkMiniMissiles:
      return InPath(seen, age, now, muzzle - 60, muzzle + 60, 60);
    case wkPlasmaCannon:
      // Its balls burst into fragments that fly back: not at close range.
      return InPath(seen, age, now, muzzle - 45, muzzle + 35, 220);
    default:
      return InPath(seen, age, now, muzzle - 30, muzzle + 20, 0);
  }
}

int32_t TGunnery::PreferredSlot(const TSight& seen, int32_t age, const TFlightState& now) const {
  const TSeenAircraft& a = seen.Aircraft;
  // Judge by the nearest hostile above: a boss calls for the heaviest weapon.
  const auto t = static_cast<float>(age);
  float distance = 1e9f;
  bool boss = false;
  for (const TSeenObject& o : seen.Objects) {
    if (!Hostile(o)) continue;
    const float gap = static_cast<float>(now.Y) - (YAt(o, t) + o.H);
    if (gap < 0 || gap > distance) continue;
    distance = gap;
    boss = o.Kind == TSeenKind::Boss;
  }
  int32_t best = -1;
  double bestValue = 0;
  for (size_t i = 0; i < a.Slots.size(); ++i) {
    if (a.Slots[i] == 255) continue;
    double v = WeaponValue(a.Slots[i], distance, boss);
    if (static_cast<int32_t>(i) == a.CurrentSlot) v *= 1.15;  // switching costs time
    if (v > bestValue) {
      bestValue = v;
      best = static_cast<int32_t>(i);
    }
  }
  return best;
}
