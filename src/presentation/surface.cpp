#include "presentation/surface.h"

#include <algorithm>

#include "platform/text.h"

namespace {

// Mixes two XRGB pixels: a = 0 gives under, 255 gives over.
uint32_t Blend(uint32_t under, uint32_t over, uint32_t a) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t u = (under >> shift) & 0xFF;
    const uint32_t o = (over >> shift) & 0xFF;
    out |= ((u * (255 - a) + o * a + 127) / 255) << shift;
  }
  return out;
}

}  // namespace

void TDirectDrawSurface::Fill(TColor color) {
  std::fill(pixels_.begin(), pixels_.end(), ColorToPixel(color));
}

void TDirectDrawSurface::FillRect(int32_t x, int32_t y, int32_t w, int32_t h, TColor color) {
  const int32_t left = std::max(x, 0);
  const int32_t top = std::max(y, 0);
  const auto right = static_cast<int32_t>(std::min<int64_t>(int64_t{x} + w, width_));
  const auto bottom = static_cast<int32_t>(std::min<int64_t>(int64_t{y} + h, height_));
  const uint32_t p = ColorToPixel(color);
  for (int32_t row = top; row < bottom; ++row) {
    if (left < right) std::fill(Row(row) + left, Row(row) + right, p);
  }
}

void TDirectDrawSurface::Resize(int32_t width, int32_t height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
}

void TDirectDrawSurfaceCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const int32_t left = std::max(x1, 0);
  const int32_t top = std::max(y1, 0);
  const int32_t right = std::min(x2, surface_.Width());    // exclusive
  const int32_t bottom = std::min(y2, surface_.Height());  // exclusive
  if (left >= right || top >= bottom) return;
  const uint32_t pen = ColorToPixel(clBlack);
  const uint32_t fill = ColorToPixel(Brush.Color());
  const bool filled = Brush.Style() == TBrushStyle::bsSolid;
  for (int32_t y = top; y < bottom; ++y) {
    uint32_t* row = surface_.Row(y);
    const bool edgeRow = (y == y1 || y == y2 - 1);
    for (int32_t x = left; x < right; ++x) {
      if (edgeRow || x == x1 || x == x2 - 1) {
        row[x] = pen;
      } else if (filled) {
        row[x] = fill;
      }
    }
  }
}

void TDirectDrawSurfaceCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  const int32_t points = Font.Size > 0 ? Font.Size : 8;
  const bool opaque = Brush.Style() == TBrushStyle::bsSolid;
  DrawText(surface_, x, y, text, points, Font.Color, opaque, Brush.Color());
}

int32_t TDirectDrawSurfaceCanvas::TextWidth(const std::string& text) const {
  int32_t w = 0, h = 0;
  platform::TextRasterizer::Shared().Measure(text, Font.Size > 0 ? Font.Size : 8, w, h);
  return w;
}

int32_t TDirectDrawSurfaceCanvas::TextHeight(const std::string& text) const {
  int32_t w = 0, h = 0;
  platform::TextRasterizer::Shared().Measure(text, Font.Size > 0 ? Font.Size : 8, w, h);
  return h;
}

void DrawText(TDirectDrawSurface& surface, int32_t x, int32_t y, const std::string& text,
              int32_t points, TColor color, bool opaque, TColor background) {
  if (text.empty()) return;
  const platform::TextBitmap glyphs = platform::TextRasterizer::Shared().Render(text, points);
  if (glyphs.Width <= 0 || glyphs.Height <= 0) return;
  const int32_t x0 = std::max(x, 0);
  const int32_t y0 = std::max(y, 0);
  const int32_t x1 = std::min<int64_t>(int64_t{x} + glyphs.Width, surface.Width());
  const int32_t y1 = std::min<int64_t>(int64_t{y} + glyphs.Height, surface.Height());
  if (x0 >= x1 || y0 >= y1) return;
  const uint32_t fg = ColorToPixel(color);
  const uint32_t bg = ColorToPixel(background);
  for (int32_t py = y0; py < y1; ++py) {
    uint32_t* row = surface.Row(py);
    const uint8_t* cov =
        glyphs.Coverage.data() + static_cast<size_t>(py - y) * static_cast<size_t>(glyphs.Width);
    for (int32_t px = x0; px < x1; ++px) {
      const uint32_t a = cov[px - x];
      const uint32_t under = opaque ? bg : row[px];
      if (a == 0) {
        row[px] = under;
      } else if (a == 255) {
        row[px] = fg;
      } else {
        row[px] = Blend(under, fg, a);
      }
    }
  }
}
