#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/mixer.h"
#include "platform/pad.h"
#include "platform/pad_buttons.h"
#include "platform/sdl/web_page.h"

namespace platform {

uint8_t VirtualKeyOfScancode(int scancode) {
  const auto sc = static_cast<SDL_Scancode>(scancode);
  // Letters by the layout's meaning (a Czech QWERTZ keyboard swaps Y and Z).
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) {
    const SDL_Keycode key = SDL_GetKeyFromScancode(sc);
    if (key >= 'a' && key <= 'z') return static_cast<uint8_t>(key - 'a' + 'A');
    return static_cast<uint8_t>('A' + (sc - SDL_SCANCODE_A));
  }
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9)
    return static_cast<uint8_t>('1' + (sc - SDL_SCANCODE_1));
  if (sc == SDL_SCANCODE_0) return '0';
  // The keypad by position, so the digits count whatever NumLock says.
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) {
    return static_cast<uint8_t>(vk::Numpad0 + 1 + (sc - SDL_SCANCODE_KP_1));
  }
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) {
    return static_cast<uint8_t>(vk::F1 + (sc - SDL_SCANCODE_F1));
  }
  switch (sc) {
    case SDL_SCANCODE_KP_0:
      return vk::Numpad0;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
    case SDL_SCANCODE_RETURN2:
      return vk::Return;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
      return vk::Shift;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
      return vk::Control;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
      return vk::Menu;
    case SDL_SCANCODE_SPACE:
      return vk::Space;
    case SDL_SCANCODE_TAB:
      return vk::Tab;
    case SDL_SCANCODE_ESCAPE:
      return vk::Escape;
    case SDL_SCANCODE_BACKSPACE:
      return vk::Back;
    case SDL_SCANCODE_LEFT:
      return vk::Left;
    case SDL_SCANCODE_UP:
      return vk::Up;
    case SDL_SCANCODE_RIGHT:
      return vk::Right;
    case SDL_SCANCODE_DOWN:
      return vk::Down;
    case SDL_SCANCODE_INSERT:
      return vk::Insert;
    case SDL_SCANCODE_DELETE:
      return vk::Delete;
    case SDL_SCANCODE_HOME:
      return vk::Home;
    case SDL_SCANCODE_END:
      return vk::End;
    case SDL_SCANCODE_PAGEUP:
      return vk::Prior;
    case SDL_SCANCODE_PAGEDOWN:
      return vk::Next;
    case SDL_SCANCODE_PAUSE:
      return vk::Pause;
    case SDL_SCANCODE_CAPSLOCK:
      return vk::Capital;
    case SDL_SCANCODE_NUMLOCKCLEAR:
      return vk::NumLock;
    case SDL_SCANCODE_SCROLLLOCK:
      return vk::Scroll;
    case SDL_SCANCODE_KP_MULTIPLY:
      return vk::Multiply;
    case SDL_SCANCODE_KP_PLUS:
      return vk::Add;
    case SDL_SCANCODE_KP_MINUS:
      return vk::Subtract;
    case SDL_SCANCODE_KP_PERIOD:
      return vk::Decimal;
    case SDL_SCANCODE_KP_DIVIDE:
      return vk::Divide;
    default:
      return 0;
  }
}

struct SdlBackend::Impl {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int textureWidth = 0, textureHeight = 0;
  bool rendererFailed = false;
  bool fullscreen = false;
  bool vsyncClaimed = false;
  // Presenting paces frames only if presenting really waits for the retrace: the time spent
  // inside the present call is measured (an average), starting from what the renderer
  // claims. Work between frames does not enter the measure, so the frame cap that takes over
  // without vsync cannot fool it.
  double blockEstimate = 0.0;
  SDL_Rect dest{0, 0, 0, 0};              // where the picture went in the drawable, for the mouse
  int outputWidth = 0, outputHeight = 0;  // the drawable's real size when last presented
  bool freshDrawable = true;              // shown or resized since the last presentation
  int32_t logicalWidth = 0, logicalHeight = 0;
  int32_t windowX = 0, windowY = 0;  // the outer corner asked for, frame included
  FrameExtents reportedFrame;        // the frame last told to the program

