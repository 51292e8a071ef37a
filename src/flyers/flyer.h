// TFlyer: the base of every object that collides (the player's aircraft, enemies, bosses,
// projectiles, bonuses). Owned by the list that holds it; destroyed only by clearing its own
// Alive flag, after which the list calls Done and frees it on its next move pass.
#pragma once

#include <cstdint>
#include <memory>

#include "core/motion.h"
#include "flyers/hull.h"
#include "flyers/shape.h"

class World;

// Allegiance read by the collision rule.
constexpr uint8_t kSidePlayer = 0;
constexpr uint8_t kSideEnemy = 101;
constexpr uint8_t kSideFragment = 102;  // plasma fragments harm both sides

class TFlyer {
 public:
  explicit TFlyer(World& world) : W(world) {}
  virtual ~TFlyer() = default;
  TFlyer(const TFlyer&) = delete;
  TFlyer& operator=(const TFlyer&) = delete;

  // The six operations, in their fixed order.
  virtual void Die();                         // default: Alive := false
  virtual void Hit(int32_t damage);           // default: lose health, Die on reaching 0
  virtual void Draw(const TDrawTime&) {}      // every kind draws itself
  virtual void Move() {}                      // every kind moves itself
  virtual bool IsFriend(uint8_t side) const;  // default: nobody is a friend
  virtual void Done();                        // default: free the shape list

  // Links a new shape in front of the list.
  void AddRect(int32_t left, int32_t top, int32_t width, int32_t height);
  void AddCircle(int32_t cx, int32_t cy, int32_t radius);
  // Adds every shape of a hull table, in table order (each linked in front).
  void AddHull(THull hull);

  // Where a frame draws it (see core/motion.h).
  TDrawPoint DrawnAt(const TDrawTime& t) const { return ::DrawnAt(Last, X, Y, t); }

  double Dx = 0;     // pixels per tick; positive = right
  double Dy = 0;     // pixels per tick; positive = down the screen
  double Accel = 0;  // velocity added per tick of held steering (aircraft)
  int32_t MaxSpeed = 0;
  uint8_t Side = kSidePlayer;
  int32_t Health = 0;  // may go negative; a projectile's damage power
  int32_t MaxHealth = 0;
  bool Alive = true;
  int32_t X = 0;  // top-left corner of sprite and bounding box
  int32_t Y = 0;
  TLastPlace Last;  // for drawing only: where the latest tick found it
  std::unique_ptr<TShape> Shapes;
  int32_t Width = 0;
  int32_t Height = 0;

 protected:
  World& W;
};
