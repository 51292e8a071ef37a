// Walks the whole generated tree against the asset catalog: every file exists under its exact
// name, decodes with the decoder its extension names, has its item's size and pattern grid, is
// keyed where the game keys it, and the levels are well-formed missions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include <unistd.h>

#include "base/asset_catalog.h"
#include "content_files.h"
#include "hull_shapes.h"

namespace fs = std::filesystem;
using namespace content_test;

namespace {

const fs::path kData = SK_DATA_DIR;

int Patterns(const Picture& p, int pw, int ph) {
  if (pw == 0 || (pw == p.w && ph == p.h)) return 1;
  return (p.w / pw) * (p.h / ph);
}

// The background of a sprite cell: its four corners are the key.
void ExpectKeyedCorners(const Picture& p, int x0, int y0, int w, int h, Pixel key,
                        const std::string& what) {
  for (auto [x, y] :
       {std::pair{x0, y0}, {x0 + w - 1, y0}, {x0, y0 + h - 1}, {x0 + w - 1, y0 + h - 1}})
    EXPECT_EQ(p.At(x, y), key) << what << " corner (" << x << "," << y << ")";
}

TEST(ContentCatalog, EveryStartupPictureMatchesItsItem) {
  for (const auto& item : catalog::kStartupPictures) {
    SCOPED_TRACE(item.Path);
    Picture p = LoadPicture(kData / item.Path);
    ASSERT_GT(p.w, 0);
    int n = Patterns(p, item.PatternWidth, item.PatternHeight);
    EXPECT_GE(n, item.MinPatterns);
    if (item.PatternWidth > 0) {
      EXPECT_EQ(p.w % item.PatternWidth, 0) << "no partial cells";
      EXPECT_EQ(p.h % item.PatternHeight, 0);
    }
    if (!item.Transparent) continue;
    Pixel key = KeyPixel(item.Key);
    size_t keyed = size_t(std::count(p.px.begin(), p.px.end(), key));
    EXPECT_GT(keyed, 0u) << "a keyed picture shows its key somewhere";
    EXPECT_LT(keyed, p.px.size()) << "and something else too";
  }
}

TEST(ContentCatalog, SpriteCellsStandOnTheirKey) {
  // Enemies, effects, projectiles and bonuses: every drawn cell has a keyed background.
  for (const auto& item : catalog::kStartupPictures) {
    if (!item.Transparent || item.List == catalog::ImageList::DXMenuImageList) continue;
    SCOPED_TRACE(item.Path);
    Picture p = LoadPicture(kData / item.Path);
    int pw = item.PatternWidth ? item.PatternWidth : p.w,
        ph = item.PatternHeight ? item.PatternHeight : p.h;
    // beams fill their narrow cells edge to edge in the middle, but their ends are rounded
    for (int i = 0; i < item.MinPatterns; ++i)
      ExpectKeyedCorners(p, (i % (p.w / pw)) * pw, (i / (p.w / pw)) * ph, pw, ph,
                         KeyPixel(item.Key), "pattern " + std::to_string(i));
  }
}

TEST(ContentCatalog, CraftAreTheirExactSizeAndSolidWhereTheyCanBeHit) {
  for (int k = 0; k < 9; ++k) {
    const auto& item = catalog::kStartupPictures[size_t(10 + k)];
    SCOPED_TRACE(item.Path);
    Picture p = LoadPicture(kData / item.Path);
    EXPECT_EQ(p.w, catalog::kEnemySizes[size_t(k)].Width);
    EXPECT_EQ(p.h, catalog::kEnemySizes[size_t(k)].Height);
    for (const auto& s : gen::EnemyShapes()[size_t(k)]) {
      int x = s.circle ? s.a : s.a + s.c / 2, y = s.circle ? s.b : s.b + s.d / 2;
      if (x < 0 || y < 0 || x >= p.w || y >= p.h) continue;
      EXPECT_NE(p.At(x, y), KeyPixel(catalog::kYellow))
          << "hit shape centre (" << x << "," << y << ")";
    }
  }
  for (int k = 0; k < 6; ++k) {
    const auto& b = catalog::kBosses[size_t(k)];
    SCOPED_TRACE(b.Path);
    Picture p = LoadPicture(kData / b.Path);
    EXPECT_EQ(p.w, b.Width);
    EXPECT_EQ(p.h, b.Height);
    ExpectKeyedCorners(p, 0, 0, p.w, p.h, KeyPixel(catalog::kBossKey), "boss");
    for (const auto& s : gen::BossShapes()[size_t(k)]) {
      int x = s.circle ? s.a : s.a + s.c / 2, y = s.circle ? s.b : s.b + s.d / 2;
      EXPECT_NE(p.At(x, y), KeyPixel(catalog::kBossKey))
          << "hit shape centre (" << x << "," << y << ")";
    }
  }
}

TEST(ContentCatalog, AircraftHaveElevenFramesOnTheirKey) {
  for (int k = 0; k < 4; ++k) {
    const auto& a = catalog::kAircraft[size_t(k)];
    SCOPED_TRACE(a.Sprite);
    Picture p = LoadPicture(kData / a.Sprite);
    EXPECT_EQ(p.h % catalog::kAircraftFrameHeight, 0);
    ASSERT_GE(Patterns(p, catalog::kAircraftFrameWidth, catalog::kAircraftFrameHeight),
              catalog::kAircraftFrames);
    for (int f = 0; f < catalog::kAircraftFrames; ++f) {
      ExpectKeyedCorners(p, f * 160, 0, 160, 120, KeyPixel(a.Key), "frame " + std::to_string(f));
      // the fuselage is solid at the sprite's centre line in level flight and every bank
      EXPECT_NE(p.At(f * 160 + 78, 70), KeyPixel(a.Key)) << "frame " << f;
    }
  }
}

// The status bar as the game paints it: the bar at (percent, 8), the frame over it. In the
// frame's health window exactly `percent` columns show the bar's lit part.
TEST(ContentCatalog, StatusBarShowsHealthInProportion) {
  Picture frame = LoadPicture(kData / "res/other/statusbar.bmp");
  Picture bar = LoadPicture(kData / "res/other/statusbarB.jpg");
  const Pixel green = KeyPixel(catalog::kBrightGreen), black{0, 0, 0};
  // the windows for the weapon icon and the ready lamp are exactly where the game draws them
  for (int y = 64; y < 84; ++y)
    for (int x = 559; x < 647; ++x) {
      if (x >= 621 && x < 627) continue;  // the strip between the two windows
      EXPECT_EQ(frame.At(x, y), green) << x << "," << y;
    }
  // the credits are written on a dark panel
  EXPECT_LT(frame.At(960, 16).g, 60);
  EXPECT_NE(frame.At(960, 16), green);
  for (int percent : {0, 1, 37, 50, 99, 100}) {
    int lit = 0, dark = 0;
    // every column the bar can ever cover; beyond them the game shows through
    for (int x = 0; x < 100 + bar.w; ++x) {
      int y = 16;  // a row through the window
      if (!(frame.At(x, y) == green)) continue;
      int bx = x - percent, by = y - 8;
      ASSERT_TRUE(bx >= 0 && bx < bar.w && by < bar.h) << "the window shows past the bar";
      Pixel c = bar.At(bx, by);
      ASSERT_FALSE(c == black) << "a keyed bar pixel shows in the window";
      (c.g > c.r ? lit : dark)++;
    }
    EXPECT_EQ(lit, percent);
    EXPECT_EQ(lit + dark, 100);
  }
}

TEST(ContentCatalog, SoundsArePlainPcmWithoutClicks) {
  std::vector<std::string> oneShots, loops;
  for (const auto& s : catalog::kStartupSounds) oneShots.push_back(s.Path);
  for (const auto& a : catalog::kAircraft) loops.push_back(a.Engine);
  auto check = [](const std::string& path) {
    Wave w = LoadWave(kData / path);
    EXPECT_EQ(w.format, 1) << path;
    EXPECT_EQ(w.bits, 16) << path;
    EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << path;
    EXPECT_GT(w.samples.size(), 1000u) << path;
    return w;
  };
  for (const auto& p : oneShots) {
    Wave w = check(p);
    if (w.samples.empty()) continue;
    EXPECT_LT(std::abs(w.samples.front()), 300) << p << " starts at silence";
    EXPECT_LT(std::abs(w.samples.back()), 300) << p << " ends at silence";
  }
  for (const auto& p : loops) {
    Wave w = check(p);
    if (w.samples.size() < 2) continue;
    // the jump from the last sample back to the first is no bigger than a usual step
    double steps = 0;
    for (size_t i = 1; i < w.samples.size(); ++i)
      steps += std::abs(w.samples[i] - w.samples[i - 1]);
    double typical = steps / double(w.samples.size() - 1);
    EXPECT_LT(std::abs(w.samples.front() - w.samples.back()), 4 * typical + 50) << p;
  }
}

int64_t I64(const std::vector<uint8_t>& b, size_t at) {
  int64_t v;
  std::memcpy(&v, &b[at], 8);
  return v;
}
int32_t I32(const std::vector<uint8_t>& b, size_t at) {
  int32_t v;
  std::memcpy(&v, &b[at], 4);
  return v;
}

TEST(ContentCatalog, LevelsAreCompleteMissions) {
  for (int m = 0; m < catalog::kMissions; ++m) {
    SCOPED_TRACE("mission " + std::to_string(m));
    auto map = ReadBytes(kData / catalog::LevelMapPath(m));
    ASSERT_EQ(map.size(), 262144u);
    Picture sheet = LoadPicture(kData / catalog::TerrainFor(m));
    int tiles = (sheet.w / catalog::kTileSize) * (sheet.h / catalog::kTileSize);
    EXPECT_LT(int(*std::max_element(map.begin(), map.end())), tiles) << "every code has a tile";
    std::set<uint8_t> used(map.begin(), map.end());
    EXPECT_GT(used.size(), 40u) << "a landscape, not a pattern";

    auto ene = ReadBytes(kData / catalog::LevelSchedulePath(m));
    ASSERT_EQ(ene.size() % 24, 0u);
    ASSERT_GT(ene.size(), 24u * 20);
    int64_t last = 0;
    int bosses = 0;
    std::set<int> kinds;
    for (size_t at = 0; at < ene.size(); at += 24) {
      int64_t time = I64(ene, at + 16);
      EXPECT_GE(time, last) << "row " << at / 24;
      last = time;
      int32_t kind = I32(ene, at + 8), x = I32(ene, at), y = I32(ene, at + 4);
      if (kind == -1) {
        ++bosses;
        EXPECT_EQ(ene[at + 12], m) << "boss kind m ends mission m";
        EXPECT_EQ(at + 24, ene.size()) << "the boss comes last";
        double minutes = double(time) * 16 / 100 / 60;
        EXPECT_GE(minutes, 3.0);
        EXPECT_LE(minutes, 6.0);
      } else {
        ASSERT_GE(kind, 0);
        ASSERT_LE(kind, 8);
        kinds.insert(kind);
        // starts inside the play area, so its first move does not remove it
        int startY = kind == 4 ? y - 50 : y;
        EXPECT_GE(startY, -101);
        EXPECT_GE(x, -100);
        EXPECT_LE(x, 1200);
      }
    }
    EXPECT_EQ(bosses, 1);
    EXPECT_GE(kinds.size(), size_t(std::min(3 + m, 9))) << "new kinds come mission by mission";
  }
}

// Neighbouring tiles as the maps place them join without a visible edge: the colour step across
// a tile border is no larger than the steps inside tiles.
TEST(ContentCatalog, TerrainJoinsWithoutSeams) {
  for (int m = 0; m < 3; ++m) {
    SCOPED_TRACE("mission " + std::to_string(m));
    auto map = ReadBytes(kData / catalog::LevelMapPath(m));
    Picture sheet = LoadPicture(kData / catalog::TerrainFor(m));
    int cols = sheet.w / 32;
    auto px = [&](int tile, int x, int y) {
      return sheet.At((tile % cols) * 32 + x, (tile / cols) * 32 + y);
    };
    auto diff = [](Pixel a, Pixel b) {
      return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    };
    double seam = 0, inside = 0;
    long n = 0;
    for (int r = 0; r < 2400; ++r)
      for (int c = 0; c + 1 < 32; ++c) {
        int t = map[size_t(c) * 8192 + size_t(r)];
        int above = map[size_t(c) * 8192 + size_t(r + 1)];
        int right = map[size_t(c + 1) * 8192 + size_t(r)];
        for (int i = 0; i < 32; i += 4) {
          seam += diff(px(t, i, 0), px(above, i, 31)) + diff(px(t, 31, i), px(right, 0, i));
          inside += diff(px(t, i, 0), px(t, i, 1)) + diff(px(t, 30, i), px(t, 31, i));
          ++n;
        }
      }
    EXPECT_LT(seam / double(n), 1.6 * inside / double(n) + 4);
  }
}

// The generator makes the same bytes from the same sources.
TEST(ContentCatalog, GenerationIsDeterministic) {
  fs::path again = fs::temp_directory_path() / ("sk_content_again_" + std::to_string(::getpid()));
  std::string cmd = std::string("ASAN_OPTIONS=detect_leaks=0 '") + SK_CONTENTGEN + "' --content '" +
                    SK_SOURCE_DIR + "/content' --out '" + again.string() + "' > /dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator(again)) {
    if (!e.is_regular_file()) continue;
    fs::path rel = fs::relative(e.path(), again);
    EXPECT_EQ(ReadBytes(e.path()), ReadBytes(kData / rel)) << rel;
    ++files;
  }
  EXPECT_GT(files, 60);
  fs::remove_all(again);
}

}  // namespace