  SDL_GameController* controller = nullptr;
  SDL_Joystick* joystick = nullptr;  // the controller's, or a plain joystick's
  SDL_JoystickID joystickId = -1;
  PadTracker pad;        // the menus' view of it
  bool padLost = false;  // it was pulled out: told after the releases of what it held

  // Looking for a sound server and driver can take as long as making the window, so the
  // device opens only after the first presentation, when the loop first waits.
  bool presented = false;
  bool audioTried = false;
  SDL_AudioDeviceID audio = 0;
  std::unique_ptr<Mixer> mixer;
  uint64_t silentFrom = 0;  // without a device: the time the mixer was last moved on

  std::chrono::steady_clock::time_point epoch = std::chrono::steady_clock::now();

  uint64_t Micros() const {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now() - epoch)
                                     .count());
  }

  static void AudioCallback(void* user, Uint8* stream, int len) {
    static_cast<Mixer*>(user)->Mix(reinterpret_cast<float*>(stream),
                                   len / static_cast<int>(2 * sizeof(float)));
  }

  // Without a usable sound device SDL may still offer its silent dummy driver; either way the
  // game keeps going.
  void OpenAudio() {
    audioTried = true;
    silentFrom = Micros();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 && SDL_AudioInit("dummy") != 0) return;
    SDL_AudioSpec want{};
    want.freq = kAudioRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = AudioCallback;
    want.userdata = mixer.get();
    SDL_AudioSpec have{};
    SDL_AudioDeviceID dev = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (dev == 0 && SDL_AudioInit("dummy") == 0) {
      dev = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    }
    if (dev == 0) return;
    audio = dev;
    SDL_PauseAudioDevice(dev, 0);
  }

  // Called whenever the loop drains its events or is about to wait. With no device at all the
  // voices still finish in time, as the game's sounds would, so copies of a sound never pile
  // up unheard.
  void TendAudio() {
    if (!mixer) return;
    if (!audioTried) {
      if (presented) OpenAudio();
      return;
    }
    if (audio) return;
    const uint64_t now = Micros();
    const auto frames = static_cast<int64_t>((now - silentFrom) * kAudioRate / 1000000);
    if (frames <= 0) return;
    mixer->Advance(frames);
    silentFrom += static_cast<uint64_t>(frames) * 1000000 / kAudioRate;
  }

  void OpenFirstStick() {
    if (joystick) return;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_IsGameController(i)) {
        controller = SDL_GameControllerOpen(i);
        if (controller) {
          joystick = SDL_GameControllerGetJoystick(controller);
          joystickId = SDL_JoystickInstanceID(joystick);
          return;
        }
      }
    }
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      joystick = SDL_JoystickOpen(i);
      if (joystick) {
        joystickId = SDL_JoystickInstanceID(joystick);
        return;
      }
    }
  }
  void CloseStick() {
    pad.Clear();
    if (controller) {
      SDL_GameControllerClose(controller);
    } else if (joystick) {
      SDL_JoystickClose(joystick);
    }
    controller = nullptr;
    joystick = nullptr;
    joystickId = -1;
  }

  // Feeds the pad tracker from the first stick's events; true when the event was one.
  bool PadEvent(const SDL_Event& e) {
    switch (e.type) {
      case SDL_CONTROLLERBUTTONDOWN:
      case SDL_CONTROLLERBUTTONUP: {
        if (!controller || e.cbutton.which != joystickId) return false;
        const bool down = e.type == SDL_CONTROLLERBUTTONDOWN;
        switch (e.cbutton.button) {
          case SDL_CONTROLLER_BUTTON_DPAD_UP:
            pad.SetButton(PadButton::Up, down);
            break;
          case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            pad.SetButton(PadButton::Down, down);
            break;
          case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            pad.SetButton(PadButton::Left, down);
            break;
          case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            pad.SetButton(PadButton::Right, down);
            break;
          case SDL_CONTROLLER_BUTTON_A:
            pad.SetButton(PadButton::Accept, down);
            break;
          case SDL_CONTROLLER_BUTTON_B:
            pad.SetButton(PadButton::Back, down);
            break;
          case SDL_CONTROLLER_BUTTON_START:
            pad.SetButton(PadButton::Start, down);
            break;
          default:
            break;
        }
        return true;
      }
      case SDL_CONTROLLERAXISMOTION:
        if (!controller || e.caxis.which != joystickId) return false;
        if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) pad.SetStickAxis(0, e.caxis.value);
        if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) pad.SetStickAxis(1, e.caxis.value);
        return true;
      // A plain joystick; a game controller's own joystick events are left to its mapping.
      case SDL_JOYBUTTONDOWN:
      case SDL_JOYBUTTONUP:
        if (controller || e.jbutton.which != joystickId) return false;
        if (e.jbutton.button == 0) pad.SetButton(PadButton::Accept, e.jbutton.state != 0);
        if (e.jbutton.button == 1) pad.SetButton(PadButton::Back, e.jbutton.state != 0);
        if (e.jbutton.button == 7) pad.SetButton(PadButton::Start, e.jbutton.state != 0);
        return true;
      case SDL_JOYAXISMOTION:
        if (controller || e.jaxis.which != joystickId) return false;
        pad.SetStickAxis(e.jaxis.axis, e.jaxis.value);
        return true;
      case SDL_JOYHATMOTION: {
        if (controller || e.jhat.which != joystickId || e.jhat.hat != 0) return false;
        uint8_t dirs = 0;
        if (e.jhat.value & SDL_HAT_UP) dirs |= PadBit(PadButton::Up);
        if (e.jhat.value & SDL_HAT_DOWN) dirs |= PadBit(PadButton::Down);
        if (e.jhat.value & SDL_HAT_LEFT) dirs |= PadBit(PadButton::Left);
        if (e.jhat.value & SDL_HAT_RIGHT) dirs |= PadBit(PadButton::Right);
        pad.SetHat(dirs);
        return true;
      }
      default:
        return false;
    }
  }

  // The frame as SDL knows it: what the window manager last published (_NET_FRAME_EXTENTS
  // on X11), zero without one; SDL learns it only once the window is mapped.
  FrameExtents Frame() const {
    int top = 0, left = 0, bottom = 0, right = 0;
    if (fullscreen || SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0)
      return {};
    return {std::max(left, 0), std::max(top, 0), std::max(right, 0), std::max(bottom, 0)};
  }

  // SDL places a window by its client area and turns that into a request for the frame's
  // corner with the frame it knows. Asking for the outer corner plus that same frame therefore
  // puts the frame's corner where the form wants it, whether or not the frame is known yet.
  // The request goes out even where SDL believes the window is there already: back from the
  // full screen, what SDL remembers is the place before it, not where the window manager put it.
  void Place(int32_t x0, int32_t y0) {
    const FrameExtents f = Frame();
    SDL_SetWindowPosition(window, x0 + f.Left, y0 + f.Top);
  }

  // The window's client size and outer corner for a picture of the logical size: as asked
  // where the screen's usable area holds it with its frame, else as large as fits with the
  // picture's aspect, kept inside that area (a laptop's 768 rows hold no 768-row picture
  // under a title bar).
  void Fit(int& width, int& height, int32_t& x, int32_t& y) const {
    width = logicalWidth;
    height = logicalHeight;
    x = windowX;
    y = windowY;
    SDL_Rect usable{0, 0, 0, 0};
    const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0 || usable.w <= 0 || usable.h <= 0) return;
    const FrameExtents f = Frame();
    const int roomW = usable.w - f.Left - f.Right, roomH = usable.h - f.Top - f.Bottom;
    if ((width <= roomW && height <= roomH) || roomW <= 0 || roomH <= 0) return;
    if (static_cast<int64_t>(roomW) * logicalHeight >= static_cast<int64_t>(roomH) * logicalWidth) {
      height = roomH;
      width = std::max(1, roomH * logicalWidth / logicalHeight);
    } else {
      width = roomW;
      height = std::max(1, roomW * logicalHeight / logicalWidth);
    }
    const int outerW = width + f.Left + f.Right, outerH = height + f.Top + f.Bottom;
    x = std::clamp(x, usable.x, usable.x + usable.w - outerW);
    y = std::clamp(y, usable.y, usable.y + usable.h - outerH);
  }

  // Back from the full screen, the window manager puts back the window it last saw, and may
  // do so after the game asked for its own bounds, later still on a busy machine: for a few
  // seconds, they are asked for again whenever the window is elsewhere.
  static constexpr uint64_t kInsistMicros = 5000000;
  uint64_t insistUntil = 0;
  void Insist() {
    if (fullscreen || Micros() >= insistUntil) return;
    int width = 0, height = 0, w = 0, h = 0, x = 0, y = 0;
    int32_t x0 = 0, y0 = 0;
    Fit(width, height, x0, y0);
    const FrameExtents f = Frame();
    SDL_GetWindowSize(window, &w, &h);
    SDL_GetWindowPosition(window, &x, &y);
    if (w != width || h != height || x != x0 + f.Left || y != y0 + f.Top) ApplyBounds();
  }

  // Sizes and places the window as Fit says.
  void ApplyBounds() {
    int width = 0, height = 0;
    int32_t x = 0, y = 0;
    Fit(width, height, x, y);
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    if (w != width || h != height) SDL_SetWindowSize(window, width, height);
    Place(x, y);
  }

  // True (once) when the frame differs from the one the program was last told of.
  bool FrameMoved() {
    const FrameExtents now = Frame();
    if (now == reportedFrame) return false;
    reportedFrame = now;
    return true;
  }

  // From window coordinates to the picture's pixels: through the drawable's own scale (a
  // high-density display has more pixels than window units), then the picture's place.
  void MapMouse(int32_t& x, int32_t& y) const {
    if (dest.w <= 0 || dest.h <= 0 || logicalWidth <= 0 || logicalHeight <= 0) return;
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window, &ww, &wh);
    const double sx = ww > 0 && outputWidth > 0 ? static_cast<double>(outputWidth) / ww : 1.0;
    const double sy = wh > 0 && outputHeight > 0 ? static_cast<double>(outputHeight) / wh : 1.0;
    x = static_cast<int32_t>(
        std::floor((x * sx - dest.x) * static_cast<double>(logicalWidth) / dest.w));
    y = static_cast<int32_t>(
        std::floor((y * sy - dest.y) * static_cast<double>(logicalHeight) / dest.h));
  }
};

