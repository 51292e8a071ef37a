// Enemy craft: the ordinary opponents a mission's schedule sends in. Each flies the pattern
// of its kind and variant, fires down the screen, pays 5 x its full health when destroyed
// and bursts into explosions.
#pragma once

#include <cstdint>
#include <memory>

#include "flyers/flyer.h"

class TWeapon;

constexpr int kEnemyKinds = 9;

class TEnemy : public TFlyer {
 public:
  TEnemy(World& world, int32_t x, int32_t y, uint8_t kind, uint8_t variant);
  ~TEnemy() override;

  void Die() override;
  void Draw(const TDrawTime& t) override;
  void Move() override;
  void Done() override;

  std::unique_ptr<TWeapon> Weapon;
  int64_t Age = 0;  // ticks since creation (kind 2: since its last turn)
  uint8_t Kind;
  int32_t FireTicks = 0;  // ticks since the last shot order (kinds 0 to 3)
  uint8_t Variant;
  std::unique_ptr<TWeapon> Weapon2;  // kind 0 only

 private:
  void Behave();
  void Fire(TWeapon* weapon, int32_t dx, int32_t dy);
  void Turn(double dx, double dy) {
    Dx = dx;
    Dy = dy;
  }
};
