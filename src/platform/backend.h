// The narrow interface between the presentation services and the machine: window and
// presenting, keyboard and joystick, audio device, clock and event loop. Two backends
// implement it: sdl (a real window) and headless (virtual clock, scripted input, null audio
// that still tracks voices, frames saved as PNG). No SDL type appears here.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>

namespace platform {

class Mixer;

// Virtual key codes, as the game's key bindings and the message box use them.
namespace vk {
inline constexpr uint8_t Back = 0x08;
inline constexpr uint8_t Tab = 0x09;
inline constexpr uint8_t Return = 0x0D;  // main and keypad Enter alike
inline constexpr uint8_t Shift = 0x10;   // left and right Shift alike
inline constexpr uint8_t Control = 0x11;
inline constexpr uint8_t Menu = 0x12;  // Alt
inline constexpr uint8_t Pause = 0x13;
inline constexpr uint8_t Capital = 0x14;
inline constexpr uint8_t Escape = 0x1B;
inline constexpr uint8_t Space = 0x20;
inline constexpr uint8_t Prior = 0x21;
inline constexpr uint8_t Next = 0x22;
inline constexpr uint8_t End = 0x23;
inline constexpr uint8_t Home = 0x24;
inline constexpr uint8_t Left = 0x25;
inline constexpr uint8_t Up = 0x26;
inline constexpr uint8_t Right = 0x27;
inline constexpr uint8_t Down = 0x28;
inline constexpr uint8_t Insert = 0x2D;
inline constexpr uint8_t Delete = 0x2E;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' 0x41..0x5A.
inline constexpr uint8_t Numpad0 = 0x60;  // keypad digits 0x60..0x69, whatever the lock
inline constexpr uint8_t Multiply = 0x6A;
inline constexpr uint8_t Add = 0x6B;
inline constexpr uint8_t Subtract = 0x6D;
inline constexpr uint8_t Decimal = 0x6E;
inline constexpr uint8_t Divide = 0x6F;
inline constexpr uint8_t F1 = 0x70;  // F1..F12 are 0x70..0x7B
inline constexpr uint8_t NumLock = 0x90;
inline constexpr uint8_t Scroll = 0x91;
}  // namespace vk

using KeyboardState = std::array<bool, 256>;  // indexed by virtual key code

// The first joystick. Axes come either raw, in [RawMin, RawMax] with the centre half-way,
// or already scaled to -1000..1000 with the dead zone applied (Scaled).
struct JoystickState {
  bool Present = false;
  bool Scaled = false;
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Z = 0;
  int32_t RawMin = 0;
  int32_t RawMax = 65535;
  uint32_t Buttons = 0;  // bit k - 1 holds button k
};

enum class EventKind : uint8_t {
  None,
  Quit,     // the window was closed (or the program was asked to end)
  Expose,   // the window was uncovered: present the last picture again
  KeyDown,  // Key: virtual key code; Repeat set for auto-repeat
  KeyUp,
  TextInput,  // Text: UTF-8 typed text
  MouseMove,  // X, Y in the window picture's pixels
  MouseDown,  // Button: 1 left, 2 middle, 3 right; Clicks: 2 for a double-click's second press
  MouseUp,
  MouseWheel,  // Wheel: notches, positive away from the player (scroll up); X, Y the pointer
  PadDown,     // Pad: a menu button of the first game controller or joystick went down
  PadUp,
  FocusGained,
  FocusLost,
  FrameChanged,  // the window manager's frame around the window became known or changed
  PadLost,       // the pad the game reads was pulled out (its held buttons are released first)
  // The full screen was left by the platform, not at the program's asking (a browser takes
  // Esc for that).
  FullScreenLeft,
};

// What a gamepad means to the menus: the D-pad, the left stick or a joystick's hat and first
// two axes give the four directions, button 1 (a pad's A) accepts, button 2 (B) goes back and
// button 8 (Start) pauses a flight.
enum class PadButton : uint8_t { Up, Down, Left, Right, Accept, Back, Start };
inline constexpr int kPadButtonCount = 7;
constexpr uint8_t PadBit(PadButton b) {
  return static_cast<uint8_t>(1u << static_cast<unsigned>(b));
}

struct Event {
  EventKind Kind = EventKind::None;
  int32_t X = 0;
  int32_t Y = 0;
  uint8_t Key = 0;
  bool Repeat = false;
  // A key went down while Alt was held: known with the key itself, since the keyboard's state
  // may already have moved on when the event is read.
  bool Alt = false;
  uint8_t Button = 0;
  // Which press of a quick succession on one spot this is (the platform's double-click
  // time and distance): 1 a single press, 2 the second of a double-click, 3 a triple's third.
  uint8_t Clicks = 1;
  int32_t Wheel = 0;
  PadButton Pad = PadButton::Up;
  std::string Text;
};

// The flight's buttons on a touch screen, each holding the state its key holds by default:
// the cannon (Space), the selected weapon (Enter), the next weapon (Shift), the repair (Tab)
// and the pause (Esc).
enum class TouchButton : uint8_t { Cannon, Weapon, NextWeapon, Repair, Pause };
inline constexpr int kTouchButtonCount = 5;
constexpr uint8_t TouchBit(TouchButton b) {
  return static_cast<uint8_t>(1u << static_cast<unsigned>(b));
}

// The flight's controls on a touch screen as a tick reads them: where the stick points (-1,
// 0 or 1 on each axis, up and left negative) and the buttons held (TouchBit mask). Present
// only while the controls are shown.
struct TouchState {
  bool Present = false;
  int8_t X = 0;
  int8_t Y = 0;
  uint8_t Buttons = 0;
};

// The pad buttons (PadBit mask) a joystick state holds: button 1, button 2, and a direction
// where its stick is pushed beyond half way (a hat or D-pad reports as the stick at its end).
uint8_t PadButtonsHeld(const JoystickState& joystick);

// A picture to show: XRGB8888 (0x00RRGGBB), Pitch in pixels.
struct PixelView {
  const uint32_t* Pixels = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Pitch = 0;
};

// The border a window manager draws around the window, title bar included, in pixels; all
// zero where nobody draws one (a bare X server, the full screen) or while it is not known.
struct FrameExtents {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  bool operator==(const FrameExtents&) const = default;
};

enum class DisplayResult : uint8_t {
  Ok,
  ModeUnavailable,       // the full screen cannot be had
  PrimarySurfaceFailed,  // the window or screen cannot be drawn to
  SurfaceFailed,         // the picture's texture cannot be made
};

inline constexpr uint64_t kForever = std::numeric_limits<uint64_t>::max();

class Backend {
 public:
  virtual ~Backend() = default;

