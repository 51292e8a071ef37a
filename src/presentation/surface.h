// The 1024 x 768, 32-bit back buffer and its text-and-rectangle drawing context.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "presentation/color.h"

class TDirectDrawSurface;
class TPictureCollectionItem;

enum class TBrushStyle : uint8_t { bsSolid, bsClear };

class TBrush {
 public:
  TColor Color() const { return color_; }
  // Setting the colour makes the style solid again, as the game relies on.
  void SetColor(TColor c) {
    color_ = c;
    style_ = TBrushStyle::bsSolid;
  }
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle s) { style_ = s; }

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = TBrushStyle::bsSolid;
};

struct TFont {
  int32_t Size = 8;        // points at 96 dpi: 12 pt = 16 px, 30 pt = 40 px
  TColor Color = clBlack;  // the system's window-text colour
};

class TDirectDrawSurfaceCanvas {
 public:
  explicit TDirectDrawSurfaceCanvas(TDirectDrawSurface& surface) : surface_(surface) {}

  TBrush Brush;
  TFont Font;

  // Draws UTF-8 text with its top-left corner at (x, y) in the current font; with a solid
  // brush the text cell is filled with the brush colour first.
  void TextOut(int32_t x, int32_t y, const std::string& text);
  // Outlines (x1, y1)-(x2 - 1, y2 - 1) with a 1-pixel black pen, fills the inside with the
  // brush unless it is clear.
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  // Ends a run of canvas drawing; harmless when nothing was drawn. Text and rectangles go
  // straight into the back buffer, so nothing is left to hand over.
  void Release() {}
  // The cell TextOut would fill for this text in the current font.
  int32_t TextWidth(const std::string& text) const;
  int32_t TextHeight(const std::string& text) const;

 private:
  TDirectDrawSurface& surface_;
};

// Draws UTF-8 text with the top-left of its cell at (x, y): the interface font (platform/text.h)
// at `points` (96 dpi), anti-aliased in `color`, over the cell filled with `background` when
// opaque. Clipped to the surface. The canvas, the window's controls and the message box all
// draw text this way.
void DrawText(TDirectDrawSurface& surface, int32_t x, int32_t y, const std::string& text,
              int32_t points, TColor color, bool opaque = false, TColor background = 0);

class TDirectDrawSurface {
 public:
  TDirectDrawSurface(int32_t width, int32_t height)
      : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, 0) {}

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  uint32_t* Pixels() { return pixels_.data(); }
  const uint32_t* Pixels() const { return pixels_.data(); }
  uint32_t* Row(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint32_t* Row(int32_t y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  uint32_t PixelAt(int32_t x, int32_t y) const { return Row(y)[x]; }

  void Fill(TColor color);
  // Fills the rectangle (x, y)-(x + w, y + h), clipped to the surface.
  void FillRect(int32_t x, int32_t y, int32_t w, int32_t h, TColor color);
  // New size, every pixel black (the window picture follows the window's client area).
  void Resize(int32_t width, int32_t height);

  // Told of every sprite pattern drawn on the surface and where its corner went, clipped or
  // not: what a frame put where, for a test, without reading it back from the pixels.
  std::function<void(const TPictureCollectionItem& item, int32_t x, int32_t y, int32_t pattern)>
      SpriteDrawn;

  // Created on first use; lives as long as the surface, so brush and font persist.
  TDirectDrawSurfaceCanvas& Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TDirectDrawSurfaceCanvas>(*this);
    return *canvas_;
  }

 private:
  int32_t width_;
  int32_t height_;
  std::vector<uint32_t> pixels_;  // XRGB8888
  std::unique_ptr<TDirectDrawSurfaceCanvas> canvas_;
};
