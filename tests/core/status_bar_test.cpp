// The status bar on the back buffer, with pictures made so that each part is told apart by
// its colour: the frame is all key colour but for a marker, so what lies under it shows.
#include "core/status_bar.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "flyers/aircraft.h"
#include "presentation/form_components.h"
#include "shell/asset_loader.h"
#include "support/content_files.h"
#include "support/temp_dir.h"
#include "support/test_world.h"

namespace {

using testcontent::Image;

constexpr uint32_t kBar = 0x2040C0;
constexpr uint32_t kReady = 0x00C000;
constexpr uint32_t kNotReady = 0x0000C0;
constexpr uint32_t kMarker = 0xC0C0C0;

uint32_t IconColour(int i) {
  return static_cast<uint32_t>(0x202020 + 0x18 * i);  // red rises with the icon
}

struct StatusBarTest : ::testing::Test {
  ScopedTempDir dir;
  std::unique_ptr<TestWorld> t;
  TAircraft* aircraft = nullptr;

  void SetUp() override {
    testcontent::WriteMinimalContent();
    Image frame(1024, 90, catalog::kBrightGreen);
    frame.FillRect(700, 0, 10, 5, kMarker);
    testcontent::WriteBmp("res/other/statusbar.bmp", frame);
    testcontent::WriteJpeg("res/other/statusbarB.jpg", Image(200, 30, kBar));
    Image lamps(40, 20, kReady);
    lamps.FillRect(20, 0, 20, 20, kNotReady);
    testcontent::WriteJpeg("res/other/statusbarC.jpg", lamps);
    Image icons(62 * 5, 40, 0);
    for (int i = 0; i < 10; ++i) icons.FillRect(62 * (i % 5), 20 * (i / 5), 62, 20, IconColour(i));
    testcontent::WriteJpeg("res/other/weaponlist.jpg", icons);

    t = std::make_unique<TestWorld>();
    LoadAssets(t->media);
    t->media.DXDraw1.Initialize();
    t->world.SetPlayer(MakeAircraft(t->world, akF16, 500, 650));
    aircraft = t->world.Player;
    auto& canvas = t->media.DXDraw1.Surface().Canvas();
    canvas.Brush.SetColor(clBlack);
    canvas.Brush.SetStyle(TBrushStyle::bsClear);
    canvas.Font.Size = 12;
    canvas.Font.Color = clGreen;
  }

  uint32_t At(int x, int y) { return PixelToColor(t->media.DXDraw1.Surface().PixelAt(x, y)); }
  // JPEG colours come back within a few steps of what was written.
  static bool Near(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
      if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 12) return false;
    }
    return true;
  }
  // The leftmost column of the health bar in its row.
  int BarLeft() {
    for (int x = 0; x < 300; ++x) {
      if (Near(At(x, 20), kBar)) return x;
    }
    return -1;
  }
  void Draw() {
    t->media.DXDraw1.Surface().Fill(0);
    DrawStatusBar(t->world);
  }
};

TEST_F(StatusBarTest, TheHealthBarSlidesByTheRoundedPercentage) {
  struct Case {
    int32_t health;
    int left;
  };
  // The F16 has 5000: 25 is 0.5 percent (to the even 0), 75 is 1.5 (to 2).
  for (const Case& c : {Case{5000, 100}, Case{2500, 50}, Case{2490, 50}, Case{0, 0}, Case{25, 0},
                        Case{75, 2}, Case{-500, -10}}) {
    aircraft->Health = c.health;
    Draw();
    EXPECT_EQ(BarLeft(), std::max(c.left, 0)) << c.health;
  }
  EXPECT_EQ(At(705, 2), kMarker);  // the frame goes over everything
}

TEST_F(StatusBarTest, ShowsTheSelectedWeaponWithItsLampOrTheEmptySlot) {
  Draw();  // nothing mounted: the empty-slot icon and the dark lamp
  EXPECT_TRUE(Near(At(590, 74), IconColour(9))) << std::hex << At(590, 74);
  EXPECT_TRUE(Near(At(637, 74), kNotReady));

  aircraft->Slots[2] = MakeWeapon(t->world, wkMediumLaser);
  aircraft->CurrentSlot = 2;
  Draw();
  EXPECT_TRUE(Near(At(590, 74), IconColour(3))) << std::hex << At(590, 74);
  EXPECT_TRUE(Near(At(637, 74), kReady));
  aircraft->Slots[2]->Ready = false;
  Draw();
  EXPECT_TRUE(Near(At(637, 74), kNotReady));
}

TEST_F(StatusBarTest, WritesTheCreditsInGreenAtTheRight) {
  auto greenPixels = [&] {
    int n = 0;
    for (int y = 8; y < 30; ++y)
      for (int x = 913; x < 1024; ++x)
        n += (At(x, y) & 0xFF00) > 0x4000 && (At(x, y) & 0xFF) < 0x40;
    return n;
  };
  t->world.State.Credits = 7;
  Draw();
  const int one = greenPixels();
  EXPECT_GT(one, 0);
  t->world.State.Credits = -123456789;
  Draw();
  EXPECT_GT(greenPixels(), 3 * one);  // many more digits and a minus sign
}

}  // namespace
