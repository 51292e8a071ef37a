#include "flyers/weapon.h"

#include <cmath>

#include "base/rounding.h"
#include "core/effect.h"
#include "core/world.h"
#include "flyers/aircraft.h"
#include "flyers/cannon_shell.h"
#include "flyers/media.h"
#include "flyers/projectile.h"
#include "presentation/form_components.h"

namespace {

// Items of DXWeaponWaveList; the laser shot is item 0 of DXLaserWaveList.
constexpr int32_t kSmallLaunchSound = 0;
constexpr int32_t kBigLaunchSound = 1;
constexpr int32_t kCannonSound = 2;
constexpr int32_t kLaserSound = 0;

// Reload limits: ready again N + 1 ticks after a shot.
constexpr int32_t kAAMissileLimit = 50;
constexpr int32_t kMiniMissileLimit = 9;
constexpr int32_t kLightLaserLimit = 20;
constexpr int32_t kMediumLaserLimit = 20;
constexpr int32_t kHeavyLaserLimit = 70;
constexpr int32_t kPlasmaCannonLimit = 120;
constexpr int32_t kAimedFragmentLimit = 20;
constexpr int32_t kAimedPlasmaLimit = 70;
constexpr int32_t kVulcanLimit = 5;
constexpr int32_t kATLimit = 20;
constexpr int32_t kDCLimit = 7;
constexpr int32_t kTripleLimit = 6;

// The shop's prices and what a sale refunds.
struct TPriceTag {
  int64_t Price;
  int64_t SellValue;
};
constexpr TPriceTag kWeaponPrices[kWeaponKinds] = {
    {5000, 4000}, {5000, 4000}, {18000, 14000}, {25000, 15000}, {100000, 75000}, {80000, 60000},
};
constexpr TPriceTag kCannonPrices[kCannonKinds] = {
    {1000, 800},
    {5000, 4000},
    {11000, 8000},
    {15000, 10000},
};

void Tag(TWeapon& weapon, TWeaponKind kind) {
  weapon.Price = kWeaponPrices[kind].Price;
  weapon.SellValue = kWeaponPrices[kind].SellValue;
  weapon.Icon = kind;
}
void Tag(TCannon& cannon, TCannonKind kind) {
  cannon.Price = kCannonPrices[kind].Price;
  cannon.SellValue = kCannonPrices[kind].SellValue;
}

template <class P>
void Launch(World& w, int32_t x, int32_t y, int8_t dir, uint8_t side) {
  w.FlyerList.Push(std::make_unique<P>(w, x, y, DownFor(dir), side));
}

}  // namespace

void TWeapon::Reload() {
  if (++Counter > limit_) {
    Ready = true;
    Counter = 0;
  }
}

void TWeapon::Fire(int32_t x, int32_t y, int8_t dir, uint8_t side) {
  if (!Ready) return;
  Ready = false;
  Counter = 0;
  Shoot(x, y, dir, side);
}

// --- Slot weapons ------------------------------------------------------------------------

TAAMissileLauncher::TAAMissileLauncher(World& world) : TWeapon(world, kAAMissileLimit) {
  Tag(*this, wkAAMissiles);
}

void TAAMissileLauncher::Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) {
  Launch<TAAMissile>(W, x - 30, y, dir, side);
  Launch<TAAMissile>(W, x + 15, y, dir, side);
  PlaySound(W.Media.DXWeaponWaveList, kBigLaunchSound);
}

TMiniMissileLauncher::TMiniMissileLauncher(World& world) : TWeapon(world, kMiniMissileLimit) {
  Tag(*this, wkMiniMissiles);
}

void TMiniMissileLauncher::Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) {
  W.FlyerList.Push(std::make_unique<TMiniMissile>(W, x, y + 60, DownFor(dir), Alternate, side));
  Alternate = static_cast<uint8_t>(1 - Alternate);
  PlaySound(W.Media.DXWeaponWaveList, kSmallLaunchSound);
}

TLightLaser::TLightLaser(World& world) : TWeapon(world, kLightLaserLimit) {
  Tag(*this, wkLightLaser);
}

void TLightLaser::Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) {
  Launch<TLightBeam>(W, x - 26, y + 35, dir, side);
  Launch<TLightBeam>(W, x + 19, y + 35, dir, side);
  PlaySound(W.Media.DXLaserWaveList, kLaserSound);
}

void TWideLightLaser::Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) {
  Launch<TLightBeam>(W, x - 60, y, dir, side);
  Launch<TLightBeam>(W, x + 50, y, dir, side);
  PlaySound(W.Media.DXLaserWaveList, kLaserSound);
}

void TSingleLightLaser::Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) {
  Launch<TLightBeam>(W, x, y, dir, side);
  PlaySound(W.Media.DXLaserWaveList, kLaserSound);
}

TMediumLaser::TMediumLaser(World& world) : TWeapon(world, kMediumLaserLimit) {
  Tag(*this, wkMediumLaser);
}

void TMediumLaser::Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) {
  Launch<TMediumBeam>(W, x - 28, y + 10, dir, side);
  Launch<TMediumBeam>(W, x + 17, y + 10, dir, side);
  PlaySound(W.Media.DXLaserWaveList, kLaserSound);
}

THeavyLaser::THeavyLaser(World& world) : TWeapon(world, kHeavyLaserLimit) {
  Tag(*this, wkHeavyLaser);
}

void THeavyLaser::Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) {
  Launch<THeavyBeam>(W, x - 30, y + 10, dir, side);
  Launch<THeavyBeam>(W, x + 15, y + 10, dir, side);
  PlaySound(W.Media.DXLaserWaveList, kLaserSound);
}

