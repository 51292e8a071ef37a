// The pilot flies real ticks: its states reach the game through the keyboard, as a player's.
#include "autopilot/autopilot.h"

#include <gtest/gtest.h>

#include "enemies/enemy.h"
#include "flyers/cannon_shell.h"
#include "flyers/projectile.h"
#include "support/flight.h"
#include "support/targets.h"

namespace {

constexpr uint8_t kQuietVariant = 9;  // kinds 0 and 1 keep their start motion and never fire

struct PilotFlight : FlightWorld {
  explicit PilotFlight(uint8_t kind = akJaguar) : FlightWorld(kind) {}
  TAutopilot pilot{7};
  std::vector<TDXInputStates> pressed;
  // Ticks with the pilot's states; stops early when the aircraft is shot down.
  void Fly(int ticks) {
    for (int i = 0; i < ticks && !world.State.GameOver; ++i) {
      pressed.push_back(pilot.Next(world));
      TickWith(pressed.back());
    }
  }
  TEnemy* Spawn(int32_t x, int32_t y, uint8_t kind) {
    return world.FlyerList.Push(std::make_unique<TEnemy>(world, x, y, kind, kQuietVariant));
  }
  int Count(TDXInputState s, size_t from = 0) const {
    int n = 0;
    for (size_t i = from; i < pressed.size(); ++i) n += pressed[i][s] ? 1 : 0;
    return n;
  }
};

TEST(Autopilot, ReactsNoSoonerThanATenthOfASecondAfterSomethingAppears) {
  // Two identical flights; in one a craft appears at tick 30. The pilot's states may differ
  // only from ten ticks later on.
  PilotFlight calm, alarmed;
  calm.Fly(30);
  alarmed.Fly(30);
  ASSERT_EQ(calm.pressed, alarmed.pressed);
  alarmed.Spawn(200, 100, 0);
  calm.Fly(60);
  alarmed.Fly(60);
  size_t first = 0;
  while (first < calm.pressed.size() && calm.pressed[first] == alarmed.pressed[first]) ++first;
  ASSERT_LT(first, calm.pressed.size()) << "the pilot never reacted";
  EXPECT_GE(first, 30u + TAutopilot::kMinReaction);
}

TEST(Autopilot, FliesUnderACraftAndShootsItDown) {
  PilotFlight f;
  f.Aircraft().Cannon = MakeCannon(f.world, ckDC);
  const int64_t bounty = 5 * f.Spawn(60, 50, 1)->MaxHealth;  // far left, drifting down slowly
  const int64_t before = f.world.State.Credits;
  f.Fly(400);
  EXPECT_EQ(f.world.State.Credits, before + bounty);
  EXPECT_EQ(f.Aircraft().Health, f.Aircraft().MaxHealth);
  EXPECT_GT(f.Count(InputLeft), 0);
}

TEST(Autopilot, HoldsFireWhenNothingIsInThePath) {
  PilotFlight f;
  f.Aircraft().Cannon = MakeCannon(f.world, ckVulcan);
  f.Aircraft().Slots[0] = MakeWeapon(f.world, wkMediumLaser);
  f.Fly(200);
  EXPECT_EQ(f.Count(InputButton1), 0);
  EXPECT_EQ(f.Count(InputButton2), 0);
  f.Spawn(f.Aircraft().X + 80 - 30, 100, 1);  // right above
  f.Fly(100);
  EXPECT_GT(f.Count(InputButton1, 200), 0);
  EXPECT_GT(f.Count(InputButton2, 200), 0);
}

TEST(Autopilot, DodgesAStreamOfShellsARammingCraftAndAPlasmaBall) {
  PilotFlight f;
  TAircraft& a = f.Aircraft();
  for (int i = 0; i < 12; ++i) {  // a column of shells, coming down at the aircraft's middle
    f.world.ShellList.Push(std::make_unique<TShell>(f.world, a.X + 80, -40 * i, 0, 5, 15));
  }
  // And a craft falling onto it, too fast to shoot first.
  f.Spawn(a.X + 80 - 30, 150, 1)->Dy = 6;
  f.world.FlyerList.Push(std::make_unique<TPlasmaBall>(f.world, a.X + 75, 150, 0, 5, kSideEnemy));
  f.Fly(300);
  EXPECT_EQ(a.Health, a.MaxHealth);
  EXPECT_FALSE(f.world.State.GameOver);
}

TEST(Autopilot, StepsOutOfABeamFiredFromTheTopOfTheScreen) {
  PilotFlight f(akF16);
  TAircraft& a = f.Aircraft();
  f.Fly(20);
  f.world.FlyerList.Push(std::make_unique<TMediumBeam>(f.world, a.X + 78, -300, 1, kSideEnemy));
  f.Fly(60);
  EXPECT_EQ(a.Health, a.MaxHealth);
}

TEST(Autopilot, SwitchesToTheStrongerWeaponAndRepairsOnceWhenLow) {
  PilotFlight f;
  TAircraft& a = f.Aircraft();
  a.SlotCount = 2;
  a.Slots[0] = MakeWeapon(f.world, wkAAMissiles);
  a.Slots[1] = MakeWeapon(f.world, wkMediumLaser);
  f.Fly(80);
  EXPECT_EQ(a.CurrentSlot, 1);
  f.Fly(60);
  EXPECT_EQ(a.CurrentSlot, 1);  // and stays there

  f.world.State.Credits = 120000;
  a.Health = 100;
  f.Fly(60);
  EXPECT_EQ(a.Health, a.MaxHealth);
  EXPECT_EQ(f.world.State.Credits, 70000);
  EXPECT_EQ(f.Count(InputButton31), 1);
}

TEST(Autopilot, IsDeterministicAndLeavesTheGameRandomGeneratorAlone) {
  PilotFlight one, two;
  for (PilotFlight* f : {&one, &two}) {
    f->Aircraft().Cannon = MakeCannon(f->world, ckVulcan);
    f->Spawn(100, 40, 0);
    f->Spawn(700, -60, 1);
  }
  one.Fly(300);
  two.Fly(300);
  EXPECT_EQ(one.pressed, two.pressed);

  TRandom before = one.world.Random;
  for (int i = 0; i < 50; ++i) (void)one.pilot.Next(one.world);
  EXPECT_EQ(before.Next(), one.world.Random.Next());
}

}  // namespace
