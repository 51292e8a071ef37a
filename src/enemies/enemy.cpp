#include "enemies/enemy.h"

#include "base/asset_catalog.h"
#include "base/rounding.h"
#include "core/world.h"
#include "enemies/death_burst.h"
#include "enemies/enemy_guns.h"
#include "enemies/hulls.h"
#include "flyers/media.h"
#include "flyers/weapon.h"
#include "presentation/form_components.h"

namespace {

// Everything a kind fixes at construction besides its hull. Health is Base + PerLevel x the
// difficulty (0, 2 or 4).
struct KindTable {
  int32_t Base, PerLevel;
  double Dx, Dy;
  TEnemyGun Gun;
};

constexpr KindTable kKinds[kEnemyKinds] = {
    {100, 20, 0, 1, TEnemyGun::Vulcan},        {50, 10, 0, 1, TEnemyGun::Vulcan},
    {200, 20, 3, 1, TEnemyGun::LightLaser},    {50, 15, 0, 4, TEnemyGun::SingleLightLaser},
    {400, 100, 1, 2, TEnemyGun::DCCannon},     {500, 100, 3, 1, TEnemyGun::PlasmaCannon},
    {600, 100, 2, 3, TEnemyGun::DCCannon},     {700, 100, 0, 2, TEnemyGun::LightLaser},
    {1000, 100, 3, 1, TEnemyGun::MediumLaser},
};

}  // namespace

TEnemy::TEnemy(World& world, int32_t x, int32_t y, uint8_t kind, uint8_t variant)
    : TFlyer(world), Kind(kind), Variant(variant) {
  Side = kSideEnemy;
  X = x;
  Y = y;
  if (Kind >= kEnemyKinds) return;  // an undefined kind has nothing; callers never make one
  const KindTable& k = kKinds[Kind];
  const int32_t d = W.State.Difficulty;
  if (Kind == 4) Y -= 50;
  if (Kind == 0) {
    Weapon = MakeEnemyGun(W, TEnemyGun::Vulcan, 2 * d + 1);
    Weapon2 = MakeEnemyGun(W, TEnemyGun::Vulcan, 2 * d + 1);
  } else {
    Weapon = MakeEnemyGun(W, k.Gun, 2);
  }
  MaxHealth = k.Base + k.PerLevel * d;
  Dx = Kind == 6 ? (Variant == 0 ? 2 : -2) : k.Dx;
  Dy = k.Dy;
  Width = catalog::kEnemySizes[Kind].Width;  // the sprite's size
  Height = catalog::kEnemySizes[Kind].Height;
  AddHull(hulls::kEnemies[Kind]);
  Health = MaxHealth;
}

TEnemy::~TEnemy() = default;

void TEnemy::Fire(TWeapon* weapon, int32_t dx, int32_t dy) {
  if (weapon) weapon->Fire(X + dx, Y + dy, 1, Side);
}

void TEnemy::Move() {
  ++Age;
  ++FireTicks;
  if (Weapon) Weapon->Reload();
  if (Weapon2) Weapon2->Reload();
  Behave();
  X += Round(Dx);
  Y += Round(Dy);
  if (X > 1200 || X < -100 || Y > 1000 || Y < -100) Alive = false;  // gone, without reward
}

// Every comparison reads the position before this tick's step.
void TEnemy::Behave() {
  const int64_t a = Age;
  switch (Kind) {
    case 0:
    case 1: {
      // Kind 0 sweeps at 2 and fires a pair; kind 1 sweeps at 3 and fires one gun.
      const double sweep = Kind == 0 ? 2 : 3;
      const double down = Kind == 0 ? 1 : 2;
      bool firing = false;
      if (Variant == 0 || Variant == 1) {
        if (a > 100) {
          Turn(Variant == 0 ? sweep : -sweep, down);
          firing = true;
        }
      } else if (Variant == 2) {
        if (a > 70) Turn(-sweep, down);
        if (a > 150) {
          Turn(sweep, down);
          firing = true;
        }
      }
      if (firing && FireTicks > 20) {
        if (Kind == 0) {
          Fire(Weapon.get(), 42, 133);
          Fire(Weapon2.get(), 112, 133);
        } else {
          Fire(Weapon.get(), 38, 60);
        }
        FireTicks = 0;
      }
      break;
    }
    case 2:
      if (a > 120) {
        Dx = -Dx;
        Age = 0;
      }
      if (FireTicks > 90) {
        Fire(Weapon.get(), 70, 70);
        FireTicks = 0;
      }
      break;
    case 3:
      if (FireTicks > 70) {
        Fire(Weapon.get(), 47, 75);
        FireTicks = 0;
      }
      if (a > 80) Dx = Variant == 0 ? -2 : 2;
      break;
    case 4:
      Fire(Weapon.get(), 45, 160);
      if (X > 650) Dx = -3;
      if (X < 10) Dx = 3;
      break;
    case 5:
      Fire(Weapon.get(), 47, 120);
      if (X > 650) Dx = -2;
      if (X < 10) Dx = 2;
      break;
    case 6:
      Fire(Weapon.get(), 57, 125);
      break;
    case 7:
      Fire(Weapon.get(), 75, 100);
      if (Y > 250) Dx = Variant == 0 ? 3 : -3;
      break;
    case 8:
      Fire(Weapon.get(), 56, 140);
      if (Y > 250) {
        Dy = 2;
        if (X < 0) Dx = 3;
        if (X > 800) Dx = -3;
      }
      break;
    default:
      break;
  }
}

void TEnemy::Draw(const TDrawTime& t) {
  const TDrawPoint at = DrawnAt(t);
  DrawSprite(W.Media.EnemyShipsPictures, Kind, W.Media.DXDraw1.Surface(), at.X, at.Y, 0);
}

void TEnemy::Die() {
  Alive = false;
  W.State.Credits += 5 * static_cast<int64_t>(MaxHealth);
  PlaySound(W.Media.DXExplWaveList, 1);
  const int32_t pairs = 9 + W.Random.Random(6);
  DeathBurst(W, pairs, X - 5, Y - 5, Width - 15, Height - 15, 9);
}

void TEnemy::Done() {
  TFlyer::Done();
  Weapon.reset();
  Weapon2.reset();
}
