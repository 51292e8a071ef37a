// The touch screen's flight controls without a browser: where they lie on a phone held across
// and on a tablet, and what a thumb and fingers on them hold, tick by tick.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/touch_controls.h"

namespace {

using platform::TouchBit;
using platform::TouchButton;
using platform::TouchControls;
using platform::TouchLayout;
using platform::TouchPoint;
using platform::TouchState;

const TouchLayout::Button& ButtonOf(const TouchLayout& l, TouchButton b) {
  return l.Buttons[static_cast<size_t>(b)];
}

// No button overlaps another, each lies wholly in the page, and none covers the stick at rest.
void ExpectApartAndInside(const TouchLayout& l) {
  for (size_t i = 0; i < l.Buttons.size(); ++i) {
    const auto& a = l.Buttons[i];
    EXPECT_GE(a.Centre.X - a.Radius, 0) << i;
    EXPECT_LE(a.Centre.X + a.Radius, l.PageWidth) << i;
    EXPECT_GE(a.Centre.Y - a.Radius, 0) << i;
    EXPECT_LE(a.Centre.Y + a.Radius, l.PageHeight) << i;
    const float toStick = std::hypot(a.Centre.X - l.StickHome.X, a.Centre.Y - l.StickHome.Y);
    EXPECT_GT(toStick, a.Radius + l.StickRadius) << i;
    for (size_t j = i + 1; j < l.Buttons.size(); ++j) {
      const auto& b = l.Buttons[j];
      EXPECT_GT(std::hypot(a.Centre.X - b.Centre.X, a.Centre.Y - b.Centre.Y), a.Radius + b.Radius)
          << i << " and " << j;
    }
  }
}

TEST(TouchLayoutTest, APhoneHeldAcrossHasEveryButtonInTheBarBesideThePicture) {
  // 844 x 390: the picture 520 x 390 in the middle, bars of 162 on either side.
  const TouchLayout l = platform::LayOutTouchControls(844, 390, {162, 0, 520, 390});
  EXPECT_TRUE(l.Beside);
  ExpectApartAndInside(l);
  for (const auto& b : l.Buttons) EXPECT_GE(b.Centre.X - b.Radius, 682) << int(b.Which);
  const auto& cannon = ButtonOf(l, TouchButton::Cannon);
  EXPECT_NEAR(cannon.Centre.X, 763, 0.01);
  EXPECT_NEAR(cannon.Centre.Y, 335.4, 0.01);
  EXPECT_NEAR(cannon.Radius, 42.9, 0.01);
  EXPECT_NEAR(ButtonOf(l, TouchButton::Weapon).Centre.Y, 237.9, 0.01);
  EXPECT_NEAR(ButtonOf(l, TouchButton::NextWeapon).Centre.X, 730.63, 0.01);
  EXPECT_NEAR(ButtonOf(l, TouchButton::Repair).Centre.X, 795.37, 0.01);
  EXPECT_NEAR(ButtonOf(l, TouchButton::Pause).Centre.Y, 38.22, 0.01);
  // The stick rests in the left bar.
  EXPECT_NEAR(l.StickHome.X, 81, 0.01);
  EXPECT_NEAR(l.StickHome.Y, 319.8, 0.01);
  EXPECT_LE(l.StickHome.X + l.StickRadius, 162);
}

TEST(TouchLayoutTest, ATabletHasTheButtonsInTheCornerAndThePauseUnderTheStatusBar) {
  // 1024 x 768: the picture fills the page.
  const TouchLayout l = platform::LayOutTouchControls(1024, 768, {0, 0, 1024, 768});
  EXPECT_FALSE(l.Beside);
  ExpectApartAndInside(l);
  EXPECT_NEAR(ButtonOf(l, TouchButton::Cannon).Centre.X, 944, 0.01);
  EXPECT_NEAR(ButtonOf(l, TouchButton::Cannon).Centre.Y, 688, 0.01);
  EXPECT_NEAR(ButtonOf(l, TouchButton::Weapon).Centre.X, 804, 0.01);
  EXPECT_NEAR(ButtonOf(l, TouchButton::NextWeapon).Centre.Y, 570, 0.01);
  const auto& pause = ButtonOf(l, TouchButton::Pause);
  EXPECT_NEAR(pause.Centre.X, 966, 0.01);
  EXPECT_NEAR(pause.Centre.Y, 94, 0.01);
  EXPECT_GE(pause.Centre.Y - pause.Radius, 36);  // the credits stay readable
  EXPECT_NEAR(l.StickRadius, 100, 0.01);
  EXPECT_NEAR(l.StickHome.X, 120, 0.01);
  EXPECT_NEAR(l.StickHome.Y, 648, 0.01);
  // Narrow bars (a wide window) are not enough to hold the column: still over the picture.
  EXPECT_FALSE(platform::LayOutTouchControls(1100, 768, {38, 0, 1024, 768}).Beside);
  ExpectApartAndInside(platform::LayOutTouchControls(390, 844, {0, 276, 390, 292}));
}

struct TouchControlsTest : ::testing::Test {
  TouchControls c;
  TouchControlsTest() {
    c.SetPage(1024, 768, {0, 0, 1024, 768});
    c.SetFlying(true);
  }
  TouchPoint At(TouchButton b) { return ButtonOf(c.Layout(), b).Centre; }
  // How many of `reads` ticks hold the stick's horizontal direction `side`.
  int HeldOf(int reads, int side) {
    int held = 0;
    for (int i = 0; i < reads; ++i) held += c.Read().X == side ? 1 : 0;
    return held;
  }
};

TEST_F(TouchControlsTest, TheStickStartsWhereTheThumbLandsAndHoldsItsDirectionByThePush) {
  c.Down(1, {300, 500});
  TouchState t = c.Read();
  EXPECT_TRUE(t.Present);
  EXPECT_EQ(t.X, 0);  // landing moves nothing
  EXPECT_EQ(t.Y, 0);
  c.Move(1, {215, 505});  // 0.85 of the radius left, all the way; down within the dead zone
  EXPECT_EQ(HeldOf(10, -1), 10);
  EXPECT_EQ(c.Read().Y, 0);
  // Half a radius: (0.5 - 0.2) / 0.6 = half the ticks, spread evenly, the first at once.
  c.Move(1, {250, 500});
  int held = 0;
  for (int i = 0; i < 10; ++i) {
    const int8_t x = c.Read().X;
    EXPECT_EQ(x, i % 2 == 0 ? -1 : 0) << i;
    held += x == -1 ? 1 : 0;
  }
  EXPECT_EQ(held, 5);
  // A diagonal push holds both directions.
  c.Move(1, {380, 420});
  t = c.Read();
  EXPECT_EQ(t.X, 1);
  EXPECT_EQ(t.Y, -1);
  c.Up(1);
  t = c.Read();
  EXPECT_EQ(t.X, 0);
  EXPECT_EQ(t.Y, 0);
  EXPECT_FALSE(c.StickHeld());
}

TEST_F(TouchControlsTest, PulledBeyondTheRimTheStickFollowsSoTurningBackActsAtOnce) {
  c.Down(1, {500, 500});
  c.Move(1, {300, 500});  // twice the radius: the base is drawn to 400
  EXPECT_NEAR(c.StickBase().X, 400, 0.01);
  EXPECT_EQ(c.Read().X, -1);
  c.Move(1, {450, 500});  // half a radius right of the base
  EXPECT_EQ(c.Read().X, 1);
}

TEST_F(TouchControlsTest, ButtonsHoldWhileTouchedAndATapBetweenTwoTicksCountsOnce) {
  c.Down(7, At(TouchButton::Cannon));
  EXPECT_EQ(c.Read().Buttons, TouchBit(TouchButton::Cannon));
  EXPECT_EQ(c.Read().Buttons, TouchBit(TouchButton::Cannon));
  c.Up(7);
  EXPECT_EQ(c.Read().Buttons, 0);
  // Down and up before the tick reads: the pause still reaches the game, once.
  c.Down(8, At(TouchButton::Pause));
  c.Up(8);
  EXPECT_EQ(c.Read().Buttons, TouchBit(TouchButton::Pause));
  EXPECT_EQ(c.Read().Buttons, 0);
  // A finger slides from the cannon onto the weapon, and off both.
  c.Down(9, At(TouchButton::Cannon));
  c.Move(9, At(TouchButton::Weapon));
  c.Read();
  EXPECT_EQ(c.Read().Buttons, TouchBit(TouchButton::Weapon));
  c.Move(9, {600, 300});
  EXPECT_EQ(c.Read().Buttons, 0);
}

TEST_F(TouchControlsTest, TheThumbSteersWhileTheOtherFingerFires) {
  c.Down(1, {200, 500});
  c.Down(2, At(TouchButton::Weapon));
  c.Down(3, {250, 300});  // a second finger on the left half does not take the stick over
  c.Move(3, {100, 300});
  c.Move(1, {200, 600});
  const TouchState t = c.Read();
  EXPECT_EQ(t.Y, 1);
  EXPECT_EQ(t.X, 0);
  EXPECT_EQ(t.Buttons, TouchBit(TouchButton::Weapon));
  // The page numbers the fingers its own way: a large number is a finger like any other.
  c.Up(1);
  c.Down(int64_t{1} << 40, {200, 500});
  c.Move(int64_t{1} << 40, {200, 400});
  EXPECT_EQ(c.Read().Y, -1);
}

TEST_F(TouchControlsTest, TheControlsShowAfterATouchHideOnAKeyAndHoldNothingOutsideAFlight) {
  TouchControls fresh;
  EXPECT_FALSE(fresh.Read().Present);
  fresh.Touched();  // a tap in a menu
  EXPECT_FALSE(fresh.Visible());
  fresh.SetFlying(true);
  EXPECT_TRUE(fresh.Visible());
  EXPECT_TRUE(fresh.Read().Present);

  c.Down(1, {200, 500});
  c.Move(1, {100, 500});
  c.Down(2, At(TouchButton::Cannon));
  EXPECT_EQ(c.Read().X, -1);
  c.KeyOrPadUsed();
  EXPECT_FALSE(c.Visible());
  EXPECT_FALSE(c.Read().Present);
  c.Move(1, {50, 500});  // the thumb still there moves nothing
  EXPECT_FALSE(c.Read().Present);
  // The next touch shows them again, acting at once.
  c.Down(3, At(TouchButton::Repair));
  EXPECT_EQ(c.Read().Buttons, TouchBit(TouchButton::Repair));

  // The flight stops (the pause) with fingers down: everything is let go, taps too.
  c.Down(4, At(TouchButton::Weapon));
  c.Up(4);
  c.SetFlying(false);
  EXPECT_FALSE(c.Read().Present);
  c.Down(5, At(TouchButton::Cannon));  // touches outside a flight are no controls'
  c.SetFlying(true);
  const TouchState t = c.Read();
  EXPECT_EQ(t.Buttons, 0);
  EXPECT_EQ(t.X, 0);
}

}  // namespace
