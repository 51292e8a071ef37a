// Smooth frames: each moving thing is drawn between where the latest tick found it and where
// that tick left it; what the tick did not find, and everything after a cut, where it stands.
#include "core/motion.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/tick.h"
#include "flyers/cannon_shell.h"
#include "support/test_world.h"

namespace {

TEST(SmoothMotion, ThingsAreDrawnBetweenTheirLastTwoTickPlacesUnlessNewCutOrJumping) {
  TestWorld t;
  World& w = t.world;
  auto* probe = w.FlyerList.Push(std::make_unique<TProbe>(w, 1));
  probe->X = 100;
  probe->Y = 200;
  probe->OnMove = [](TProbe& p) {
    p.X += 6;
    p.Y -= 4;
  };
  auto* shell = w.ShellList.Push(std::make_unique<TShell>(w, 100, 700, 0, -5, 1));
  auto at = [&](double fraction) { return TDrawTime{fraction, w.MotionTick}; };
  auto drawn = [&](const TFlyer& f, double fraction) {
    const TDrawPoint p = f.DrawnAt(at(fraction));
    return std::pair{p.X, p.Y};
  };

  EXPECT_EQ(drawn(*probe, 0.5), std::pair(100, 200));  // no tick has found it yet
  Tick(w);
  EXPECT_EQ(drawn(*probe, 0.0), std::pair(100, 200));
  EXPECT_EQ(drawn(*probe, 0.5), std::pair(103, 198));
  EXPECT_EQ(drawn(*probe, 1.0), std::pair(106, 196));
  // A shell moves twice a tick, 10 pixels up in all; a quarter of that rounds to 2 or 3.
  const TDrawPoint s = DrawnAt(shell->Last, shell->X, shell->Y, at(0.25));
  EXPECT_EQ(std::pair(s.X, s.Y), std::pair(100, 698));

  // Made after the tick began: drawn where it is, not slid in from anywhere.
  auto* fresh = w.FlyerList.Push(std::make_unique<TProbe>(w, 2));
  fresh->X = 300;
  fresh->Y = 300;
  EXPECT_EQ(drawn(*fresh, 0.5), std::pair(300, 300));

  // A flight resumed: everything where it stands until the next tick.
  CutMotion(w);
  EXPECT_EQ(drawn(*probe, 0.5), std::pair(106, 196));
  Tick(w);
  EXPECT_EQ(drawn(*probe, 0.5), std::pair(109, 194));
  EXPECT_EQ(drawn(*fresh, 0.5), std::pair(300, 300));  // the probe that does not move

  // A jump is drawn where it lands.
  probe->X = 900;
  EXPECT_EQ(drawn(*probe, 0.5), std::pair(900, 192));
}

}  // namespace
