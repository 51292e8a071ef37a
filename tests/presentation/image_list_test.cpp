// Image lists on the back buffer: the pattern grid, clipping, the colour key and when
// patterns are built, checked pixel by pixel.
#include <gtest/gtest.h>

#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"

namespace {

// A picture whose every pixel tells where it came from (never black, never a key below).
TPicture Coded(int32_t w, int32_t h) {
  TPicture p;
  p.Width = w;
  p.Height = h;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x)
      p.Pixels.push_back(0x800000u | (uint32_t(y) << 8) | uint32_t(x));
  }
  return p;
}
uint32_t CodeOf(int32_t x, int32_t y) {
  return 0x800000u | (uint32_t(y) << 8) | uint32_t(x);
}

struct ImageListTest : ::testing::Test {
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  TDXImageList& list = media.EnemyShipsPictures;
  TDirectDrawSurface& surface = media.DXDraw1.Surface();

  TPictureCollectionItem& AddItem(TPicture picture, int32_t pw = 0, int32_t ph = 0) {
    auto& item = list.Items.Add();
    item.Picture = std::move(picture);
    item.PatternWidth = pw;
    item.PatternHeight = ph;
    return item;
  }
  // How many pixels of the back buffer are not black.
  int CountDrawn() const {
    int n = 0;
    for (int32_t y = 0; y < surface.Height(); ++y) {
      for (int32_t x = 0; x < surface.Width(); ++x) n += surface.PixelAt(x, y) != 0;
    }
    return n;
  }
};

TEST_F(ImageListTest, PatternsAreNumberedRowByRowAndPartialCellsDropped) {
  media.DXDraw1.Initialize();
  auto& grid = AddItem(Coded(256, 128), 64, 64);
  auto& partial = AddItem(Coded(100, 70), 32, 32);
  auto& whole = AddItem(Coded(40, 30));
  auto& tooSmall = AddItem(Coded(20, 20), 32, 32);
  list.Items.Restore();
  ASSERT_EQ(grid.PatternCount(), 8);
  EXPECT_EQ(grid.PatternRect(5).Left, 64);
  EXPECT_EQ(grid.PatternRect(5).Top, 64);
  EXPECT_EQ(grid.PatternRect(5).Width, 64);
  EXPECT_EQ(partial.PatternCount(), 6);  // 3 columns x 2 rows; the rest is dropped
  EXPECT_EQ(partial.PatternRect(4).Left, 32);
  EXPECT_EQ(partial.PatternRect(4).Top, 32);
  EXPECT_EQ(whole.PatternCount(), 1);
  EXPECT_EQ(whole.PatternRect(0).Width, 40);
  EXPECT_EQ(tooSmall.PatternCount(), 0);

  grid.Draw(surface, 10, 20, 5);
  EXPECT_EQ(surface.PixelAt(10, 20), CodeOf(64, 64));
  EXPECT_EQ(surface.PixelAt(73, 83), CodeOf(127, 127));
  surface.Fill(0);
  grid.Draw(surface, 10, 20, 8);
  grid.Draw(surface, 10, 20, -1);
  tooSmall.Draw(surface, 0, 0, 0);
  EXPECT_EQ(CountDrawn(), 0);
}

TEST_F(ImageListTest, ClippingOnEverySideCutsTheSourceEqually) {
  media.DXDraw1.Initialize();
  auto& item = AddItem(Coded(50, 50));
  item.Transparent = false;
  list.Items.Restore();

  // Bottom left: the source's (20, 0)-(50, 28) lands at (0, 740)-(30, 768).
  item.Draw(surface, -20, 740, 0);
  EXPECT_EQ(CountDrawn(), 30 * 28);
  EXPECT_EQ(surface.PixelAt(0, 740), CodeOf(20, 0));
  EXPECT_EQ(surface.PixelAt(29, 767), CodeOf(49, 27));

  surface.Fill(0);
  item.Draw(surface, 1000, -45, 0);  // top right
  EXPECT_EQ(CountDrawn(), 24 * 5);
  EXPECT_EQ(surface.PixelAt(1000, 0), CodeOf(0, 45));
  EXPECT_EQ(surface.PixelAt(1023, 4), CodeOf(23, 49));

  surface.Fill(0);
  for (auto [x, y] : {std::pair{1025, 0},
                      {1024, 10},
                      {0, 768},
                      {-50, 0},
                      {0, -50},
                      {-2000000000, 5},
                      {5, 2000000000}}) {
    item.Draw(surface, x, y, 0);
  }
  EXPECT_EQ(CountDrawn(), 0);
}

