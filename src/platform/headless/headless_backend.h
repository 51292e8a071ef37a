// The headless backend: no window, no device. A driver (tests, starvelkhorn-sim) owns the
// clock and the input; the program's sleeps move the virtual clock forward at once, so
// timers fire exactly on schedule and a minute of play takes no minute. Presented pictures
// are kept (and saved as PNG on request), sounds are tracked by a silent mixer whose voices
// finish when the clock has passed their length, and message boxes are recorded and answered
// as the driver's script says.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/mixer.h"
#include "platform/touch_controls.h"

namespace platform {

class HeadlessBackend : public Backend {
 public:
  static constexpr int32_t kAudioRate = 44100;

  HeadlessBackend();
  ~HeadlessBackend() override;

  // --- Clock (the driver's) --------------------------------------------------------------
  void AdvanceMicros(uint64_t micros);
  void AdvanceMillis(uint64_t millis) { AdvanceMicros(millis * 1000); }
  uint64_t NowMillis() { return NowMicros() / 1000; }
  void SetRefreshRate(int32_t hz);  // 60 unless told

  // --- Input script ----------------------------------------------------------------------
  void SetKey(uint8_t virtualKey, bool down);
  void ReleaseAllKeys();
  bool KeyHeld(uint8_t virtualKey) const { return keys_[virtualKey]; }
  void SetJoystick(const JoystickState& joystick) { joystick_ = joystick; }
  void SetForeground(bool foreground) { foreground_ = foreground; }
  // A touch screen's flight controls, fingers placed by the driver in a 1024 x 768 page that
  // the picture fills; they take touches while the cursor is hidden, as in a page.
  TouchControls& Touch() { return touch_; }
  // Another window takes the keyboard (or gives it back): the foreground changes and the
  // program is told with a FocusLost (FocusGained) event, as a desktop tells it.
  void SetFocus(bool focused) {
    foreground_ = focused;
    Event e;
    e.Kind = focused ? EventKind::FocusGained : EventKind::FocusLost;
    events_.push_back(e);
  }
  // Events the program will read, in order: clicks and keys for the window's controls.
  void PushEvent(const Event& e) { events_.push_back(e); }
  void PushKeyPress(uint8_t virtualKey);  // down, then up
  void PushClick(int32_t x, int32_t y);   // move, left down, left up
  // Two clicks on one spot in quick succession: the second press reports Clicks 2.
  void PushDoubleClick(int32_t x, int32_t y);
  void PushQuit();  // the window's close button
  size_t PendingEvents() const { return events_.size(); }

  // --- What was shown --------------------------------------------------------------------
  // The last presented window picture (back buffer plus whatever lies over it).
  PixelView Picture() const;
  uint32_t PixelAt(int32_t x, int32_t y) const;
  int64_t PresentCount() const { return presents_; }
  bool SavePng(const std::string& path) const;
  // Window state as the program last set it: the outer corner and the client area.
  struct WindowState {
    std::string Caption;
    int32_t X = 0, Y = 0, Width = 0, Height = 0;
    bool Borderless = false;
    bool Visible = false;
    bool CursorVisible = true;
    bool DisplayOpen = false;
    bool Fullscreen = false;
  };
  const WindowState& Window() const { return window_; }
  // A window manager's frame around the window from now on (none unless told), as a real one
  // reports it once the window is mapped: FrameChanged is queued.
  void SetWindowFrame(const FrameExtents& frame);
  // Makes the next OpenDisplay fail this way (to test the error paths).
  void FailDisplay(DisplayResult result) { displayFailure_ = result; }

  // --- Sound -----------------------------------------------------------------------------
  // Before the components are made: whether a sound device is there at all.
  void SetAudioAvailable(bool available) { audioAvailable_ = available; }
  // With a sink, the clock mixes what sounds into it (interleaved stereo, as the device
  // would hear it) instead of only moving the voices on: for measuring the game's sound.
  void SetAudioSink(std::vector<float>* out) { audioOut_ = out; }

  // --- Message boxes ---------------------------------------------------------------------
  struct Message {
    std::string Caption;
    std::string Text;
    uint64_t ShownAtMicros = 0;
  };
  const std::vector<Message>& Messages() const { return messages_; }
  // Called when a message box waits for its answer, after it was presented (so the picture
  // shows it). The script may push events (a click, a key), advance the clock, save the
  // picture. If it leaves no event queued, the box is answered with Enter, as OK.
  using MessageScript = std::function<void(HeadlessBackend&, const Message&)>;
  void SetMessageScript(MessageScript script) { messageScript_ = std::move(script); }

  // --- Backend ---------------------------------------------------------------------------
  uint64_t NowMicros() override { return now_; }
  void WaitUntil(uint64_t when) override;
  uint64_t RefreshPeriodMicros() override { return refreshPeriod_; }
  bool PollEvent(Event& e) override;
  void SetCaption(const std::string& caption) override { window_.Caption = caption; }
  void SetWindowBounds(int32_t x, int32_t y, int32_t width, int32_t height) override;
  FrameExtents WindowFrame() override { return frame_; }
  void SetBorderless(bool borderless) override { window_.Borderless = borderless; }
  void ShowWindow() override { window_.Visible = true; }
  void SetCursorVisible(bool visible) override {
    window_.CursorVisible = visible;
    touch_.SetFlying(!visible);
  }
  DisplayResult OpenDisplay(bool fullscreen) override;
  void Present(const PixelView& picture, bool waitVBlank) override;
  bool VsyncPaced() override { return false; }
  bool Foreground() override { return foreground_; }
  void ReadKeyboard(KeyboardState& keys) override { keys = keys_; }
  void ReadJoystick(JoystickState& joystick) override { joystick = joystick_; }
  void ReadTouch(TouchState& touch) override { touch = touch_.Read(); }
  platform::Mixer* Audio() override;
  void MessageShown(const std::string& caption, const std::string& text) override;

 private:
  uint64_t now_ = 0;
  uint64_t refreshPeriod_ = 16667;
  KeyboardState keys_{};
  JoystickState joystick_;
  TouchControls touch_;
  bool foreground_ = true;
  std::deque<Event> events_;
  WindowState window_;
  FrameExtents frame_;
  DisplayResult displayFailure_ = DisplayResult::Ok;
  int32_t pictureWidth_ = 0;
  int32_t pictureHeight_ = 0;
  std::vector<uint32_t> picture_;
  int64_t presents_ = 0;
  bool audioAvailable_ = true;
  std::vector<float>* audioOut_ = nullptr;
  std::unique_ptr<platform::Mixer> mixer_;
  std::vector<Message> messages_;
  MessageScript messageScript_;
};

}  // namespace platform
