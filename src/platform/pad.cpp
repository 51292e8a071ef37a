#include "platform/pad.h"

namespace platform {

namespace {

constexpr uint8_t kDirections = PadBit(PadButton::Up) | PadBit(PadButton::Down) |
                                PadBit(PadButton::Left) | PadBit(PadButton::Right);

// Where a joystick axis (raw or scaled) stands: -1, 0 or 1, beyond half of its travel.
int Side(const JoystickState& js, int32_t value) {
  if (js.Scaled) return value > 500 ? 1 : (value < -500 ? -1 : 0);
  const int64_t mid = (static_cast<int64_t>(js.RawMin) + js.RawMax) / 2;
  const int64_t half = (static_cast<int64_t>(js.RawMax) - js.RawMin) / 2;
  if (half <= 0) return 0;
  const int64_t off = value - mid;
  return off * 2 > half ? 1 : (off * 2 < -half ? -1 : 0);
}

}  // namespace

uint8_t PadButtonsHeld(const JoystickState& js) {
  if (!js.Present) return 0;
  uint8_t held = 0;
  if (js.Buttons & 1u) held |= PadBit(PadButton::Accept);
  if (js.Buttons & 2u) held |= PadBit(PadButton::Back);
  if (js.Buttons & 0x80u) held |= PadBit(PadButton::Start);
  const int x = Side(js, js.X), y = Side(js, js.Y);
  if (x < 0) held |= PadBit(PadButton::Left);
  if (x > 0) held |= PadBit(PadButton::Right);
  if (y < 0) held |= PadBit(PadButton::Up);
  if (y > 0) held |= PadBit(PadButton::Down);
  return held;
}

void PadTracker::SetButton(PadButton button, bool down) {
  if (down) {
    buttons_ |= PadBit(button);
  } else {
    buttons_ &= static_cast<uint8_t>(~PadBit(button));
  }
  Update();
}

void PadTracker::SetStickAxis(int axis, int32_t value) {
  if (axis < 0 || axis > 1) return;
  int8_t& side = stick_[axis];
  if (side > 0) {
    side = value > kRelease ? 1 : (value < -kPress ? -1 : 0);
  } else if (side < 0) {
    side = value < -kRelease ? -1 : (value > kPress ? 1 : 0);
  } else {
    side = value > kPress ? 1 : (value < -kPress ? -1 : 0);
  }
  Update();
}

void PadTracker::SetHat(uint8_t directions) {
  hat_ = directions & kDirections;
  Update();
}

void PadTracker::Clear() {
  buttons_ = hat_ = 0;
  stick_[0] = stick_[1] = 0;
  Update();
}

bool PadTracker::Pop(Event& e) {
  if (pending_.empty()) return false;
  e = pending_.front();
  pending_.pop_front();
  return true;
}

void PadTracker::Update() {
  uint8_t held = buttons_ | hat_;
  if (stick_[0] < 0) held |= PadBit(PadButton::Left);
  if (stick_[0] > 0) held |= PadBit(PadButton::Right);
  if (stick_[1] < 0) held |= PadBit(PadButton::Up);
  if (stick_[1] > 0) held |= PadBit(PadButton::Down);
  // Releases first, so a stick swung from one side to the other reads as up, then down.
  for (int pass = 0; pass < 2; ++pass) {
    for (int b = 0; b < kPadButtonCount; ++b) {
      const uint8_t bit = static_cast<uint8_t>(1u << b);
      const bool was = (held_ & bit) != 0, is = (held & bit) != 0;
      if (was == is || is != (pass == 1)) continue;
      Event e;
      e.Kind = is ? EventKind::PadDown : EventKind::PadUp;
      e.Pad = static_cast<PadButton>(b);
      pending_.push_back(e);
    }
  }
  held_ = held;
}

}  // namespace platform
