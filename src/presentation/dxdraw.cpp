#include "presentation/dxdraw.h"

#include <cstdio>

#include "base/error.h"
#include "platform/backend.h"
#include "presentation/image_list.h"
#include "presentation/window.h"

TDXDraw::TDXDraw(TWindow& window) : window_(window) {}

void TDXDraw::Initialize() {
  if (initialized_ || initializing_) return;
  initializing_ = true;
  const bool fullscreen = (Options & doFullScreen) != 0;
  const platform::DisplayResult r = window_.Backend().OpenDisplay(fullscreen);
  if (r != platform::DisplayResult::Ok) {
    initializing_ = false;
    switch (r) {
      case platform::DisplayResult::ModeUnavailable: {
        char text[64];
        std::snprintf(text, sizeof text, "Display mode cannot be changed (%dx%d %dbit)", kWidth,
                      kHeight, 32);
        throw EGameError(text);
      }
      case platform::DisplayResult::PrimarySurfaceFailed:
        throw EGameError("Primary Surface cannot be made");
      default:
        throw EGameError("Surface cannot be made");
    }
  }
  surface_.Fill(clBlack);
  // The surface control covers the client area, windowed or (scaled) on the full screen.
  if (window_.ClientWidth() != kWidth || window_.ClientHeight() != kHeight) {
    window_.SetBounds(window_.Left(), window_.Top(), kWidth, kHeight);
  }
  window_.SetSurface(&surface_);
  window_.Show();
  initialized_ = true;
  initializing_ = false;
  for (TDXImageList* list : lists_) list->Items.Restore();
}

bool TDXDraw::CanDraw() {
  return initialized_ && !initializing_;
}

void TDXDraw::Flip() {
  if (!CanDraw()) return;
  window_.Present((Options & doWaitVBlank) != 0);
}

void TDXDraw::Repaint() {
  if (!CanDraw()) return;
  window_.Present(false);
}

bool TDXDraw::SetFullScreen(bool fullscreen) {
  if (!CanDraw() || fullscreen == FullScreen()) return false;
  if (window_.Backend().OpenDisplay(fullscreen) != platform::DisplayResult::Ok) {
    window_.Backend().OpenDisplay(!fullscreen);
    return false;
  }
  if (fullscreen) {
    Options |= doFullScreen;
  } else {
    Options &= ~static_cast<uint32_t>(doFullScreen);
    // The windowed game's place, as the start-up choice gives it.
    window_.SetBounds(0, 0, kWidth, kHeight);
  }
  window_.Invalidate();
  return true;
}
