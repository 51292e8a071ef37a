#include "flyers/aircraft.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "base/rounding.h"
#include "core/collision.h"
#include "flyers/projectile.h"
#include "presentation/form_components.h"
#include "support/flight.h"
#include "support/targets.h"

namespace {

int ShapeCount(const TFlyer& f) {
  int n = 0;
  for (const TShape* s = f.Shapes.get(); s; s = s->Next.get()) ++n;
  return n;
}

TEST(Aircraft, EachKindHasItsNumbersSpriteEngineAndHitArea) {
  FlightWorld f;
  World& w = f.world;
  struct Kind {
    int32_t health;
    double accel;
    int32_t maxSpeed;
    int slots;
    int64_t price, sell;
    uint32_t key;
  };
  const Kind kinds[] = {{500, 1.0, 8, 1, 50000, 30000, 0x00FFFF},
                        {1000, 1.2, 10, 2, 140000, 80000, 0x00FFFF},
                        {3000, 1.3, 50, 3, 300000, 90000, 0x00FFFF},
                        {5000, 1.5, 100, 5, 400000, 300000, 0x000000}};
  w.Media.DXDraw1.Initialize();
  for (uint8_t k = 0; k < 4; ++k) {
    auto a = MakeAircraft(w, k, 500, 650);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Kind, k);
    EXPECT_EQ(a->MaxHealth, kinds[k].health);
    EXPECT_EQ(a->Health, kinds[k].health);
    EXPECT_EQ(a->Accel, kinds[k].accel);
    EXPECT_EQ(a->MaxSpeed, kinds[k].maxSpeed);
    EXPECT_EQ(a->SlotCount, kinds[k].slots);
    EXPECT_EQ(a->Price, kinds[k].price);
    EXPECT_EQ(a->SellValue, kinds[k].sell);
    EXPECT_EQ(a->Width, 160);
    EXPECT_EQ(a->Height, 120);
    EXPECT_EQ(a->Side, kSidePlayer);
    EXPECT_EQ(a->X, 500);
    EXPECT_EQ(a->Y, 650);
    EXPECT_EQ(a->CurrentSlot, 0);
    EXPECT_EQ(a->Cannon, nullptr);
    EXPECT_EQ(ShapeCount(*a), k == akF15 ? 5 : (k == akJaguar ? 5 : 4));
    // The shared sprite item now shows this kind: 11 frames of 160 x 120 with its key.
    const auto& sprite = w.Media.HCFlyerPictures.Items[0];
    EXPECT_EQ(sprite.PatternCount(), 11);
    EXPECT_EQ(sprite.TransparentColor(), kinds[k].key);
    EXPECT_TRUE(sprite.Transparent);
    EXPECT_FALSE(w.Media.DXEnginesWaveList.Items[0].Wave.Empty());
    a->Done();
  }
  EXPECT_EQ(MakeAircraft(w, 4, 0, 0), nullptr);
  EXPECT_EQ(MakeAircraft(w, 255, 0, 0), nullptr);
}

TEST(Aircraft, AMissingSpriteBuildsNoAircraftAndNamesTheFile) {
  ScopedTempDir dir;
  TestWorld t;
  try {
    TAircraft a(t.world, akF15, 0, 0);
    FAIL() << "built without its sprite";
  } catch (const EGameError& e) {
    EXPECT_NE(std::string(e.what()).find("f15.bmp"), std::string::npos) << e.what();
  }
}

TEST(Aircraft, TheJaguarsHitAreaCoversItsBodyAndNotItsCorners) {
  FlightWorld f(akJaguar, 100, 100);
  TAircraft& a = f.Aircraft();
  EXPECT_TRUE(PointInShapes({100 + 79, 100 + 74}, a));   // the body
  EXPECT_TRUE(PointInShapes({100 + 80, 100 + 5}, a));    // the nose bar
  EXPECT_TRUE(PointInShapes({100 + 64, 100 + 114}, a));  // the tail
  EXPECT_FALSE(PointInShapes({100, 100}, a));
  EXPECT_FALSE(PointInShapes({100 + 159, 100 + 119}, a));
}

// Holding one direction: the controls accelerate before the list moves the aircraft.
TEST(Aircraft, IsHeldAtTheScreenEdgesByItsCentre) {
  FlightWorld f(akF16);
  TAircraft& a = f.Aircraft();
  for (int i = 0; i < 200; ++i) f.TickWith({InputLeft, InputUp});
  EXPECT_EQ(a.X, -80);
  EXPECT_EQ(a.Y, -60);
  for (int i = 0; i < 200; ++i) f.TickWith({InputRight, InputDown});
  EXPECT_EQ(a.X, 944);
  EXPECT_EQ(a.Y, 708);
  for (int i = 0; i < 200; ++i) f.TickWith({});  // it coasts to a stop
  EXPECT_EQ(Round(a.Dx), 0);
  EXPECT_EQ(a.X, 944);
}

