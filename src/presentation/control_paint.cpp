#include "presentation/control_paint.h"

#include <algorithm>
#include <cmath>

#include "platform/text.h"

namespace control_paint {

namespace {

uint32_t Mix(uint32_t under, uint32_t over, uint32_t a) {
  const uint32_t na = 255 - a;
  const uint32_t r = (((under >> 16) & 0xFF) * na + ((over >> 16) & 0xFF) * a + 127) / 255;
  const uint32_t g = (((under >> 8) & 0xFF) * na + ((over >> 8) & 0xFF) * a + 127) / 255;
  const uint32_t b = ((under & 0xFF) * na + (over & 0xFF) * a + 127) / 255;
  return (r << 16) | (g << 8) | b;
}

void Plot(TDirectDrawSurface& s, int32_t x, int32_t y, uint32_t pixel, uint32_t alpha) {
  if (x < 0 || y < 0 || x >= s.Width() || y >= s.Height() || alpha == 0) return;
  uint32_t& p = s.Row(y)[x];
  p = alpha >= 255 ? pixel : Mix(p, pixel, alpha);
}

}  // namespace

void Frame(TDirectDrawSurface& s, const Rect& r, TColor c) {
  s.FillRect(r.X, r.Y, r.W, 1, c);
  s.FillRect(r.X, r.Y + r.H - 1, r.W, 1, c);
  s.FillRect(r.X, r.Y, 1, r.H, c);
  s.FillRect(r.X + r.W - 1, r.Y, 1, r.H, c);
}

void FocusFrame(TDirectDrawSurface& s, const Rect& r, TColor c) {
  const uint32_t pixel = ColorToPixel(c);
  for (int32_t x = r.X; x < r.X + r.W; x += 2) {
    Plot(s, x, r.Y, pixel, 255);
    Plot(s, x, r.Y + r.H - 1, pixel, 255);
  }
  for (int32_t y = r.Y; y < r.Y + r.H; y += 2) {
    Plot(s, r.X, y, pixel, 255);
    Plot(s, r.X + r.W - 1, y, pixel, 255);
  }
}

void Text(TDirectDrawSurface& s, int32_t x, int32_t y, const std::string& text, int32_t points,
          TColor color, const Rect& clip) {
  if (text.empty()) return;
  const platform::TextBitmap glyphs = platform::TextRasterizer::Shared().Render(text, points);
  if (glyphs.Width <= 0 || glyphs.Height <= 0) return;
  const int64_t x0 = std::max<int64_t>({x, clip.X, 0});
  const int64_t y0 = std::max<int64_t>({y, clip.Y, 0});
  const int64_t x1 =
      std::min<int64_t>({int64_t{x} + glyphs.Width, int64_t{clip.X} + clip.W, int64_t{s.Width()}});
  const int64_t y1 = std::min<int64_t>(
      {int64_t{y} + glyphs.Height, int64_t{clip.Y} + clip.H, int64_t{s.Height()}});
  const uint32_t fg = ColorToPixel(color);
  for (int64_t py = y0; py < y1; ++py) {
    uint32_t* row = s.Row(static_cast<int32_t>(py));
    const uint8_t* cov = glyphs.Coverage.data() + static_cast<size_t>(py - y) * glyphs.Width;
    for (int64_t px = x0; px < x1; ++px) {
      const uint32_t a = cov[px - x];
      if (a) row[px] = a == 255 ? fg : Mix(row[px], fg, a);
    }
  }
}

int32_t TextWidth(const std::string& text, int32_t points) {
  int32_t w = 0, h = 0;
  platform::TextRasterizer::Shared().Measure(text, points, w, h);
  return w;
}

int32_t LineHeight(int32_t points) {
  return std::max(platform::TextRasterizer::Shared().LineHeight(points), 1);
}

void Arrow(TDirectDrawSurface& s, const Rect& r, bool up, TColor color) {
  const int32_t half = std::max(std::min(r.W, r.H) / 4, 2);
  const int32_t cx = r.X + r.W / 2, cy = r.Y + (r.H - half) / 2;
  for (int32_t i = 0; i < half; ++i) {
    const int32_t row = up ? cy + i : cy + half - 1 - i;
    s.FillRect(cx - i, row, 2 * i + 1, 1, color);
  }
}

void RadioDisc(TDirectDrawSurface& s, int32_t x, int32_t y, int32_t d, bool checked, TColor ring,
               TColor fill, TColor dot) {
  // Coverage by 4 x 4 supersampling keeps the small circles round.
  const double r = d / 2.0, dotR = d / 4.5;
  for (int32_t py = 0; py < d; ++py) {
    for (int32_t px = 0; px < d; ++px) {
      int inside = 0, inner = 0, inDot = 0;
      for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
          const double dx = px + (sx + 0.5) / 4 - r, dy = py + (sy + 0.5) / 4 - r;
          const double dist = std::sqrt(dx * dx + dy * dy);
          inside += dist <= r;
          inner += dist <= r - 1.0;
          inDot += checked && dist <= dotR;
        }
      }
      Plot(s, x + px, y + py, ColorToPixel(ring), static_cast<uint32_t>(inside * 255 / 16));
      Plot(s, x + px, y + py, ColorToPixel(fill), static_cast<uint32_t>(inner * 255 / 16));
      Plot(s, x + px, y + py, ColorToPixel(dot), static_cast<uint32_t>(inDot * 255 / 16));
    }
  }
}

}  // namespace control_paint
