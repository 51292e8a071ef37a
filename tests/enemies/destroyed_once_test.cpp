// Over real ticks: whatever strikes a flyer after its health is gone, it is destroyed, paid
// for and burst exactly once; and a schedule out of order still brings every row and its boss.
#include <gtest/gtest.h>

#include "core/level.h"
#include "enemies/boss.h"
#include "enemies/enemy.h"
#include "flyers/cannon_shell.h"
#include "support/flight.h"
#include "support/targets.h"

namespace {

constexpr uint8_t kQuietVariant = 9;  // kinds 0 and 1 keep their start motion and never fire

struct DestroyedOnce : FlightWorld {
  DestroyedOnce() { world.State.Difficulty = 0; }
  TEnemy* Spawn(int32_t x, int32_t y, uint8_t kind) {
    return world.FlyerList.Push(std::make_unique<TEnemy>(world, x, y, kind, kQuietVariant));
  }
  size_t BigExplosions() { return AllOf<TBigExplosion>(world.EffectList).size(); }
};

TEST(DestroyedOnceInFlight, AKindZeroCraftUnderTheDcCannonPaysFiveHundredOnceWithOneBurst) {
  DestroyedOnce f;
  TAircraft& a = f.Aircraft();
  a.Cannon = MakeCannon(f.world, ckDC);
  // The cannon's two shells side by side, both inside the craft's spine: the shell that ends
  // its 100 hit points has a twin right behind it in the same pass.
  const int32_t muzzle = a.X + a.Width / 2;
  TEnemy* e = f.Spawn(muzzle - 75, 100, 0);
  const int64_t before = f.world.State.Credits;
  int ticks = 0;
  while (e->Alive && ticks < 300) {
    f.TickWith({InputButton1});
    ++ticks;
  }
  ASSERT_FALSE(e->Alive);
  EXPECT_LT(e->Health, -5);  // struck past zero by the twin shell
  EXPECT_EQ(f.world.State.Credits, before + 500);
  const size_t burst = f.BigExplosions();
  EXPECT_GE(burst, 9u);
  EXPECT_LE(burst, 14u);
  for (int i = 0; i < 10; ++i) f.TickWith({InputButton1});
  EXPECT_EQ(f.world.State.Credits, before + 500);
}

TEST(DestroyedOnceInFlight, TwoCraftRammingEachOtherAndTheAircraftPayForTwoDeaths) {
  DestroyedOnce f;
  TAircraft& a = f.Aircraft();
  // Both over the aircraft's nose: the newer meets the older first, both are destroyed, and
  // the wreck then still touches the aircraft in the same pass.
  f.Spawn(a.X + 79 - 43, a.Y - 10, 1);
  f.Spawn(a.X + 79 - 43, a.Y - 10, 1);
  const int64_t before = f.world.State.Credits;
  f.TickWith({});
  EXPECT_EQ(f.world.State.Credits, before + 2 * 250);
  EXPECT_EQ(a.Health, a.MaxHealth);  // a wreck at zero deals nothing
  EXPECT_EQ(f.events.defeats, 0);
}

TEST(DestroyedOnceInFlight, AShotDownAircraftHealsNobodyAndIsShotDownOnce) {
  DestroyedOnce f;
  TAircraft& a = f.Aircraft();
  TEnemy* e = f.Spawn(a.X + 79 - 43, a.Y - 10, 1);
  // A shell that takes the aircraft 20 below zero just before the craft rams it.
  f.world.ShellList.Push(
      std::make_unique<TShell>(f.world, a.X + 79, a.Y + 74, 0, 0, a.MaxHealth + 20));
  f.TickWith({});
  EXPECT_EQ(a.Health, -20);
  EXPECT_EQ(e->Health, e->MaxHealth);  // not healed by the wreck's negative health
  EXPECT_TRUE(e->Alive);
  EXPECT_EQ(f.events.defeats, 1);
}

struct ScheduleInFlight : ::testing::Test {
  ScopedTempDir dir;  // no boss pictures here: the failed load is reported, the boss flies
  TestWorld t;
  World& w = t.world;
  RecordingEvents events;
  void SetUp() override { w.Events = &events; }
  template <class T>
  size_t Count() {
    return AllOf<T>(w.FlyerList).size();
  }
};

TEST_F(ScheduleInFlight, ARowOutOfOrderSpawnsWhenItIsNextAndTheBossStillComes) {
  w.Level.Spawns = {
      {100, -80, 1, kQuietVariant, 2},
      {300, -80, 1, kQuietVariant, 1},  // earlier than the row before it
      {400, -150, -1, 0, 3},            // the boss
  };
  for (int i = 1; i < 16 * 2; ++i) Tick(w);
  EXPECT_EQ(Count<TEnemy>(), 0u);
  Tick(w);  // the 32nd tick begins step 2: the first row, and the overdue row behind it in the same
            // tick
  EXPECT_EQ(Count<TEnemy>(), 2u);
  EXPECT_EQ(Count<TBoss>(), 0u);
  for (int i = 0; i < 16; ++i) Tick(w);
  ASSERT_EQ(Count<TBoss>(), 1u);

  // Destroying it still wins the mission.
  AllOf<TBoss>(w.FlyerList)[0]->Hit(2000);
  for (int i = 0; i < 200 && events.victories == 0; ++i) Tick(w);
  EXPECT_EQ(events.victories, 1);
}

}  // namespace
