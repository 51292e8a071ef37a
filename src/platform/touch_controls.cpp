#include "platform/touch_controls.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace platform {

namespace {

// The status bar takes the picture's top 36 of 768 rows; the pause button keeps below it.
constexpr float kStatusBarShare = 36.0F / 768.0F;

float Clamp(float v, float lo, float hi) {
  return std::min(std::max(v, lo), hi);
}

float Distance(TouchPoint a, TouchPoint b) {
  return std::hypot(a.X - b.X, a.Y - b.Y);
}

size_t Index(TouchButton b) {
  return static_cast<size_t>(b);
}

// A push along one axis, as a share of the stick's radius, turned into how much of the time
// its direction is held: nothing in the dead centre, all of it from kFullPush on.
float Share(float push) {
  const float span = TouchControls::kFullPush - TouchControls::kDeadZone;
  const float share = Clamp((std::fabs(push) - TouchControls::kDeadZone) / span, 0.0F, 1.0F);
  return push < 0 ? -share : share;
}

}  // namespace

TouchLayout LayOutTouchControls(float pageWidth, float pageHeight, const TouchRect& picture) {
  TouchLayout l;
  l.PageWidth = pageWidth;
  l.PageHeight = pageHeight;
  // Sizes follow the page's shorter side, within what a thumb hits and a small page holds.
  const float side = std::min(pageWidth, pageHeight);
  const float big = Clamp(0.11F * side, 30, 60);
  const float small = Clamp(0.068F * side, 22, 38);
  const float gap = Clamp(0.03F * side, 8, 20);
  l.StickRadius = Clamp(0.15F * side, 48, 100);
  const float leftBar = picture.Left;
  const float rightBar = pageWidth - (picture.Left + picture.Width);
  l.Beside = std::min(leftBar, rightBar) >= 2 * big + 2 * gap;
  auto place = [&l](TouchButton b, float x, float y, float radius) {
    l.Buttons[Index(b)] = {b, {x, y}, radius};
  };
  if (l.Beside) {
    // One column down the right bar: the two guns at the thumb's rest, the rarer buttons above.
    const float x = pageWidth - rightBar / 2;
    const float cannonY = pageHeight - gap - big;
    const float weaponY = cannonY - 2 * big - gap;
    const float rowY = weaponY - big - gap - small;
    place(TouchButton::Cannon, x, cannonY, big);
    place(TouchButton::Weapon, x, weaponY, big);
    if (4 * small + 2 * gap <= rightBar) {
      place(TouchButton::NextWeapon, x - small - gap / 2, rowY, small);
      place(TouchButton::Repair, x + small + gap / 2, rowY, small);
    } else {
      place(TouchButton::NextWeapon, x, rowY, small);
      place(TouchButton::Repair, x, rowY - 2 * small - gap, small);
    }
    place(TouchButton::Pause, x, gap + small, small);
    l.StickHome = {leftBar / 2, pageHeight - gap - l.StickRadius};
    return l;
  }
  // Over the picture: the guns in the lower right corner, the rarer buttons above them, the
  // pause at the right edge under the status bar, so no reading of it is covered.
  const float cannonX = pageWidth - gap - big;
  const float cannonY = pageHeight - gap - big;
  const float weaponX = cannonX - 2 * big - gap;
  const float rowY = cannonY - big - gap - small;
  place(TouchButton::Cannon, cannonX, cannonY, big);
  place(TouchButton::Weapon, weaponX, cannonY, big);
  place(TouchButton::NextWeapon, cannonX, rowY, small);
  place(TouchButton::Repair, weaponX, rowY, small);
  const float statusBottom = picture.Top + picture.Height * kStatusBarShare;
  place(TouchButton::Pause, pageWidth - gap - small,
        std::max(gap + small, statusBottom + gap + small), small);
  l.StickHome = {gap + l.StickRadius, pageHeight - gap - l.StickRadius};
  return l;
}

TouchControls::TouchControls() {
  SetPage(1024, 768, {0, 0, 1024, 768});
}

void TouchControls::SetPage(float width, float height, const TouchRect& picture) {
  layout_ = LayOutTouchControls(width, height, picture);
  LetGoOfAll();
  changed_ = true;
}

void TouchControls::SetFlying(bool flying) {
  if (flying == flying_) return;
  flying_ = flying;
  LetGoOfAll();
  changed_ = true;
}

void TouchControls::Touched() {
  if (shown_) return;
  shown_ = true;
  changed_ = true;
}

void TouchControls::KeyOrPadUsed() {
  if (!shown_) return;
  shown_ = false;
  LetGoOfAll();
  changed_ = true;
}

