#include "presentation/message_box.h"

#include <algorithm>

#include "platform/text.h"

namespace {

constexpr int32_t kTextPoints = 9;
constexpr int32_t kTitleHeight = 22;
constexpr int32_t kMargin = 16;
constexpr int32_t kIcon = 32;
constexpr int32_t kMaxTextWidth = 560;
constexpr TColor kTitleColor = 0x7A3A0A;  // a dark blue title bar (0x00BBGGRR)
constexpr TColor kFrameColor = 0x404040;
constexpr TColor kButtonFace = 0xE1E1E1;
constexpr TColor kButtonPressed = 0xCCCCCC;
constexpr TColor kButtonBorder = 0xD77800;  // the default button's blue outline

int32_t WidthOf(const std::string& s) {
  int32_t w = 0, h = 0;
  platform::TextRasterizer::Shared().Measure(s, kTextPoints, w, h);
  return w;
}

// Breaks the text into lines no wider than maxWidth, at spaces where it can and at the
// text's own line breaks always.
std::vector<std::string> Wrap(const std::string& text, int32_t maxWidth) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string paragraph = text.substr(start, end - start);
    if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
    std::string line;
    size_t i = 0;
    while (i <= paragraph.size()) {
      size_t space = paragraph.find(' ', i);
      if (space == std::string::npos) space = paragraph.size();
      const std::string word = paragraph.substr(i, space - i);
      const std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && WidthOf(candidate) > maxWidth) {
        lines.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
      i = space + 1;
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

void Frame(TDirectDrawSurface& s, int32_t x, int32_t y, int32_t w, int32_t h, TColor c) {
  s.FillRect(x, y, w, 1, c);
  s.FillRect(x, y + h - 1, w, 1, c);
  s.FillRect(x, y, 1, h, c);
  s.FillRect(x + w - 1, y, 1, h, c);
}

}  // namespace

TMessageBoxLayer::TMessageBoxLayer(std::string caption, std::string text, bool error)
    : caption_(std::move(caption)), text_(std::move(text)), error_(error) {}

void TMessageBoxLayer::Layout(int32_t clientWidth, int32_t clientHeight) {
  lines_ = Wrap(text_, kMaxTextWidth);
  lineHeight_ = std::max(platform::TextRasterizer::Shared().LineHeight(kTextPoints), 12);
  int32_t textWidth = 0;
  for (const auto& line : lines_) textWidth = std::max(textWidth, WidthOf(line));
  const int32_t textHeight = lineHeight_ * static_cast<int32_t>(lines_.size());
  width_ = std::max({kMargin + kIcon + 12 + textWidth + kMargin, WidthOf(caption_) + 40, 200});
  height_ = kTitleHeight + kMargin + std::max(kIcon, textHeight) + kMargin + kButtonHeight + 12;
  x_ = std::max((clientWidth - width_) / 2, 0);
  y_ = std::max((clientHeight - height_) / 2, 0);
  buttonX_ = (width_ - kButtonWidth) / 2;
  buttonY_ = height_ - 12 - kButtonHeight;
}

void TMessageBoxLayer::Paint(TDirectDrawSurface& s) {
  // A soft shadow, the frame, the title bar, the body.
  s.FillRect(x_ + 4, y_ + 4, width_, height_, 0x303030);
  s.FillRect(x_, y_, width_, height_, 0xF0F0F0);
  s.FillRect(x_, y_, width_, kTitleHeight, kTitleColor);
  Frame(s, x_, y_, width_, height_, kFrameColor);
  DrawText(s, x_ + 8, y_ + (kTitleHeight - lineHeight_) / 2, caption_, kTextPoints, clWhite);

  // The icon: a red disc with a white cross for errors, a blue disc with an "i" otherwise.
  const int32_t ix = x_ + kMargin, iy = y_ + kTitleHeight + kMargin;
  const TColor disc = error_ ? 0x1C1CC8 : 0xC86414;
  for (int32_t dy = 0; dy < kIcon; ++dy) {
    for (int32_t dx = 0; dx < kIcon; ++dx) {
      const int32_t cx = 2 * dx - (kIcon - 1), cy = 2 * dy - (kIcon - 1);
      if (cx * cx + cy * cy <= kIcon * kIcon) s.FillRect(ix + dx, iy + dy, 1, 1, disc);
    }
  }
  if (error_) {
    for (int32_t k = 9; k < kIcon - 9; ++k) {
      s.FillRect(ix + k - 1, iy + k - 1, 3, 3, clWhite);
      s.FillRect(ix + kIcon - 1 - k - 1, iy + k - 1, 3, 3, clWhite);
    }
  } else {
    s.FillRect(ix + 14, iy + 7, 4, 4, clWhite);
    s.FillRect(ix + 14, iy + 13, 4, 12, clWhite);
  }

  int32_t ty = y_ + kTitleHeight + kMargin;
  if (static_cast<int32_t>(lines_.size()) * lineHeight_ < kIcon) {
    ty += (kIcon - static_cast<int32_t>(lines_.size()) * lineHeight_) / 2;
  }
  for (const auto& line : lines_) {
    DrawText(s, x_ + kMargin + kIcon + 12, ty, line, kTextPoints, clBlack);
    ty += lineHeight_;
  }

  const int32_t bx = x_ + buttonX_, by = y_ + buttonY_;
  s.FillRect(bx, by, kButtonWidth, kButtonHeight, pressed_ ? kButtonPressed : kButtonFace);
  Frame(s, bx, by, kButtonWidth, kButtonHeight, kButtonBorder);
  const int32_t okWidth = WidthOf("OK");
  DrawText(s, bx + (kButtonWidth - okWidth) / 2, by + (kButtonHeight - lineHeight_) / 2, "OK",
           kTextPoints, clBlack);
}

bool TMessageBoxLayer::OnButton(int32_t x, int32_t y) const {
  return x >= x_ + buttonX_ && x < x_ + buttonX_ + kButtonWidth && y >= y_ + buttonY_ &&
         y < y_ + buttonY_ + kButtonHeight;
}

bool TMessageBoxLayer::HandleEvent(const platform::Event& e) {
  using platform::EventKind;
  switch (e.Kind) {
    case EventKind::KeyDown:
      // A held key's repeats never answer: the key that opened the box is still down.
      if (!e.Repeat && (e.Key == platform::vk::Return || e.Key == platform::vk::Space ||
                        e.Key == platform::vk::Escape)) {
        answered_ = true;
      }
      return true;
    case EventKind::PadDown:
      if (e.Pad == platform::PadButton::Accept || e.Pad == platform::PadButton::Back) {
        answered_ = true;
      }
      return true;
    case EventKind::MouseDown:
      // The rest of a double-click whose first press opened the box was meant for what lay
      // there before: it does not press OK.
      if (e.Button == 1 && e.Clicks >= 2 && !pressSeen_) return true;
      if (e.Button == 1) pressSeen_ = true;
      pressed_ = e.Button == 1 && OnButton(e.X, e.Y);
      return true;
    case EventKind::MouseUp:
      // A click is a press and a release on the button, as on a desktop.
      if (e.Button == 1 && pressed_ && OnButton(e.X, e.Y)) answered_ = true;
      pressed_ = false;
      return true;
    case EventKind::KeyUp:
    case EventKind::TextInput:
    case EventKind::MouseMove:
    case EventKind::MouseWheel:
    case EventKind::PadUp:
      return true;  // modal: nothing reaches the window behind it
    default:
      return false;
  }
}
