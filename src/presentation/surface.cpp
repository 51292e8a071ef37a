#include "presentation/surface.h"

#include <algorithm>

void TDirectDrawSurface::Fill(TColor color) {
  std::fill(pixels_.begin(), pixels_.end(), ColorToPixel(color));
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

// Text needs a font rasteriser from the platform; until one is bound, nothing is drawn.
void TDirectDrawSurfaceCanvas::TextOut(int32_t, int32_t, const std::string&) {}
