#include "flyers/weapon.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/effect.h"
#include "flyers/projectile.h"
#include "support/flight.h"
#include "support/targets.h"
#include "support/test_world.h"

namespace {

struct WeaponTest : ::testing::Test {
  TestWorld t;
  World& w = t.world;
};

// Ticks of Reload until a weapon that just fired is ready again.
int TicksUntilReady(TWeapon& weapon) {
  int ticks = 0;
  while (!weapon.Ready && ticks < 1000) {
    weapon.Reload();
    ++ticks;
  }
  return ticks;
}

TEST_F(WeaponTest, EveryKindIsReadyAgainNPlusOneTicksAfterAShot) {
  struct Case {
    std::string name;
    std::function<std::unique_ptr<TWeapon>()> make;
    int n;
  };
  const std::vector<Case> cases = {
      {"air-to-air", [&] { return std::make_unique<TAAMissileLauncher>(w); }, 50},
      {"mini", [&] { return std::make_unique<TMiniMissileLauncher>(w); }, 9},
      {"light", [&] { return std::make_unique<TLightLaser>(w); }, 20},
      {"wide light", [&] { return std::make_unique<TWideLightLaser>(w); }, 20},
      {"single light", [&] { return std::make_unique<TSingleLightLaser>(w); }, 20},
      {"medium", [&] { return std::make_unique<TMediumLaser>(w); }, 20},
      {"heavy", [&] { return std::make_unique<THeavyLaser>(w); }, 70},
      {"plasma", [&] { return std::make_unique<TPlasmaCannon>(w); }, 120},
      {"vulcan", [&] { return std::make_unique<TVulcan>(w, 2); }, 5},
      {"AT", [&] { return std::make_unique<TATCannon>(w); }, 20},
      {"DC", [&] { return std::make_unique<TDCCannon>(w); }, 7},
      {"triple", [&] { return std::make_unique<TTripleCannon>(w); }, 6},
  };
  for (const Case& c : cases) {
    auto weapon = c.make();
    EXPECT_TRUE(weapon->Ready) << c.name;
    const size_t before = w.FlyerList.Count() + w.ShellList.Count();
    weapon->Fire(500, 400, 1, kSideEnemy);
    const size_t after = w.FlyerList.Count() + w.ShellList.Count();
    EXPECT_GT(after, before) << c.name << ": a new weapon fires at once";
    weapon->Fire(500, 400, 1, kSideEnemy);
    EXPECT_EQ(w.FlyerList.Count() + w.ShellList.Count(), after) << c.name << ": not ready";
    EXPECT_EQ(TicksUntilReady(*weapon), c.n + 1) << c.name;
    // Ready stays set and the count starts again: re-asserted every N + 1 ticks.
    for (int i = 0; i < 3 * (c.n + 1); ++i) weapon->Reload();
    EXPECT_TRUE(weapon->Ready);
    EXPECT_EQ(weapon->Counter, 0) << c.name;
  }
}

TEST(Aim, IsAboutFourPixelsPerTickTowardTheAimPointRoundedHalfToEven) {
  // The aim point is 80 right of and 40 below the aircraft's corner.
  EXPECT_EQ(AimAt(580, 440, 500, 400).Dx, 0);  // fired from the aim point: d = 1, no speed
  EXPECT_EQ(AimAt(580, 440, 500, 400).Dy, 0);
  auto a = AimAt(0, 0, -80, 60);  // (0, 100): straight down
  EXPECT_EQ(a.Dx, 0);
  EXPECT_EQ(a.Dy, 4);
  a = AimAt(0, 0, -50, 0);  // (30, 40), d = 50: (2.4, 3.2)
  EXPECT_EQ(a.Dx, 2);
  EXPECT_EQ(a.Dy, 3);
  a = AimAt(0, 0, -75, -34);  // (5, 6), d = round(7.81) = 8: (2.5, 3.0), the half goes to 2
  EXPECT_EQ(a.Dx, 2);
  EXPECT_EQ(a.Dy, 3);
  a = AimAt(0, 0, -95, -34);  // (-15, 6), d = 16: (-3.75, 1.5) -> (-4, 2)
  EXPECT_EQ(a.Dx, -4);
  EXPECT_EQ(a.Dy, 2);
}

// Where each kind puts its projectiles, relative to the muzzle point (500, 400), fired down
// by an enemy or up by the player.
struct Shot {
  int32_t x, y, dx, dy;
};

template <class P>
std::vector<Shot> ShotsOf(World& w) {
  std::vector<Shot> out;
  for (P* p : AllOf<P>(w.FlyerList)) {
    out.push_back({p->X, p->Y, static_cast<int32_t>(p->Dx), static_cast<int32_t>(p->Dy)});
  }
  return {out.rbegin(), out.rend()};  // oldest first: the order the weapon made them
}

bool operator==(const Shot& a, const Shot& b) {
  return a.x == b.x && a.y == b.y && a.dx == b.dx && a.dy == b.dy;
}
void PrintTo(const Shot& s, std::ostream* os) {
  *os << "(" << s.x << "," << s.y << " v " << s.dx << "," << s.dy << ")";
}

TEST_F(WeaponTest, SlotWeaponsLaunchFromTheirMuzzleOffsetsUpOrDown) {
  TAAMissileLauncher aa(w);
  aa.Fire(500, 400, 0, kSidePlayer);
  EXPECT_EQ(ShotsOf<TAAMissile>(w), (std::vector<Shot>{{470, 400, 0, -2}, {515, 400, 0, -2}}));
  for (TProjectile* p : AllOf<TProjectile>(w.FlyerList)) {
    EXPECT_EQ(p->Owner, kSidePlayer);
    EXPECT_EQ(p->Side, kSidePlayer);
    EXPECT_EQ(p->Down, 0);
  }
  w.FlyerList.Clear();

  TLightLaser light(w);
  light.Fire(500, 400, 1, kSideEnemy);
  EXPECT_EQ(ShotsOf<TLightBeam>(w), (std::vector<Shot>{{474, 435, 0, 20}, {519, 435, 0, 20}}));
  w.FlyerList.Clear();

  TWideLightLaser wide(w);
  EXPECT_EQ(wide.Price, 18000);  // built by the light laser's constructor
  wide.Fire(500, 400, 1, kSideEnemy);
  EXPECT_EQ(ShotsOf<TLightBeam>(w), (std::vector<Shot>{{440, 400, 0, 20}, {550, 400, 0, 20}}));
  w.FlyerList.Clear();

  TSingleLightLaser single(w);
  single.Fire(500, 400, 1, kSideEnemy);
  EXPECT_EQ(ShotsOf<TLightBeam>(w), (std::vector<Shot>{{500, 400, 0, 20}}));
  w.FlyerList.Clear();

  TMediumLaser medium(w);
  medium.Fire(500, 400, 0, kSidePlayer);
  EXPECT_EQ(ShotsOf<TMediumBeam>(w), (std::vector<Shot>{{472, 410, 0, -25}, {517, 410, 0, -25}}));
  w.FlyerList.Clear();

  THeavyLaser heavy(w);
  heavy.Fire(500, 400, 0, kSidePlayer);
  EXPECT_EQ(ShotsOf<THeavyBeam>(w), (std::vector<Shot>{{470, 410, 0, -12}, {515, 410, 0, -12}}));
  w.FlyerList.Clear();

  TPlasmaCannon plasma(w);
  plasma.Fire(500, 400, 1, kSideEnemy);
  EXPECT_EQ(ShotsOf<TPlasmaBall>(w), (std::vector<Shot>{{456, 420, 0, 5}, {515, 420, 0, 5}}));
  EXPECT_EQ(w.EffectList.Count() + w.ShellList.Count(), 0u);
}

TEST_F(WeaponTest, AMiniMissileLauncherStartsOnTheLeftAndAlternatesEveryShot) {
  TMiniMissileLauncher mini(w);
  std::vector<Shot> shots;
  for (int i = 0; i < 3; ++i) {
    mini.Fire(500, 400, 0, kSidePlayer);
    auto* m = AllOf<TMiniMissile>(w.FlyerList).front();  // the newest
    shots.push_back({m->X, m->Y, static_cast<int32_t>(m->Dx), static_cast<int32_t>(m->Dy)});
    for (int k = 0; k < 10; ++k) mini.Reload();
  }
  EXPECT_EQ(shots,
            (std::vector<Shot>{{465, 460, -22, -2}, {530, 460, 22, -2}, {465, 460, -22, -2}}));
}

struct ShellShot {
  int32_t x, y, dx, dy, damage;
  bool operator==(const ShellShot&) const = default;
};
void PrintTo(const ShellShot& s, std::ostream* os) {
  *os << "(" << s.x << "," << s.y << " v " << s.dx << "," << s.dy << " d " << s.damage << ")";
}

std::vector<ShellShot> Shells(World& w) {
  std::vector<ShellShot> out;
  for (auto* n = w.ShellList.Head(); n; n = n->Next) {
    const TShell& s = *n->Object;
    out.insert(out.begin(), {s.X, s.Y, s.Dx, s.Dy, s.Damage});
  }
  return out;
}

std::vector<std::pair<int32_t, int32_t>> Flashes(World& w) {
  std::vector<std::pair<int32_t, int32_t>> out;
  for (auto* n = w.EffectList.Head(); n; n = n->Next) {
    EXPECT_NE(dynamic_cast<TMuzzleFlash*>(n->Object), nullptr);
    EXPECT_EQ(n->Object->Frame, -1);
    out.insert(out.begin(), {n->Object->X, n->Object->Y});
  }
  return out;
}

TEST_F(WeaponTest, CannonsFireShellsWithTheirDamageAndMuzzleFlashes) {
  TVulcan vulcan(w, 7);
  vulcan.Fire(500, 400, -1, kSidePlayer);
  EXPECT_EQ(Shells(w), (std::vector<ShellShot>{{500, 400, 0, -5, 7}}));
  EXPECT_EQ(Flashes(w), (std::vector<std::pair<int32_t, int32_t>>{{496, 390}}));
  w.ShellList.Clear();
  w.EffectList.Clear();

  TATCannon at(w);
  at.Fire(500, 400, 1, kSideEnemy);
  EXPECT_EQ(Shells(w), (std::vector<ShellShot>{{500, 400, 0, 5, 25}}));
  w.ShellList.Clear();
  w.EffectList.Clear();

  TDCCannon dc(w);
  dc.Fire(500, 400, -1, kSidePlayer);
  EXPECT_EQ(Shells(w), (std::vector<ShellShot>{{501, 400, 0, -5, 15}, {498, 400, 0, -5, 15}}));
  EXPECT_EQ(Flashes(w), (std::vector<std::pair<int32_t, int32_t>>{{494, 390}, {498, 390}}));
  w.ShellList.Clear();
  w.EffectList.Clear();

  // The player's triple cannon: side shells about 37 degrees from the vertical.
  TTripleCannon triple(w);
  triple.Fire(500, 400, -1, kSidePlayer);
  EXPECT_EQ(Shells(w), (std::vector<ShellShot>{
                           {500, 400, 0, -5, 10}, {500, 400, 3, -4, 10}, {500, 400, -3, -4, 10}}));
  EXPECT_EQ(Flashes(w), (std::vector<std::pair<int32_t, int32_t>>{{496, 390}}));
  EXPECT_EQ(w.FlyerList.Count(), 0u);
}

TEST_F(WeaponTest, KindCodesBuildWhatTheShopSells) {
  struct Tag {
    int64_t price, sell;
  };
  const Tag weapons[] = {{5000, 4000},   {5000, 4000},    {18000, 14000},
                         {25000, 15000}, {100000, 75000}, {80000, 60000}};
  for (uint8_t k = 0; k < kWeaponKinds; ++k) {
    auto weapon = MakeWeapon(w, k);
    ASSERT_NE(weapon, nullptr);
    EXPECT_EQ(weapon->Price, weapons[k].price);
    EXPECT_EQ(weapon->SellValue, weapons[k].sell);
    EXPECT_EQ(weapon->Icon, k);
    EXPECT_TRUE(weapon->Ready);
    EXPECT_EQ(weapon->Counter, 0);
  }
  const Tag cannons[] = {{1000, 800}, {5000, 4000}, {11000, 8000}, {15000, 10000}};
  const int32_t damage[] = {2, 25, 15, 10};
  for (uint8_t k = 0; k < kCannonKinds; ++k) {
    auto cannon = MakeCannon(w, k);
    ASSERT_NE(cannon, nullptr);
    EXPECT_EQ(cannon->Price, cannons[k].price);
    EXPECT_EQ(cannon->SellValue, cannons[k].sell);
    EXPECT_EQ(cannon->Damage, damage[k]);
  }
  EXPECT_EQ(MakeWeapon(w, 6), nullptr);
  EXPECT_EQ(MakeWeapon(w, 255), nullptr);
  EXPECT_EQ(MakeCannon(w, 4), nullptr);
  EXPECT_EQ(MakeCannon(w, 255), nullptr);
}

}  // namespace

