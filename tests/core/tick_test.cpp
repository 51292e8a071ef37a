#include "core/tick.h"

#include <gtest/gtest.h>

#include "core/bonus.h"
#include "support/test_world.h"

namespace {

struct TickTest : ::testing::Test {
  TestWorld t;
  World& w = t.world;
  RecordingEvents events;
  void SetUp() override { w.Events = &events; }

  // Schedule rows of a kind the game does not define: they create nothing, but the
  // schedule's position shows exactly when each was taken.
  void Schedule(std::initializer_list<int64_t> times) {
    for (int64_t time : times) w.Level.Spawns.push_back({0, 0, 200, 0, time});
  }
};

TEST_F(TickTest, StepClockRisesOnEverySixteenthTick) {
  for (int i = 1; i <= 15; ++i) Tick(w);
  EXPECT_EQ(w.StepClock, 0);
  EXPECT_EQ(w.StepTicks, 15);
  Tick(w);
  EXPECT_EQ(w.StepClock, 1);
  EXPECT_EQ(w.StepTicks, 0);
  for (int i = 0; i < 16 * 9; ++i) Tick(w);
  EXPECT_EQ(w.StepClock, 10);
  EXPECT_EQ(w.ScrollTicks, 160);  // only a frame turns scroll ticks into rows
}

TEST_F(TickTest, RowsAreTakenOnTheTickTheirStepBegins) {
  Schedule({0, 0, 1, 3});
  Tick(w);  // rows for step 0 on the very first tick
  EXPECT_EQ(w.Level.NextSpawn, 2);
  for (int i = 2; i <= 15; ++i) Tick(w);
  EXPECT_EQ(w.Level.NextSpawn, 2);
  Tick(w);  // the 16th tick: the clock reads 1 when the schedule looks
  EXPECT_EQ(w.Level.NextSpawn, 3);
  for (int i = 0; i < 32; ++i) Tick(w);
  EXPECT_EQ(w.Level.NextSpawn, 4);
}

TEST_F(TickTest, ARowWhoseTimeHasPassedComesAsSoonAsItIsNextAndHoldsNothingBack) {
  Schedule({1, 0, 3});
  for (int i = 1; i <= 15; ++i) Tick(w);
  EXPECT_EQ(w.Level.NextSpawn, 0);  // the first row waits for its step
  Tick(w);
  EXPECT_EQ(w.Level.NextSpawn, 2);  // and the overdue one behind it comes in the same tick
  for (int i = 0; i < 16 * 2 - 1; ++i) Tick(w);
  EXPECT_EQ(w.Level.NextSpawn, 2);  // the sorted rest keeps its own times
  Tick(w);
  EXPECT_EQ(w.Level.NextSpawn, 3);
}

TEST_F(TickTest, VictoryCountdownRunsOneHundredTwentyTicksAndShowsVictoryOnce) {
  MissionEnd(w, true);
  EXPECT_EQ(w.VictoryCountdown, 120);
  MissionEnd(w, true);  // a second boss during the countdown changes nothing
  EXPECT_EQ(w.VictoryCountdown, 120);
  int ticks = 0;
  while (events.timersStopped == 0 && ticks < 1000) {
    Tick(w);
    ++ticks;
  }
  EXPECT_EQ(ticks, 120);
  EXPECT_EQ(events.victories, 1);
  EXPECT_EQ(events.engineStops, 3);  // every call stops the engine first
  EXPECT_EQ(w.StepClock, 7);  // the tick that shows victory still runs in full: 120 = 7 * 16 + 8
}

TEST_F(TickTest, ShotDownStopsTickAndFrame) {
  w.Media.DXDraw1.Initialize();
  MissionEnd(w, false);
  EXPECT_TRUE(w.State.GameOver);
  EXPECT_EQ(events.defeats, 1);
  EXPECT_EQ(events.timersStopped, 1);

  auto* probe = w.FlyerList.Push(std::make_unique<TProbe>(w, 1));
  auto& surface = w.Media.DXDraw1.Surface();
  surface.Fill(0x123456);
  for (int i = 0; i < 50; ++i) {
    Tick(w);
    DrawFrame(w);
  }
  EXPECT_EQ(probe->Moves, 0);
  EXPECT_EQ(probe->Draws, 0);
  EXPECT_EQ(w.StepTicks, 0);
  EXPECT_EQ(surface.PixelAt(500, 400), ColorToPixel(0x123456));  // the last picture stays
}

TEST_F(TickTest, FrameDrawsNothingBeforeTheSurfaceCanDraw) {
  auto* probe = w.FlyerList.Push(std::make_unique<TProbe>(w, 1));
  w.ScrollTicks = 16;
  DrawFrame(w);
  EXPECT_EQ(probe->Draws, 0);
  EXPECT_EQ(w.ScrollTicks, 16);  // no terrain advance either
  w.Media.DXDraw1.Initialize();
  DrawFrame(w);
  EXPECT_EQ(probe->Draws, 1);
  EXPECT_EQ(w.ScrollTicks, 0);
  EXPECT_EQ(w.Level.ScrollRow, 1);
}

TEST_F(TickTest, BonusesDropAboutOncePerFiveThousandTicksEachWithinTheirBand) {
  int health = 0, credit = 0;
  for (int i = 0; i < 200000; ++i) {
    Tick(w);
    for (auto* n = w.BonusList.Head(); n; n = n->Next) {
      TBonus* b = n->Object;
      if (b->AnimTicks != 1 || b->Y != 2) continue;  // count each bonus in its first tick
      EXPECT_GE(b->X, 20);
      EXPECT_LE(b->X, 819);
      (dynamic_cast<THealthBonus*>(b) ? health : credit)++;
    }
  }
  // 40 expected of each; the bounds are far outside what chance allows.
  EXPECT_GT(health, 15);
  EXPECT_LT(health, 75);
  EXPECT_GT(credit, 15);
  EXPECT_LT(credit, 75);
}

TEST_F(TickTest, TheSameSeedGivesTheSameRun) {
  TestWorld other;
  for (int i = 0; i < 50000; ++i) {
    Tick(w);
    Tick(other.world);
  }
  EXPECT_EQ(w.BonusList.Count(), other.world.BonusList.Count());
  EXPECT_EQ(w.Random.Next(), other.world.Random.Next());
}

}  // namespace
