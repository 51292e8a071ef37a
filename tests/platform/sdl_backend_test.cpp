// The SDL backend on SDL's dummy video and audio drivers: key mapping, events, the mixer's
// device, and a loop that sleeps instead of spinning.
#include <gtest/gtest.h>

#include <SDL.h>

#include <ctime>
#include <functional>

#include "platform/mixer.h"
#include "platform/sdl/scancode_keys.h"
#include "platform/sdl/sdl_backend.h"
#include "presentation/application.h"
#include "presentation/form_components.h"

namespace {

namespace vk = platform::vk;

TEST(SdlKeys, BothEntersBothShiftsAndKeypadDigitsWhateverTheLock) {
  using platform::VirtualKeyOfScancode;
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_RETURN), vk::Return);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_KP_ENTER), vk::Return);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_LSHIFT), vk::Shift);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_RSHIFT), vk::Shift);
  // The keypad is mapped by position, so NumLock cannot turn 8 into an arrow.
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_KP_8), 0x68);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_KP_2), 0x62);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_KP_4), 0x64);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_KP_6), 0x66);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_KP_0), 0x60);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_UP), vk::Up);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_LEFT), vk::Left);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_SPACE), vk::Space);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_TAB), vk::Tab);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_ESCAPE), vk::Escape);
  EXPECT_EQ(VirtualKeyOfScancode(SDL_SCANCODE_5), '5');
}

double CpuSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Runs the loop in short slices until done() or a deadline far beyond what the test needs,
// so that a loaded machine only makes it slower. Returns the real time it took, in µs.
uint64_t RunUntil(TApplication& app, platform::Backend& backend,
                  const std::function<bool()>& done) {
  const uint64_t start = backend.NowMicros();
  while (!done() && backend.NowMicros() - start < 30'000'000) app.RunFor(20);
  return backend.NowMicros() - start;
}

TEST(SdlBackend, RunsOnTheDummyDriversAndSleepsBetweenEvents) {
  platform::SdlBackend backend;
  TFormComponents media{backend};
  ASSERT_EQ(backend.OpenDisplay(false), platform::DisplayResult::Ok);
  media.DXDraw1.Initialize();
  // The sound device is looked for only once a picture is on the screen and the loop waits;
  // the mixer is there from the start.
  ASSERT_NE(backend.Audio(), nullptr);
  EXPECT_TRUE(media.DXSound1.Ready());
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  media.DXDraw1.Flip();
  backend.WaitUntil(backend.NowMicros() + 1000);
  EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u);

  // Five events of a 100 ms timer: never early, and slept through rather than spun.
  TApplication app{backend, media.Window};
  int menu = 0, frames = 0;
  const double cpu0 = CpuSeconds();
  const uint64_t t0 = backend.NowMicros();
  TTimer menuTimer{app, 100};
  menuTimer.OnTimer = [&] { ++menu; };
  RunUntil(app, backend, [&] { return menu >= 5; });
  ASSERT_EQ(menu, 5);
  EXPECT_GE(backend.NowMicros() - t0, 500'000u);
  EXPECT_LT(CpuSeconds() - cpu0, 0.3);  // spinning would take the whole half second
  menuTimer.SetEnabled(false);

  // Frames without vsync are capped at the refresh rate: the first at once, each further
  // one at least a refresh period after the one before.
  TDXTimer drawTimer{app};
  drawTimer.OnTimer = [&](int32_t) {
    ++frames;
    media.DXDraw1.Flip();
  };
  drawTimer.SetEnabled(true);
  const uint64_t period = backend.RefreshPeriodMicros();
  const uint64_t framesTook = RunUntil(app, backend, [&] { return frames >= 20; });
  ASSERT_GE(frames, 20);
  EXPECT_GE(framesTook, static_cast<uint64_t>(frames - 1) * period);

  // A sound played ends in its own time: the device, opened late, mixes it.
  platform::Mixer& mixer = *backend.Audio();
  platform::Sound tone;
  tone.Samples.assign(2 * 4410, 0.1f);  // a tenth of a second
  const platform::Mixer::VoiceId voice =
      mixer.CreateVoice(std::make_shared<const platform::Sound>(tone));
  mixer.Start(voice, false);
  RunUntil(app, backend, [&] { return !mixer.Playing(voice); });
  EXPECT_FALSE(mixer.Playing(voice));

  // The window's close (SDL's quit) ends the loop.
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  app.Run();
  EXPECT_TRUE(app.Terminated());
}

TEST(SdlBackend, ADoubleClicksSecondPressSaysSo) {
  platform::SdlBackend backend;
  ASSERT_EQ(backend.OpenDisplay(false), platform::DisplayResult::Ok);
  SDL_Event press{};
  press.type = SDL_MOUSEBUTTONDOWN;
  press.button.button = SDL_BUTTON_LEFT;
  press.button.state = SDL_PRESSED;
  press.button.clicks = 2;
  ASSERT_EQ(SDL_PushEvent(&press), 1) << SDL_GetError();
  platform::Event out;
  bool seen = false;
  while (!seen && backend.PollEvent(out)) seen = out.Kind == platform::EventKind::MouseDown;
  ASSERT_TRUE(seen);
  EXPECT_EQ(out.Button, 1);
  EXPECT_EQ(out.Clicks, 2);
}

}  // namespace
