// The headless picture of a whole frame, saved as PNG and checked pixel by pixel.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/headless/headless_backend.h"
#include "platform/png.h"
#include "test_scene.h"

namespace {

TEST(Scene, TheHeadlessPictureOfAFrameIsExact) {
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  media.DXDraw1.Initialize();
  test_scene::Draw(media);
  media.DXDraw1.Flip();
  const std::string path = std::string(SK_BINARY_DIR) + "/scene-headless.png";
  ASSERT_TRUE(backend.SavePng(path));
  platform::PngPicture png;
  ASSERT_TRUE(platform::ReadPng(path, png));
  ASSERT_EQ(png.Width, 1024);
  ASSERT_EQ(png.Height, 768);
  auto at = [&](int32_t x, int32_t y) { return png.Pixels[static_cast<size_t>(y) * 1024 + x]; };

  auto tileAt = [](int32_t x, int32_t y) {
    const int cell = (y / 32) * 32 + x / 32;
    return test_scene::TilePixel((cell * 5 + cell / 32) % 8, x % 32, y % 32);
  };
  // Tiles between two rows of sprites (y 607..621) show exactly.
  for (int y = 608; y < 621; y += 3) {
    for (int x = 0; x < 1024; x += 13) {
      if (x >= 690 && x < 730) continue;  // the explosion
      EXPECT_EQ(at(x, y), tileAt(x, y)) << x << "," << y;
    }
  }
  // Sprite 21 at (33, 69): its body, its ring, and the tile showing through its key.
  EXPECT_EQ(at(33 + 32, 69 + 32), test_scene::kSpriteBody);
  EXPECT_EQ(at(33 + 32, 69 + 6), test_scene::kSpriteRing);
  EXPECT_EQ(at(33, 69), tileAt(33, 69));
  // Sprite 0 at (-20, -10) is clipped: its body's right part shows in the corner.
  EXPECT_EQ(at(10, 20), test_scene::kSpriteBody);
  // The text: green letters on the dark band.
  int green = 0;
  for (int y = test_scene::kTextY; y < test_scene::kTextY + 19; ++y) {
    for (int x = test_scene::kTextX; x < test_scene::kTextX + 200; ++x)
      green += at(x, y) == 0x008000;
  }
  EXPECT_GT(green, 60);
  EXPECT_EQ(at(test_scene::kTextX - 1, test_scene::kTextY + 8), 0u);
  EXPECT_EQ(at(test_scene::kTextX - 10, test_scene::kTextY - 6), 0u);  // the band's pen
  // The small explosion's key left the tile under its corner alone.
  EXPECT_EQ(at(700, 615), tileAt(700, 615));
  EXPECT_NE(at(708, 608), tileAt(708, 608));  // and its fireball covers the middle
}

}  // namespace
