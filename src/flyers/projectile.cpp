#include "flyers/projectile.h"

#include <array>
#include <memory>

#include "base/rounding.h"
#include "core/effect.h"
#include "core/world.h"
#include "flyers/media.h"
#include "presentation/form_components.h"

namespace {

// Items of DXExplWaveList.
constexpr int32_t kSmallExplosionSound = 0;
constexpr int32_t kExplosionSound = 1;

}  // namespace

TProjectile::TProjectile(World& world, int32_t x, int32_t y, uint8_t down, uint8_t owner)
    : TFlyer(world), Owner(owner), Down(down) {
  X = x;
  Y = y;
  Side = owner;
}

void TProjectile::Draw(const TDrawTime& t) {
  const TDrawPoint at = DrawnAt(t);
  DrawSprite(W.Media.RocketPictures, Picture(), W.Media.DXDraw1.Surface(), at.X, at.Y, Pattern());
}

bool TProjectile::Out(int32_t lowest) const {
  return X > 1100 || X < -50 || Y > lowest || Y < -50;
}

void TProjectile::StraightFlight() {
  // The test comes first: a projectile is removed one tick after it left.
  if (Out()) Alive = false;
  X += Round(Dx);
  Y += Round(Dy);
}

// --- Air-to-air missile ------------------------------------------------------------------

TAAMissile::TAAMissile(World& world, int32_t x, int32_t y, uint8_t down, uint8_t owner)
    : TProjectile(world, x, y, down, owner) {
  Width = 10;
  Height = 50;
  Health = kAAMissilePower;
  Dx = 0;
  Dy = Along(2);
  AddRect(2, 2, 6, 46);
}

void TAAMissile::Move() {
  X += Round(Dx);
  Y += Round(Dy);
  Dy += Sign(Round(Dy));  // a pixel per tick faster every tick, without limit
  W.EffectList.Push(std::make_unique<TMissileSmoke>(W, X, Y + 40));
  if (Out()) Alive = false;
}

void TAAMissile::Hit(int32_t damage) {
  if (damage > 0) Die();
}

void TAAMissile::Die() {
  Alive = false;
  W.EffectList.Push(std::make_unique<TMediumExplosion>(W, X - 10, Y - 5, 0));
  W.EffectList.Push(std::make_unique<TMediumExplosion>(W, X - 10, Y + 20, 0));
}

// --- Mini missile ------------------------------------------------------------------------

TMiniMissile::TMiniMissile(World& world, int32_t x, int32_t y, uint8_t down, uint8_t leftSide,
                           uint8_t owner)
    : TProjectile(world, x, y, down, owner) {
  Width = 5;
  Height = 25;
  Health = kMiniMissilePower;
  if (leftSide == 0) {
    X = x - 35;
    Dx = -22;
  } else {
    X = x + 30;
    Dx = 22;
  }
  Dy = Along(2);
  AddRect(1, 1, 4, 24);
}

void TMiniMissile::Move() {
  if (Age < 20) Dx /= 1.2;  // the sideways ejection dies away
  if (Age > 10) {
    if (!Ignited) {
      Dx = (W.Random.Random(101) - 50) / 8.0;
      Ignited = true;
    }
    Dy += Down ? 1 : -1;
    W.EffectList.Push(std::make_unique<TMiniSmoke>(W, X, Y + 22));
  }
  X += Round(Dx);
  Y += Round(Dy);
  ++Age;
  if (Out(800)) Alive = false;
}

void TMiniMissile::Hit(int32_t damage) {
  if (damage > 0) Die();
}

void TMiniMissile::Die() {
  PlaySound(W.Media.DXExplWaveList, kSmallExplosionSound);
  Alive = false;
  W.EffectList.Push(std::make_unique<TMediumExplosion>(W, X - 13, Y - 3, 0));
}

// --- Beams -------------------------------------------------------------------------------

void TPiercingBeam::Hit(int32_t damage) {
  // The exchanged damage equals the beam's power only when the target was at least as
  // strong: that target stops the beam; a weaker one is destroyed and the beam flies on.
  if (damage == Health) Alive = false;
}

void TPiercingBeam::Move() {
  if (Out()) Alive = false;
  Y += Round(Dy);
}

TLightBeam::TLightBeam(World& world, int32_t x, int32_t y, uint8_t down, uint8_t owner)
    : TPiercingBeam(world, x, y, down, owner) {
  Width = 5;
  Height = 30;
  Health = kLightBeamPower;
  Dx = 0;
  Dy = Along(20);
  AddRect(0, 0, 5, 30);
}

TMediumBeam::TMediumBeam(World& world, int32_t x, int32_t y, uint8_t down, uint8_t owner)
    : TPiercingBeam(world, x, y, down, owner) {
  Width = 8;
  Height = 35;
  Health = kMediumBeamPower;
  Dx = 0;
  Dy = Along(25);
  AddRect(0, 0, 8, 35);
}

THeavyBeam::THeavyBeam(World& world, int32_t x, int32_t y, uint8_t down, uint8_t owner)
    : TProjectile(world, x, y, down, owner) {
  Width = 11;
  Height = 40;
  Health = kHeavyBeamPower;
  Dx = 0;
  Dy = Along(12);
  AddRect(0, 0, 11, 40);
}

// --- Plasma ------------------------------------------------------------------------------

TPlasmaBall::TPlasmaBall(World& world, int32_t x, int32_t y, uint8_t down, uint8_t owner)
    : TProjectile(world, x, y, down, owner) {
  Width = 20;
  Height = 20;
  Health = kPlasmaBallPower;
  Dx = 0;
  Dy = Along(5);
  AddCircle(10, 10, 10);
}

TPlasmaBall::TPlasmaBall(World& world, int32_t x, int32_t y, int32_t dx, int32_t dy, uint8_t owner)
    : TProjectile(world, x, y, 1, owner) {
  Width = 20;
  Height = 20;
  Health = kPlasmaBallPower;
  Dx = dx;
  Dy = dy;
  AddCircle(9, 9, 10);
}

void TPlasmaBall::Hit(int32_t) {
  // Any contact bursts it, whatever the exchanged damage.
  Alive = false;
  Die();
}

void TPlasmaBall::Die() {
  struct Fragment {
    int32_t X, Y, Dx, Dy;
  };
  static constexpr std::array<Fragment, 6> kFragments{{
      {-1, 0, -2, -2},
      {7, 0, 0, -3},
      {15, 0, 2, -2},
      {-1, 10, -2, 2},
      {7, 10, 0, 3},
      {15, 10, 2, 2},
  }};
  PlaySound(W.Media.DXExplWaveList, kExplosionSound);
  for (const Fragment& f : kFragments) {
    W.FlyerList.Push(
        std::make_unique<TPlasmaFragment>(W, X + f.X, Y + f.Y, f.Dx, f.Dy, kSideFragment));
  }
}

TPlasmaFragment::TPlasmaFragment(World& world, int32_t x, int32_t y, int32_t dx, int32_t dy,
                                 uint8_t owner)
    : TProjectile(world, x, y, 1, owner) {
  Width = 7;
  Height = 7;
  Health = kPlasmaFragmentPower;
  Dx = dx;
  Dy = dy;
  AddCircle(3, 3, 4);
}

void TPlasmaFragment::Hit(int32_t damage) {
  if (damage > 0) Die();
}

void TPlasmaFragment::Die() {
  PlaySound(W.Media.DXExplWaveList, kSmallExplosionSound);
  Alive = false;
  W.EffectList.Push(std::make_unique<TMediumExplosion>(W, X, Y, 0));
}
