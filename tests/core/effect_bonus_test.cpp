#include <gtest/gtest.h>

#include "core/bonus.h"
#include "core/effect.h"
#include "core/tick.h"
#include "support/test_world.h"

namespace {

// Steps an effect until it dies; returns the frames it showed (those drawn after each step).
template <class E>
std::vector<int32_t> Frames(E& effect) {
  std::vector<int32_t> shown;
  while (effect.Alive) {
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
  while (b.Alive) {
    b.Move();
    ++moves;
  }
  EXPECT_EQ(moves, 501);  // passes y = 1000 on its 501st move
}

TEST(Bonuses, ApplyGivesTheRewardAndEndsTheBonus) {
  TestWorld t;
  TCreditBonus credit(t.world, 0, 0);
  int64_t before = t.world.State.Credits;
  credit.Apply();
  EXPECT_EQ(t.world.State.Credits, before + 20000);
  EXPECT_FALSE(credit.Alive);

  THealthBonus health(t.world, 0, 0);
  health.Apply();  // without an aircraft it only ends
  EXPECT_FALSE(health.Alive);
  EXPECT_EQ(health.Shapes->Circle()->Radius, 22);
  EXPECT_EQ(health.Shapes->Next, nullptr);
}

}  // namespace
