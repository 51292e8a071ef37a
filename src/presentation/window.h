// The main window as the player sees it: a client area showing the drawing surface's back
// buffer with the window's own controls and any message box lying over it. Every
// presentation composes that picture in software and hands it to the backend, so the
// headless picture and the real window show exactly the same pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "presentation/color.h"
#include "presentation/surface.h"

// Something drawn over the back buffer that may take the window's input: the shell's
// controls, the message box. Layers paint in the order they were added, later ones on top;
// input goes to the topmost layer first.
class TWindowLayer {
 public:
  virtual ~TWindowLayer() = default;
  // Whether the layer draws anything now (a window with no visible layer presents the back
  // buffer as it is, without composing).
  virtual bool Visible() const = 0;
  virtual void Paint(TDirectDrawSurface& picture) = 0;
  // True when the layer took the event.
  virtual bool HandleEvent(const platform::Event&) { return false; }
  // A layer above this one went away (a message box closed): the input it took never
  // reached this one.
  virtual void Uncovered() {}
};

class TWindow {
 public:
  // The window's face colour, behind controls where no picture covers it.
  static constexpr TColor kFaceColor = 0xF0F0F0;

  explicit TWindow(platform::Backend& backend);
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  platform::Backend& Backend() { return backend_; }

  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return caption_; }
  // Client area in picture pixels, and the window's place on the screen: its outer corner,
  // the window manager's frame included.
  void SetBounds(int32_t left, int32_t top, int32_t clientWidth, int32_t clientHeight);
  // The window's outer size, frame included: the client area is what the frame leaves of it,
  // worked out again whenever the window manager reports another frame.
  void SetOuterBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  // The window manager reported another frame: the outer size and place are kept.
  void FrameChanged();
  // Where the window is and how it was sized, to be put back as it was.
  struct TPlacement {
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    bool Outer = false;  // Width and Height include the frame
  };
  TPlacement Placement() const;
  void SetPlacement(const TPlacement& placement);
  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t ClientWidth() const { return width_; }
  int32_t ClientHeight() const { return height_; }
  void SetBorderless(bool borderless);
  void Show();
  bool Showing() const { return shown_; }
  void SetCursorVisible(bool visible);

  // The drawing surface's back buffer at its place in the client area (null: none yet).
  void SetSurface(const TDirectDrawSurface* surface, int32_t left = 0, int32_t top = 0);

  void AddLayer(TWindowLayer& layer);
  void RemoveLayer(TWindowLayer& layer);
  const std::vector<TWindowLayer*>& Layers() const { return layers_; }
  // Offers an input event to the layers, topmost first.
  bool DispatchToLayers(const platform::Event& e);

  // Composes the picture and presents it; waitVBlank lets the backend wait for the retrace.
  void Present(bool waitVBlank);
  // Asks for a presentation at the next idle moment of the message loop (a control changed,
  // the window was uncovered).
  void Invalidate() { invalid_ = true; }
  bool Invalid() const { return invalid_; }
  // The picture last composed (when layers lay over the back buffer).
  const TDirectDrawSurface& Picture() const { return picture_; }
  // How many presentations waited for a retrace that really paces frames.
  int64_t PacedPresents() const { return pacedPresents_; }

 private:
  void Place(int32_t left, int32_t top, int32_t clientWidth, int32_t clientHeight);

  platform::Backend& backend_;
  std::string caption_;
  int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  int32_t outerWidth_ = 0, outerHeight_ = 0;  // zero: the client area was sized
  bool shown_ = false;
  const TDirectDrawSurface* surface_ = nullptr;
  int32_t surfaceLeft_ = 0, surfaceTop_ = 0;
  std::vector<TWindowLayer*> layers_;
  TDirectDrawSurface picture_{0, 0};
  bool invalid_ = false;
  int64_t pacedPresents_ = 0;
};
