// The real backend on SDL2: one window with a renderer and a streaming texture for the
// window picture, keyboard, game controllers and joysticks (plugged in or out at any time),
// the audio device feeding the software mixer, and the clock.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/backend.h"

namespace platform {

// There is no display to open a window on (no X or Wayland server to talk to).
class NoDisplay : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SdlBackend : public Backend {
 public:
  // Starts SDL's video, events and joystick parts and makes the (hidden) window; the sound
  // device opens later, when the loop first waits after a presentation. Throws NoDisplay when
  // there is no display (SDL_VIDEODRIVER may still ask for its dummy or offscreen driver by
  // name) and std::runtime_error when the window cannot be made.
  SdlBackend();
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  uint64_t NowMicros() override;
  void WaitUntil(uint64_t when) override;
  uint64_t RefreshPeriodMicros() override;
  bool PollEvent(Event& e) override;
  void SetCaption(const std::string& caption) override;
  void SetWindowBounds(int32_t x, int32_t y, int32_t width, int32_t height) override;
  FrameExtents WindowFrame() override;
  void SetBorderless(bool borderless) override;
  void ShowWindow() override;
  void SetCursorVisible(bool visible) override;
  DisplayResult OpenDisplay(bool fullscreen) override;
  void Present(const PixelView& picture, bool waitVBlank) override;
  bool VsyncPaced() override;
  bool Foreground() override;
  void ReadKeyboard(KeyboardState& keys) override;
  void ReadJoystick(JoystickState& joystick) override;
  void ReadTouch(TouchState& touch) override;
  Mixer* Audio() override;
  void MessageShown(const std::string& caption, const std::string& text) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
