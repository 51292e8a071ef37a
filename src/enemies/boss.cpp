#include "enemies/boss.h"

#include "base/asset_catalog.h"
#include "base/error.h"
#include "base/rounding.h"
#include "core/tick.h"
#include "core/world.h"
#include "enemies/death_burst.h"
#include "enemies/enemy_guns.h"
#include "enemies/hulls.h"
#include "flyers/media.h"
#include "flyers/weapon.h"
#include "presentation/form_components.h"

namespace {

struct KindTable {
  int32_t MaxHealth;
  TEnemyGun Gun;
  bool TwoGuns;
};

constexpr KindTable kKinds[kBossKinds] = {
    {2000, TEnemyGun::WideLightLaser, false},  {5000, TEnemyGun::AimedFragmentGun, false},
    {8000, TEnemyGun::SingleLightLaser, true}, {13000, TEnemyGun::PlasmaCannon, false},
    {20000, TEnemyGun::DCCannon, true},        {50000, TEnemyGun::AimedPlasmaGun, true},
};

}  // namespace

TBoss::TBoss(World& world, int32_t x, int32_t y, uint8_t kind) : TFlyer(world), Kind(kind) {
  Side = kSideEnemy;
  X = x;
  Y = y;
  if (Kind >= kBossKinds) return;  // an undefined kind has nothing; callers never make one
  const KindTable& k = kKinds[Kind];
  Weapon = MakeEnemyGun(W, k.Gun);
  if (k.TwoGuns) Weapon2 = MakeEnemyGun(W, k.Gun);
  MaxHealth = k.MaxHealth;
  LoadPicture();
  Width = catalog::kBosses[Kind].Width;
  Height = catalog::kBosses[Kind].Height;
  Dx = 2;
  Dy = 2;
  AddHull(hulls::kBosses[Kind]);
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

void TBoss::Draw(const TDrawTime& t) {
  const TDrawPoint at = DrawnAt(t);
  W.Media.BossPicture.Items[0].Draw(W.Media.DXDraw1.Surface(), at.X, at.Y, 0);
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
