#include "base/asset_catalog.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

TEST(AssetCatalog, StartupItemsOfOneListAreContiguousFromTheFormItems) {
  // Items the form defines come first; the loader appends the rest in index order.
  std::map<catalog::ImageList, int> next = {{catalog::ImageList::EffectPictures, 2}};
  for (const auto& p : catalog::kStartupPictures) {
    int expected = next.count(p.List) ? next[p.List] : 0;
    EXPECT_EQ(p.Index, expected) << p.Path;
    next[p.List] = p.Index + 1;
  }
}

TEST(AssetCatalog, EveryPathIsUniqueAndRelative) {
  std::set<std::string> seen;
  for (const auto& p : catalog::kStartupPictures) EXPECT_TRUE(seen.insert(p.Path).second) << p.Path;
  for (const auto& s : catalog::kStartupSounds) EXPECT_TRUE(seen.insert(s.Path).second) << s.Path;
  for (const auto& a : catalog::kAircraft) EXPECT_TRUE(seen.insert(a.Sprite).second) << a.Sprite;
  for (const auto& b : catalog::kBosses) EXPECT_TRUE(seen.insert(b.Path).second) << b.Path;
  for (const auto& path : seen) EXPECT_NE(path.front(), '/') << path;
  EXPECT_EQ(catalog::LevelMapPath(3), "levels/level03.mat");
  EXPECT_EQ(catalog::LevelSchedulePath(5), "levels/level05.ene");
  EXPECT_STREQ(catalog::TerrainFor(4), "res/terrain/snow.jpg");
}

}  // namespace
