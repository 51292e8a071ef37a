#include <algorithm>

#include "presentation/control_paint.h"
#include "presentation/controls.h"

namespace {

// A flat desktop button (colours 0x00BBGGRR): grey at rest, light blue under the mouse,
// darker blue while pressed, a blue outline and a dotted focus mark when it has the focus.
constexpr TColor kFace = 0xE1E1E1, kBorder = 0xADADAD;
constexpr TColor kHoverFace = 0xFBF1E5, kHoverBorder = 0xD77800;
constexpr TColor kPressedFace = 0xF7E4CC, kPressedBorder = 0x9A5400;
constexpr TColor kDisabledFace = 0xCCCCCC, kDisabledBorder = 0xBFBFBF, kDisabledText = 0x838383;
constexpr TColor kFocusBorder = 0xD77800, kFocusMark = 0x202020;

}  // namespace

void TButton::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Revised();
  Changed();
}

void TButton::SetColumns(std::vector<int32_t> columns) {
  if (columns_ == columns) return;
  columns_ = std::move(columns);
  Revised();
  Changed();
}

void TButton::Paint(TDirectDrawSurface& s, bool focused) {
  using namespace control_paint;
  const Rect r{left_, top_, width_, height_};
  TColor face = kFace, border = kBorder, text = font_.Color;
  if (!enabled_) {
    face = kDisabledFace;
    border = kDisabledBorder;
    text = kDisabledText;
  } else if (Pressed()) {
    face = kPressedFace;
    border = kPressedBorder;
  } else if (hover_) {
    face = kHoverFace;
    border = kHoverBorder;
  } else if (focused) {
    border = kFocusBorder;
  }
  s.FillRect(r.X, r.Y, r.W, r.H, face);
  Frame(s, r, border);
  if (focused && enabled_) {
    Frame(s, {r.X + 1, r.Y + 1, r.W - 2, r.H - 2}, kFocusBorder);
    FocusFrame(s, {r.X + 3, r.Y + 3, r.W - 6, r.H - 6}, kFocusMark);
  }
  // The caption moves a pixel down and right while pressed, as if pushed in.
  const int32_t shift = Pressed() ? 1 : 0;
  const int32_t y = r.Y + (r.H - LineHeight(font_.Points)) / 2 + shift;
  const Rect clip{r.X + 2, r.Y + 1, r.W - 4, r.H - 2};
  if (columns_.empty()) {
    const int32_t x = r.X + (r.W - TextWidth(caption_, font_.Points)) / 2 + shift;
    control_paint::Text(s, x, y, caption_, font_.Points, text, clip);
    return;
  }
  size_t start = 0;
  for (size_t column = 0; start <= caption_.size(); ++column) {
    const size_t tab = caption_.find('\t', start);
    const size_t end = tab == std::string::npos ? caption_.size() : tab;
    // Parts beyond the last column follow the last one.
    const int32_t left = columns_[std::min(column, columns_.size() - 1)];
    control_paint::Text(s, r.X + left + shift, y, caption_.substr(start, end - start), font_.Points,
                        text, clip);
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
}
