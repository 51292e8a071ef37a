#include "platform/sdl/presenter.h"

#include <algorithm>
#include <cmath>

#include "platform/sdl/canvas_pixels.h"
#include "platform/sdl/web_page.h"

namespace platform {

PictureFit FitPicture(int ow, int oh, int pw, int ph) {
  const double scale = std::min(static_cast<double>(ow) / pw, static_cast<double>(oh) / ph);
  PictureFit fit;
  fit.Sharp = scale >= 1.0 && std::floor(scale) == scale;
  fit.Dest.w = static_cast<int>(std::lround(pw * scale));
  fit.Dest.h = static_cast<int>(std::lround(ph * scale));
  fit.Dest.x = (ow - fit.Dest.w) / 2;
  fit.Dest.y = (oh - fit.Dest.h) / 2;
  return fit;
}

Presenter::Presenter(SDL_Window* window) : window_(window) {
  // Vsync where the renderer offers it; the software renderer of a headless SDL does not.
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (renderer_) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer_, &info) == 0) {
      vsyncClaimed_ = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    }
  }
#ifdef __EMSCRIPTEN__
  vsyncClaimed_ = true;
#endif
}

Presenter::~Presenter() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
}

bool Presenter::CanHoldPicture(int width, int height) {
  SDL_Texture* probe = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888,
                                         SDL_TEXTUREACCESS_STREAMING, width, height);
  if (!probe) return false;
  SDL_DestroyTexture(probe);
  return true;
}

void Presenter::DropTexture() {
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ = nullptr;
}

bool Presenter::Present(const PixelView& picture, bool waitVBlank, const MicroClock& clock) {
  if (!renderer_ || !picture.Pixels || picture.Width <= 0 || picture.Height <= 0) return false;
#ifdef __EMSCRIPTEN__
  if (PresentToCanvas(picture, waitVBlank, clock)) return true;
#endif
  if (!texture_ || textureWidth_ != picture.Width || textureHeight_ != picture.Height) {
    if (texture_) SDL_DestroyTexture(texture_);
    // RGB888 is SDL's name for XRGB8888: the back buffer's own layout, copied as it is.
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                 picture.Width, picture.Height);
    if (!texture_) return false;
    textureWidth_ = picture.Width;
    textureHeight_ = picture.Height;
  }
  SDL_UpdateTexture(texture_, nullptr, picture.Pixels, picture.Pitch * 4);
  // The drawable's real size, read at every presentation: a window manager (or none) may
  // have given the window another size than was asked for, at any time.
  int ow = 0, oh = 0;
  if (SDL_GetRendererOutputSize(renderer_, &ow, &oh) != 0 || ow <= 0 || oh <= 0) return false;
  if (ow != outputWidth_ || oh != outputHeight_) freshDrawable_ = true;
  outputWidth_ = ow;
  outputHeight_ = oh;
  const PictureFit fit = FitPicture(ow, oh, picture.Width, picture.Height);
  SDL_SetTextureScaleMode(texture_, fit.Sharp ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  dest_ = fit.Dest;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, &dest_);
  const uint64_t before = clock.Micros();
  SDL_RenderPresent(renderer_);
  presented_ = true;
  if (freshDrawable_) {
    // The first picture after the window was shown or resized can be lost on the way to the
    // screen (the X server shows the other buffer); the same picture goes out once more.
    freshDrawable_ = false;
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &dest_);
    SDL_RenderPresent(renderer_);
  }
  AwaitRetrace(waitVBlank, clock, before);
  return true;
}

void Presenter::AwaitRetrace(bool waitVBlank, const MicroClock& clock, uint64_t before) {
  if (!waitVBlank) return;
#ifdef __EMSCRIPTEN__
  web::WaitForNextFrame();
#endif
  const auto blocked = static_cast<double>(clock.Micros() - before);
  blockEstimate_ = 0.9 * blockEstimate_ + 0.1 * blocked;
}

#ifdef __EMSCRIPTEN__
// A page's canvas holds the picture at its own size (the page scales it), so SDL's software
// renderer would only copy it twice and convert it on the way; the picture goes in directly.
// Another size (a moment while the canvas follows the window) takes SDL's way.
bool Presenter::PresentToCanvas(const PixelView& picture, bool waitVBlank,
                                const MicroClock& clock) {
  ToCanvasPixels(picture, canvasPixels_);
  const uint64_t before = clock.Micros();
  if (!web::PutCanvasPicture(canvasPixels_.data(), picture.Width, picture.Height)) return false;
  dest_ = SDL_Rect{0, 0, picture.Width, picture.Height};
  outputWidth_ = picture.Width;
  outputHeight_ = picture.Height;
  freshDrawable_ = false;
  presented_ = true;
  AwaitRetrace(waitVBlank, clock, before);
  // The browser shows the canvas only once the page has its turn: a picture presented before
  // long work (the choice window before the catalog loads) must not wait for that work.
  if (!waitVBlank) web::GiveTurn();
  return true;
}
#endif

bool Presenter::VsyncPaced(uint64_t refreshPeriodMicros) const {
  return vsyncClaimed_ && blockEstimate_ >= 0.2 * static_cast<double>(refreshPeriodMicros);
}

// Through the drawable's own scale (a high-density display has more pixels than window units),
// then the picture's place.
void Presenter::MapMouse(int32_t& x, int32_t& y, int32_t logicalWidth,
                         int32_t logicalHeight) const {
  if (dest_.w <= 0 || dest_.h <= 0 || logicalWidth <= 0 || logicalHeight <= 0) return;
  int ww = 0, wh = 0;
  SDL_GetWindowSize(window_, &ww, &wh);
  const double sx = ww > 0 && outputWidth_ > 0 ? static_cast<double>(outputWidth_) / ww : 1.0;
  const double sy = wh > 0 && outputHeight_ > 0 ? static_cast<double>(outputHeight_) / wh : 1.0;
  x = static_cast<int32_t>(
      std::floor((x * sx - dest_.x) * static_cast<double>(logicalWidth) / dest_.w));
  y = static_cast<int32_t>(
      std::floor((y * sy - dest_.y) * static_cast<double>(logicalHeight) / dest_.h));
}

}  // namespace platform