SdlBackend::SdlBackend() : impl_(std::make_unique<Impl>()) {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "0");  // SIGTERM becomes a quit event
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    throw NoDisplay(std::string("no display available (") + SDL_GetError() + ")");
  }
  // Without a display SDL falls back to drawing off screen, where nobody would ever see the
  // window; only a driver the user asked for by name counts then.
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if ((driver == "offscreen" || driver == "dummy") && !(asked && *asked)) {
    SDL_Quit();
    const char* display = std::getenv("DISPLAY");
    throw NoDisplay(display && *display
                        ? std::string("no display available (cannot reach DISPLAY ") + display + ")"
                        : std::string("no display available (DISPLAY is not set)"));
  }
  SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);  // none is fine
#ifdef __EMSCRIPTEN__
  // In a page the picture goes to a 2D canvas (no WebGL needed), and presenting waits for the
  // browser's frame callback, which paces frames as vsync does.
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
#endif
  impl_->window = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1024, 768,
                                   SDL_WINDOW_HIDDEN);
  if (!impl_->window) throw std::runtime_error(std::string("No window: ") + SDL_GetError());
  // Vsync where the renderer offers it; the software renderer of a headless SDL does not.
  impl_->renderer = SDL_CreateRenderer(impl_->window, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!impl_->renderer) impl_->renderer = SDL_CreateRenderer(impl_->window, -1, 0);
  if (!impl_->renderer) {
    impl_->rendererFailed = true;
  } else {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(impl_->renderer, &info) == 0) {
      impl_->vsyncClaimed = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    }
  }