TPlasmaCannon::TPlasmaCannon(World& world) : TWeapon(world, kPlasmaCannonLimit) {
  Tag(*this, wkPlasmaCannon);
}

void TPlasmaCannon::Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) {
  Launch<TPlasmaBall>(W, x - 44, y + 20, dir, side);
  Launch<TPlasmaBall>(W, x + 15, y + 20, dir, side);
}

// --- Aimed guns --------------------------------------------------------------------------

TAim AimAt(int32_t fromX, int32_t fromY, int32_t targetX, int32_t targetY) {
  const double ax = (static_cast<double>(targetX) + 80) - fromX;
  const double ay = (static_cast<double>(targetY) + 40) - fromY;
  double d = Round(std::sqrt(ax * ax + ay * ay));
  if (d == 0) d = 1;
  return {Round(ax / d * 4), Round(ay / d * 4)};
}

void TAimedGun::Fire(int32_t x, int32_t y, int8_t dir, uint8_t side) {
  if (!Ready || !W.Player) return;
  Ready = false;  // Counter runs on: the next shot comes N + 1 ticks after the last readiness
  Shoot(x, y, dir, side);
}

TAimedFragmentGun::TAimedFragmentGun(World& world) : TAimedGun(world, kAimedFragmentLimit) {}

void TAimedFragmentGun::Shoot(int32_t x, int32_t y, int8_t, uint8_t side) {
  const TAim aim = AimAt(x, y, W.Player->X, W.Player->Y);
  W.FlyerList.Push(std::make_unique<TPlasmaFragment>(W, x, y, aim.Dx, aim.Dy, side));
}

TAimedPlasmaGun::TAimedPlasmaGun(World& world) : TAimedGun(world, kAimedPlasmaLimit) {}

void TAimedPlasmaGun::Shoot(int32_t x, int32_t y, int8_t, uint8_t side) {
  const TAim aim = AimAt(x, y, W.Player->X, W.Player->Y);
  W.FlyerList.Push(std::make_unique<TPlasmaBall>(W, x, y, aim.Dx, aim.Dy, side));
}

// --- Cannons -----------------------------------------------------------------------------

void TCannon::Shell(int32_t x, int32_t y, int32_t dx, int32_t dy) {
  W.ShellList.Push(std::make_unique<TShell>(W, x, y, dx, dy, Damage));
}

void TCannon::Flash(int32_t x, int32_t y) {
  W.EffectList.Push(std::make_unique<TMuzzleFlash>(W, x, y));
}

void TCannon::ShotSound() {
  PlaySound(W.Media.DXWeaponWaveList, kCannonSound);
}

TVulcan::TVulcan(World& world, int32_t damage) : TCannon(world, kVulcanLimit, damage) {
  Tag(*this, ckVulcan);
}

void TVulcan::Shoot(int32_t x, int32_t y, int8_t dir, uint8_t) {
  Flash(x - 4, y - 10);
  Shell(x, y, 0, 5 * Sign(dir));
  ShotSound();
}

TATCannon::TATCannon(World& world) : TCannon(world, kATLimit, 25) {
  Tag(*this, ckAT);
}

void TATCannon::Shoot(int32_t x, int32_t y, int8_t dir, uint8_t) {
  Flash(x - 4, y - 10);
  Shell(x, y, 0, 5 * Sign(dir));
  ShotSound();
}

TDCCannon::TDCCannon(World& world) : TCannon(world, kDCLimit, 15) {
  Tag(*this, ckDC);
}

void TDCCannon::Shoot(int32_t x, int32_t y, int8_t dir, uint8_t) {
  Flash(x - 6, y - 10);
  Flash(x - 2, y - 10);
  Shell(x + 1, y, 0, 5 * Sign(dir));
  Shell(x - 2, y, 0, 5 * Sign(dir));
  ShotSound();
}

TTripleCannon::TTripleCannon(World& world) : TCannon(world, kTripleLimit, 10) {
  Tag(*this, ckTriple);
}

void TTripleCannon::Shoot(int32_t x, int32_t y, int8_t dir, uint8_t) {
  const int32_t s = Sign(dir);
  Flash(x - 4, y - 10);
  Shell(x, y, 0, 5 * s);
  Shell(x, y, 3, 4 * s);
  Shell(x, y, -3, 4 * s);
  ShotSound();
}

// --- By kind code ------------------------------------------------------------------------

std::unique_ptr<TWeapon> MakeWeapon(World& world, uint8_t kind) {
  switch (kind) {
    case wkAAMissiles:
      return std::make_unique<TAAMissileLauncher>(world);
    case wkMiniMissiles:
      return std::make_unique<TMiniMissileLauncher>(world);
    case wkLightLaser:
      return std::make_unique<TLightLaser>(world);
    case wkMediumLaser:
      return std::make_unique<TMediumLaser>(world);
    case wkHeavyLaser:
      return std::make_unique<THeavyLaser>(world);
    case wkPlasmaCannon:
      return std::make_unique<TPlasmaCannon>(world);
    default:
      return nullptr;
  }
}

std::unique_ptr<TCannon> MakeCannon(World& world, uint8_t kind) {
  switch (kind) {
    case ckVulcan:
      return std::make_unique<TVulcan>(world, kPlayerVulcanDamage);
    case ckAT:
      return std::make_unique<TATCannon>(world);
    case ckDC:
      return std::make_unique<TDCCannon>(world);
    case ckTriple:
      return std::make_unique<TTripleCannon>(world);
    default:
      return nullptr;
  }
}
