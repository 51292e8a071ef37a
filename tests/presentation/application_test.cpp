// The message loop on the virtual clock: timers on schedule, the tick timer's bounded
// catch-up, frames capped at the refresh rate, errors shown and survived, the modal box.
#include <gtest/gtest.h>

#include "base/error.h"
#include "platform/headless/headless_backend.h"
#include "presentation/application.h"
#include "presentation/form_components.h"
#include "presentation/message_box.h"

namespace {

namespace vk = platform::vk;

struct LoopTest : ::testing::Test {
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  TApplication app{backend, media.Window};
  TTimer updateTimer{app, 10, false};
  TTimer menuTimer{app, 100, false};
  TDXTimer drawTimer{app};
  std::vector<uint64_t> ticks, frames;

  void SetUp() override {
    updateTimer.MaxCatchUp = 5;
    updateTimer.OnTimer = [this] { ticks.push_back(backend.NowMillis()); };
    drawTimer.OnTimer = [this](int32_t) {
      frames.push_back(backend.NowMillis());
      media.DXDraw1.Flip();
    };
    media.DXDraw1.Initialize();
  }
};

TEST_F(LoopTest, AMissionRunsAHundredTicksAndSixtyFramesASecond) {
  updateTimer.SetEnabled(true);
  drawTimer.SetEnabled(true);
  app.RunFor(1000);
  EXPECT_EQ(ticks.size(), 100u);
  EXPECT_NEAR(static_cast<double>(frames.size()), 60.0, 1.0);
  for (size_t i = 0; i < ticks.size(); ++i) EXPECT_EQ(ticks[i], 10 * (i + 1));  // on schedule
}

TEST_F(LoopTest, AStallIsMadeUpOnlyUpToTheBoundAndTheTimerKeepsItsPhase) {
  updateTimer.SetEnabled(true);
  app.RunFor(100);
  ASSERT_EQ(ticks.size(), 10u);
  // A stall of 20.5 intervals: ticks due at 110..300 are late at 305.
  backend.AdvanceMillis(205);
  app.ProcessMessages();
  EXPECT_EQ(ticks.size(), 15u);  // five made up at once, the rest dropped
  EXPECT_EQ(ticks.back(), 305u);
  app.RunFor(100);  // to 405: back on the 10 ms grid of the start, not 10 ms after the stall
  EXPECT_EQ(std::vector<uint64_t>(ticks.begin() + 15, ticks.end()),
            (std::vector<uint64_t>{310, 320, 330, 340, 350, 360, 370, 380, 390, 400}));

  // A plain window timer is never made up: one event after any stall, then on its grid.
  std::vector<uint64_t> menu;
  menuTimer.OnTimer = [&] { menu.push_back(backend.NowMillis()); };
  menuTimer.SetEnabled(true);  // at 405: due at 505, 605, ...
  updateTimer.SetEnabled(false);
  backend.AdvanceMillis(1050);
  app.ProcessMessages();
  EXPECT_EQ(menu, (std::vector<uint64_t>{1455}));
  app.RunFor(1000);
  ASSERT_EQ(menu.size(), 11u);
  EXPECT_EQ(menu[1], 1505u);
  EXPECT_EQ(menu[10], 2405u);
}

// Frames find how far the clock has come from the last tick's due time, even when that tick
// ran late: the fraction follows the schedule, so frames at an even rate see even steps.
TEST_F(LoopTest, TheTickTimersPhaseCountsFromItsScheduleNotFromWhenItsHandlerRan) {
  EXPECT_EQ(updateTimer.Phase(), 1.0);  // off: no tick is coming, the last one stands
  std::vector<double> phases;
  drawTimer.OnTimer = [&](int32_t) {
    phases.push_back(updateTimer.Phase());
    media.DXDraw1.Flip();
  };
  updateTimer.SetEnabled(true);
  drawTimer.SetEnabled(true);
  app.RunFor(100);  // frames at 0, 16.667, 33.334 ... ms; ticks due at 10, 20 ...
  const std::vector<double> expected = {0.0, 0.6667, 0.3334, 0.0001, 0.6668, 0.3335};
  ASSERT_EQ(phases.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(phases[i], expected[i], 1e-6) << i;

  drawTimer.SetEnabled(false);
  backend.AdvanceMillis(55);  // at 155 the ticks due at 110 ... 150 all run now
  app.ProcessMessages();
  EXPECT_EQ(ticks.back(), 155u);
  EXPECT_NEAR(updateTimer.Phase(), 0.5, 1e-9);  // half way from 150 to 160
}

TEST_F(LoopTest, AnErrorEscapingAHandlerIsShownAndTheProgramGoesOn) {
  int calls = 0;
  menuTimer.OnTimer = [&] {
    if (++calls == 2) throw EInOutError("Cannot open file res/other/hangar.jpg");
  };
  menuTimer.SetEnabled(true);
  app.RunFor(500);
  EXPECT_EQ(calls, 5);
  ASSERT_EQ(backend.Messages().size(), 1u);
  EXPECT_EQ(backend.Messages()[0].Text, "Cannot open file res/other/hangar.jpg");
  EXPECT_EQ(backend.Messages()[0].Caption, "Starvelkhorn");
  EXPECT_EQ(backend.Messages()[0].ShownAtMicros, 200000u);
}

TEST_F(LoopTest, TheMessageBoxWaitsForItsAnswerAndKeepsTheWindowTimersGoing) {
  menuTimer.OnTimer = [&] { ticks.push_back(backend.NowMillis()); };
  menuTimer.SetEnabled(true);
  // The script looks at the box, lets half a second pass, then presses Esc.
  bool sawBox = false;
  backend.SetMessageScript([&](platform::HeadlessBackend& b, const auto& m) {
    EXPECT_EQ(m.Text, "Nemáte dostatek kreditů!");
    // The box is on the window picture: dark text pixels in the middle of the screen.
    int dark = 0;
    for (int y = 330; y < 440; ++y) {
      for (int x = 312; x < 712; ++x) dark += b.PixelAt(x, y) < 0x404040;
    }
    sawBox = dark > 100;
    b.AdvanceMillis(500);
    b.PushKeyPress(vk::Escape);
  });
  media.DXDraw1.Surface().Fill(0xFFFFFF);
  app.ShowMessage("Nemáte dostatek kreditů!");
  EXPECT_TRUE(sawBox);
  EXPECT_EQ(ticks.size(), 1u);  // the window timer ran (once: it is not made up)
  EXPECT_EQ(backend.Messages().size(), 1u);
  // After the box, the window shows the back buffer again.
  app.ProcessMessages();
  app.RunFor(1);
  EXPECT_EQ(backend.PixelAt(512, 384), 0xFFFFFFu);
}

TEST_F(LoopTest, ClosingTheWindowEndsTheProgramEvenFromAMessageBox) {
  backend.SetMessageScript([](platform::HeadlessBackend& b, const auto&) { b.PushQuit(); });
  menuTimer.OnTimer = [&] { app.ShowMessage("x"); };
  menuTimer.SetEnabled(true);
  app.Run();
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(backend.Messages().size(), 1u);
}

TEST(MessageBox, ClickEnterSpaceAndEscAnswerItNothingElseGetsThrough) {
  auto answeredBy = [](std::vector<platform::Event> events) {
    TMessageBoxLayer box("Starvelkhorn", "Nemáte žádné letadlo, nemůžete letět misi!", false);
    box.Layout(1024, 768);
    for (auto& e : events) {
      EXPECT_TRUE(box.HandleEvent(e));  // modal: the box takes every input event
      if (box.Answered()) return true;
    }
    return false;
  };
  auto key = [](uint8_t k) {
    platform::Event e;
    e.Kind = platform::EventKind::KeyDown;
    e.Key = k;
    return e;
  };
  auto mouse = [](platform::EventKind kind, int32_t x, int32_t y) {
    platform::Event e;
    e.Kind = kind;
    e.X = x;
    e.Y = y;
    e.Button = 1;
    return e;
  };
  EXPECT_TRUE(answeredBy({key(vk::Return)}));
  EXPECT_TRUE(answeredBy({key(vk::Space)}));
  EXPECT_TRUE(answeredBy({key(vk::Escape)}));
  EXPECT_FALSE(answeredBy({key('A'), key(vk::Tab)}));
  TMessageBoxLayer probe("Starvelkhorn", "Nemáte žádné letadlo, nemůžete letět misi!", false);
  probe.Layout(1024, 768);
  const int32_t bx = probe.ButtonX() + 10, by = probe.ButtonY() + 10;
  using K = platform::EventKind;
  EXPECT_TRUE(answeredBy({mouse(K::MouseDown, bx, by), mouse(K::MouseUp, bx, by)}));
  // Pressed elsewhere and released on the button, or pressed on it and dragged off: no.
  EXPECT_FALSE(answeredBy({mouse(K::MouseDown, 5, 5), mouse(K::MouseUp, bx, by)}));
  EXPECT_FALSE(answeredBy({mouse(K::MouseDown, bx, by), mouse(K::MouseUp, 5, 5)}));
  // The Enter that opened the box, still held, repeats: that is no answer.
  platform::Event repeat = key(vk::Return);
  repeat.Repeat = true;
  EXPECT_FALSE(answeredBy({repeat, repeat}));
  // A gamepad's first button answers; its other events stop at the box.
  auto pad = [](K kind, platform::PadButton b) {
    platform::Event e;
    e.Kind = kind;
    e.Pad = b;
    return e;
  };
  EXPECT_FALSE(answeredBy(
      {pad(K::PadDown, platform::PadButton::Down), pad(K::PadUp, platform::PadButton::Down)}));
  EXPECT_TRUE(answeredBy({pad(K::PadDown, platform::PadButton::Accept)}));
}

TEST(MessageBox, ASmallWindowGrowsForTheBoxAndShrinksBack) {
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  TApplication app{backend, media.Window};
  media.Window.SetBounds(158, 95, 141, 100);
  int32_t seenWidth = 0;
  backend.SetMessageScript(
      [&](platform::HeadlessBackend& b, const auto&) { seenWidth = b.Picture().Width; });
  app.ShowMessage("Cannot open file res/other/Starvelkhorn_intro.jpg");
  EXPECT_GT(seenWidth, 300);
  EXPECT_EQ(media.Window.ClientWidth(), 141);
  EXPECT_EQ(backend.Window().Width, 141);
}

// The start-up window is given by its outer size: the client area is what the window manager's
// frame leaves of it. A real window manager reports the frame only once the window is mapped,
// maybe while a message box has grown the window; the outer size holds either way. A window
// given by its client area keeps that area whatever the frame.
TEST(MessageBox, AWindowGivenByItsOuterSizeKeepsItAsTheFrameBecomesKnown) {
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  TApplication app{backend, media.Window};
  media.Window.SetOuterBounds(158, 95, 141, 127);
  media.Window.Show();
  EXPECT_EQ(backend.Window().Width, 141);  // no frame is known yet
  backend.SetWindowFrame({1, 20, 1, 1});
  app.ProcessMessages();
  EXPECT_EQ(backend.Window().X, 158);
  EXPECT_EQ(backend.Window().Y, 95);
  EXPECT_EQ(backend.Window().Width, 139);
  EXPECT_EQ(backend.Window().Height, 106);
  EXPECT_EQ(media.Window.ClientWidth(), 139);
  EXPECT_EQ(media.Window.ClientHeight(), 106);

  backend.SetMessageScript([&](platform::HeadlessBackend& b, const auto&) {
    b.SetWindowFrame({4, 30, 4, 4});
    b.PushKeyPress(vk::Return);
  });
  app.ShowMessage("Cannot open file res/other/hangar.jpg");
  EXPECT_EQ(backend.Window().Width, 133);
  EXPECT_EQ(backend.Window().Height, 93);
  EXPECT_EQ(media.Window.ClientHeight(), 93);
  EXPECT_EQ(backend.Window().Y, 95);

  media.Window.SetBounds(0, 0, 1024, 768);
  backend.SetWindowFrame({1, 20, 1, 1});
  app.ProcessMessages();
  EXPECT_EQ(backend.Window().Width, 1024);
  EXPECT_EQ(backend.Window().Height, 768);
  EXPECT_EQ(backend.Window().X, 0);
  EXPECT_EQ(backend.Window().Y, 0);
}

}  // namespace
