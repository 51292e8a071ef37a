#include "flyers/flyer.h"

#include <gtest/gtest.h>

#include "support/test_world.h"

namespace {

class Counting : public TFlyer {
 public:
  using TFlyer::TFlyer;
  void Die() override {
    ++Deaths;
    TFlyer::Die();
  }
  int Deaths = 0;
};

TEST(FlyerDefaults, HitSubtractsAndDiesOnlyOnTheHitThatEndsTheHealth) {
  TestWorld t;
  Counting f(t.world);
  f.Health = 10;
  f.Hit(0);  // no damage: nothing happens
  EXPECT_EQ(f.Health, 10);
  EXPECT_EQ(f.Deaths, 0);
  EXPECT_TRUE(f.Alive);
  f.Hit(10);
  EXPECT_EQ(f.Health, 0);
  EXPECT_EQ(f.Deaths, 1);
  EXPECT_FALSE(f.Alive);
  f.Hit(0);  // a wreck struck again is not destroyed again
  f.Hit(5);
  EXPECT_EQ(f.Health, -5);
  EXPECT_EQ(f.Deaths, 1);

  Counting overkill(t.world);
  overkill.Health = 3;
  overkill.Hit(50);  // far past zero in one blow: still one death
  EXPECT_EQ(overkill.Health, -47);
  EXPECT_EQ(overkill.Deaths, 1);
}

TEST(FlyerDefaults, HitNeverOverflowsHealth) {
  TestWorld t;
  Counting f(t.world);
  f.Health = INT32_MIN + 5;
  f.Hit(INT32_MAX);
  EXPECT_EQ(f.Health, INT32_MIN);
  f.Health = 5;
  f.Hit(INT32_MIN);  // a negative damage heals, within range
  EXPECT_EQ(f.Health, INT32_MAX);
}

TEST(FlyerDefaults, NobodyIsAFriendByDefault) {
  TestWorld t;
  TFlyer f(t.world);
  for (int side : {0, 101, 102, 255}) EXPECT_FALSE(f.IsFriend(static_cast<uint8_t>(side)));
}

TEST(Shapes, AreLinkedInFrontAndSwitchingKindDropsTheOtherRecord) {
  TestWorld t;
  TFlyer f(t.world);
  EXPECT_EQ(f.Shapes, nullptr);
  f.AddRect(1, 2, 3, 4);
  f.AddCircle(5, 6, 7);
  ASSERT_NE(f.Shapes, nullptr);
  EXPECT_EQ(f.Shapes->Kind, skCircle);
  EXPECT_EQ(f.Shapes->Circle()->Radius, 7);
  EXPECT_EQ(f.Shapes->Rect(), nullptr);
  ASSERT_NE(f.Shapes->Next, nullptr);
  EXPECT_EQ(f.Shapes->Next->Rect()->Height, 4);

  TShape s;
  EXPECT_EQ(s.Kind, skNone);
  EXPECT_EQ(s.Circle(), nullptr);
  EXPECT_EQ(s.Rect(), nullptr);
  s.SetRect(1, 1, 1, 1);
  s.SetCircle(2, 3, 4);
  EXPECT_EQ(s.Kind, skCircle);
  EXPECT_EQ(s.Rect(), nullptr);
  EXPECT_EQ(s.Circle()->CX, 2);

  f.Done();
  EXPECT_EQ(f.Shapes, nullptr);
}

}  // namespace
