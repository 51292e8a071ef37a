#include "shell/asset_loader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/error.h"
#include "presentation/form_components.h"
#include "support/content_files.h"
#include "support/temp_dir.h"
#include "support/test_world.h"

namespace {

TEST(AssetLoader, FillsEveryListInCatalogOrderWithItsPatternsAndKeys) {
  ScopedTempDir dir;
  testcontent::WriteMinimalContent();
  TestWorld t;
  TFormComponents& media = t.media;
  LoadAssets(media);
  LoadSounds(media);

  EXPECT_EQ(media.DXMenuImageList.Items.Count(), 10);
  EXPECT_EQ(media.EnemyShipsPictures.Items.Count(), 9);
  EXPECT_EQ(media.EffectPictures.Items.Count(), 9);
  EXPECT_EQ(media.RocketPictures.Items.Count(), 7);
  // The lists the catalog does not touch keep only their form items.
  EXPECT_EQ(media.HCFlyerPictures.Items.Count(), 1);
  EXPECT_EQ(media.BackgroundPictures.Items.Count(), 1);
  EXPECT_EQ(media.ShotPictures.Items.Count(), 1);
  EXPECT_EQ(media.BossPicture.Items.Count(), 1);

  for (const auto& p : catalog::kStartupPictures) {
    const auto& item = ImageListOf(media, p.List).Items[p.Index];
    EXPECT_EQ(item.PatternWidth, p.PatternWidth) << p.Path;
    EXPECT_EQ(item.PatternHeight, p.PatternHeight) << p.Path;
    EXPECT_EQ(item.Transparent, p.Transparent) << p.Path;
    EXPECT_EQ(item.TransparentColor(), p.Key) << p.Path;
    EXPECT_FALSE(item.Picture.Empty()) << p.Path;
    EXPECT_EQ(item.PatternCount(), 0) << p.Path;  // built when the surface is initialised
  }
  media.DXDraw1.Initialize();
  for (const auto& p : catalog::kStartupPictures) {
    EXPECT_GE(ImageListOf(media, p.List).Items[p.Index].PatternCount(), p.MinPatterns) << p.Path;
  }

  EXPECT_EQ(media.DXWeaponWaveList.Items.Count(), 3);
  EXPECT_EQ(media.DXLaserWaveList.Items.Count(), 1);
  EXPECT_EQ(media.DXExplWaveList.Items.Count(), 2);
  for (const auto& s : catalog::kStartupSounds) {
    EXPECT_FALSE(WaveListOf(media, s.List).Items[s.Index].Wave.Empty()) << s.Path;
  }
}

TEST(AssetLoader, StopsAtAMissingFileNamingItAndAppendsNothingAfterIt) {
  ScopedTempDir dir;
  testcontent::WriteMinimalContent();
  std::filesystem::remove("res/fx/smoke2.bmp");
  TestWorld t;
  try {
    LoadAssets(t.media);
    FAIL() << "loaded without smoke2.bmp";
  } catch (const EGameError& e) {
    EXPECT_NE(std::string(e.what()).find("res/fx/smoke2.bmp"), std::string::npos) << e.what();
  }
  EXPECT_EQ(t.media.DXMenuImageList.Items.Count(), 10);
  EXPECT_EQ(t.media.EnemyShipsPictures.Items.Count(), 9);
  // The failing item was appended before its file was read; nothing follows it.
  EXPECT_EQ(t.media.EffectPictures.Items.Count(), 5);
  EXPECT_TRUE(t.media.EffectPictures.Items[4].Picture.Empty());
  EXPECT_EQ(t.media.RocketPictures.Items.Count(), 0);
}

}  // namespace