#ifdef __EMSCRIPTEN__
  impl_->vsyncClaimed = true;
#endif
  impl_->blockEstimate = 0.0;  // capped until presenting is seen to wait
  SDL_EventState(SDL_DROPFILE, SDL_DISABLE);
  impl_->OpenFirstStick();
}

SdlBackend::~SdlBackend() {
  if (impl_->audio) SDL_CloseAudioDevice(impl_->audio);  // the callback stops before the mixer goes
  impl_->mixer.reset();
  impl_->CloseStick();
  if (impl_->texture) SDL_DestroyTexture(impl_->texture);
  if (impl_->renderer) SDL_DestroyRenderer(impl_->renderer);
  if (impl_->window) SDL_DestroyWindow(impl_->window);
  SDL_Quit();
}

uint64_t SdlBackend::NowMicros() {
  return impl_->Micros();
}

void SdlBackend::WaitUntil(uint64_t when) {
  impl_->TendAudio();
#ifdef __EMSCRIPTEN__
  // A page must not block: the browser runs while the game sleeps, and input wakes it.
  const uint64_t at = NowMicros();
  if (when == kForever || when > at) {
    web::SleepUntilInput(when == kForever ? -1.0 : static_cast<double>(when - at) / 1000.0);
  }
  return;
#endif
  if (when == kForever) {
    SDL_WaitEventTimeout(nullptr, -1);
    return;
  }
  const uint64_t now = NowMicros();
  if (when <= now) return;
  // Rounded up to whole milliseconds: a little late, never a busy wait.
  const uint64_t ms = std::min<uint64_t>((when - now + 999) / 1000, 1000000);
  SDL_WaitEventTimeout(nullptr, static_cast<int>(ms));
}

