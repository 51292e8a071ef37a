#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "platform/sdl/micro_clock.h"
#include "platform/sdl/presenter.h"
#include "platform/sdl/scancode_keys.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_pad.h"
#include "platform/sdl/web_page.h"
#include "platform/sdl/web_touch.h"
#include "platform/sdl/window_placement.h"

namespace platform {

// The backend is the seam between the program and SDL: each concern lives in a part of its
// own (presenting, the window's place, the pad, the sound device); this file makes them, turns
// SDL's events into the program's and says which part answers each call.
struct SdlBackend::Impl {
  MicroClock clock;
  SDL_Window* window = nullptr;
  std::unique_ptr<Presenter> presenter;
  std::unique_ptr<WindowPlacement> placement;
  SdlPad pad;
  SdlAudio audio;
  WebTouch touch;

  void TendAudio() { audio.Tend(presenter && presenter->Presented(), clock.Micros()); }
  void Insist() { placement->Insist(clock.Micros()); }
  void MapMouse(int32_t& x, int32_t& y) const {
    presenter->MapMouse(x, y, placement->LogicalWidth(), placement->LogicalHeight());
  }
  bool TranslateWindowEvent(const SDL_WindowEvent& w, Event& out);
  bool Translate(const SDL_Event& e, Event& out);
  bool PageEvent(Event& out);
  // A pad event for the program; using the pad hides a touch screen's controls.
  bool PopPad(Event& out) {
    if (!pad.Pop(out)) return false;
    if (out.Kind == EventKind::PadDown) touch.KeyOrPadUsed();
    return true;
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
  impl_->presenter = std::make_unique<Presenter>(impl_->window);
  impl_->placement = std::make_unique<WindowPlacement>(impl_->window);
  SDL_EventState(SDL_DROPFILE, SDL_DISABLE);
  impl_->pad.OpenFirst();
}

SdlBackend::~SdlBackend() {
  impl_->audio.Close();  // the callback stops before the mixer goes
  impl_->pad.Close();
  impl_->presenter.reset();
  if (impl_->window) SDL_DestroyWindow(impl_->window);
  SDL_Quit();
}

uint64_t SdlBackend::NowMicros() {
  return impl_->clock.Micros();
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

bool SdlBackend::Impl::TranslateWindowEvent(const SDL_WindowEvent& w, Event& out) {
  switch (w.event) {
    case SDL_WINDOWEVENT_CLOSE:
      out.Kind = EventKind::Quit;
      return true;
    // A picture presented before the window was mapped may never reach the screen;
    // being shown counts as being uncovered.
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
      presenter->MarkFresh();
      Insist();
      out.Kind = EventKind::Expose;
      return true;
    case SDL_WINDOWEVENT_MOVED:
      Insist();
      return false;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      out.Kind = EventKind::FocusGained;
      return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      out.Kind = EventKind::FocusLost;
      return true;
    default:
      return false;
  }
}

// One SDL event as the program's; false when it is none of the program's (or says nothing).
bool SdlBackend::Impl::Translate(const SDL_Event& e, Event& out) {
  switch (e.type) {
    case SDL_QUIT:
      out.Kind = EventKind::Quit;
      return true;
    case SDL_WINDOWEVENT:
      return TranslateWindowEvent(e.window, out);
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      presenter->DropTexture();
      out.Kind = EventKind::Expose;
      return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      out.Kind = e.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
      out.Key = VirtualKeyOfScancode(e.key.keysym.scancode);
      out.Repeat = e.key.repeat != 0;
      out.Alt = (e.key.keysym.mod & KMOD_ALT) != 0;
      if (out.Kind == EventKind::KeyDown && !out.Repeat) touch.KeyOrPadUsed();
      return out.Key != 0;
    case SDL_TEXTINPUT:
      out.Kind = EventKind::TextInput;
      out.Text = e.text.text;
      return true;
    case SDL_MOUSEMOTION:
      out.Kind = EventKind::MouseMove;
      out.X = e.motion.x;
      out.Y = e.motion.y;
      MapMouse(out.X, out.Y);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      out.Kind = e.type == SDL_MOUSEBUTTONDOWN ? EventKind::MouseDown : EventKind::MouseUp;
      out.X = e.button.x;
      out.Y = e.button.y;
      out.Button = e.button.button;
      out.Clicks = e.button.clicks > 0 ? e.button.clicks : 1;
      MapMouse(out.X, out.Y);
      return true;
    case SDL_MOUSEWHEEL:
      out.Kind = EventKind::MouseWheel;
      out.Wheel = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
      if (out.Wheel == 0) return false;
      SDL_GetMouseState(&out.X, &out.Y);
      MapMouse(out.X, out.Y);
      return true;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_JOYDEVICEADDED:
      pad.OpenFirst();
      return false;
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_JOYDEVICEREMOVED:
      pad.Removed(e.jdevice.which);
      return PopPad(out);  // what the pad held is released, then it is lost
    default:
      return false;
  }
}

// What a browser page tells beyond SDL's events: the full screen left at the browser's will
// (its Esc), a phone turned on end, where the page asks to be turned back.
bool SdlBackend::Impl::PageEvent([[maybe_unused]] Event& out) {
#ifdef __EMSCRIPTEN__
  touch.Pump();
  out = Event{};
  if (web::TakeFullScreenLeft()) {
    out.Kind = EventKind::FullScreenLeft;
    return true;
  }
  if (touch.TakeTurnedAway()) {
    out.Kind = EventKind::FocusLost;  // the game cannot be seen: as another window over it
    return true;
  }
#endif
  return false;
}

bool SdlBackend::PollEvent(Event& out) {
  // The window manager may put its own bounds back without any event SDL passes on (the frame
  // it adds back can leave SDL's idea of the place unchanged): every poll looks while it may.
  impl_->Insist();
  if (impl_->PageEvent(out) || impl_->PopPad(out)) return true;
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    out = Event{};
    if (impl_->pad.Handle(e)) {
      if (impl_->PopPad(out)) return true;
      continue;
    }
    if (impl_->Translate(e, out)) return true;
  }
  if (impl_->placement->FrameMoved()) {
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
  impl_->placement->SetWanted(x, y, width, height);
#ifdef __EMSCRIPTEN__
  // The canvas takes the window's size whatever the screen mode; the page scales it to fit
  // and places it.
  int cw = 0, ch = 0;
  SDL_GetWindowSize(impl_->window, &cw, &ch);
  if (cw != width || ch != height) SDL_SetWindowSize(impl_->window, width, height);
  return;
#endif
  if (impl_->placement->Fullscreen()) return;  // the picture is scaled to the desktop
  impl_->placement->Apply();
}

FrameExtents SdlBackend::WindowFrame() {
  return impl_->placement->Frame();
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
  impl_->touch.SetFlying(!visible);
}

namespace {

// The desktop keeps its own mode; the picture is scaled onto it. Only a window manager makes a
// window full-screen, and without one (a bare X server) the request changes nothing while SDL
// believes it did. So the window first covers the desktop by itself, borderless, which is all a
// bare server needs, then asks to be full-screen, which a window manager grants.
bool EnterFullScreen(SDL_Window* window) {
  SDL_Rect desktop{0, 0, 0, 0};
  const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
  if (SDL_GetDisplayBounds(display, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, desktop.x, desktop.y);
    SDL_SetWindowSize(window, desktop.w, desktop.h);
  }
  SDL_ShowWindow(window);
  if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
  SDL_RaiseWindow(window);
  return true;
}

}  // namespace

DisplayResult SdlBackend::OpenDisplay(bool fullscreen) {
  if (impl_->presenter->Failed()) return DisplayResult::PrimarySurfaceFailed;
  SDL_Window* window = impl_->window;
  WindowPlacement& placement = *impl_->placement;
#ifdef __EMSCRIPTEN__
  // The page itself goes full-screen, the canvas scaled onto it with its aspect kept.
  web::RequestFullscreen(fullscreen);
  fullscreen = false;
#endif
  if (fullscreen) {
    if (!EnterFullScreen(window)) return DisplayResult::ModeUnavailable;
  } else if (placement.Fullscreen()) {
    // Back from the full screen: the frame and the window's own bounds return.
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_TRUE);
    placement.SetFullscreen(false);
    placement.InsistUntil(impl_->clock.Micros() + WindowPlacement::kInsistMicros);
    if (placement.LogicalWidth() > 0 && placement.LogicalHeight() > 0) placement.Apply();
  } else {
    SDL_SetWindowFullscreen(window, 0);
  }
  placement.SetFullscreen(fullscreen);
  // The picture's texture must be possible at the surface's size.
  if (!impl_->presenter->CanHoldPicture(1024, 768)) return DisplayResult::SurfaceFailed;
  SDL_ShowWindow(window);
  return DisplayResult::Ok;
}

void SdlBackend::Present(const PixelView& picture, bool waitVBlank) {
  if (impl_->presenter->Present(picture, waitVBlank, impl_->clock)) {
    impl_->placement->SetLogicalSize(picture.Width, picture.Height);
  }
}

bool SdlBackend::VsyncPaced() {
  return impl_->presenter->VsyncPaced(RefreshPeriodMicros());
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
  impl_->pad.Read(js);
}

void SdlBackend::ReadTouch(TouchState& touch) {
  impl_->touch.Read(touch);
}

// The mixer is there at once; the device itself opens once the first picture is on the screen.
Mixer* SdlBackend::Audio() {
  return impl_->audio.Get();
}

// The box's text goes to standard error as well: a player who started the game from a terminal,
// or a script that started it headless, sees what the window said.
void SdlBackend::MessageShown(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace platform
