#include "presentation/window.h"

#include <algorithm>
#include <cstring>

TWindow::TWindow(platform::Backend& backend) : backend_(backend) {}

void TWindow::SetCaption(const std::string& caption) {
  caption_ = caption;
  backend_.SetCaption(caption);
}

void TWindow::SetBounds(int32_t left, int32_t top, int32_t clientWidth, int32_t clientHeight) {
  outerWidth_ = outerHeight_ = 0;
  Place(left, top, clientWidth, clientHeight);
}

void TWindow::SetOuterBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  outerWidth_ = std::max(width, 1);
  outerHeight_ = std::max(height, 1);
  const platform::FrameExtents f = backend_.WindowFrame();
  Place(left, top, outerWidth_ - f.Left - f.Right, outerHeight_ - f.Top - f.Bottom);
}

void TWindow::FrameChanged() {
  if (outerWidth_ > 0) {
    SetOuterBounds(left_, top_, outerWidth_, outerHeight_);
  } else {
    // The client area stays; the place is asked for again, now that the frame is known.
    backend_.SetWindowBounds(left_, top_, width_, height_);
  }
}

TWindow::TPlacement TWindow::Placement() const {
  if (outerWidth_ > 0) return {left_, top_, outerWidth_, outerHeight_, true};
  return {left_, top_, width_, height_, false};
}

void TWindow::SetPlacement(const TPlacement& p) {
  if (p.Outer) {
    SetOuterBounds(p.Left, p.Top, p.Width, p.Height);
  } else {
    SetBounds(p.Left, p.Top, p.Width, p.Height);
  }
}

void TWindow::Place(int32_t left, int32_t top, int32_t clientWidth, int32_t clientHeight) {
  left_ = left;
  top_ = top;
  width_ = std::max(clientWidth, 1);
  height_ = std::max(clientHeight, 1);
  backend_.SetWindowBounds(left_, top_, width_, height_);
  invalid_ = true;
}

void TWindow::SetBorderless(bool borderless) {
  backend_.SetBorderless(borderless);
}

void TWindow::Show() {
  if (!shown_) backend_.ShowWindow();
  shown_ = true;
  invalid_ = true;
}

void TWindow::SetCursorVisible(bool visible) {
  backend_.SetCursorVisible(visible);
}

void TWindow::SetSurface(const TDirectDrawSurface* surface, int32_t left, int32_t top) {
  surface_ = surface;
  surfaceLeft_ = left;
  surfaceTop_ = top;
  invalid_ = true;
}

void TWindow::AddLayer(TWindowLayer& layer) {
  if (std::find(layers_.begin(), layers_.end(), &layer) == layers_.end()) layers_.push_back(&layer);
  invalid_ = true;
}

void TWindow::RemoveLayer(TWindowLayer& layer) {
  const auto at = std::find(layers_.begin(), layers_.end(), &layer);
  if (at == layers_.end()) return;
  const auto below = at - layers_.begin();
  layers_.erase(at);
  for (auto i = below; i > 0; --i) layers_[static_cast<size_t>(i - 1)]->Uncovered();
  invalid_ = true;
}

bool TWindow::DispatchToLayers(const platform::Event& e) {
  // A copy: a handler may add or remove layers (a message box opening).
  const std::vector<TWindowLayer*> layers = layers_;
  for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
    if ((*it)->Visible() && (*it)->HandleEvent(e)) return true;
  }
  return false;
}

void TWindow::Present(bool waitVBlank) {
  invalid_ = false;
  if (width_ <= 0 || height_ <= 0) return;
  if (waitVBlank && backend_.VsyncPaced()) ++pacedPresents_;
  const bool layered =
      std::any_of(layers_.begin(), layers_.end(), [](TWindowLayer* l) { return l->Visible(); });
  // The common case of a running mission: the back buffer fills the client area and nothing
  // lies over it, so it is presented as it is.
  if (!layered && surface_ && surfaceLeft_ == 0 && surfaceTop_ == 0 &&
      surface_->Width() == width_ && surface_->Height() == height_) {
    backend_.Present({surface_->Pixels(), width_, height_, surface_->Width()}, waitVBlank);
    return;
  }
  if (picture_.Width() != width_ || picture_.Height() != height_) picture_.Resize(width_, height_);
  picture_.Fill(kFaceColor);
  if (surface_) {
    const int32_t x0 = std::max(surfaceLeft_, 0);
    const int32_t y0 = std::max(surfaceTop_, 0);
    const int32_t x1 = std::min(surfaceLeft_ + surface_->Width(), width_);
    const int32_t y1 = std::min(surfaceTop_ + surface_->Height(), height_);
    for (int32_t y = y0; y < y1; ++y) {
      if (x0 >= x1) break;
      std::memcpy(picture_.Row(y) + x0, surface_->Row(y - surfaceTop_) + (x0 - surfaceLeft_),
                  static_cast<size_t>(x1 - x0) * sizeof(uint32_t));
    }
  }
  for (TWindowLayer* layer : layers_) {
    if (layer->Visible()) layer->Paint(picture_);
  }
  backend_.Present({picture_.Pixels(), width_, height_, width_}, waitVBlank);
}
