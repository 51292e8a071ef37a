// Enemy fire has to read against every ground it flies over: the cannon shell is a fixed
// 2 x 3 light-grey picture and the beams are bright, so a terrain must neither be as bright as
// they are nor strewn with specks of the shell's colour. And every frame an effect shows draws
// something, so an explosion never blinks out a frame early.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/asset_catalog.h"
#include "content_files.h"
#include "presentation/form_pictures.h"

namespace fs = std::filesystem;
using namespace content_test;

namespace {

const fs::path kData = SK_DATA_DIR;

// Brightness as the eye weighs the channels (Rec. 601 luma), 0..255.
double Luma(Pixel p) {
  return 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
}

int DistanceSquared(Pixel a, Pixel b) {
  int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

double MedianLuma(const std::vector<Pixel>& px) {
  std::vector<double> l;
  l.reserve(px.size());
  for (Pixel p : px) l.push_back(Luma(p));
  std::nth_element(l.begin(), l.begin() + std::ptrdiff_t(l.size() / 2), l.end());
  return l[l.size() / 2];
}

// The shell's colour, read from the picture the game draws it with.
Pixel ShellColour() {
  TPicture shell = form_pictures::Shell();
  uint32_t v = shell.Pixels.at(0);  // the straight shell's top left is solid
  return {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

// A pixel the eye takes for the shell at a glance: a light grey, i.e. nearly colourless and
// within the shell's band of brightness. Wider than "near" below: a grey pebble a little
// darker than the shell still looks like one.
bool LooksLikeShell(Pixel p, Pixel shell) {
  int chroma = std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b});
  return chroma <= 40 && std::abs(Luma(p) - Luma(shell)) <= 40;
}

// "Near" the shell: within a Euclidean RGB distance of 40 (of 441 across the cube).
constexpr int kNear = 40;
// At most this share of a sheet's pixels lies near the shell.
constexpr double kMaxNearShare = 0.005;
// The ground's median brightness and the shell's are at least this far apart.
constexpr double kMinBrightnessGap = 48;

TEST(ShotsOnGround, TerrainKeepsClearOfTheShellsColourAndBrightness) {
  const Pixel shell = ShellColour();
  for (const char* path : catalog::kTerrain) {
    SCOPED_TRACE(path);
    Picture sheet = LoadPicture(kData / path);
    ASSERT_FALSE(sheet.px.empty());
    long near = std::count_if(sheet.px.begin(), sheet.px.end(),
                              [&](Pixel p) { return DistanceSquared(p, shell) <= kNear * kNear; });
    double share = double(near) / double(sheet.px.size());
    double gap = std::abs(MedianLuma(sheet.px) - Luma(shell));
    std::printf("%-28s near the shell %.2f %%, median luma %.1f, gap to the shell %.1f\n", path,
                100 * share, MedianLuma(sheet.px), gap);
    EXPECT_LE(share, kMaxNearShare);
    EXPECT_GE(gap, kMinBrightnessGap);
    // No detail of a shell's size (2 x 2 is smaller than its 2 x 3) in a shell's colour.
    int specks = 0;
    for (int y = 0; y + 1 < sheet.h; ++y)
      for (int x = 0; x + 1 < sheet.w; ++x) {
        bool all = LooksLikeShell(sheet.At(x, y), shell) &&
                   LooksLikeShell(sheet.At(x + 1, y), shell) &&
                   LooksLikeShell(sheet.At(x, y + 1), shell) &&
                   LooksLikeShell(sheet.At(x + 1, y + 1), shell);
        if (all && specks++ < 3) ADD_FAILURE() << "a shell-like speck at (" << x << "," << y << ")";
      }
    EXPECT_EQ(specks, 0);
  }
}

// The enemies' beams are light on a darker ground: their drawn pixels are, at the median,
// clearly brighter than the median of every terrain.
TEST(ShotsOnGround, EnemyBeamsAreBrighterThanEveryGround) {
  std::vector<double> grounds;
  for (const char* path : catalog::kTerrain)
    grounds.push_back(MedianLuma(LoadPicture(kData / path).px));
  for (const char* beam : {"res/weapons/lightbeam.bmp", "res/weapons/mediumbeam.bmp"}) {
    SCOPED_TRACE(beam);
    Picture p = LoadPicture(kData / beam);
    std::vector<Pixel> drawn;
    std::copy_if(p.px.begin(), p.px.end(), std::back_inserter(drawn),
                 [](Pixel q) { return !(q == KeyPixel(catalog::kBlack)); });
    ASSERT_FALSE(drawn.empty());
    double light = MedianLuma(drawn);
    for (size_t i = 0; i < grounds.size(); ++i)
      EXPECT_GE(light - grounds[i], kMinBrightnessGap) << catalog::kTerrain[i];
  }
}

// Every frame of an effect sheet draws something: at least 1 % of its cell is off the key.
TEST(ShotsOnGround, NoEffectFrameIsEmpty) {
  for (const auto& item : catalog::kStartupPictures) {
    if (item.List != catalog::ImageList::EffectPictures || item.PatternWidth == 0) continue;
    SCOPED_TRACE(item.Path);
    Picture p = LoadPicture(kData / item.Path);
    const Pixel key = KeyPixel(item.Key);
    int cols = p.w / item.PatternWidth, rows = p.h / item.PatternHeight;
    for (int f = 0; f < cols * rows; ++f) {
      int x0 = (f % cols) * item.PatternWidth, y0 = (f / cols) * item.PatternHeight, drawn = 0;
      for (int y = y0; y < y0 + item.PatternHeight; ++y)
        for (int x = x0; x < x0 + item.PatternWidth; ++x) drawn += !(p.At(x, y) == key);
      EXPECT_GE(drawn * 100, item.PatternWidth * item.PatternHeight) << "frame " << f;
    }
  }
}

}  // namespace
