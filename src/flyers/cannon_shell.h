// A cannon shell: a point that moves a whole step at a time and strikes any flyer whose hit
// area contains it. Shells carry no side: they strike whatever they touch.
#pragma once

#include <cstdint>

#include "core/motion.h"

class World;
class TFlyer;

class TShell {
 public:
  TShell(World& world, int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t damage)
      : X(x), Y(y), Dx(dx), Dy(dy), Damage(damage), W(world) {}
  virtual ~TShell() = default;

  // Called twice per tick, each step followed by the shell-against-flyer test.
  void Move();
  // The shell's point lies in the flyer's hit area.
  void HitTarget(TFlyer& flyer);
  virtual void Draw(const TDrawTime& t) const;

  int32_t X;
  int32_t Y;
  int32_t Dx;
  int32_t Dy;
  bool Alive = true;
  int32_t Damage;
  TLastPlace Last;  // for drawing only: where the latest tick found it

 private:
  World& W;
};
