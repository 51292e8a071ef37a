// Presenting the window's picture: the renderer and a streaming texture in the back buffer's
// own layout, the picture scaled into the drawable with its aspect kept, whether presenting
// really waits for the retrace, and the mouse mapped back to the picture's pixels.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "platform/backend.h"
#include "platform/sdl/micro_clock.h"

namespace platform {

// Where a picture of `pictureW` x `pictureH` goes in a drawable of `outputW` x `outputH`: as
// large as fits with its aspect, centred; sharp (nearest pixel) when the scale is a whole number.
struct PictureFit {
  SDL_Rect Dest{0, 0, 0, 0};
  bool Sharp = false;
};
PictureFit FitPicture(int outputW, int outputH, int pictureW, int pictureH);

class Presenter {
 public:
  explicit Presenter(SDL_Window* window);
  ~Presenter();
  Presenter(const Presenter&) = delete;
  Presenter& operator=(const Presenter&) = delete;

  bool Failed() const { return renderer_ == nullptr; }
  // Whether a texture of the surface's size can be made.
  bool CanHoldPicture(int width, int height);
  // Presents the picture; returns false when nothing could be presented.
  bool Present(const PixelView& picture, bool waitVBlank, const MicroClock& clock);
  bool Presented() const { return presented_; }
  // The picture may be lost on the way to the screen (shown, exposed, resized): the next
  // presentation goes out twice.
  void MarkFresh() { freshDrawable_ = true; }
  // The renderer lost its textures.
  void DropTexture();
  bool VsyncPaced(uint64_t refreshPeriodMicros) const;
  // From window coordinates to the pixels of a picture of the logical size.
  void MapMouse(int32_t& x, int32_t& y, int32_t logicalWidth, int32_t logicalHeight) const;

 private:
  // Waits for the retrace where presenting does (a page: its next frame) and measures it.
  void AwaitRetrace(bool waitVBlank, const MicroClock& clock, uint64_t before);
#ifdef __EMSCRIPTEN__
  bool PresentToCanvas(const PixelView& picture, bool waitVBlank, const MicroClock& clock);
  std::vector<uint32_t> canvasPixels_;
#endif
  SDL_Window* window_;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int textureWidth_ = 0, textureHeight_ = 0;
  bool vsyncClaimed_ = false;
  // Presenting paces frames only if presenting really waits for the retrace: the time spent
  // inside the present call is measured (an average), starting from what the renderer
  // claims. Work between frames does not enter the measure, so the frame cap that takes over
  // without vsync cannot fool it.
  double blockEstimate_ = 0.0;
  SDL_Rect dest_{0, 0, 0, 0};               // where the picture went in the drawable
  int outputWidth_ = 0, outputHeight_ = 0;  // the drawable's real size when last presented
  bool freshDrawable_ = true;               // shown or resized since the last presentation
  bool presented_ = false;
};

}  // namespace platform
