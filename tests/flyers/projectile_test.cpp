// Projectiles in flight, over real ticks of a world without a player.
#include "flyers/projectile.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/effect.h"
#include "core/tick.h"
#include "flyers/cannon_shell.h"
#include "support/targets.h"
#include "support/test_world.h"

namespace {

struct FlightTest : ::testing::Test {
  TestWorld t;
  World& w = t.world;

  template <class P, class... Args>
  P* Launch(Args... args) {
    return w.FlyerList.Push(std::make_unique<P>(w, args...));
  }
  // Runs ticks until the flyer is no longer alive; returns how many.
  int TicksUntilDead(const TFlyer& f, int limit = 1000) {
    int ticks = 0;
    while (f.Alive && ticks < limit) {
      Tick(w);
      ++ticks;
    }
    EXPECT_FALSE(f.Alive) << "still flying after " << limit << " ticks";
    return ticks;
  }
};

TEST_F(FlightTest, AnAirToAirMissileAcceleratesTrailsSmokeAndIsRemovedBelowMinusFifty) {
  auto* m = Launch<TAAMissile>(500, 600, uint8_t{0}, kSidePlayer);
  std::vector<int32_t> ys;
  for (int i = 0; i < 4; ++i) {
    Tick(w);
    ys.push_back(m->Y);
    // A smoke puff 40 below the missile's new position, every tick, already stepped once.
    auto smoke = AllOf<TMissileSmoke>(w.EffectList);
    ASSERT_EQ(smoke.size(), static_cast<size_t>(i + 1));
    EXPECT_EQ(smoke.front()->X, 500);
    EXPECT_EQ(smoke.front()->Y, m->Y + 40);
    EXPECT_EQ(smoke.front()->Frame, 0);
  }
  EXPECT_EQ(ys, (std::vector<int32_t>{598, 595, 591, 586}));

  int32_t last = m->Y;
  for (int tick = 0; m->Alive; ++tick) {
    ASSERT_LT(tick, 100) << "the missile never left";
    last = m->Y;
    Tick(w);
  }
  EXPECT_GE(last, -50);
  EXPECT_LT(m->Y, -50);  // removed in the tick it went past the limit
  EXPECT_EQ(AllOf<TAAMissile>(w.FlyerList).size(), 1u);
  Tick(w);
  EXPECT_TRUE(AllOf<TAAMissile>(w.FlyerList).empty());
}

TEST_F(FlightTest, ABeamIsRemovedOneTickAfterItLeavesTheTop) {
  auto* beam = Launch<TLightBeam>(500, 100, uint8_t{0}, kSidePlayer);
  int firstOut = 0, dead = 0;
  for (int tick = 1; tick <= 20 && !dead; ++tick) {
    Tick(w);
    if (!firstOut && beam->Y < -50) firstOut = tick;
    if (!beam->Alive) dead = tick;
  }
  EXPECT_EQ(firstOut, 8);  // 100 - 8 * 20 = -60
  EXPECT_EQ(dead, 9);      // the test runs before the step
}

TEST_F(FlightTest, ALightBeamPiercesWeakerEnemiesAndStopsAtAStrongerOne) {
  auto strong = AddTarget(w, 480, 150, 50, 40, 60);
  auto weak2 = AddTarget(w, 480, 300, 50, 40, 10);
  auto weak1 = AddTarget(w, 480, 450, 50, 40, 25);
  auto* beam = Launch<TLightBeam>(500, 600, uint8_t{0}, kSidePlayer);
  TicksUntilDead(*beam);
  EXPECT_EQ(weak1->Hits, (std::vector<int32_t>{25}));
  EXPECT_FALSE(weak1->Alive);
  EXPECT_EQ(weak2->Hits, (std::vector<int32_t>{10}));
  EXPECT_FALSE(weak2->Alive);
  EXPECT_EQ(strong->Hits, (std::vector<int32_t>{40}));
  EXPECT_EQ(strong->Health, 20);
  EXPECT_TRUE(strong->Alive);
  EXPECT_EQ(beam->Health, 40);          // a hit never weakens it
  EXPECT_EQ(w.EffectList.Count(), 0u);  // it vanishes without an effect
  EXPECT_EQ(beam->Y, 180);  // stopped on its 21st step (600 - 21 * 20) at the strong one
}

TEST_F(FlightTest, TheHeavyBeamIsNeverStoppedAndTakesUpToThirtyEveryTickOfOverlap) {
  auto tough = AddTarget(w, 480, 300, 50, 30, 1000);
  auto* beam = Launch<THeavyBeam>(500, 500, uint8_t{0}, kSidePlayer);
  for (int tick = 1; tick <= 25; ++tick) Tick(w);  // to Y 200, well past the target
  EXPECT_TRUE(beam->Alive);
  EXPECT_EQ(beam->Y, 200);
  // Edges touch at Y 330 and 260 (a 40-high beam, a target over 300..330): the beam stands
  // on it at 320, 308, 296, 284, 272 and 260.
  EXPECT_EQ(tough->Hits, (std::vector<int32_t>{30, 30, 30, 30, 30, 30}));
  EXPECT_EQ(tough->Health, 820);
}

TEST_F(FlightTest, APlasmaBallBurstsIntoSixFragmentsThatHarmBothSides) {
  auto enemy = AddTarget(w, 440, 300, 100, 40, 150);
  auto* ball = Launch<TPlasmaBall>(480, 400, uint8_t{0}, kSidePlayer);
  for (int tick = 0; enemy->Hits.empty(); ++tick) {
    ASSERT_LT(tick, 100) << "the ball never reached the target";
    Tick(w);
  }
  EXPECT_EQ(enemy->Hits, (std::vector<int32_t>{150}));
  EXPECT_FALSE(enemy->Alive);
  EXPECT_FALSE(ball->Alive);
  auto fragments = AllOf<TPlasmaFragment>(w.FlyerList);
  ASSERT_EQ(fragments.size(), 6u);
  const int32_t expected[6][4] = {{-1, 0, -2, -2}, {7, 0, 0, -3}, {15, 0, 2, -2},
                                  {-1, 10, -2, 2}, {7, 10, 0, 3}, {15, 10, 2, 2}};
  for (int i = 0; i < 6; ++i) {
    const TPlasmaFragment* f = fragments[5 - i];  // the list holds the newest first
    EXPECT_EQ(f->X, ball->X + expected[i][0]);
    EXPECT_EQ(f->Y, ball->Y + expected[i][1]);
    EXPECT_EQ(f->Dx, expected[i][2]);
    EXPECT_EQ(f->Dy, expected[i][3]);
    EXPECT_EQ(f->Owner, kSideFragment);
    EXPECT_EQ(f->Side, kSideFragment);
  }
  // Fragments pass through each other but meet the player's side and the enemy's alike.
  EXPECT_TRUE(fragments[0]->IsFriend(kSideFragment));
  EXPECT_FALSE(fragments[0]->IsFriend(kSidePlayer));
  EXPECT_FALSE(fragments[0]->IsFriend(kSideEnemy));
}

TEST_F(FlightTest, AFragmentExplodesOnWhateverItMeets) {
  auto ally = AddTarget(w, 500, 330, 40, 20, 500, kSidePlayer);
  auto* f = Launch<TPlasmaFragment>(510, 300, 0, 3, kSideFragment);
  TicksUntilDead(*f, 50);
  EXPECT_EQ(ally->Hits, (std::vector<int32_t>{50}));
  EXPECT_EQ(ally->Health, 450);
  auto explosions = AllOf<TMediumExplosion>(w.EffectList);
  ASSERT_EQ(explosions.size(), 1u);
  EXPECT_EQ(explosions[0]->X, f->X);
  EXPECT_EQ(explosions[0]->Y, f->Y);
}

TEST_F(FlightTest, ShotsOfOneSidePassThroughEachOtherAndOpposingShotsCollide) {
  // Two player beams in the same place: nothing happens.
  auto* a = Launch<TLightBeam>(500, 400, uint8_t{0}, kSidePlayer);
  auto* b = Launch<TMediumBeam>(500, 400, uint8_t{0}, kSidePlayer);
  Tick(w);
  EXPECT_TRUE(a->Alive);
  EXPECT_TRUE(b->Alive);
  w.FlyerList.Clear();

  // A player's missile meets an enemy's light beam head on: the beam deals its 40, the
  // missile explodes; the beam took 40, its own power, and stops.
  auto* missile = Launch<TAAMissile>(500, 400, uint8_t{0}, kSidePlayer);
  auto* beam = Launch<TLightBeam>(502, 360, uint8_t{1}, kSideEnemy);
  Tick(w);
  EXPECT_FALSE(missile->Alive);
  EXPECT_FALSE(beam->Alive);
  EXPECT_EQ(AllOf<TMediumExplosion>(w.EffectList).size(), 2u);
}

TEST_F(FlightTest, AMiniMissileIsEjectedSidewaysThenIgnitesOnItsTwelfthTick) {
  auto* m = Launch<TMiniMissile>(500, 100, uint8_t{1}, uint8_t{1}, kSidePlayer);
  EXPECT_EQ(m->X, 530);
  EXPECT_EQ(m->Y, 100);
  EXPECT_EQ(m->Dx, 22);
  EXPECT_EQ(m->Dy, 2);
  // The sideways speed falls by a factor 1.2 a tick (22 / 1.2 = 18.33 moves 18 pixels, ...,
  // 3.553 moves 4, 2.961 moves 3).
  const double kDx[11] = {18.333333, 15.277778, 12.731481, 10.609568, 8.841307, 7.367755,
                          6.139796,  5.116497,  4.263747,  3.553123,  2.960936};
  const int32_t kX[11] = {548, 563, 576, 587, 596, 603, 609, 614, 618, 622, 625};
  for (int tick = 1; tick <= 11; ++tick) {
    Tick(w);
    EXPECT_NEAR(m->Dx, kDx[tick - 1], 1e-6) << tick;
    EXPECT_EQ(m->X, kX[tick - 1]) << tick;
    EXPECT_FALSE(m->Ignited);
    EXPECT_EQ(m->Dy, 2);
    EXPECT_TRUE(AllOf<TMiniSmoke>(w.EffectList).empty());
  }
  Tick(w);  // the twelfth: a drift of (r - 50) / 8, then it starts to accelerate and smoke
  EXPECT_TRUE(m->Ignited);
  EXPECT_LE(std::abs(m->Dx), 50.0 / 8);
  EXPECT_EQ(m->Dx * 8, std::round(m->Dx * 8));  // a whole number of eighths
  EXPECT_EQ(m->Dy, 3);
  auto smoke = AllOf<TMiniSmoke>(w.EffectList);
  ASSERT_EQ(smoke.size(), 1u);
  EXPECT_EQ(smoke[0]->Y, 100 + 11 * 2 + 22);  // at the position before this tick's step
  for (int tick = 0; m->Alive; ++tick) {
    ASSERT_LT(tick, 200) << "the missile never left";
    const int32_t y = m->Y;
    Tick(w);
    if (!m->Alive) {
      EXPECT_LE(y, 800);
      EXPECT_GT(m->Y, 800);  // removed below 800 rather than 900
    }
  }
}

TEST_F(FlightTest, MissilesExplodeOnARealHitOnly) {
  TAAMissile missile(w, 500, 400, 0, kSidePlayer);
  missile.Hit(0);
  EXPECT_TRUE(missile.Alive);
  missile.Hit(1);
  EXPECT_FALSE(missile.Alive);
  auto explosions = AllOf<TMediumExplosion>(w.EffectList);
  ASSERT_EQ(explosions.size(), 2u);
  EXPECT_EQ(explosions[1]->X, 490);  // oldest: (X - 10, Y - 5)
  EXPECT_EQ(explosions[1]->Y, 395);
  EXPECT_EQ(explosions[0]->Y, 420);  // then (X - 10, Y + 20)
  EXPECT_EQ(explosions[0]->Frame, 0);

  TMiniMissile mini(w, 500, 400, 0, 0, kSidePlayer);
  mini.Hit(0);
  EXPECT_TRUE(mini.Alive);
  mini.Hit(20);
  EXPECT_FALSE(mini.Alive);
  EXPECT_EQ(AllOf<TMediumExplosion>(w.EffectList).front()->X, 465 - 13);

  // A plasma ball bursts even on a contact that exchanges nothing.
  TPlasmaBall ball(w, 300, 300, 1, kSideEnemy);
  ball.Hit(0);
  EXPECT_FALSE(ball.Alive);
  EXPECT_EQ(AllOf<TPlasmaFragment>(w.FlyerList).size(), 6u);
}

TEST_F(FlightTest, ATripleCannonSideShellFliesOnPastTheScreenEdgeUntilItLeavesVertically) {
  w.ShellList.Push(std::make_unique<TShell>(w, 1000, 700, 3, -4, 10));
  int ticks = 0;
  int32_t lastX = 0, lastY = 0;
  while (w.ShellList.Head() && ticks < 1000) {
    lastX = w.ShellList.Head()->Object->X;
    lastY = w.ShellList.Head()->Object->Y;
    Tick(w);
    ++ticks;
  }
  // Two steps of (3, -4) per tick: its 178th step takes it past -10 (and the 178th is the
  // second step of tick 89, whose second move pass has already run), far right of the screen.
  EXPECT_EQ(ticks, 90);
  EXPECT_EQ(lastY, 700 - 8 * 89);
  EXPECT_EQ(lastX, 1000 + 6 * 89);
}

}  // namespace
