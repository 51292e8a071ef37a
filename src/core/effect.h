// Visual effects: short sprite animations with no influence on the game (explosions, missile
// smoke, muzzle flashes). Stepped one frame per tick, drawn while alive; negative frames are
// a delay before the effect appears.
#pragma once

#include <cstdint>

class World;

class TEffect {
 public:
  TEffect(World& world, int32_t x, int32_t y, int32_t startFrame)
      : X(x), Y(y), Frame(startFrame), W(world) {}
  virtual ~TEffect() = default;

  virtual void EffectStep();
  virtual void EffectDraw() const;

  int32_t X;
  int32_t Y;
  int32_t Frame;
  bool Alive = true;

 protected:
  // Which picture of EffectPictures, and the last frame shown.
  virtual int32_t PictureItem() const = 0;
  virtual int32_t LastFrame() const = 0;
  World& W;
};

// Indexes of EffectPictures.
enum TEffectPicture : int32_t {
  epMuzzleFlash = 0,     // "vystrel kanonu", 9 x 13
  epSmallExplosion = 1,  // "maly vybuch", 16 x 16
  epBigExplosion = 2,
  epMissileSmoke = 3,
  epMiniSmoke = 4,
  epSmoke3 = 5,
  epMediumExplosion = 6,
  epHealthBonus = 7,
  epCreditBonus = 8,
};

template <int32_t Item, int32_t Last>
class TEffectKind : public TEffect {
 public:
  using TEffect::TEffect;

 protected:
  int32_t PictureItem() const override { return Item; }
  int32_t LastFrame() const override { return Last; }
};

using TBigExplosion = TEffectKind<epBigExplosion, 16>;
using TMediumExplosion = TEffectKind<epMediumExplosion, 16>;
using TSmallExplosion = TEffectKind<epSmallExplosion, 2>;

// These three start at frame -1: created before the effect pass of their tick, they are
// first drawn at frame 0.
template <int32_t Item, int32_t Last>
class TDelayedEffect final : public TEffectKind<Item, Last> {
 public:
  TDelayedEffect(World& world, int32_t x, int32_t y) : TEffectKind<Item, Last>(world, x, y, -1) {}
};

using TMuzzleFlash = TDelayedEffect<epMuzzleFlash, 1>;
using TMissileSmoke = TDelayedEffect<epMissileSmoke, 4>;
using TMiniSmoke = TDelayedEffect<epMiniSmoke, 4>;
