// The whole program as it runs before its screens exist, on the headless backend with the
// generated content: the timers drive ticks and frames at their rates, Esc pauses in the
// tick that sees it, and answering the box resumes.
#include "shell/quick_flight.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/tick.h"
#include "flyers/aircraft.h"
#include "platform/headless/headless_backend.h"

namespace {

// The program on the headless backend, started in the generated content tree.
struct QuickFlightTest : ::testing::Test {
  struct InDataDir {
    InDataDir() : previous(std::filesystem::current_path()) {
      std::filesystem::current_path(SK_DATA_DIR);
    }
    ~InDataDir() { std::filesystem::current_path(previous); }
    std::filesystem::path previous;
  };
  InDataDir dir;
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  TApplication app{backend, media.Window};
  TQuickFlight flight{media, app, 5};
  World& w = flight.GameWorld();
  void SetUp() override { flight.Start(false); }
};

TEST_F(QuickFlightTest, TimersRunTicksAtOneHundredASecondAndFramesAtTheRefreshRate) {
  ASSERT_TRUE(media.DXDraw1.Initialized());
  ASSERT_NE(flight.GameWorld().Player, nullptr);
  const int64_t presents = backend.PresentCount();
  app.RunFor(1600);
  // 1.6 s: 160 ticks, ten 16-tick steps; about 96 frames at 60 Hz.
  EXPECT_EQ(w.StepClock, 10);
  EXPECT_NEAR(static_cast<double>(backend.PresentCount() - presents), 96.0, 3.0);
  EXPECT_TRUE(backend.Messages().empty());
  EXPECT_FALSE(backend.Window().CursorVisible);
}

TEST_F(QuickFlightTest, EscPausesUntilTheBoxIsAnsweredThenTheMissionGoesOn) {
  app.RunFor(200);
  int64_t clockAtPause = -1;
  backend.SetMessageScript([&](platform::HeadlessBackend& b, const auto&) {
    clockAtPause = w.StepClock;
    b.SetKey(platform::vk::Escape, false);
    b.AdvanceMillis(5000);  // the player takes a while; the game stands still meanwhile
  });
  backend.SetKey(platform::vk::Escape, true);
  app.RunFor(100);
  ASSERT_EQ(backend.Messages().size(), 1u);
  EXPECT_EQ(backend.Messages()[0].Text, "PAUZA");
  EXPECT_EQ(w.StepClock, clockAtPause);
  app.RunFor(1000);
  EXPECT_GE(w.StepClock, clockAtPause + 5);  // running again after the answer
  EXPECT_FALSE(w.State.GameOver);
}

TEST_F(QuickFlightTest, BeingShotDownStartsTheCampaignOver) {
  app.RunFor(300);
  // A shell parked in the aircraft's body strikes it in the next tick.
  w.Player->Health = 1;
  w.ShellList.Push(std::make_unique<TShell>(w, w.Player->X + 80, w.Player->Y + 60, 0, 0, 5));
  app.RunFor(100);
  ASSERT_EQ(backend.Messages().size(), 1u);
  EXPECT_EQ(backend.Messages()[0].Text, "Byl jste sestřelen/a..... Hra pro Vás konči.");
  ASSERT_NE(w.Player, nullptr);
  EXPECT_EQ(w.Player->Health, w.Player->MaxHealth);
  EXPECT_FALSE(w.State.GameOver);
  EXPECT_EQ(w.State.Mission, 0);
}

}  // namespace