namespace {

TEST(AimedGuns, ShootAtThePlayersAircraftAndKeepCountingWhenTheyFire) {
  FlightWorld f(akJaguar, 420, 560);  // aim point (500, 600)
  World& w = f.world;
  TAimedFragmentGun fragments(w);
  fragments.Fire(200, 300, 1, kSideEnemy);  // toward (300, 300) away: d = 424, (2.83, 2.83)
  auto shot = AllOf<TPlasmaFragment>(w.FlyerList);
  ASSERT_EQ(shot.size(), 1u);
  EXPECT_EQ(shot[0]->X, 200);
  EXPECT_EQ(shot[0]->Y, 300);
  EXPECT_EQ(shot[0]->Dx, 3);
  EXPECT_EQ(shot[0]->Dy, 3);
  EXPECT_EQ(shot[0]->Owner, kSideEnemy);

  TAimedPlasmaGun plasma(w);             // N = 70
  plasma.Fire(500, 100, 1, kSideEnemy);  // straight down at 4 a tick
  auto balls = AllOf<TPlasmaBall>(w.FlyerList);
  ASSERT_EQ(balls.size(), 1u);
  EXPECT_EQ(balls[0]->Dx, 0);
  EXPECT_EQ(balls[0]->Dy, 4);
  const TShape* s = balls[0]->Shapes.get();
  EXPECT_EQ(s->Circle()->CX, 9);  // an aimed ball's circle sits a pixel up and left
  EXPECT_EQ(s->Circle()->CY, 9);

  // Firing does not restart the count: ready again 71 ticks after it last became ready.
  TAimedPlasmaGun gun(w);
  for (int i = 0; i < 30; ++i) gun.Reload();
  gun.Fire(500, 100, 1, kSideEnemy);
  EXPECT_FALSE(gun.Ready);
  EXPECT_EQ(gun.Counter, 30);
  for (int i = 0; i < 40; ++i) gun.Reload();
  EXPECT_FALSE(gun.Ready);
  gun.Reload();
  EXPECT_TRUE(gun.Ready);

  // With no aircraft to aim at, an aimed gun holds its fire and stays ready.
  w.ReleasePlayer();
  TAimedFragmentGun idle(w);
  const size_t before = w.FlyerList.Count();
  idle.Fire(100, 100, 1, kSideEnemy);
  EXPECT_TRUE(idle.Ready);
  EXPECT_EQ(w.FlyerList.Count(), before);
}

}  // namespace
