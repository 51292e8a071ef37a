// Pick-ups that drift down the screen: a full repair and 20000 credits. Collected when they
// touch the player's aircraft; they meet nothing else.
#pragma once

#include <cstdint>

#include "flyers/flyer.h"

class TBonus : public TFlyer {
 public:
  TBonus(World& world, int32_t x, int32_t y);

  void Draw(const TDrawTime& t) override;
  void Move() override;
  // Gives the reward and clears Alive.
  virtual void Apply() = 0;

  int32_t AnimTicks = 0;  // 0..18; the pattern is AnimTicks div 5

 protected:
  virtual int32_t PictureItem() const = 0;
};

class THealthBonus final : public TBonus {
 public:
  using TBonus::TBonus;
  void Apply() override;

 protected:
  int32_t PictureItem() const override;
};

class TCreditBonus final : public TBonus {
 public:
  using TBonus::TBonus;
  void Apply() override;

 protected:
  int32_t PictureItem() const override;
};

constexpr int64_t kCreditBonusValue = 20000;
