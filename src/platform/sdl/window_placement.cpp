#include "platform/sdl/window_placement.h"

#include <algorithm>

namespace platform {

Rect32 FitWindow(Rect32 want, Rect32 usable, const FrameExtents& f) {
  if (usable.Width <= 0 || usable.Height <= 0) return want;
  const int32_t logicalW = want.Width, logicalH = want.Height;
  const int32_t roomW = usable.Width - f.Left - f.Right, roomH = usable.Height - f.Top - f.Bottom;
  if ((want.Width <= roomW && want.Height <= roomH) || roomW <= 0 || roomH <= 0) return want;
  Rect32 r = want;
  if (static_cast<int64_t>(roomW) * logicalH >= static_cast<int64_t>(roomH) * logicalW) {
    r.Height = roomH;
    r.Width = std::max(1, roomH * logicalW / logicalH);
  } else {
    r.Width = roomW;
    r.Height = std::max(1, roomW * logicalH / logicalW);
  }
  const int32_t outerW = r.Width + f.Left + f.Right, outerH = r.Height + f.Top + f.Bottom;
  r.X = std::clamp(r.X, usable.X, usable.X + usable.Width - outerW);
  r.Y = std::clamp(r.Y, usable.Y, usable.Y + usable.Height - outerH);
  return r;
}

void WindowPlacement::SetWanted(int32_t x, int32_t y, int32_t width, int32_t height) {
  windowX_ = x;
  windowY_ = y;
  SetLogicalSize(width, height);
}

void WindowPlacement::SetLogicalSize(int32_t width, int32_t height) {
  logicalWidth_ = width;
  logicalHeight_ = height;
}

FrameExtents WindowPlacement::Frame() const {
  int top = 0, left = 0, bottom = 0, right = 0;
  if (fullscreen_ || SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0)
    return {};
  return {std::max(left, 0), std::max(top, 0), std::max(right, 0), std::max(bottom, 0)};
}

Rect32 WindowPlacement::Fitted() const {
  const Rect32 want{windowX_, windowY_, logicalWidth_, logicalHeight_};
  SDL_Rect usable{0, 0, 0, 0};
  const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
  if (SDL_GetDisplayUsableBounds(display, &usable) != 0) return want;
  return FitWindow(want, {usable.x, usable.y, usable.w, usable.h}, Frame());
}

// SDL places a window by its client area and turns that into a request for the frame's
// corner with the frame it knows. Asking for the outer corner plus that same frame therefore
// puts the frame's corner where the form wants it, whether or not the frame is known yet.
// The request goes out even where SDL believes the window is there already: back from the
// full screen, what SDL remembers is the place before it, not where the window manager put it.
void WindowPlacement::Place(int32_t x0, int32_t y0) {
  const FrameExtents f = Frame();
  SDL_SetWindowPosition(window_, x0 + f.Left, y0 + f.Top);
}

void WindowPlacement::Apply() {
  const Rect32 r = Fitted();
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  if (w != r.Width || h != r.Height) SDL_SetWindowSize(window_, r.Width, r.Height);
  Place(r.X, r.Y);
}

// Back from the full screen, the window manager puts back the window it last saw, and may
// do so after the game asked for its own bounds, later still on a busy machine.
void WindowPlacement::Insist(uint64_t now) {
  if (fullscreen_ || now >= insistUntil_) return;
  const Rect32 r = Fitted();
  const FrameExtents f = Frame();
  int w = 0, h = 0, x = 0, y = 0;
  SDL_GetWindowSize(window_, &w, &h);
  SDL_GetWindowPosition(window_, &x, &y);
  if (w == r.Width && h == r.Height && x == r.X + f.Left && y == r.Y + f.Top) return;
  // Back from the full screen a window manager may put the client area where the frame's
  // corner belongs, the title bar off the screen, and then take a request for that very place
  // as no move at all (openbox does): the window goes beside it first, to its place next time.
  if (w == r.Width && h == r.Height && x == r.X && y == r.Y && (f.Left > 0 || f.Top > 0)) {
    Place(r.X + f.Left, r.Y + f.Top);
    return;
  }
  Apply();
}

bool WindowPlacement::FrameMoved() {
  const FrameExtents now = Frame();
  if (now == reportedFrame_) return false;
  reportedFrame_ = now;
  return true;
}

}  // namespace platform
