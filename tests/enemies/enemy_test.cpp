#include "enemies/enemy.h"

#include <gtest/gtest.h>

#include "core/level.h"
#include "core/tick.h"
#include "enemies/boss.h"
#include "flyers/weapon.h"
#include "support/temp_dir.h"
#include "support/test_world.h"

namespace {

struct EnemyTest : ::testing::Test {
  ScopedTempDir dir;  // no content here: boss pictures fail to load and are reported
  TestWorld t;
  World& w = t.world;
  RecordingEvents events;
  void SetUp() override { w.Events = &events; }

  TEnemy* Spawn(int32_t x, int32_t y, uint8_t kind, uint8_t variant = 0) {
    return w.FlyerList.Push(std::make_unique<TEnemy>(w, x, y, kind, variant));
  }
  TBoss* SpawnBoss(int32_t x, int32_t y, uint8_t kind) {
    return w.FlyerList.Push(std::make_unique<TBoss>(w, x, y, kind));
  }
  // Ticks the enemy's own Move n times, counting the ticks on which it put shells out.
  std::vector<int> FiringTicks(TFlyer& f, int n) {
    std::vector<int> ticks;
    for (int i = 1; i <= n; ++i) {
      size_t before = w.ShellList.Count() + w.FlyerList.Count();
      f.Move();
      if (w.ShellList.Count() + w.FlyerList.Count() > before) ticks.push_back(i);
    }
    return ticks;
  }
};

TEST_F(EnemyTest, HealthAndGunsFollowTheDifficulty) {
  w.State.Difficulty = 0;
  TEnemy easy(w, 0, 0, 0, 0);
  EXPECT_EQ(easy.MaxHealth, 100);
  EXPECT_EQ(easy.Health, 100);
  EXPECT_EQ(dynamic_cast<TCannon&>(*easy.Weapon).Damage, 1);
  EXPECT_EQ(dynamic_cast<TCannon&>(*easy.Weapon2).Damage, 1);

  w.State.Difficulty = 4;
  TEnemy hard(w, 0, 0, 0, 0);
  EXPECT_EQ(hard.MaxHealth, 180);
  EXPECT_EQ(dynamic_cast<TCannon&>(*hard.Weapon).Damage, 9);
  TEnemy scout(w, 0, 0, 1, 0);  // kind 1's Vulcan does 2 whatever the difficulty
  EXPECT_EQ(dynamic_cast<TCannon&>(*scout.Weapon).Damage, 2);
  EXPECT_EQ(scout.Weapon2, nullptr);
  TEnemy heavy(w, 0, 0, 8, 0);
  EXPECT_EQ(heavy.MaxHealth, 1400);
  EXPECT_EQ(heavy.Width, 120);
  EXPECT_EQ(heavy.Height, 160);
}

TEST_F(EnemyTest, DestroyingPaysFiveTimesFullHealthOnceWithABurstOfExplosions) {
  w.State.Difficulty = 4;
  int64_t before = w.State.Credits;
  TEnemy* e = Spawn(300, 200, 0);
  e->Hit(180);
  EXPECT_FALSE(e->Alive);
  EXPECT_EQ(w.State.Credits, before + 900);
  const size_t effects = w.EffectList.Count();
  EXPECT_GE(effects, 18u);  // 9 to 14 pairs
  EXPECT_LE(effects, 28u);
  for (auto* n = w.EffectList.Head(); n; n = n->Next) {
    EXPECT_GE(n->Object->X, 295);
    EXPECT_LT(n->Object->X, 295 + 135);
    EXPECT_LE(n->Object->Frame, 0);
    EXPECT_GE(n->Object->Frame, -8);
  }
  e->Hit(1);  // struck again before the list frees it: no second bounty, no second burst
  EXPECT_EQ(w.State.Credits, before + 900);
  EXPECT_EQ(w.EffectList.Count(), effects);
}

TEST_F(EnemyTest, StartPositionsAndTheEdgeOfThePlayArea) {
  TEnemy* low = Spawn(100, 0, 4);
  EXPECT_EQ(low->Y, -50);
  TEnemy* justIn = Spawn(100, -101, 0);
  TEnemy* justOut = Spawn(100, -102, 0);
  justIn->Move();
  justOut->Move();
  EXPECT_EQ(justIn->Y, -100);
  EXPECT_TRUE(justIn->Alive);
  EXPECT_FALSE(justOut->Alive);
}

TEST_F(EnemyTest, KindTwoReversesEveryHundredTwentyOneTicks) {
  TEnemy* e = Spawn(400, 0, 2);
  std::vector<int> turns;
  double dx = e->Dx;
  for (int i = 1; i <= 400; ++i) {
    e->Move();
    if (e->Dx != dx) turns.push_back(i);
    dx = e->Dx;
  }
  EXPECT_EQ(turns, (std::vector<int>{121, 242, 363}));
}

TEST_F(EnemyTest, KindFiveBouncesAtSpeedTwoAfterStartingAtThree) {
  TEnemy* e = Spawn(600, 0, 5);
  EXPECT_EQ(e->Dx, 3);
  for (int moves = 0; e->Dx > 0; ++moves) {
    ASSERT_LT(moves, 100) << "it never turned";
    e->Move();
  }
  EXPECT_EQ(e->Dx, -2);
  EXPECT_EQ(e->X, 649);  // turned on the tick after passing 650: 651 - 2
}

TEST_F(EnemyTest, KindZeroFiresItsFirstPairOnTick101ThenEveryTwentyOne) {
  TEnemy* e = Spawn(400, 0, 0, 0);
  auto ticks = FiringTicks(*e, 150);
  ASSERT_GE(ticks.size(), 3u);
  EXPECT_EQ(ticks[0], 101);
  EXPECT_EQ(ticks[1], 122);
  EXPECT_EQ(ticks[2], 143);
  EXPECT_EQ(e->Dx, 2);  // and sweeps right

  TEnemy* odd = Spawn(400, 0, 0, 7);  // an unknown variant keeps its course and never fires
  EXPECT_TRUE(FiringTicks(*odd, 300).empty());
  EXPECT_EQ(odd->Dx, 0);
}

TEST_F(EnemyTest, ScheduleRowsMakeEnemiesAndBossesAndSkipUndefinedKinds) {
  SpawnRow(w, {10, 20, 256, 1, 0});  // the low byte of the kind counts
  SpawnRow(w, {10, 20, 9, 0, 0});
  SpawnRow(w, {10, 20, -1, 6, 0});
  ASSERT_EQ(w.FlyerList.Count(), 1u);
  auto* e = dynamic_cast<TEnemy*>(w.FlyerList.Head()->Object);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Kind, 0);
  EXPECT_EQ(e->Variant, 1);
  SpawnRow(w, {10, 20, -1, 2, 0});
  EXPECT_NE(dynamic_cast<TBoss*>(w.FlyerList.Head()->Object), nullptr);
}