TEST(Aircraft, SettlesAtEightTenFourteenAndSixteenPixelsPerTick) {
  const int32_t settled[] = {8, 10, 14, 16};
  for (uint8_t k = 0; k < 4; ++k) {
    FlightWorld f(k);
    TAircraft& a = f.Aircraft();
    int32_t step = 0;
    for (int i = 0; i < 100; ++i) {
      a.X = 400;  // keep clear of the edges
      a.Y = 300;
      f.TickWith({InputRight, InputUp});
      step = a.X - 400;
      EXPECT_EQ(a.Y - 300, -step);  // the two axes behave alike
    }
    EXPECT_EQ(step, settled[k]) << int(k);
  }
}

TEST(Aircraft, AccelerateCapsByTheRoundedSignAndStepDrags) {
  FlightWorld f;
  TAircraft& a = f.Aircraft();  // Jaguar: Accel 1, MaxSpeed 8
  a.Dx = 8.5;
  a.Accelerate(0, 0);  // no input, but the cap still applies
  EXPECT_EQ(a.Dx, 8);
  a.Dx = -7.5;
  a.Accelerate(-5, 0);  // only the sign counts: -8.5, capped
  EXPECT_EQ(a.Dx, -8);
  a.Dy = 0;
  a.Accelerate(0, 100);
  EXPECT_EQ(a.Dy, 1);
  a.X = 400;
  a.Dx = 5.5;  // rounds to 6
  a.Step();
  EXPECT_EQ(a.X, 406);
  EXPECT_DOUBLE_EQ(a.Dx, 5.5 / 1.1);
}

TEST(Aircraft, DrawsTheFrameItsHorizontalSpeedCallsFor) {
  FlightWorld f;
  TAircraft& a = f.Aircraft();
  struct Case {
    double dx;
    int32_t frame;
  };
  const Case cases[] = {{-1000.4, 5}, {-1000.6, -1}, {-10, 5},  {-9.5, 5}, {-9, 4},  {-8, 4},
                        {-7, 3},      {-6, 3},       {-5, 2},   {-4, 2},   {-3, 1},  {-2, 1},
                        {-1.5, 1},    {-1, 0},       {1.4, 0},  {1.5, 6},  {2.5, 6}, {3, 6},
                        {4, 7},       {5, 7},        {6, 8},    {7, 8},    {8, 9},   {9, 9},
                        {10, 10},     {1000, 10},    {1001, -1}};
  for (const Case& c : cases) {
    a.Dx = c.dx;
    EXPECT_EQ(a.Frame(), c.frame) << c.dx;
  }
  // On the back buffer: frame k is the cell filled with colour 0x406080 + k.
  f.world.Media.DXDraw1.Initialize();
  auto& surface = f.world.Media.DXDraw1.Surface();
  a.X = 100;
  a.Y = 100;
  for (const Case& c : {Case{0, 0}, Case{-9.5, 5}, Case{2.5, 6}, Case{12, 10}}) {
    a.Dx = c.dx;
    a.Draw({});
    EXPECT_EQ(PixelToColor(surface.PixelAt(180, 160)), 0x406080u + c.frame) << c.dx;
  }
  surface.Fill(0);
  a.Dx = 2000;
  a.Draw({});
  EXPECT_EQ(surface.PixelAt(180, 160), 0u);
}

TEST(Aircraft, NextWeaponFindsTheNextOccupiedSlotAndWraps) {
  FlightWorld f(akF16);
  TAircraft& a = f.Aircraft();
  a.NextWeapon();  // nothing mounted: the selection stays
  EXPECT_EQ(a.CurrentSlot, 0);
  a.Slots[0] = MakeWeapon(f.world, wkAAMissiles);
  a.Slots[3] = MakeWeapon(f.world, wkLightLaser);
  a.NextWeapon();
  EXPECT_EQ(a.CurrentSlot, 3);
  a.NextWeapon();
  EXPECT_EQ(a.CurrentSlot, 0);
  a.Slots[3].reset();
  a.NextWeapon();  // a single occupied slot keeps the selection on itself
  EXPECT_EQ(a.CurrentSlot, 0);
}