TEST_F(ImageListTest, TheKeyIsAnExactColourAndTransparentIsReadAtDraw) {
  media.DXDraw1.Initialize();
  TPicture p;
  p.Width = 4;
  p.Height = 1;
  const uint32_t key = ColorToPixel(0x00FFFF);  // yellow, 0x00BBGGRR
  p.Pixels = {key, key ^ 1u, 0x123456, key};
  auto& item = AddItem(p);
  item.SetTransparentColor(0x00FFFF);
  list.Items.Restore();
  surface.Fill(0x0000FF);  // red
  item.Draw(surface, 0, 0, 0);
  EXPECT_EQ(surface.PixelAt(0, 0), ColorToPixel(0x0000FF));  // skipped
  EXPECT_EQ(surface.PixelAt(1, 0), key ^ 1u);                // one bit off: drawn
  EXPECT_EQ(surface.PixelAt(2, 0), 0x123456u);
  EXPECT_EQ(surface.PixelAt(3, 0), ColorToPixel(0x0000FF));

  item.Transparent = false;  // no Restore needed
  item.Draw(surface, 0, 1, 0);
  EXPECT_EQ(surface.PixelAt(0, 1), key);

  // A new key applies to the existing patterns at once.
  item.Transparent = true;
  item.SetTransparentColor(PixelToColor(0x123456));
  item.Draw(surface, 0, 2, 0);
  EXPECT_EQ(surface.PixelAt(0, 2), key);
  EXPECT_EQ(surface.PixelAt(2, 2), ColorToPixel(0x0000FF));  // now the key: not drawn
}

TEST_F(ImageListTest, RestoreBeforeInitializeBuildsNothingThenInitializeUsesCurrentSettings) {
  auto& item = AddItem(Coded(64, 32), 32, 32);
  list.Items.Restore();
  EXPECT_FALSE(item.Initialized());
  EXPECT_EQ(item.PatternCount(), 0);
  item.PatternWidth = 16;  // changed after the early Restore
  media.DXDraw1.Initialize();
  EXPECT_TRUE(item.Initialized());
  EXPECT_EQ(item.PatternCount(), 4);
  // An item without a picture stays without patterns and draws nothing.
  EXPECT_FALSE(media.BossPicture.Items[0].Initialized());
  media.BossPicture.Items[0].Draw(surface, 0, 0, 0);
  EXPECT_EQ(CountDrawn(), 0);
}

TEST_F(ImageListTest, FlipKeepsTheBackBufferAndPresentsExactlyIt) {
  media.DXDraw1.Flip();  // before Initialize: nothing at all
  EXPECT_EQ(backend.PresentCount(), 0);
  media.DXDraw1.Initialize();
  auto& item = AddItem(Coded(8, 8));
  item.Transparent = false;
  list.Items.Restore();
  item.Draw(surface, 100, 100, 0);
  media.DXDraw1.Flip();
  ASSERT_EQ(backend.PresentCount(), 1);
  EXPECT_EQ(backend.Picture().Width, 1024);
  EXPECT_EQ(backend.PixelAt(100, 100), CodeOf(0, 0));
  item.Draw(surface, 200, 200, 0);
  media.DXDraw1.Flip();
  EXPECT_EQ(backend.PixelAt(100, 100), CodeOf(0, 0));  // the earlier sprite is still there
  EXPECT_EQ(backend.PixelAt(207, 207), CodeOf(7, 7));
  EXPECT_EQ(backend.PixelAt(300, 300), 0u);
}

TEST(FormPictures, TheFormsOwnItemsAreBuiltIn) {
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  media.DXDraw1.Initialize();
  auto& shell = media.ShotPictures.Items[0];
  ASSERT_EQ(shell.PatternCount(), 3);
  EXPECT_FALSE(shell.Transparent);
  for (uint32_t p : shell.Picture.Pixels) EXPECT_TRUE(p == 0xC0C0C0 || p == 0);
  EXPECT_EQ(media.EffectPictures.Items[0].PatternCount(), 4);
  auto& blast = media.EffectPictures.Items[1];
  ASSERT_EQ(blast.PatternCount(), 3);
  EXPECT_EQ(blast.TransparentColor(), 0x598B2Du);
  // Each frame: its corners are the key (drawn as nothing), its middle is fire.
  auto& surface = media.DXDraw1.Surface();
  surface.Fill(0);
  for (int f = 0; f < 3; ++f) blast.Draw(surface, 100 + 20 * f, 100, f);
  EXPECT_EQ(surface.PixelAt(100, 100), 0u);
  EXPECT_EQ(surface.PixelAt(140, 115), 0u);
  EXPECT_NE(surface.PixelAt(108, 108), 0u);
  EXPECT_NE(surface.PixelAt(128, 108), 0u);
}

}  // namespace