TEST_F(EnemyTest, BossesPayTenTimesTheirHealthAndStartOneVictoryCountdown) {
  TBoss* first = SpawnBoss(100, 50, 1);
  TBoss* second = SpawnBoss(300, 50, 5);
  EXPECT_EQ(events.errors, 2);  // no picture here: reported, the bosses fly on
  int64_t before = w.State.Credits;
  first->Hit(first->Health);
  EXPECT_EQ(w.State.Credits, before + 50000);
  EXPECT_EQ(w.VictoryCountdown, 120);
  EXPECT_GE(w.EffectList.Count(), 122u);
  EXPECT_LE(w.EffectList.Count(), 130u);
  for (int i = 0; i < 30; ++i) Tick(w);
  second->Hit(second->Health);
  EXPECT_EQ(w.State.Credits, before + 550000);
  EXPECT_EQ(w.VictoryCountdown, 90);  // the second death does not restart it
}

TEST_F(EnemyTest, BossesSettleBelowSeventyAndSweepBetweenZeroAndSixHundred) {
  TBoss* b = SpawnBoss(100, -200, 3);
  int ticks = 0;
  while (b->Y <= 70) {
    ASSERT_LT(ticks, 1000) << "it never settled";
    b->Move();
    ++ticks;
  }
  EXPECT_EQ(ticks, 136);
  const int32_t y = b->Y;
  int32_t minX = b->X, maxX = b->X;
  for (int i = 0; i < 1000; ++i) {
    b->Move();
    EXPECT_EQ(b->Y, y);
    minX = std::min(minX, b->X);
    maxX = std::max(maxX, b->X);
  }
  EXPECT_GE(minX, -2);
  EXPECT_LE(maxX, 602);
  EXPECT_LE(minX, 0);
  EXPECT_GE(maxX, 600);

  TBoss* far = SpawnBoss(700, 69, 3);  // already right of 600 when it settles: turns at once
  far->Move();
  far->Move();
  EXPECT_EQ(far->Dx, -2);
}

TEST_F(EnemyTest, BossKindZeroFiresASalvoEveryEightyOneTicks) {
  TBoss* b = SpawnBoss(200, 100, 0);
  auto ticks = FiringTicks(*b, 250);
  EXPECT_EQ(ticks, (std::vector<int>{81, 162, 243}));
}

}  // namespace