TEST(Aircraft, FiresTheCannonFromItsNoseAndTheSelectedWeaponAboveIt) {
  FlightWorld f(akF5F, 300, 400);
  TAircraft& a = f.Aircraft();
  a.FireCannon();  // no cannon: nothing
  a.FireWeapon();  // empty slot: nothing
  EXPECT_EQ(f.world.ShellList.Count(), 0u);
  EXPECT_EQ(f.world.FlyerList.Count(), 1u);

  a.Cannon = MakeCannon(f.world, ckVulcan);
  a.FireCannon();
  ASSERT_EQ(f.world.ShellList.Count(), 1u);
  const TShell& shell = *f.world.ShellList.Head()->Object;
  EXPECT_EQ(shell.X, 380);
  EXPECT_EQ(shell.Y, 400);
  EXPECT_EQ(shell.Dy, -5);
  EXPECT_EQ(shell.Damage, 2);

  a.Slots[0] = MakeWeapon(f.world, wkLightLaser);
  a.Slots[1] = MakeWeapon(f.world, wkAAMissiles);
  a.CurrentSlot = 1;
  a.FireWeapon();
  auto missiles = AllOf<TAAMissile>(f.world.FlyerList);
  ASSERT_EQ(missiles.size(), 2u);
  EXPECT_EQ(missiles[1]->X, 380 - 30);
  EXPECT_EQ(missiles[1]->Y, 390);
  EXPECT_EQ(missiles[1]->Down, 0);
  EXPECT_EQ(missiles[1]->Owner, kSidePlayer);
  EXPECT_TRUE(AllOf<TLightBeam>(f.world.FlyerList).empty());
}

TEST(Aircraft, EveryMountedWeaponRechargesSelectedOrNot) {
  FlightWorld f(akF16);
  TAircraft& a = f.Aircraft();
  a.Cannon = MakeCannon(f.world, ckAT);
  a.Slots[4] = MakeWeapon(f.world, wkHeavyLaser);
  a.Cannon->Ready = false;
  a.Slots[4]->Ready = false;
  for (int i = 0; i < 21; ++i) f.TickWith({});
  EXPECT_TRUE(a.Cannon->Ready);  // N = 20
  EXPECT_FALSE(a.Slots[4]->Ready);
  for (int i = 0; i < 50; ++i) f.TickWith({});
  EXPECT_TRUE(a.Slots[4]->Ready);  // N = 70, in slot 4 while slot 0 is selected
}

TEST(Aircraft, TotalValueCountsTheOfferedSlotsAndDoneFreesThem) {
  FlightWorld f(akF5F);
  TAircraft& a = f.Aircraft();
  EXPECT_EQ(a.TotalValue(), 80000);
  a.Cannon = MakeCannon(f.world, ckDC);              // 8000
  a.Slots[0] = MakeWeapon(f.world, wkMiniMissiles);  // 4000
  a.Slots[1] = MakeWeapon(f.world, wkPlasmaCannon);  // 60000
  a.Slots[2] = MakeWeapon(f.world, wkHeavyLaser);    // beyond the F5F's two slots
  EXPECT_EQ(a.TotalValue(), 80000 + 8000 + 4000 + 60000);
  a.Done();
  EXPECT_EQ(a.Cannon, nullptr);
  EXPECT_EQ(a.Slots[0], nullptr);
  EXPECT_EQ(a.Slots[1], nullptr);
  EXPECT_EQ(a.Shapes, nullptr);
  EXPECT_EQ(a.TotalValue(), 80000);
}

TEST(Aircraft, ShotDownEndsTheMissionLostOnceWithoutClearingAlive) {
  FlightWorld f;
  TAircraft& a = f.Aircraft();
  a.Hit(499);
  EXPECT_EQ(f.events.defeats, 0);
  a.Hit(1);
  EXPECT_TRUE(f.world.State.GameOver);
  EXPECT_EQ(f.events.defeats, 1);
  EXPECT_EQ(f.events.timersStopped, 1);
  EXPECT_TRUE(a.Alive);
  a.Hit(10);  // a further hit in the same tick does not end the mission again
  EXPECT_EQ(f.events.defeats, 1);
  EXPECT_EQ(f.events.timersStopped, 1);
  Tick(f.world);  // GameOver: nothing moves any more
  EXPECT_EQ(f.world.Player, &a);
}

TEST(Aircraft, PlasmaFragmentsHurtTheAircraftThatFiredTheBall) {
  FlightWorld f(akF16, 400, 500);
  TAircraft& a = f.Aircraft();
  // A ball of the player's bursting right above the aircraft's nose.
  auto* ball = f.world.FlyerList.Push(std::make_unique<TPlasmaBall>(f.world, 470, 480, 0, 0));
  auto enemy = AddTarget(f.world, 440, 440, 100, 30, 150);
  for (int tick = 0; ball->Alive; ++tick) {
    ASSERT_LT(tick, 100) << "the ball never burst";
    f.TickWith({});
  }
  EXPECT_EQ(enemy->Hits, (std::vector<int32_t>{150}));
  // It burst at (470, 470): of the three fragments sent downwards only the middle one,
  // falling straight at 3 a tick from (477, 480), meets the hull (the spine at x 476..484
  // from y 513); the two sent aside at 45 degrees pass either side of it.
  for (int i = 0; i < 30; ++i) f.TickWith({});
  EXPECT_EQ(a.Health, 5000 - 50);
}

}  // namespace
