// Mother ships: one ends each mission. A boss enters from its spawn point, settles near the
// top of the screen and sweeps from side to side while firing; destroying it pays 10 x its
// health and starts the victory countdown.
#pragma once

#include <cstdint>
#include <memory>

#include "flyers/flyer.h"

class TWeapon;

constexpr int kBossKinds = 6;

class TBoss : public TFlyer {
 public:
  // Loads the kind's picture into item 0 of BossPicture (the one boss picture there is).
  TBoss(World& world, int32_t x, int32_t y, uint8_t kind);
  ~TBoss() override;

  void Die() override;
  void Draw(const TDrawTime& t) override;
  void Move() override;
  void Done() override;

  int64_t Age = 0;  // ticks since creation; kind 0: since its last salvo
  uint8_t Kind;
  std::unique_ptr<TWeapon> Weapon;
  std::unique_ptr<TWeapon> Weapon2;  // kinds 2, 4 and 5

 private:
  void FireAll();
  void Fire(TWeapon* weapon, int32_t dx, int32_t dy);
  void LoadPicture();
};
