#include "presentation/controls.h"

#include <algorithm>

#include "platform/text.h"

namespace {

constexpr TColor kButtonFace = 0xE1E1E1;
constexpr TColor kButtonBorder = 0xADADAD;

void Frame(TDirectDrawSurface& s, int32_t x, int32_t y, int32_t w, int32_t h, TColor c) {
  s.FillRect(x, y, w, 1, c);
  s.FillRect(x, y + h - 1, w, 1, c);
  s.FillRect(x, y, 1, h, c);
  s.FillRect(x + w - 1, y, 1, h, c);
}

int32_t TextWidth(const std::string& s, int32_t points) {
  int32_t w = 0, h = 0;
  platform::TextRasterizer::Shared().Measure(s, points, w, h);
  return w;
}

}  // namespace

// --- TControl -------------------------------------------------------------------------------

void TControl::Changed() {
  if (owner_) owner_->window_.Invalidate();
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed();
}

void TControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed();
}

void TControl::SetFont(TControlFont font) {
  font_ = font;
  Changed();
}

void TControl::SetColor(TColor color) {
  color_ = color;
  Changed();
}

bool TControl::Contains(int32_t x, int32_t y) const {
  return x >= left_ && x < left_ + width_ && y >= top_ && y < top_ + height_;
}

// --- TButton --------------------------------------------------------------------------------

void TButton::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Changed();
}

void TButton::Paint(TDirectDrawSurface& s, bool focused) {
  s.FillRect(left_, top_, width_, height_, pressed_ ? 0xCCCCCC : kButtonFace);
  Frame(s, left_, top_, width_, height_, focused ? 0xD77800 : kButtonBorder);
  const int32_t lh = platform::TextRasterizer::Shared().LineHeight(font_.Points);
  const TColor textColor = enabled_ ? font_.Color : 0x6D6D6D;
  DrawText(s, left_ + (width_ - TextWidth(caption_, font_.Points)) / 2, top_ + (height_ - lh) / 2,
           caption_, font_.Points, textColor);
}

// --- TMemo ----------------------------------------------------------------------------------

void TMemo::Clear() {
  lines_.clear();
  topRow_ = 0;
  Changed();
}

void TMemo::Add(const std::string& line) {
  lines_.push_back(line);
  Changed();
}

bool TMemo::CanFocus() const {
  return TControl::CanFocus();
}

void TMemo::ScrollBy(int32_t rows) {
  topRow_ = std::max(0, topRow_ + rows);
  Changed();
}

void TMemo::Paint(TDirectDrawSurface& s, bool /*focused*/) {
  s.FillRect(left_, top_, width_, height_, color_);
  const int32_t lh = platform::TextRasterizer::Shared().LineHeight(font_.Points);
  int32_t y = top_ + 2;
  for (size_t i = static_cast<size_t>(topRow_); i < lines_.size(); ++i) {
    if (y + lh > top_ + height_) break;
    DrawText(s, left_ + 3, y, lines_[i], font_.Points, font_.Color);
    y += lh;
  }
}

// --- TEdit ----------------------------------------------------------------------------------

void TEdit::SetText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  Changed();
}

void TEdit::Paint(TDirectDrawSurface& s, bool /*focused*/) {
  s.FillRect(left_, top_, width_, height_, color_);
  const int32_t lh = platform::TextRasterizer::Shared().LineHeight(font_.Points);
  DrawText(s, left_ + 3, top_ + (height_ - lh) / 2, text_, font_.Points, font_.Color);
}

// --- TRadioGroup ----------------------------------------------------------------------------

void TRadioGroup::SetCaption(const std::string& caption) {
  caption_ = caption;
  Changed();
}

void TRadioGroup::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  Changed();
}

void TRadioGroup::SetItemIndex(int32_t index) {
  itemIndex_ = index;
  Changed();
}

bool TRadioGroup::ItemCenter(int32_t index, int32_t& x, int32_t& y) const {
  if (index < 0 || index >= static_cast<int32_t>(items_.size())) return false;
  const int32_t lh = platform::TextRasterizer::Shared().LineHeight(font_.Points);
  x = left_ + 13;
  y = top_ + lh + 4 + index * (lh + 4) + 7;
  return true;
}

void TRadioGroup::Paint(TDirectDrawSurface& s, bool /*focused*/) {
  s.FillRect(left_, top_, width_, height_, color_);
  DrawText(s, left_ + 8, top_, caption_, font_.Points, font_.Color);
  const int32_t lh = platform::TextRasterizer::Shared().LineHeight(font_.Points);
  for (size_t i = 0; i < items_.size(); ++i) {
    const int32_t y = top_ + lh + 4 + static_cast<int32_t>(i) * (lh + 4);
    Frame(s, left_ + 8, y + 2, 10, 10, 0x404040);
    if (static_cast<int32_t>(i) == itemIndex_) s.FillRect(left_ + 11, y + 5, 4, 4, clBlack);
    DrawText(s, left_ + 24, y, items_[i], font_.Points, font_.Color);
  }
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
  focused_ = control;
  window_.Invalidate();
}

void TControls::ScreenChanged() {
  focused_ = nullptr;
  for (TControl* c : controls_) {
    if (dynamic_cast<TButton*>(c) && c->CanFocus()) {
      focused_ = c;
      break;
    }
  }
  window_.Invalidate();
}

bool TControls::Click(TControl& control) {
  if (!control.Visible() || !control.Enabled()) return false;
  if (control.OnClick) control.OnClick(control);
  return true;
}

bool TControls::Visible() const {
  return std::any_of(controls_.begin(), controls_.end(), [](TControl* c) { return c->Visible(); });
}

void TControls::Paint(TDirectDrawSurface& picture) {
  for (TControl* c : controls_) {
    if (c->Visible()) c->Paint(picture, c == focused_);
  }
}

bool TControls::HandleEvent(const platform::Event& e) {
  using platform::EventKind;
  auto hit = [&](int32_t x, int32_t y) -> TControl* {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
      if ((*it)->Visible() && (*it)->Contains(x, y)) return *it;
    }
    return nullptr;
  };
  switch (e.Kind) {
    case EventKind::MouseDown: {
      TControl* c = e.Button == 1 ? hit(e.X, e.Y) : nullptr;
      if (!c || !c->Enabled()) return c != nullptr;
      pressed_ = c;
      c->pressed_ = true;
      c->Changed();
      return true;
    }
    case EventKind::MouseUp: {
      TControl* c = pressed_;
      pressed_ = nullptr;
      if (!c) return false;
      c->pressed_ = false;
      c->Changed();
      if (e.Button != 1 || !c->Contains(e.X, e.Y)) return true;
      if (auto* radio = dynamic_cast<TRadioGroup*>(c)) {
        for (int32_t i = 0; i < static_cast<int32_t>(radio->Items().size()); ++i) {
          int32_t x = 0, y = 0;
          radio->ItemCenter(i, x, y);
          if (e.Y >= y - 8 && e.Y < y + 8) radio->SetItemIndex(i);
        }
      }
      Click(*c);
      return true;
    }
    case EventKind::KeyDown: {
      if (e.Repeat || !focused_ || !focused_->CanFocus()) return false;
      if (e.Key == platform::vk::Return || e.Key == platform::vk::Space) {
        Click(*focused_);
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}
