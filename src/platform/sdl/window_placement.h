// Where the windowed game's window goes: its outer corner where the form asks (SDL places by
// the client area, the window manager draws the frame), its size fitted to the screen's usable
// area, and, back from the full screen, those bounds insisted on while the window manager puts
// back its own.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/backend.h"

namespace platform {

struct Rect32 {
  int32_t X = 0, Y = 0, Width = 0, Height = 0;
};

// The client size and outer corner for a picture of `logical` size wanted at the outer corner
// (`want.X`, `want.Y`): as asked where `usable` holds it with `frame`, else as large as fits
// with the picture's aspect, kept inside `usable` (a laptop's 768 rows hold no 768-row picture
// under a title bar). An empty `usable` (unknown) keeps what was asked.
Rect32 FitWindow(Rect32 want, Rect32 usable, const FrameExtents& frame);

class WindowPlacement {
 public:
  static constexpr uint64_t kInsistMicros = 5000000;

  explicit WindowPlacement(SDL_Window* window) : window_(window) {}

  // The bounds the form asks for: outer corner and client (picture) size.
  void SetWanted(int32_t x, int32_t y, int32_t width, int32_t height);
  void SetLogicalSize(int32_t width, int32_t height);
  int32_t LogicalWidth() const { return logicalWidth_; }
  int32_t LogicalHeight() const { return logicalHeight_; }

  void SetFullscreen(bool fullscreen) { fullscreen_ = fullscreen; }
  bool Fullscreen() const { return fullscreen_; }

  // The frame as SDL knows it: what the window manager last published (_NET_FRAME_EXTENTS
  // on X11), zero without one or in the full screen; SDL learns it only once the window is mapped.
  FrameExtents Frame() const;
  // Sizes and places the window as FitWindow says.
  void Apply();
  // Back from the full screen: the bounds are insisted on until `until`.
  void InsistUntil(uint64_t until) { insistUntil_ = until; }
  // While insisting, asks for the bounds again when the window is elsewhere.
  void Insist(uint64_t now);
  // True (once) when the frame differs from the one the program was last told of.
  bool FrameMoved();

 private:
  Rect32 Fitted() const;
  void Place(int32_t x, int32_t y);

  SDL_Window* window_;
  bool fullscreen_ = false;
  int32_t logicalWidth_ = 0, logicalHeight_ = 0;
  int32_t windowX_ = 0, windowY_ = 0;  // the outer corner asked for, frame included
  FrameExtents reportedFrame_;         // the frame last told to the program
  uint64_t insistUntil_ = 0;
};

}  // namespace platform