uint64_t SdlBackend::RefreshPeriodMicros() {
  SDL_DisplayMode mode;
  const int display = impl_->window ? SDL_GetWindowDisplayIndex(impl_->window) : 0;
  if (SDL_GetCurrentDisplayMode(std::max(display, 0), &mode) == 0 && mode.refresh_rate >= 24 &&
      mode.refresh_rate <= 500) {
    return 1000000 / static_cast<uint64_t>(mode.refresh_rate);
  }
  return 1000000 / 60;
}

bool SdlBackend::PollEvent(Event& out) {
  // The window manager may put its own bounds back without any event SDL passes on (the frame
  // it adds back can leave SDL's idea of the place unchanged): every poll looks while it may.
  impl_->Insist();
  if (impl_->pad.Pop(out)) return true;
  if (impl_->padLost) {
    impl_->padLost = false;
    out = Event{};
    out.Kind = EventKind::PadLost;
    return true;
  }
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    out = Event{};
    if (impl_->PadEvent(e)) {
      if (impl_->pad.Pop(out)) return true;
      continue;
    }
    switch (e.type) {
      case SDL_QUIT:
        out.Kind = EventKind::Quit;
        return true;
      case SDL_WINDOWEVENT:
        switch (e.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            out.Kind = EventKind::Quit;
            return true;
          // A picture presented before the window was mapped may never reach the screen;
          // being shown counts as being uncovered.
          case SDL_WINDOWEVENT_SHOWN:
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_SIZE_CHANGED:
          case SDL_WINDOWEVENT_RESTORED:
            impl_->freshDrawable = true;
            impl_->Insist();
            out.Kind = EventKind::Expose;
            return true;
          case SDL_WINDOWEVENT_MOVED:
            impl_->Insist();
            break;
          case SDL_WINDOWEVENT_FOCUS_GAINED:
            out.Kind = EventKind::FocusGained;
            return true;
          case SDL_WINDOWEVENT_FOCUS_LOST:
            out.Kind = EventKind::FocusLost;
            return true;
          default:
            break;
        }
        break;
      case SDL_RENDER_TARGETS_RESET:
      case SDL_RENDER_DEVICE_RESET:
        if (impl_->texture) SDL_DestroyTexture(impl_->texture);
        impl_->texture = nullptr;
        out.Kind = EventKind::Expose;
        return true;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        out.Kind = e.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
        out.Key = VirtualKeyOfScancode(e.key.keysym.scancode);
        out.Repeat = e.key.repeat != 0;
        out.Alt = (e.key.keysym.mod & KMOD_ALT) != 0;
        if (out.Key == 0) break;
        return true;
      case SDL_TEXTINPUT:
        out.Kind = EventKind::TextInput;
        out.Text = e.text.text;
        return true;
      case SDL_MOUSEMOTION:
        out.Kind = EventKind::MouseMove;
        out.X = e.motion.x;
        out.Y = e.motion.y;
        impl_->MapMouse(out.X, out.Y);
        return true;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        out.Kind = e.type == SDL_MOUSEBUTTONDOWN ? EventKind::MouseDown : EventKind::MouseUp;
        out.X = e.button.x;
        out.Y = e.button.y;
        out.Button = e.button.button;
        out.Clicks = e.button.clicks > 0 ? e.button.clicks : 1;
        impl_->MapMouse(out.X, out.Y);
        return true;
      case SDL_CONTROLLERDEVICEADDED:
      case SDL_JOYDEVICEADDED:
        impl_->OpenFirstStick();
        break;
      case SDL_CONTROLLERDEVICEREMOVED:
      case SDL_JOYDEVICEREMOVED:
        if (e.jdevice.which == impl_->joystickId) {
          impl_->CloseStick();
          impl_->OpenFirstStick();
          impl_->padLost = true;
        }
        if (impl_->pad.Pop(out)) return true;  // what the pad held is released
        if (impl_->padLost) {
          impl_->padLost = false;
          out.Kind = EventKind::PadLost;
          return true;
        }
        break;
      case SDL_MOUSEWHEEL: {
        out.Kind = EventKind::MouseWheel;
        out.Wheel = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        if (out.Wheel == 0) break;
        SDL_GetMouseState(&out.X, &out.Y);
        impl_->MapMouse(out.X, out.Y);
        return true;
      }
      default:
        break;
    }
  }
  if (impl_->FrameMoved()) {
    impl_->Insist();
    out = Event{};
    out.Kind = EventKind::FrameChanged;
    return true;
  }
  // Every pass of the loop drains the queue, also where vsync paces the frames and the loop
  // never waits.
  impl_->TendAudio();
  return false;
}

