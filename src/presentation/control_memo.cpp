#include <algorithm>

#include "platform/backend.h"
#include "presentation/control_paint.h"
#include "presentation/controls.h"
#include "presentation/text_wrap.h"

namespace {

constexpr TColor kBorder = 0x7A7A7A, kFocusBorder = 0xD77800;
constexpr TColor kTrack = 0xF0F0F0, kThumb = 0xCDCDCD, kThumbHeld = 0xA6A6A6;
constexpr TColor kArrow = 0x606060;
// The text's distance from the outer edge, the frame included: as close to the frame as a
// desktop text box sets it, so a line the form's width was made for is one row.
constexpr int32_t kPadLeft = 3, kPadRight = 2, kPadY = 3;
constexpr int32_t kWheelRows = 3;  // rows a wheel notch scrolls, as on a desktop
constexpr int32_t kMinThumb = 8;

}  // namespace

void TMemo::Clear() {
  if (lines_.empty() && topRow_ == 0) return;
  lines_.clear();
  topRow_ = 0;
  layoutValid_ = false;
  Changed();
}

void TMemo::Add(const std::string& line) {
  // A line with breaks of its own is several paragraphs, as in a desktop memo.
  size_t start = 0;
  while (true) {
    size_t end = line.find('\n', start);
    std::string part = line.substr(start, end == std::string::npos ? end : end - start);
    if (!part.empty() && part.back() == '\r') part.pop_back();
    lines_.push_back(std::move(part));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  layoutValid_ = false;
  Changed();
}

bool TMemo::CanFocus() const {
  return TControl::CanFocus();
}

const TMemo::Layout& TMemo::Wrapped() const {
  if (layoutValid_ && layoutFor_[0] == width_ && layoutFor_[1] == height_ &&
      layoutFor_[2] == font_.Points) {
    return layout_;
  }
  const int32_t points = font_.Points;
  auto measure = [points](const std::string& s) { return control_paint::TextWidth(s, points); };
  auto wrap = [&](int32_t width) {
    std::vector<std::string> rows;
    for (const auto& line : lines_) {
      for (auto& row : WrapParagraph(line, std::max(width, 1), measure)) {
        rows.push_back(std::move(row));
      }
    }
    return rows;
  };
  layout_.lineHeight = control_paint::LineHeight(points);
  layout_.pageRows = std::max((height_ - 2 * kPadY) / layout_.lineHeight, 1);
  layout_.rows = wrap(width_ - kPadLeft - kPadRight);
  layout_.scrollBar = static_cast<int32_t>(layout_.rows.size()) > layout_.pageRows;
  // With the bar the text is narrower and wraps again; it can only grow, so the bar stays.
  if (layout_.scrollBar) layout_.rows = wrap(width_ - kPadLeft - kPadRight - kScrollBarWidth);
  layoutFor_[0] = width_;
  layoutFor_[1] = height_;
  layoutFor_[2] = points;
  layoutValid_ = true;
  return layout_;
}

const std::vector<std::string>& TMemo::Rows() const {
  return Wrapped().rows;
}

int32_t TMemo::PageRows() const {
  return Wrapped().pageRows;
}

bool TMemo::ScrollBarShown() const {
  return Wrapped().scrollBar;
}

int32_t TMemo::MaxTopRow() const {
  const Layout& l = Wrapped();
  return std::max(static_cast<int32_t>(l.rows.size()) - l.pageRows, 0);
}

void TMemo::ScrollTo(int32_t row) {
  row = std::clamp(row, 0, MaxTopRow());
  if (row == topRow_) return;
  topRow_ = row;
  Changed();
}

void TMemo::ScrollBy(int32_t rows) {
  ScrollTo(topRow_ + rows);
}

void TMemo::ThumbGeometry(int32_t& trackTop, int32_t& trackLength, int32_t& thumbTop,
                          int32_t& thumbLength) const {
  const Layout& l = Wrapped();
  trackTop = top_ + 1 + kScrollBarWidth;
  trackLength = std::max(height_ - 2 - 2 * kScrollBarWidth, 0);
  const auto rows = std::max(static_cast<int32_t>(l.rows.size()), 1);
  thumbLength =
      std::clamp(trackLength * l.pageRows / rows, std::min(kMinThumb, trackLength), trackLength);
  const int32_t maxTop = MaxTopRow();
  const int32_t travel = trackLength - thumbLength;
  thumbTop = trackTop + (maxTop > 0 ? travel * std::min(topRow_, maxTop) / maxTop : 0);
}

void TMemo::Paint(TDirectDrawSurface& s, bool focused) {
  using namespace control_paint;
  const Layout& l = Wrapped();
  topRow_ = std::min(topRow_, MaxTopRow());
  const Rect r{left_, top_, width_, height_};
  s.FillRect(r.X, r.Y, r.W, r.H, color_);
  Frame(s, r, focused ? kFocusBorder : kBorder);
  const int32_t textRight = r.X + r.W - 1 - (l.scrollBar ? kScrollBarWidth : 0);
  const Rect clip{r.X + 1, r.Y + 1, textRight - r.X - 1, r.H - 2};
  int32_t y = r.Y + kPadY;
  for (size_t i = static_cast<size_t>(topRow_); i < l.rows.size(); ++i) {
    if (y + l.lineHeight > r.Y + r.H - 1) break;
    control_paint::Text(s, r.X + kPadLeft, y, l.rows[i], font_.Points, font_.Color, clip);
    y += l.lineHeight;
  }
  if (!l.scrollBar) return;
  const int32_t bx = textRight;
  s.FillRect(bx, r.Y + 1, kScrollBarWidth, r.H - 2, kTrack);
  Arrow(s, {bx, r.Y + 1, kScrollBarWidth, kScrollBarWidth}, true, kArrow);
  Arrow(s, {bx, r.Y + r.H - 1 - kScrollBarWidth, kScrollBarWidth, kScrollBarWidth}, false, kArrow);
  int32_t trackTop = 0, trackLength = 0, thumbTop = 0, thumbLength = 0;
  ThumbGeometry(trackTop, trackLength, thumbTop, thumbLength);
  s.FillRect(bx + 2, thumbTop, kScrollBarWidth - 4, thumbLength,
             dragOffset_ >= 0 ? kThumbHeld : kThumb);
}

void TMemo::MouseDown(int32_t x, int32_t y) {
  if (!ScrollBarShown() || x < left_ + width_ - 1 - kScrollBarWidth) return;
  int32_t trackTop = 0, trackLength = 0, thumbTop = 0, thumbLength = 0;
  ThumbGeometry(trackTop, trackLength, thumbTop, thumbLength);
  if (y < trackTop) {
    ScrollBy(-1);
  } else if (y >= trackTop + trackLength) {
    ScrollBy(1);
  } else if (y < thumbTop) {
    ScrollBy(-PageRows());
  } else if (y >= thumbTop + thumbLength) {
    ScrollBy(PageRows());
  } else {
    dragOffset_ = y - thumbTop;
    Changed();
  }
}

void TMemo::MouseDrag(int32_t /*x*/, int32_t y) {
  if (dragOffset_ < 0) return;
  int32_t trackTop = 0, trackLength = 0, thumbTop = 0, thumbLength = 0;
  ThumbGeometry(trackTop, trackLength, thumbTop, thumbLength);
  const int32_t travel = trackLength - thumbLength;
  if (travel <= 0) return;
  const int32_t at = std::clamp(y - dragOffset_ - trackTop, 0, travel);
  ScrollTo((at * MaxTopRow() + travel / 2) / travel);
}

bool TMemo::MouseUp(int32_t /*x*/, int32_t /*y*/) {
  if (dragOffset_ >= 0) {
    dragOffset_ = -1;
    Changed();
  }
  return true;
}

bool TMemo::Wheel(int32_t notches) {
  ScrollBy(-notches * kWheelRows);
  return true;
}

bool TMemo::KeyDown(uint8_t key) {
  namespace vk = platform::vk;
  switch (key) {
    case vk::Up:
      ScrollBy(-1);
      return true;
    case vk::Down:
      ScrollBy(1);
      return true;
    case vk::Prior:
      ScrollBy(-PageRows());
      return true;
    case vk::Next:
      ScrollBy(PageRows());
      return true;
    case vk::Home:
      ScrollTo(0);
      return true;
    case vk::End:
      ScrollTo(MaxTopRow());
      return true;
    default:
      return false;
  }
}

bool TMemo::PadStep(int step) {
  const int32_t before = topRow_;
  ScrollBy(step);
  return topRow_ != before;
}
