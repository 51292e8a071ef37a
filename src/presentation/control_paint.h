// Drawing helpers the window's controls share: frames, clipped text, small glyphs, all in
// window pixels on the composed picture.
#pragma once

#include <cstdint>
#include <string>

#include "presentation/color.h"
#include "presentation/surface.h"

namespace control_paint {

struct Rect {
  int32_t X = 0, Y = 0, W = 0, H = 0;
  bool Contains(int32_t x, int32_t y) const { return x >= X && x < X + W && y >= Y && y < Y + H; }
};

void Frame(TDirectDrawSurface& s, const Rect& r, TColor color);
// A dotted rectangle, every other pixel, as a desktop marks the keyboard focus.
void FocusFrame(TDirectDrawSurface& s, const Rect& r, TColor color);
// Text with the top-left of its cell at (x, y), drawn only inside clip.
void Text(TDirectDrawSurface& s, int32_t x, int32_t y, const std::string& text, int32_t points,
          TColor color, const Rect& clip);
int32_t TextWidth(const std::string& text, int32_t points);
int32_t LineHeight(int32_t points);  // at least 1, also without a font
// A filled triangle pointing up (or down) in the middle of r, for scroll arrows.
void Arrow(TDirectDrawSurface& s, const Rect& r, bool up, TColor color);
// A radio button's disc of diameter d at (x, y): ring, fill and, when checked, the dot.
void RadioDisc(TDirectDrawSurface& s, int32_t x, int32_t y, int32_t d, bool checked, TColor ring,
               TColor fill, TColor dot);

}  // namespace control_paint