  // --- Clock -----------------------------------------------------------------------------
  // Microseconds on a monotonic clock (virtual in the headless backend).
  virtual uint64_t NowMicros() = 0;
  // Sleeps until the clock reads `when` (kForever: no limit) or an event is waiting,
  // whichever comes first. Never busy-waits.
  virtual void WaitUntil(uint64_t when) = 0;
  // The display's refresh period; frames are capped to it where vsync does not pace them.
  virtual uint64_t RefreshPeriodMicros() = 0;

  // --- Events ----------------------------------------------------------------------------
  virtual bool PollEvent(Event& e) = 0;

  // --- Window ----------------------------------------------------------------------------
  virtual void SetCaption(const std::string& caption) = 0;
  // The window's client area in picture pixels, and its place on the screen: where its outer
  // corner goes, the window manager's frame included (the client area lies inside the frame).
  virtual void SetWindowBounds(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
  // The frame as the window manager reports it; FrameChanged tells when that changes.
  virtual FrameExtents WindowFrame() { return {}; }
  virtual void SetBorderless(bool borderless) = 0;
  virtual void ShowWindow() = 0;
  // The game hides the cursor exactly while a flight runs: a touch screen then shows the
  // flight's controls in its place.
  virtual void SetCursorVisible(bool visible) = 0;
  // Makes the window ready for presenting: windowed, or the whole desktop with the picture
  // scaled to fit (the display mode itself is never switched). Called again at any time, it
  // switches between the two; back in the window, the frame and the last bounds return.
  // A window larger than the screen's usable area (less the window manager's frame) is made
  // as large as fits, the picture scaled into it with its aspect kept, as on the full screen.
  virtual DisplayResult OpenDisplay(bool fullscreen) = 0;
  // Shows the picture. With waitVBlank the call may block until the display's retrace;
  // VsyncPaced says whether presenting really does pace frames that way.
  virtual void Present(const PixelView& picture, bool waitVBlank) = 0;
  virtual bool VsyncPaced() = 0;
  // Whether the window is the foreground window (input is read only then).
  virtual bool Foreground() = 0;

  // --- Input -----------------------------------------------------------------------------
  virtual void ReadKeyboard(KeyboardState& keys) = 0;
  virtual void ReadJoystick(JoystickState& joystick) = 0;
  // The touch screen's flight controls, read once a tick; none where there are none.
  virtual void ReadTouch(TouchState& touch) { touch = TouchState{}; }

  // --- Sound -----------------------------------------------------------------------------
  // The mixer of the sound device, opening it on first use; null when there is none.
  virtual Mixer* Audio() = 0;

  // --- Message boxes ---------------------------------------------------------------------
  // Told when a modal message box has been drawn and is waiting for its answer.
  virtual void MessageShown(const std::string& caption, const std::string& text) = 0;
};

}  // namespace platform
