// The SDL backend on SDL's dummy video and audio drivers: key mapping, events, the mixer's
// device, and a loop that sleeps instead of spinning.
#include <gtest/gtest.h>

#include <SDL.h>

#include <ctime>

#include "platform/mixer.h"
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

TEST(SdlBackend, RunsOnTheDummyDriversAndSleepsBetweenEvents) {
  platform::SdlBackend backend;
  TFormComponents media{backend};
  ASSERT_EQ(backend.OpenDisplay(false), platform::DisplayResult::Ok);
  media.DXDraw1.Initialize();
  media.DXDraw1.Flip();
  // The dummy audio driver still gives a device, so sound bookkeeping runs.
  ASSERT_NE(backend.Audio(), nullptr);
  EXPECT_TRUE(media.DXSound1.Ready());

  TApplication app{backend, media.Window};
  int menu = 0, frames = 0;
  TTimer menuTimer{app, 100};
  menuTimer.OnTimer = [&] { ++menu; };
  const double cpu0 = CpuSeconds();
  app.RunFor(500);
  EXPECT_GE(menu, 4);
  EXPECT_LE(menu, 5);
  EXPECT_LT(CpuSeconds() - cpu0, 0.15);  // menus sleep, they do not spin

  // Frames without vsync are capped at the refresh rate.
  TDXTimer drawTimer{app};
  drawTimer.OnTimer = [&](int32_t) {
    ++frames;
    media.DXDraw1.Flip();
  };
  drawTimer.SetEnabled(true);
  app.RunFor(500);
  const double fps = frames * 2.0;
  EXPECT_LT(fps, 1.2e6 / static_cast<double>(backend.RefreshPeriodMicros()));
  EXPECT_GT(fps, 0.5e6 / static_cast<double>(backend.RefreshPeriodMicros()));

  // The window's close (SDL's quit) ends the loop.
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  app.Run();
  EXPECT_TRUE(app.Terminated());
}

}  // namespace
