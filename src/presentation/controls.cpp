#include "presentation/controls.h"

#include <algorithm>

#include "platform/pad.h"

// --- TControl -------------------------------------------------------------------------------

TControl::~TControl() {
  if (owner_) owner_->Remove(*this);
}

void TControl::Changed() {
  if (owner_) owner_->window_.Invalidate();
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed();
}

void TControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Revised();
  if (!visible && owner_) owner_->Forget(*this);
  Changed();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Revised();
  if (!enabled && owner_) owner_->Forget(*this);
  Changed();
}

void TControl::SetFont(TControlFont font) {
  if (font.Points == font_.Points && font.Color == font_.Color) return;
  font_ = font;
  Changed();
}

void TControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

bool TControl::Contains(int32_t x, int32_t y) const {
  return x >= left_ && x < left_ + width_ && y >= top_ && y < top_ + height_;
}

// --- TControls ------------------------------------------------------------------------------

TControls::TControls(TWindow& window) : window_(window) {
  window_.AddLayer(*this);
}

TControls::~TControls() {
  window_.RemoveLayer(*this);
  for (TControl* c : controls_) c->owner_ = nullptr;
}

void TControls::Add(TControl& control) {
  control.owner_ = this;
  controls_.push_back(&control);
  window_.Invalidate();
}

void TControls::SetFocus(TControl* control) {
  if (focused_ == control) return;
  focused_ = control;
  window_.Invalidate();
}

void TControls::FocusNext(bool backwards) {
  MoveFocus(backwards, false);
}

void TControls::MoveFocus(bool backwards, bool padOnly) {
  const auto n = static_cast<int32_t>(controls_.size());
  if (n == 0) return;
  const auto at = std::find(controls_.begin(), controls_.end(), focused_);
  // Without a focus, forward starts at the first control and backward at the last.
  int32_t i = at == controls_.end() ? (backwards ? 0 : n - 1)
                                    : static_cast<int32_t>(at - controls_.begin());
  for (int32_t k = 0; k < n; ++k) {
    i = (i + (backwards ? n - 1 : 1)) % n;
    TControl* c = controls_[static_cast<size_t>(i)];
    if (padOnly ? c->PadStop() : c->CanFocus()) {
      SetFocus(c);
      return;
    }
  }
}

void TControls::ScreenChanged() {
  TControl* first = nullptr;
  for (TControl* c : controls_) {
    if (dynamic_cast<TButton*>(c) && c->CanFocus()) {
      first = c;
      break;
    }
  }
  SetFocus(first);
  IgnoreHeldInput();
  // A press begun on the old screen never clicks on the new one.
  if (pressed_) {
    pressed_->pressed_ = false;
    pressed_ = nullptr;
  }
  SetHovered(HitTest(mouseX_, mouseY_));
}

void TControls::IgnoreHeldInput() {
  // What is held now was pressed for something else (fire, the previous screen's button).
  platform::KeyboardState keys{};
  window_.Backend().ReadKeyboard(keys);
  staleKeys_.reset();
  for (size_t k = 0; k < keys.size(); ++k) staleKeys_[k] = keys[k];
  platform::JoystickState stick;
  window_.Backend().ReadJoystick(stick);
  stalePad_ = platform::PadButtonsHeld(stick);
}

bool TControls::Click(TControl& control) {
  if (!control.Visible() || !control.Enabled()) return false;
  if (control.OnClick) control.OnClick(control);
  // The key that clicked is still down, and the click may have put a new screen up without
  // saying so: nothing held now acts on it.
  IgnoreHeldInput();  // after the click
  return true;
}

bool TControls::Visible() const {
  return std::any_of(controls_.begin(), controls_.end(), [](TControl* c) { return c->Visible(); });
}

void TControls::Paint(TDirectDrawSurface& picture) {
  for (TControl* c : controls_) {
    if (c->Visible()) c->Paint(picture, c == focused_ && c->CanFocus());
  }
}

void TControls::Forget(TControl& control) {
  if (pressed_ == &control) {
    control.pressed_ = false;
    pressed_ = nullptr;
  }
  if (hovered_ == &control && !control.Visible()) SetHovered(nullptr);
}

void TControls::Remove(TControl& control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
  if (focused_ == &control) focused_ = nullptr;
  if (hovered_ == &control) hovered_ = nullptr;
  if (pressed_ == &control) pressed_ = nullptr;
  if (lastPress_ == &control) lastPress_ = nullptr;
}

TControl* TControls::HitTest(int32_t x, int32_t y) const {
  // The last added lies on top.
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    if ((*it)->Visible() && (*it)->Contains(x, y)) return *it;
  }
  return nullptr;
}

void TControls::SetHovered(TControl* control) {
  if (hovered_ == control) return;  // moving within a control repaints nothing
  if (hovered_) hovered_->hover_ = false;
  hovered_ = control;
  if (hovered_) hovered_->hover_ = true;
  window_.Invalidate();
}

