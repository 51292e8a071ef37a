#include "flyers/flyer.h"

#include <algorithm>

void TFlyer::Die() {
  Alive = false;
}

void TFlyer::Hit(int32_t damage) {
  // 64-bit so a hostile damage value can never overflow; Health stays within int32 range.
  const bool standing = Health > 0;
  int64_t h = static_cast<int64_t>(Health) - damage;
  Health = static_cast<int32_t>(std::clamp<int64_t>(h, INT32_MIN, INT32_MAX));
  // A wreck can still be struck until its list frees it, but it is destroyed once: only the
  // hit that takes the health to 0 or below runs Die (the kind's own, through the table),
  // so the bounty, the sound and the burst of explosions come exactly once.
  if (standing && Health <= 0) Die();
}

bool TFlyer::IsFriend(uint8_t /*side*/) const {
  return false;
}

void TFlyer::Done() {
  // Unlink iteratively: a long list must not recurse through unique_ptr destructors.
  while (Shapes) Shapes = std::move(Shapes->Next);
}

void TFlyer::AddRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  auto shape = std::make_unique<TShape>();
  shape->SetRect(left, top, width, height);
  shape->Next = std::move(Shapes);
  Shapes = std::move(shape);
}

void TFlyer::AddCircle(int32_t cx, int32_t cy, int32_t radius) {
  auto shape = std::make_unique<TShape>();
  shape->SetCircle(cx, cy, radius);
  shape->Next = std::move(Shapes);
  Shapes = std::move(shape);
}

void TFlyer::AddHull(THull hull) {
  for (const THullShape& s : hull) {
    if (s.Circle) {
      AddCircle(s.A, s.B, s.C);
    } else {
      AddRect(s.A, s.B, s.C, s.D);
    }
  }
}