void SdlBackend::SetCaption(const std::string& caption) {
  SDL_SetWindowTitle(impl_->window, caption.c_str());
}

void SdlBackend::SetWindowBounds(int32_t x, int32_t y, int32_t width, int32_t height) {
  impl_->windowX = x;
  impl_->windowY = y;
  impl_->logicalWidth = width;
  impl_->logicalHeight = height;
#ifdef __EMSCRIPTEN__
  // The canvas takes the window's size whatever the screen mode; the page scales it to fit
  // and places it.
  int cw = 0, ch = 0;
  SDL_GetWindowSize(impl_->window, &cw, &ch);
  if (cw != width || ch != height) SDL_SetWindowSize(impl_->window, width, height);
  return;
#endif
  if (impl_->fullscreen) return;  // the picture is scaled to the desktop
  impl_->ApplyBounds();
}

FrameExtents SdlBackend::WindowFrame() {
  return impl_->Frame();
}

void SdlBackend::SetBorderless(bool borderless) {
  SDL_SetWindowBordered(impl_->window, borderless ? SDL_FALSE : SDL_TRUE);
}

void SdlBackend::ShowWindow() {
  SDL_ShowWindow(impl_->window);
  SDL_RaiseWindow(impl_->window);
}

void SdlBackend::SetCursorVisible(bool visible) {
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

DisplayResult SdlBackend::OpenDisplay(bool fullscreen) {
  if (impl_->rendererFailed) return DisplayResult::PrimarySurfaceFailed;
  SDL_Window* window = impl_->window;
#ifdef __EMSCRIPTEN__
  // The page itself goes full-screen, the canvas scaled onto it with its aspect kept.
  web::RequestFullscreen(fullscreen);
  fullscreen = false;
#endif
  if (fullscreen) {
    // The desktop keeps its own mode; the picture is scaled onto it. Only a window manager
    // makes a window full-screen, and without one (a bare X server) the request changes
    // nothing while SDL believes it did. So the window first covers the desktop by itself,
    // borderless, which is all a bare server needs, then asks to be full-screen, which a
    // window manager grants.
    SDL_Rect desktop{0, 0, 0, 0};
    const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
    if (SDL_GetDisplayBounds(display, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
      SDL_SetWindowBordered(window, SDL_FALSE);
      SDL_SetWindowPosition(window, desktop.x, desktop.y);
      SDL_SetWindowSize(window, desktop.w, desktop.h);
    }
    SDL_ShowWindow(window);
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
      return DisplayResult::ModeUnavailable;
    }
    SDL_RaiseWindow(window);
  } else if (impl_->fullscreen) {
    // Back from the full screen: the frame and the window's own bounds return.
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_TRUE);
    impl_->fullscreen = false;
    impl_->insistUntil = impl_->Micros() + Impl::kInsistMicros;
    if (impl_->logicalWidth > 0 && impl_->logicalHeight > 0) impl_->ApplyBounds();
  } else {
    SDL_SetWindowFullscreen(window, 0);
  }
  impl_->fullscreen = fullscreen;
  // The picture's texture must be possible at the surface's size.
  SDL_Texture* probe = SDL_CreateTexture(impl_->renderer, SDL_PIXELFORMAT_RGB888,
                                         SDL_TEXTUREACCESS_STREAMING, 1024, 768);
  if (!probe) return DisplayResult::SurfaceFailed;
  SDL_DestroyTexture(probe);
  SDL_ShowWindow(window);
  return DisplayResult::Ok;
}