void TouchControls::Down(int64_t finger, TouchPoint at) {
  Touched();
  if (!flying_ || (stickHeld_ && stickFinger_ == finger) || Find(finger)) return;
  const int button = ButtonAt(at);
  changed_ = true;
  // A thumb landing on the left half away from the buttons takes the stick, centred under it:
  // nothing moves until it slides.
  if (button < 0 && !stickHeld_ && at.X < layout_.PageWidth / 2) {
    stickHeld_ = true;
    stickFinger_ = finger;
    stickBase_ = at;
    stickKnob_ = at;
    return;
  }
  fingers_.push_back({finger, button});
  if (button >= 0) tapped_ |= static_cast<uint8_t>(1u << button);
}

void TouchControls::Move(int64_t finger, TouchPoint at) {
  if (stickHeld_ && stickFinger_ == finger) {
    MoveKnob(at);
    return;
  }
  Finger* f = Find(finger);
  if (!f) return;
  // A finger may slide from one button to the next, as from the cannon onto the weapon.
  const int button = ButtonAt(at);
  if (button == f->Button) return;
  f->Button = button;
  if (button >= 0) tapped_ |= static_cast<uint8_t>(1u << button);
  changed_ = true;
}

void TouchControls::Up(int64_t finger) {
  if (stickHeld_ && stickFinger_ == finger) {
    RestStick();
    return;
  }
  const auto gone = std::remove_if(fingers_.begin(), fingers_.end(),
                                   [finger](const Finger& f) { return f.Id == finger; });
  if (gone == fingers_.end()) return;
  fingers_.erase(gone, fingers_.end());
  changed_ = true;
}

void TouchControls::LetGoOfAll() {
  fingers_.clear();
  RestStick();
  tapped_ = 0;
  side_ = {};
  owed_ = {};
  changed_ = true;
}

TouchState TouchControls::Read() {
  TouchState t;
  if (!Visible()) return t;
  t.Present = true;
  t.Buttons = static_cast<uint8_t>(Pressed() | tapped_);
  tapped_ = 0;
  float x = 0, y = 0;
  if (stickHeld_) {
    x = (stickKnob_.X - stickBase_.X) / layout_.StickRadius;
    y = (stickKnob_.Y - stickBase_.Y) / layout_.StickRadius;
  }
  t.X = Axis(0, Share(x));
  t.Y = Axis(1, Share(y));
  return t;
}

uint8_t TouchControls::Pressed() const {
  uint8_t pressed = 0;
  for (const Finger& f : fingers_) {
    if (f.Button >= 0) pressed |= static_cast<uint8_t>(1u << f.Button);
  }
  return pressed;
}

bool TouchControls::TakeChanged() {
  const bool changed = changed_;
  changed_ = false;
  return changed;
}

int TouchControls::ButtonAt(TouchPoint at) const {
  int best = -1;
  float nearest = 0;
  for (size_t i = 0; i < layout_.Buttons.size(); ++i) {
    const TouchLayout::Button& b = layout_.Buttons[i];
    const float d = Distance(at, b.Centre);
    if (d <= b.Radius * kReach && (best < 0 || d < nearest)) {
      best = static_cast<int>(i);
      nearest = d;
    }
  }
  return best;
}

TouchControls::Finger* TouchControls::Find(int64_t id) {
  for (Finger& f : fingers_) {
    if (f.Id == id) return &f;
  }
  return nullptr;
}

void TouchControls::MoveKnob(TouchPoint at) {
  // Beyond the rim the stick's base is drawn along behind the thumb, so turning back acts at
  // once instead of after the way back to the rim.
  const float radius = layout_.StickRadius;
  const float d = Distance(at, stickBase_);
  if (d > radius) {
    const float pull = (d - radius) / d;
    stickBase_.X += (at.X - stickBase_.X) * pull;
    stickBase_.Y += (at.Y - stickBase_.Y) * pull;
  }
  stickKnob_ = at;
  changed_ = true;
}

void TouchControls::RestStick() {
  if (stickHeld_) changed_ = true;
  stickHeld_ = false;
  stickBase_ = layout_.StickHome;
  stickKnob_ = layout_.StickHome;
}

int8_t TouchControls::Axis(size_t axis, float push) {
  const int8_t side = push > 0 ? 1 : (push < 0 ? -1 : 0);
  float& owed = owed_[axis];
  // Each tick adds the push's share; a tick with something owed holds the direction and pays
  // one back. So a new push acts at once and then holds its share of the ticks, evenly.
  if (side != side_[axis]) {
    side_[axis] = side;
    owed = 0;
  }
  if (side == 0) return 0;
  owed += std::fabs(push);
  if (owed <= 1e-4F) return 0;
  owed -= 1;
  return side;
}

}  // namespace platform
