#include <algorithm>

#include "platform/backend.h"
#include "presentation/control_paint.h"
#include "presentation/controls.h"

namespace {

constexpr TColor kBorder = 0x7A7A7A, kFocusBorder = 0xD77800;

}  // namespace

void TEdit::SetText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  Changed();
}

void TEdit::Paint(TDirectDrawSurface& s, bool focused) {
  using namespace control_paint;
  const Rect r{left_, top_, width_, height_};
  s.FillRect(r.X, r.Y, r.W, r.H, color_);
  Frame(s, r, focused ? kFocusBorder : kBorder);
  const int32_t lh = LineHeight(font_.Points);
  const Rect inner{r.X + 2, r.Y + 1, r.W - 4, r.H - 2};
  const int32_t y = r.Y + (r.H - lh) / 2;
  control_paint::Text(s, r.X + 3, y, text_, font_.Points, font_.Color, inner);
  if (focused && !ReadOnly) {
    // The caret after the text, where typing goes.
    const int32_t cx = std::min(r.X + 3 + TextWidth(text_, font_.Points), r.X + r.W - 3);
    s.FillRect(cx, y + 1, 1, lh - 2, font_.Color);
  }
}

bool TEdit::KeyDown(uint8_t key) {
  if (ReadOnly || key != platform::vk::Back || text_.empty()) return false;
  // Back deletes the last character, all of its UTF-8 bytes.
  size_t n = text_.size() - 1;
  while (n > 0 && (static_cast<unsigned char>(text_[n]) & 0xC0) == 0x80) --n;
  text_.erase(n);
  Changed();
  return true;
}

bool TEdit::TypeText(const std::string& text) {
  if (ReadOnly || text.empty()) return false;
  text_ += text;
  Changed();
  return true;
}