void SdlBackend::Present(const PixelView& picture, bool waitVBlank) {
  Impl& m = *impl_;
  if (!m.renderer || !picture.Pixels || picture.Width <= 0 || picture.Height <= 0) return;
  if (!m.texture || m.textureWidth != picture.Width || m.textureHeight != picture.Height) {
    if (m.texture) SDL_DestroyTexture(m.texture);
    // RGB888 is SDL's name for XRGB8888: the back buffer's own layout, copied as it is.
    m.texture = SDL_CreateTexture(m.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                  picture.Width, picture.Height);
    if (!m.texture) return;
    m.textureWidth = picture.Width;
    m.textureHeight = picture.Height;
  }
  SDL_UpdateTexture(m.texture, nullptr, picture.Pixels, picture.Pitch * 4);
  // The drawable's real size, read at every presentation: a window manager (or none) may
  // have given the window another size than was asked for, at any time.
  int ow = 0, oh = 0;
  if (SDL_GetRendererOutputSize(m.renderer, &ow, &oh) != 0 || ow <= 0 || oh <= 0) return;
  if (ow != m.outputWidth || oh != m.outputHeight) m.freshDrawable = true;

  m.outputWidth = ow;
  m.outputHeight = oh;
  // Scaled to fit with the aspect kept, centred; sharp when the scale is a whole number.
  const double scale =
      std::min(static_cast<double>(ow) / picture.Width, static_cast<double>(oh) / picture.Height);
  const bool whole = scale >= 1.0 && std::floor(scale) == scale;
  SDL_SetTextureScaleMode(m.texture, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  m.dest.w = static_cast<int>(std::lround(picture.Width * scale));
  m.dest.h = static_cast<int>(std::lround(picture.Height * scale));
  m.dest.x = (ow - m.dest.w) / 2;
  m.dest.y = (oh - m.dest.h) / 2;
  m.logicalWidth = picture.Width;
  m.logicalHeight = picture.Height;
  SDL_SetRenderDrawColor(m.renderer, 0, 0, 0, 255);
  SDL_RenderClear(m.renderer);
  SDL_RenderCopy(m.renderer, m.texture, nullptr, &m.dest);
  const uint64_t before = NowMicros();
  SDL_RenderPresent(m.renderer);
  m.presented = true;
  if (m.freshDrawable) {
    // The first picture after the window was shown or resized can be lost on the way to the
    // screen (the X server shows the other buffer); the same picture goes out once more.
    m.freshDrawable = false;
    SDL_RenderClear(m.renderer);
    SDL_RenderCopy(m.renderer, m.texture, nullptr, &m.dest);
    SDL_RenderPresent(m.renderer);
  }
#ifdef __EMSCRIPTEN__
  if (waitVBlank) web::WaitForNextFrame();
#endif
  if (waitVBlank) {
    const auto blocked = static_cast<double>(NowMicros() - before);
    m.blockEstimate = 0.9 * m.blockEstimate + 0.1 * blocked;
  }
}

bool SdlBackend::VsyncPaced() {
  return impl_->vsyncClaimed &&
         impl_->blockEstimate >= 0.2 * static_cast<double>(RefreshPeriodMicros());
}

bool SdlBackend::Foreground() {
  return (SDL_GetWindowFlags(impl_->window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void SdlBackend::ReadKeyboard(KeyboardState& keys) {
  keys.fill(false);
  int n = 0;
  const Uint8* state = SDL_GetKeyboardState(&n);
  for (int sc = 0; sc < n; ++sc) {
    if (state[sc]) {
      if (uint8_t code = VirtualKeyOfScancode(sc)) keys[code] = true;
    }
  }
}

void SdlBackend::ReadJoystick(JoystickState& js) {
  js = JoystickState{};
  Impl& m = *impl_;
  if (!m.joystick) return;
  js.Present = true;
  js.RawMin = 0;
  js.RawMax = 65535;
  auto raw = [](Sint16 v) { return static_cast<int32_t>(v) + 32768; };
  int32_t hatX = 0, hatY = 0;
  if (m.controller) {
    SDL_GameController* c = m.controller;
    js.X = raw(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
    js.Y = raw(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
    js.Z = raw(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_RIGHTX));
    // Buttons in the order a pad reports them as a plain joystick: 1 A, 2 B, 3 X, 4 Y, ...
    static constexpr SDL_GameControllerButton kOrder[] = {SDL_CONTROLLER_BUTTON_A,
                                                          SDL_CONTROLLER_BUTTON_B,
                                                          SDL_CONTROLLER_BUTTON_X,
                                                          SDL_CONTROLLER_BUTTON_Y,
                                                          SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                                          SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                                          SDL_CONTROLLER_BUTTON_BACK,
                                                          SDL_CONTROLLER_BUTTON_START,
                                                          SDL_CONTROLLER_BUTTON_LEFTSTICK,
                                                          SDL_CONTROLLER_BUTTON_RIGHTSTICK,
                                                          SDL_CONTROLLER_BUTTON_GUIDE};
    static_assert(std::size(kOrder) == kControllerButtonNames.size());
    for (size_t i = 0; i < std::size(kOrder); ++i) {
      if (SDL_GameControllerGetButton(c, kOrder[i])) js.Buttons |= 1u << i;
    }
    hatX = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) -
           SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    hatY = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN) -
           SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP);
  } else {
    SDL_Joystick* j = m.joystick;
    const int axes = SDL_JoystickNumAxes(j);
    js.X = axes > 0 ? raw(SDL_JoystickGetAxis(j, 0)) : 32768;
    js.Y = axes > 1 ? raw(SDL_JoystickGetAxis(j, 1)) : 32768;
    js.Z = axes > 2 ? raw(SDL_JoystickGetAxis(j, 2)) : 32768;
    const int buttons = std::min(SDL_JoystickNumButtons(j), 32);
    for (int i = 0; i < buttons; ++i) {
      if (SDL_JoystickGetButton(j, i)) js.Buttons |= 1u << i;
    }
    if (SDL_JoystickNumHats(j) > 0) {
      const Uint8 hat = SDL_JoystickGetHat(j, 0);
      hatX = ((hat & SDL_HAT_RIGHT) ? 1 : 0) - ((hat & SDL_HAT_LEFT) ? 1 : 0);
      hatY = ((hat & SDL_HAT_DOWN) ? 1 : 0) - ((hat & SDL_HAT_UP) ? 1 : 0);
    }
  }
  // The pad's cross steers like the stick pushed all the way.
  if (hatX != 0) js.X = hatX < 0 ? 0 : 65535;
  if (hatY != 0) js.Y = hatY < 0 ? 0 : 65535;
}

Mixer* SdlBackend::Audio() {
  Impl& m = *impl_;
  // The mixer is there at once, made for the rate asked of the device (SDL converts to what
  // the device takes); the device itself opens once the first picture is on the screen.
  if (!m.mixer) m.mixer = std::make_unique<Mixer>(kAudioRate);
  return m.mixer.get();
}

// The box's text goes to standard error as well: a player who started the game from a terminal,
// or a script that started it headless, sees what the window said.
void SdlBackend::MessageShown(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace platform
