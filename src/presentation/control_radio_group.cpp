#include <algorithm>

#include "platform/backend.h"
#include "presentation/control_paint.h"
#include "presentation/controls.h"

namespace {

constexpr TColor kGroupLine = 0xDCDCDC;
constexpr TColor kRing = 0x333333, kRingHover = 0xD77800, kDiscFill = 0xFFFFFF, kDot = 0x333333;
constexpr TColor kDisabledText = 0x838383;
constexpr TColor kFocusMark = 0x202020;
constexpr int32_t kDisc = 13;

}  // namespace

void TRadioGroup::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Revised();
  Changed();
}

void TRadioGroup::SetItems(std::vector<std::string> items) {
  if (items_ == items) return;
  items_ = std::move(items);
  if (itemIndex_ >= static_cast<int32_t>(items_.size())) itemIndex_ = -1;
  Revised();
  Changed();
}

void TRadioGroup::SetItemIndex(int32_t index) {
  if (index < -1 || index >= static_cast<int32_t>(items_.size())) index = -1;
  if (itemIndex_ == index) return;
  itemIndex_ = index;
  Changed();
}

// The items share the room under the caption evenly, as a desktop radio group lays them out.
int32_t TRadioGroup::ItemHeight() const {
  const int32_t n = std::max(static_cast<int32_t>(items_.size()), 1);
  const int32_t room = height_ - control_paint::LineHeight(font_.Points) - 4;
  return std::max(room / n, 1);
}

int32_t TRadioGroup::ItemTop(int32_t index) const {
  return top_ + control_paint::LineHeight(font_.Points) + 2 + index * ItemHeight();
}

int32_t TRadioGroup::ItemAt(int32_t x, int32_t y) const {
  if (!Contains(x, y)) return -1;
  for (int32_t i = 0; i < static_cast<int32_t>(items_.size()); ++i) {
    if (y >= ItemTop(i) && y < ItemTop(i) + ItemHeight()) return i;
  }
  return -1;
}

bool TRadioGroup::ItemCenter(int32_t index, int32_t& x, int32_t& y) const {
  if (index < 0 || index >= static_cast<int32_t>(items_.size())) return false;
  x = left_ + 8 + kDisc / 2;
  y = ItemTop(index) + ItemHeight() / 2;
  return true;
}

void TRadioGroup::Paint(TDirectDrawSurface& s, bool focused) {
  using namespace control_paint;
  const Rect r{left_, top_, width_, height_};
  const int32_t lh = LineHeight(font_.Points);
  s.FillRect(r.X, r.Y, r.W, r.H, color_);
  // The group's frame, its top line broken by the caption.
  Frame(s, {r.X, r.Y + lh / 2, r.W, r.H - lh / 2}, kGroupLine);
  const TColor text = enabled_ ? font_.Color : kDisabledText;
  if (!caption_.empty()) {
    const int32_t cw = TextWidth(caption_, font_.Points);
    s.FillRect(r.X + 6, r.Y, cw + 4, lh, color_);
    control_paint::Text(s, r.X + 8, r.Y, caption_, font_.Points, text, r);
  }
  for (int32_t i = 0; i < static_cast<int32_t>(items_.size()); ++i) {
    const int32_t rowTop = ItemTop(i), rowH = ItemHeight();
    const int32_t discY = rowTop + (rowH - kDisc) / 2;
    // The rings light up under the mouse.
    RadioDisc(s, r.X + 8, discY, kDisc, i == itemIndex_, hover_ && enabled_ ? kRingHover : kRing,
              kDiscFill, kDot);
    const int32_t tx = r.X + 8 + kDisc + 5, ty = rowTop + (rowH - lh) / 2;
    const auto& caption = items_[static_cast<size_t>(i)];
    control_paint::Text(s, tx, ty, caption, font_.Points, text, r);
    if (focused && i == std::max(itemIndex_, 0)) {
      FocusFrame(s, {tx - 2, ty, TextWidth(caption, font_.Points) + 4, lh}, kFocusMark);
    }
  }
}

bool TRadioGroup::Step(int step) {
  const auto n = static_cast<int32_t>(items_.size());
  const int32_t next = itemIndex_ < 0 ? (step > 0 ? 0 : n - 1) : itemIndex_ + step;
  if (n == 0 || next < 0 || next >= n) return false;
  SetItemIndex(next);
  if (owner_) owner_->Click(*this);  // a choice by the player is a click, as with the mouse
  return true;
}

bool TRadioGroup::MouseUp(int32_t x, int32_t y) {
  const int32_t item = ItemAt(x, y);
  if (item >= 0) SetItemIndex(item);
  return true;
}

bool TRadioGroup::KeyDown(uint8_t key) {
  namespace vk = platform::vk;
  if (key == vk::Up || key == vk::Left) {
    Step(-1);
    return true;
  }
  if (key == vk::Down || key == vk::Right) {
    Step(1);
    return true;
  }
  return false;
}

bool TRadioGroup::PadStep(int step) {
  return Step(step);
}
