#include <gtest/gtest.h>

#include "core/bonus.h"
#include "core/collision.h"
#include "core/effect.h"
#include "core/tick.h"
#include "support/flight.h"
#include "support/test_world.h"

namespace {

// Steps an effect until it dies; returns the frames it showed (those drawn after each step).
template <class E>
std::vector<int32_t> Frames(E& effect) {
  std::vector<int32_t> shown;
  for (int steps = 0; effect.Alive; ++steps) {
    if (steps == 100) {
      ADD_FAILURE() << "the effect never ended";
      break;
    }
    effect.EffectStep();
    if (effect.Alive && effect.Frame >= 0) shown.push_back(effect.Frame);
  }
  return shown;
}

TEST(Effects, LiveFromTheirStartFrameToTheirLastFrame) {
  TestWorld t;
  TMuzzleFlash flash(t.world, 0, 0);
  EXPECT_EQ(Frames(flash), (std::vector<int32_t>{0, 1}));  // three steps: -1>0, 0>1, 1>dead

  TMissileSmoke smoke(t.world, 0, 0);
  EXPECT_EQ(Frames(smoke), (std::vector<int32_t>{0, 1, 2, 3, 4}));

  TBigExplosion fromZero(t.world, 0, 0, 0);
  auto frames = Frames(fromZero);
  EXPECT_EQ(frames.size(), 16u);  // shown at frames 1..16
  EXPECT_EQ(frames.front(), 1);

  TMediumExplosion delayed(t.world, 0, 0, -8);
  for (int i = 0; i < 7; ++i) delayed.EffectStep();
  EXPECT_LT(delayed.Frame, 0);
  delayed.EffectStep();  // first visible after its eighth step
  EXPECT_EQ(delayed.Frame, 0);
}

TEST(Effects, DrawTheirFrameAndNothingBeyondThePicture) {
  TestWorld t;
  while (t.media.EffectPictures.Items.Count() <= epSmoke3) t.media.EffectPictures.Items.Add();
  auto& item = t.media.EffectPictures.Items[epSmoke3];
  item.Picture.Width = 4;
  item.Picture.Height = 2;
  item.Picture.Pixels = {1, 1, 2, 2, 1, 1, 2, 2};  // two 2 x 2 patterns
  item.PatternWidth = 2;
  item.PatternHeight = 2;
  t.media.DXDraw1.Initialize();
  auto& surface = t.media.DXDraw1.Surface();

  TEffectKind<epSmoke3, 4> e(t.world, 10, 10, 1);
  e.EffectDraw();
  EXPECT_EQ(surface.PixelAt(10, 10), 2u);
  e.Frame = 2;  // no such pattern: nothing drawn, nothing fails
  surface.Fill(clBlack);
  e.EffectDraw();
  EXPECT_EQ(surface.PixelAt(10, 10), 0u);
  e.Frame = -1;
  e.EffectDraw();
  EXPECT_EQ(surface.PixelAt(10, 10), 0u);
}

TEST(Bonuses, FallTwoPixelsATickAnimateAndLeaveBelowTheArea) {
  TestWorld t;
  THealthBonus b(t.world, 100, 0);
  std::vector<int32_t> anim;
  for (int i = 0; i < 20; ++i) {
    b.Move();
    anim.push_back(b.AnimTicks);
  }
  EXPECT_EQ(anim[0], 1);
  EXPECT_EQ(anim[17], 18);
  EXPECT_EQ(anim[18], 0);  // a cycle of 19 ticks
  EXPECT_EQ(b.Y, 40);
  EXPECT_EQ(b.X, 100);
  int moves = 20;
  while (b.Alive && moves < 1000) {
    b.Move();
    ++moves;
  }
  EXPECT_EQ(moves, 501);  // passes y = 1000 on its 501st move
}

// The Jaguar at (500, 650): its largest hull circle has its centre at (579, 724), radius 39;
// its spine is the rectangle x 576..584, y 654..760. A bonus is a circle of radius 22 around
// (X + 25, Y + 25) in a 50 x 50 box, and falls 2 pixels before each test.
struct BonusFlight : ::testing::Test {
  FlightWorld f;
  template <class B>
  B* Drop(int32_t x, int32_t y) {
    return f.world.BonusList.Push(std::make_unique<B>(f.world, x, y));
  }
};

TEST_F(BonusFlight, AHealthBonusOverTheHullRestoresFullHealth) {
  f.Aircraft().Health = 1;
  Drop<THealthBonus>(554, 690);
  f.TickWith({});
  EXPECT_EQ(f.Aircraft().Health, 500);
  EXPECT_EQ(f.Aircraft().MaxHealth, 500);

  // Without an aircraft in the world a bonus only ends.
  TestWorld bare;
  THealthBonus alone(bare.world, 0, 0);
  alone.Apply();
  EXPECT_FALSE(alone.Alive);
}

TEST_F(BonusFlight, ACreditBonusPaysTwentyThousandOnceOnTheTickItFirstTouches) {
  const int64_t before = f.world.State.Credits;
  Drop<TCreditBonus>(554, 600);
  // Falling on the spine: at Y 606 the circle misses the rectangle's corner (576, 654) by
  // 9 + 529 > 484; at Y 608 it takes it (9 + 441 <= 484).
  std::vector<int64_t> paid;
  for (int tick = 1; tick <= 40; ++tick) {
    f.TickWith({});
    paid.push_back(f.world.State.Credits - before);
  }
  EXPECT_EQ(paid[2], 0);
  EXPECT_EQ(paid[3], 20000);
  EXPECT_EQ(paid.back(), 20000);   // once, though it lay on the hull for many more ticks
  EXPECT_EQ(f.Aircraft().X, 500);  // the aircraft stood still all along
  EXPECT_EQ(f.Aircraft().Y, 650);
}

TEST_F(BonusFlight, ABonusInsideTheBoxButOffTheHullIsNotApplied) {
  f.Aircraft().Health = 1;
  const int64_t before = f.world.State.Credits;
  // Its circle spans x 458..502; the hull begins at x 544. The boxes overlap from x 500.
  THealthBonus* health = Drop<THealthBonus>(455, 640);
  TCreditBonus* credit = Drop<TCreditBonus>(455, 600);
  for (int tick = 1; tick <= 60; ++tick) {
    f.TickWith({});
    ASSERT_TRUE(BoxesOverlap(*health, f.Aircraft())) << tick;
    ASSERT_TRUE(BoxesOverlap(*credit, f.Aircraft())) << tick;
    ASSERT_TRUE(health->Alive) << tick;
    ASSERT_TRUE(credit->Alive) << tick;
  }
  EXPECT_EQ(f.Aircraft().Health, 1);
  EXPECT_EQ(f.world.State.Credits, before);
}

}  // namespace