bool TControls::HandleEvent(const platform::Event& e) {
  using platform::EventKind;
  switch (e.Kind) {
    case EventKind::MouseMove: {
      mouseX_ = e.X;
      mouseY_ = e.Y;
      TControl* over = HitTest(e.X, e.Y);
      SetHovered(over);
      if (pressed_) pressed_->MouseDrag(e.X, e.Y);
      return over != nullptr || pressed_ != nullptr;
    }
    case EventKind::MouseDown:
      return MouseDown(e);
    case EventKind::MouseUp: {
      mouseX_ = e.X;
      mouseY_ = e.Y;
      TControl* over = HitTest(e.X, e.Y);
      SetHovered(over);
      TControl* c = pressed_;
      if (!c || e.Button != 1) return over != nullptr || c != nullptr;
      pressed_ = nullptr;
      c->pressed_ = false;
      c->Changed();
      // A click is a press and a release on the same control.
      if (over == c && c->MouseUp(e.X, e.Y)) Click(*c);
      return true;
    }
    case EventKind::MouseWheel: {
      TControl* c = HitTest(e.X, e.Y);
      if (!c) return false;
      // Even a disabled memo scrolls with the wheel: it cannot take the focus, but its text
      // must not be out of reach when it is longer than the memo.
      c->Wheel(e.Wheel);
      return true;
    }
    case EventKind::KeyDown:
      return KeyDown(e);
    case EventKind::KeyUp:
      staleKeys_[e.Key] = false;
      return false;
    case EventKind::TextInput:
      return focused_ && focused_->CanFocus() && focused_->TypeText(e.Text);
    case EventKind::PadDown: {
      const uint8_t bit = platform::PadBit(e.Pad);
      if (stalePad_ & bit) return false;
      return PadDown(e.Pad);
    }
    case EventKind::PadUp:
      stalePad_ &= static_cast<uint8_t>(~platform::PadBit(e.Pad));
      return false;
    default:
      return false;
  }
}

bool TControls::MouseDown(const platform::Event& e) {
  mouseX_ = e.X;
  mouseY_ = e.Y;
  TControl* c = HitTest(e.X, e.Y);
  SetHovered(c);
  if (e.Button == 1) {
    // The first press of a double-click may have changed the screen: the second one acts
    // only on the very control the first found, unchanged (a "Další" stepped twice), never
    // on what took its place (a "Prodat" where "Koupit" was).
    const bool same = c == lastPress_ && (!c || c->Revision() == lastPressRevision_);
    if (e.Clicks >= 2 && !same) return c != nullptr;
    lastPress_ = c;
    lastPressRevision_ = c ? c->Revision() : 0;
  }
  if (!c) return false;
  if (e.Button != 1 || !c->Enabled()) return true;
  if (c->CanFocus()) SetFocus(c);
  pressed_ = c;
  c->pressed_ = true;
  c->MouseDown(e.X, e.Y);
  c->Changed();
  return true;
}

bool TControls::KeyDown(const platform::Event& e) {
  namespace vk = platform::vk;
  // A key held since before the screen appeared does nothing, not even by repeating.
  if (staleKeys_[e.Key]) return false;
  if (e.Key == vk::Tab) {
    platform::KeyboardState keys{};
    window_.Backend().ReadKeyboard(keys);
    FocusNext(keys[vk::Shift]);
    return true;
  }
  TControl* c = focused_ && focused_->CanFocus() ? focused_ : nullptr;
  if (!c) return false;
  const bool button = dynamic_cast<TButton*>(c) != nullptr;
  if (button && (e.Key == vk::Return || e.Key == vk::Space)) {
    // Held down, a key repeats; a repeat never clicks.
    if (!e.Repeat) Click(*c);
    return true;
  }
  if (c->KeyDown(e.Key)) return true;
  // On a button the arrows walk the menu.
  if (button && (e.Key == vk::Down || e.Key == vk::Right || e.Key == vk::Up || e.Key == vk::Left)) {
    MoveFocus(e.Key == vk::Up || e.Key == vk::Left, true);
    return true;
  }
  return false;
}

bool TControls::PadDown(platform::PadButton button) {
  using platform::PadButton;
  TControl* c = focused_ && focused_->CanFocus() ? focused_ : nullptr;
  switch (button) {
    case PadButton::Accept:
      if (c && dynamic_cast<TButton*>(c)) {
        Click(*c);
        return true;
      }
      return false;
    case PadButton::Up:
    case PadButton::Down:
      if (c && c->PadStep(button == PadButton::Down ? 1 : -1)) return true;
      MoveFocus(button == PadButton::Up, true);
      return true;
    case PadButton::Left:
    case PadButton::Right:
      MoveFocus(button == PadButton::Left, true);
      return true;
    case PadButton::Back: {
      TControl* back = BackControl ? BackControl() : nullptr;
      return back && Click(*back);
    }
    default:
      return false;
  }
}
