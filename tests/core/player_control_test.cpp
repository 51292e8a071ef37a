// The controls over real ticks of a world with the player's aircraft in flight.
#include "core/player_control.h"

#include <gtest/gtest.h>

#include "flyers/projectile.h"
#include "support/flight.h"
#include "support/targets.h"

namespace {

TEST(Repair, IsBoughtOnlyWithMoreThanItsPriceAndOnlyWhenDamaged) {
  FlightWorld f;
  TAircraft& a = f.Aircraft();
  f.world.State.Credits = 60000;
  f.TickWith({InputButton31});  // full health: costs nothing
  EXPECT_EQ(f.world.State.Credits, 60000);

  a.Health = 100;
  f.world.State.Credits = 50000;
  f.TickWith({InputButton31});  // exactly the price is not enough
  EXPECT_EQ(a.Health, 100);
  EXPECT_EQ(f.world.State.Credits, 50000);

  f.world.State.Credits = 50001;
  f.TickWith({InputButton31});
  EXPECT_EQ(a.Health, 500);
  EXPECT_EQ(f.world.State.Credits, 1);

  a.Health = 100;
  f.world.State.Credits = 200000;
  f.TickWith({InputButton31});
  f.TickWith({InputButton31});  // held on: one repair; the next needs new damage
  EXPECT_EQ(f.world.State.Credits, 150000);
}

TEST(Steering, UpBeatsDownLeftBeatsRightAndAxesCombine) {
  FlightWorld f;
  TAircraft& a = f.Aircraft();
  f.TickWith({InputUp, InputDown, InputLeft, InputRight});
  // Accelerated to -1 on both axes, then one drag: the controls run before the move.
  EXPECT_EQ(a.X, 499);
  EXPECT_EQ(a.Y, 649);
  EXPECT_DOUBLE_EQ(a.Dx, -1 / 1.1);
  EXPECT_DOUBLE_EQ(a.Dy, -1 / 1.1);
  f.TickWith({InputDown, InputRight});
  EXPECT_GT(a.Dx, 0);
  EXPECT_GT(a.Dy, 0);
}

TEST(Switching, TheSixteenthHeldTickSwitchesAndHeldTicksAddUpAcrossPresses) {
  FlightWorld f(akF16);
  TAircraft& a = f.Aircraft();
  a.Slots[0] = MakeWeapon(f.world, wkAAMissiles);
  a.Slots[2] = MakeWeapon(f.world, wkLightLaser);
  for (int i = 0; i < 15; ++i) f.TickWith({InputButton3});
  EXPECT_EQ(a.CurrentSlot, 0);
  f.TickWith({InputButton3});
  EXPECT_EQ(a.CurrentSlot, 2);
  EXPECT_EQ(f.world.SwitchHoldTicks, 0);
  for (int i = 0; i < 10; ++i) f.TickWith({InputButton3});
  f.TickWith({});  // released: the count is kept
  EXPECT_EQ(f.world.SwitchHoldTicks, 10);
  for (int i = 0; i < 5; ++i) f.TickWith({InputButton3});
  EXPECT_EQ(a.CurrentSlot, 2);
  f.TickWith({InputButton3});
  EXPECT_EQ(a.CurrentSlot, 0);
}

TEST(Firing, HeldFireShootsAsOftenAsTheWeaponReloads) {
  FlightWorld f(akF16);
  TAircraft& a = f.Aircraft();
  a.Slots[0] = MakeWeapon(f.world, wkAAMissiles);  // N = 50
  std::vector<int> shots;
  for (int tick = 1; tick <= 110; ++tick) {
    const size_t before = AllOf<TAAMissile>(f.world.FlyerList).size();
    f.TickWith({InputButton2});
    if (AllOf<TAAMissile>(f.world.FlyerList).size() > before) shots.push_back(tick);
  }
  EXPECT_EQ(shots, (std::vector<int>{1, 52, 103}));  // every N + 1 ticks
}

TEST(Firing, MiniMissilesLeaveEveryTenTicksAlternatingSides) {
  FlightWorld f(akJaguar, 400, 600);
  TAircraft& a = f.Aircraft();
  a.Slots[0] = MakeWeapon(f.world, wkMiniMissiles);  // N = 9
  std::vector<std::pair<int, double>> launches;      // tick, sideways speed at launch
  for (int tick = 1; tick <= 35; ++tick) {
    f.TickWith({InputButton2});
    auto minis = AllOf<TMiniMissile>(f.world.FlyerList);
    if (!minis.empty() && minis.front()->Age == 1 && !minis.front()->Ignited) {
      launches.push_back({tick, minis.front()->Dx * 1.2});
    }
  }
  ASSERT_EQ(launches.size(), 4u);
  EXPECT_EQ(launches[0].first, 1);
  EXPECT_EQ(launches[1].first, 11);
  EXPECT_EQ(launches[2].first, 21);
  EXPECT_EQ(launches[3].first, 31);
  EXPECT_DOUBLE_EQ(launches[0].second, -22);  // a new launcher starts on the left
  EXPECT_DOUBLE_EQ(launches[1].second, 22);
  EXPECT_DOUBLE_EQ(launches[2].second, -22);
  EXPECT_DOUBLE_EQ(launches[3].second, 22);
}

TEST(Firing, ACannonShotClimbsTenPixelsPerTick) {
  FlightWorld f(akJaguar, 400, 600);
  f.Aircraft().Cannon = MakeCannon(f.world, ckVulcan);
  f.TickWith({InputButton1});
  ASSERT_EQ(f.world.ShellList.Count(), 1u);
  EXPECT_EQ(f.world.ShellList.Head()->Object->Y, 590);  // two steps in its first tick
  f.TickWith({});
  EXPECT_EQ(f.world.ShellList.Head()->Object->Y, 580);
}

TEST(Pause, IsRequestedFirstAndTheTickStillFires) {
  FlightWorld f;
  f.Aircraft().Cannon = MakeCannon(f.world, ckVulcan);
  f.TickWith({InputButton32, InputButton1});
  EXPECT_EQ(f.events.pauses, 1);
  EXPECT_EQ(f.world.ShellList.Count(), 1u);
}

TEST(Pause, IsRequestedEvenWithoutAnAircraft) {
  TestWorld t;
  RecordingEvents events;
  t.world.Events = &events;
  PlayerControl(t.world, StatesOf({InputButton32, InputButton1}));
  EXPECT_EQ(events.pauses, 1);
}

}  // namespace
