#include "enemies/boss.h"

#include <vector>

#include "base/asset_catalog.h"
#include "base/error.h"
#include "base/rounding.h"
#include "core/tick.h"
#include "core/world.h"
#include "enemies/death_burst.h"
#include "enemies/enemy_guns.h"
#include "flyers/media.h"
#include "flyers/weapon.h"
#include "presentation/form_components.h"

namespace {

struct Shape {
  bool IsCircle;
  int32_t A, B, C, D;  // rectangle: left, top, width, height; circle: cx, cy, radius
};

struct KindTable {
  int32_t MaxHealth;
  TEnemyGun Gun;
  bool TwoGuns;
  std::vector<Shape> Shapes;
};

Shape R(int32_t l, int32_t t, int32_t w, int32_t h) {
  return {false, l, t, w, h};
}
Shape C(int32_t cx, int32_t cy, int32_t r) {
  return {true, cx, cy, r, 0};
}

const KindTable& Table(uint8_t kind) {
  static const KindTable kTables[kBossKinds] = {
      {2000,
       TEnemyGun::WideLightLaser,
       false,
       {R(32, 29, 230, 22), R(99, 14, 94, 74), R(68, 80, 156, 20), R(110, 96, 18, 90),
        R(163, 96, 18, 90)}},
      {5000, TEnemyGun::AimedFragmentGun, false, {C(76, 79, 51)}},
      {8000,
       TEnemyGun::SingleLightLaser,
       true,
       {R(95, 10, 121, 53), R(108, 62, 17, 42), R(128, 62, 13, 75), R(166, 62, 14, 85),
        R(140, 62, 27, 134), R(186, 62, 15, 42)}},
      {13000,
       TEnemyGun::PlasmaCannon,
       false,
       {R(134, 128, 31, 53), R(6, 38, 286, 31), R(109, 22, 82, 101), R(45, 69, 64, 14),
        R(84, 82, 24, 13), R(191, 69, 64, 14), R(191, 82, 24, 13)}},
      {20000,
       TEnemyGun::DCCannon,
       true,
       {R(155, 134, 10, 38), C(159, 200, 25), C(253, 39, 25), C(224, 55, 8), C(213, 63, 8),
        C(202, 70, 8), C(66, 39, 25), C(95, 55, 8), C(107, 63, 8), C(117, 68, 8), C(159, 93, 38)}},
      {50000, TEnemyGun::AimedPlasmaGun, true, {C(157, 124, 108)}},
  };
  return kTables[kind];
}

}  // namespace

TBoss::TBoss(World& world, int32_t x, int32_t y, uint8_t kind) : TFlyer(world), Kind(kind) {
  Side = kSideEnemy;
  X = x;
  Y = y;
  if (Kind >= kBossKinds) return;  // an undefined kind has nothing; callers never make one
  const KindTable& k = Table(Kind);
  Weapon = MakeEnemyGun(W, k.Gun);
  if (k.TwoGuns) Weapon2 = MakeEnemyGun(W, k.Gun);
  MaxHealth = k.MaxHealth;
  LoadPicture();
  Width = catalog::kBosses[Kind].Width;
  Height = catalog::kBosses[Kind].Height;
  Dx = 2;
  Dy = 2;
  for (const Shape& s : k.Shapes) {
    if (s.IsCircle) {
      AddCircle(s.A, s.B, s.C);
    } else {
      AddRect(s.A, s.B, s.C, s.D);
    }
  }
  Health = MaxHealth;
}

TBoss::~TBoss() = default;

// The one boss picture is replaced by every new boss, also one still alive. A picture that
// fails to load is reported, and the boss flies on with the picture the item held: a mission
// must stay winnable whatever happened to a file.
void TBoss::LoadPicture() {
  TPictureCollectionItem& item = W.Media.BossPicture.Items[0];
  try {
    item.Picture.LoadFromFile(catalog::kBosses[Kind].Path);
  } catch (const EGameError& e) {
    W.Events->ReportError(e.what());
  }
  item.Transparent = true;
  item.SetTransparentColor(catalog::kBossKey);
  item.Restore();
}

void TBoss::Fire(TWeapon* weapon, int32_t dx, int32_t dy) {
  if (weapon) weapon->Fire(X + dx, Y + dy, 1, Side);
}

void TBoss::FireAll() {
  switch (Kind) {
    case 0:
      if (Age > 80) {
        Fire(Weapon.get(), 150, 110);
        Age = 0;  // a salvo every 81 ticks
      }
      break;
    case 1:
      Fire(Weapon.get(), 77, 77);
      break;
    case 2:
      Fire(Weapon.get(), 125, 160);
      Fire(Weapon2.get(), 185, 160);
      break;
    case 3:
      Fire(Weapon.get(), 150, 120);
      break;
    case 4:
      Fire(Weapon.get(), 60, 65);
      Fire(Weapon2.get(), 260, 65);
      break;
    case 5:
      Fire(Weapon.get(), 80, 180);
      Fire(Weapon2.get(), 240, 100);
      break;
    default:
      break;
  }
}

void TBoss::Move() {
  ++Age;
  if (Weapon) Weapon->Reload();
  if (Weapon2) Weapon2->Reload();
  FireAll();
  // Settle below y = 70, then sweep between x = 0 and 600. No bounds: a boss never leaves.
  if (Y > 70) {
    Dy = 0;
    if (X > 600) {
      Dx = -2;
    } else if (X < 0) {
      Dx = 2;
    }
  }
  X += Round(Dx);
  Y += Round(Dy);
}

void TBoss::Draw() {
  W.Media.BossPicture.Items[0].Draw(W.Media.DXDraw1.Surface(), X, Y, 0);
}

void TBoss::Die() {
  W.State.Credits += 10 * static_cast<int64_t>(MaxHealth);
  PlaySound(W.Media.DXExplWaveList, 1);
  Alive = false;
  // The explosion field is the same for every boss, whatever its size.
  const int32_t pairs = 61 + W.Random.Random(5);
  DeathBurst(W, pairs, X - 5, Y - 5, 280, 180, 25);
  MissionEnd(W, true);
}

void TBoss::Done() {
  TFlyer::Done();
  Weapon.reset();
  Weapon2.reset();
}
