// The drawing surface component: owns the back buffer and presents it to the window or the
// full screen. Presenting copies, never exchanges: after Flip the back buffer still holds
// the frame just shown (menus redraw only what changed and present again).
#pragma once

#include <cstdint>
#include <vector>

#include "presentation/surface.h"

class TDXImageList;
class TWindow;

enum TDXDrawOption : uint32_t {
  doFullScreen = 1u << 0,
  doWaitVBlank = 1u << 1,
  doCenter = 1u << 2,
  doAllowReboot = 1u << 3,
  doRetainedMode = 1u << 4,
  doHardware = 1u << 5,
  doSelectDriver = 1u << 6,
};

class TDXDraw {
 public:
  static constexpr int32_t kWidth = 1024;
  static constexpr int32_t kHeight = 768;

  // The surface shows itself in the window's client area at (0, 0).
  explicit TDXDraw(TWindow& window);
  TDXDraw(const TDXDraw&) = delete;
  TDXDraw& operator=(const TDXDraw&) = delete;

  uint32_t Options =
      doAllowReboot | doWaitVBlank | doCenter | doRetainedMode | doHardware | doSelectDriver;

  // Opens the window or full screen for the current Options, fills the back buffer with
  // black and builds the patterns of every bound image list. Throws EGameError with
  // "Display mode cannot be changed (1024x768 32bit)", "Primary Surface cannot be made" or
  // "Surface cannot be made"; the surface then stays uninitialised. A second call after
  // success changes nothing.
  void Initialize();
  bool Initialized() const { return initialized_; }
  // True when the surface is initialised and the screen is usable (restored first if lost).
  bool CanDraw();
  TDirectDrawSurface& Surface() { return surface_; }
  // Presents the back buffer (waiting for the retrace when doWaitVBlank is set); the back
  // buffer keeps its contents. Nothing happens unless CanDraw.
  void Flip();
  // Presents the back buffer again without waiting (the window was uncovered).
  void Repaint();
  // Switches an initialised surface between the window (at the screen's corner) and the full
  // screen, keeping the back buffer and everything over it; false, with the mode as it was,
  // where the other mode cannot be had.
  bool SetFullScreen(bool fullscreen);
  bool FullScreen() const { return (Options & doFullScreen) != 0; }
  // The platform left the full screen by itself: the surface counts as windowed from now on.
  void FullScreenLeft() { Options &= ~static_cast<uint32_t>(doFullScreen); }
  TWindow& Window() { return window_; }

  // Image lists bind themselves at construction.
  void Bind(TDXImageList& list) { lists_.push_back(&list); }

 private:
  TWindow& window_;
  TDirectDrawSurface surface_{kWidth, kHeight};
  bool initializing_ = false;
  std::vector<TDXImageList*> lists_;
  bool initialized_ = false;
};
