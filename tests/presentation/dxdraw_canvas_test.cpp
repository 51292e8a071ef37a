// The drawing surface's start-up and its canvas: text in points at 96 dpi with Czech
// letters, opaque and clear backgrounds, the brush rule, rectangles.
#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"
#include "presentation/form_components.h"

namespace {

struct CanvasTest : ::testing::Test {
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  TDirectDrawSurface& surface = media.DXDraw1.Surface();
  TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
  void SetUp() override {
    ASSERT_TRUE(platform::TextRasterizer::Shared().Available()) << "no interface font";
    media.DXDraw1.Initialize();
  }
  int Count(uint32_t pixel, int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
    int n = 0;
    for (int32_t y = y0; y < y1; ++y) {
      for (int32_t x = x0; x < x1; ++x) n += surface.PixelAt(x, y) == pixel;
    }
    return n;
  }
};

TEST_F(CanvasTest, FontSizesArePointsAt96Dpi) {
  canvas.Font.Size = 12;
  const int32_t h12 = canvas.TextHeight("Ěj");
  canvas.Font.Size = 30;
  const int32_t h30 = canvas.TextHeight("Ěj");
  // The em is 16 and 40 pixels; the cell adds the font's ascent and descent around it.
  EXPECT_GE(h12, 16);
  EXPECT_LE(h12, 21);
  EXPECT_GE(h30, 40);
  EXPECT_LE(h30, 50);
}

TEST_F(CanvasTest, OpaqueAndClearBackgroundsAndTheBrushRule) {
  surface.Fill(0x0000FF);  // red, 0x00BBGGRR
  canvas.Brush.SetColor(clBlack);
  canvas.Brush.SetStyle(TBrushStyle::bsClear);
  canvas.Font.Size = 12;
  canvas.Font.Color = clGreen;
  const std::string text = "Nemáte dostatek kreditů!";
  canvas.TextOut(100, 100, text);
  const int32_t w = canvas.TextWidth(text);
  const int32_t h = canvas.TextHeight(text);
  ASSERT_GT(w, 100);
  // Clear: the letters in green over red, no black cell.
  EXPECT_EQ(Count(0, 100, 100, 100 + w, 100 + h), 0);
  EXPECT_GT(Count(ColorToPixel(clGreen), 100, 100, 100 + w, 100 + h), 50);
  EXPECT_EQ(surface.PixelAt(99, 100), ColorToPixel(0x0000FF));

  // Setting the colour after the clear style makes the brush solid again: a black cell.
  canvas.Brush.SetColor(clBlack);
  EXPECT_EQ(canvas.Brush.Style(), TBrushStyle::bsSolid);
  canvas.TextOut(100, 300, text);
  const int black = Count(0, 100, 300, 100 + w, 300 + h);
  EXPECT_GT(black, w * h / 2);
  EXPECT_EQ(Count(ColorToPixel(0x0000FF), 100, 300, 100 + w, 300 + h), 0);
  EXPECT_EQ(surface.PixelAt(100 + w, 300), ColorToPixel(0x0000FF));  // the cell ends there

  // Text running off the surface is clipped, not wrapped: off the bottom right corner the
  // cell fills what is left of the surface, and nothing appears at the left or top edges.
  const uint32_t red = ColorToPixel(0x0000FF);
  canvas.TextOut(1000, 760, text);
  EXPECT_EQ(Count(red, 1000, 760, 1024, 768), 0);
  EXPECT_EQ(Count(red, 0, 760, 1000, 768), 1000 * 8);
  EXPECT_EQ(Count(red, 1000, 0, 1024, h), 24 * h);
  // Off the top left corner: the cell's visible part is at the corner, nothing at the right.
  const int32_t left = -w / 2, visible = w + left;
  canvas.TextOut(left, -5, text);
  EXPECT_EQ(Count(red, 0, 0, visible, h - 5), 0);
  EXPECT_EQ(Count(red, visible, 0, 1024, h - 5), (1024 - visible) * (h - 5));
  EXPECT_EQ(Count(red, 0, h - 5, 1024, 100), 1024 * (100 - (h - 5)));
  const int before = Count(red, 0, 0, 1024, 768);
  canvas.TextOut(0, 0, "");  // an empty text draws nothing
  canvas.TextOut(2000, 2000, text);
  canvas.TextOut(-2000, 300, text);
  EXPECT_EQ(Count(red, 0, 0, 1024, 768), before);
}

TEST_F(CanvasTest, RectangleBlanksWithBrushAndOutlinesWithPen) {
  surface.Fill(0xFFFFFF);
  canvas.Brush.SetColor(clBlack);
  canvas.Rectangle(0, 0, 1024, 768);
  EXPECT_EQ(Count(0, 0, 0, 1024, 768), 1024 * 768);
  canvas.Brush.SetColor(0x00FF00);
  canvas.Rectangle(10, 10, 20, 15);  // outline (10,10)-(19,14), inside (11,11)-(18,13)
  EXPECT_EQ(surface.PixelAt(10, 10), 0u);
  EXPECT_EQ(surface.PixelAt(19, 14), 0u);
  EXPECT_EQ(surface.PixelAt(11, 11), ColorToPixel(0x00FF00));
  EXPECT_EQ(surface.PixelAt(20, 12), 0u);
  canvas.Brush.SetStyle(TBrushStyle::bsClear);
  surface.Fill(0xFFFFFF);
  canvas.Rectangle(10, 10, 20, 15);
  EXPECT_EQ(surface.PixelAt(12, 12), ColorToPixel(0xFFFFFF));
}

std::string InitializeError(TFormComponents& media) {
  try {
    media.DXDraw1.Initialize();
  } catch (const EGameError& e) {
    return e.what();
  }
  return "";
}

TEST(DXDraw, InitializeErrorsLeaveTheSurfaceUnusable) {
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  media.DXDraw1.Options |= doFullScreen;
  backend.FailDisplay(platform::DisplayResult::ModeUnavailable);
  EXPECT_EQ(InitializeError(media), "Display mode cannot be changed (1024x768 32bit)");
  EXPECT_FALSE(media.DXDraw1.CanDraw());
  backend.FailDisplay(platform::DisplayResult::PrimarySurfaceFailed);
  EXPECT_EQ(InitializeError(media), "Primary Surface cannot be made");
  backend.FailDisplay(platform::DisplayResult::SurfaceFailed);
  EXPECT_EQ(InitializeError(media), "Surface cannot be made");
  media.DXDraw1.Flip();
  EXPECT_EQ(backend.PresentCount(), 0);

  EXPECT_EQ(InitializeError(media), "");
  EXPECT_TRUE(media.DXDraw1.CanDraw());
  EXPECT_TRUE(backend.Window().Fullscreen);
  media.DXDraw1.Surface().Fill(0xFFFFFF);
  media.DXDraw1.Initialize();  // a second call keeps the surface as it is
  EXPECT_EQ(media.DXDraw1.Surface().PixelAt(5, 5), 0xFFFFFFu);
}

}  // namespace
