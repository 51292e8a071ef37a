#include "core/level.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <string>

#include "base/error.h"
#include "base/file_io.h"
#include "support/temp_dir.h"
#include "support/test_world.h"

namespace {

std::vector<uint8_t> Record(int32_t x, int32_t y, int32_t kind, uint8_t variant, int64_t time) {
  std::vector<uint8_t> r(24, 0xAB);  // reserved bytes hold junk: they must be ignored
  fileio::PutU32(r.data(), static_cast<uint32_t>(x));
  fileio::PutU32(r.data() + 4, static_cast<uint32_t>(y));
  fileio::PutU32(r.data() + 8, static_cast<uint32_t>(kind));
  r[12] = variant;
  fileio::PutU64(r.data() + 16, static_cast<uint64_t>(time));
  return r;
}

TEST(LevelFiles, ScheduleRecordsAreReadLittleEndianIgnoringReservedBytes) {
  ScopedTempDir dir;
  auto bytes = Record(-5, -200, -1, 3, 0x100000001LL);
  auto second = Record(400, 7, 256, 1, 9);
  bytes.insert(bytes.end(), second.begin(), second.end());
  dir.Write("s.ene", bytes);
  auto rows = ReadLevelSchedule("s.ene");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].X, -5);
  EXPECT_EQ(rows[0].Y, -200);
  EXPECT_EQ(rows[0].EnemyKind, -1);
  EXPECT_EQ(rows[0].Variant, 3);
  EXPECT_EQ(rows[0].Time, 0x100000001LL);  // all 64 bits
  EXPECT_EQ(rows[1].EnemyKind, 256);
}

TEST(LevelFiles, TheScheduleTableHoldsExactly1048576Rows) {
  ScopedTempDir dir;
  { std::ofstream f("full.ene", std::ios::binary); }
  ASSERT_EQ(truncate("full.ene", 1048576LL * 24), 0);
  EXPECT_EQ(ReadLevelSchedule("full.ene").size(), 1048576u);
  ASSERT_EQ(truncate("full.ene", 1048577LL * 24), 0);
  EXPECT_THROW(ReadLevelSchedule("full.ene"), EInOutError);
}

TEST(LevelFiles, MapBytesBeyondTheBlockAreIgnoredAndAnEmptyScheduleIsFine) {
  ScopedTempDir dir;
  std::vector<uint8_t> map(262144 + 100, 0);
  map[8192 * 3 + 5] = 42;  // column 3, row 5
  dir.Write("m.mat", map);
  dir.Write("e.ene", {});
  auto read = ReadLevelMap("m.mat");
  ASSERT_EQ(read.size(), 262144u);
  TLevel level;
  level.Map = read;
  EXPECT_EQ(level.Tile(3, 5), 42);
  EXPECT_EQ(level.Tile(3, 5 + 8192), 42);  // rows wrap
  EXPECT_TRUE(ReadLevelSchedule("e.ene").empty());
}

// Terrain: tile t is a 32 x 32 square of colour t + 1, so each drawn tile is identifiable.
struct TerrainTest : ::testing::Test {
  TestWorld t;
  World& w = t.world;
  void SetUp() override {
    TPicture sheet;
    sheet.Width = 32 * 16;
    sheet.Height = 32 * 16;
    sheet.Pixels.resize(static_cast<size_t>(sheet.Width) * sheet.Height);
    for (int y = 0; y < sheet.Height; ++y)
      for (int x = 0; x < sheet.Width; ++x)
        sheet.Pixels[static_cast<size_t>(y) * sheet.Width + x] =
            static_cast<uint32_t>((y / 32) * 16 + (x / 32) + 1);
    auto& item = w.Media.BackgroundPictures.Items[0];
    item.Picture = sheet;
    w.Media.DXDraw1.Initialize();
    // Map row r of every column holds tile r mod 200.
    for (int c = 0; c < 32; ++c)
      for (int r = 0; r < 8192; ++r) w.Level.Map[static_cast<size_t>(c) * 8192 + r] = r % 200;
    w.Level.Map[0] = 250;  // column 0, row 0: marks the wrap
  }
  uint32_t TileAt(int x, int y) { return w.Media.DXDraw1.Surface().PixelAt(x, y) - 1; }
};

TEST_F(TerrainTest, MissionStartShowsRowsOneToTwentyFiveFromTheBottom) {
  int32_t ticks = 0;
  DrawTerrain(w, ticks);
  EXPECT_EQ(TileAt(0, 767), 1u);  // bottom row: map row 1
  EXPECT_EQ(TileAt(0, 736), 1u);
  EXPECT_EQ(TileAt(0, 735), 2u);
  EXPECT_EQ(TileAt(1000, 0), 24u);  // top full row: map row 24
  EXPECT_EQ(w.Level.ScrollRow, 0);
}

TEST_F(TerrainTest, OffsetAndAdvanceAtFifteenSixteenAndTwentyTicks) {
  int32_t ticks = 15;
  DrawTerrain(w, ticks);  // offset 30, no advance
  EXPECT_EQ(ticks, 15);
  EXPECT_EQ(w.Level.ScrollRow, 0);
  EXPECT_EQ(TileAt(0, 0), 25u);  // row 25 has slid 30 pixels into view
  EXPECT_EQ(TileAt(0, 30), 24u);

  ticks = 16;
  DrawTerrain(w, ticks);  // offset 32: row 25 fills the top row exactly, then advance
  EXPECT_EQ(TileAt(0, 0), 25u);
  EXPECT_EQ(TileAt(0, 31), 25u);
  EXPECT_EQ(TileAt(0, 32), 24u);
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(w.Level.ScrollRow, 1);

  ticks = 0;
  DrawTerrain(w, ticks);  // the same picture at offset 0 after the advance
  EXPECT_EQ(TileAt(0, 0), 25u);
  EXPECT_EQ(TileAt(0, 32), 24u);

  ticks = 20;
  DrawTerrain(w, ticks);  // one row only; the extra ticks are dropped
  EXPECT_EQ(w.Level.ScrollRow, 2);
  EXPECT_EQ(ticks, 0);
}

TEST_F(TerrainTest, TheMapWrapsAfterRow8191) {
  w.Level.ScrollRow = 8191;
  int32_t ticks = 0;
  DrawTerrain(w, ticks);
  EXPECT_EQ(TileAt(0, 767), 250u);  // map row 0 at the bottom, in column 0
  EXPECT_EQ(TileAt(40, 767), 0u);   // row 0 of the other columns
  EXPECT_EQ(TileAt(0, 735), 1u);    // row 1 above it
  EXPECT_EQ(TileAt(0, 0), 23u);     // the top full row; row 24 waits just above
  ticks = 16;
  DrawTerrain(w, ticks);
  EXPECT_EQ(w.Level.ScrollRow, 0);
}

// A 60 Hz display: frame n at n x 100 / 60 ticks. Each frame must move the terrain 3 or 4
// pixels (200 px/s over 60 frames), through row changes and the map's wrap, and the picture
// must show the place DrawTerrain reports.
TEST_F(TerrainTest, SmoothScrollStepsThreeOrFourPixelsAFrameAt60HzThroughRowsAndTheWrap) {
  w.Level.ScrollRow = 8180;
  int32_t ticks = 0;
  int64_t ticksRun = 0;
  int64_t last = -1;
  TTerrainPlace p;
  for (int frame = 1; frame <= 600; ++frame) {  // 10 s
    const double due = frame * 100.0 / 60.0;
    while (static_cast<double>(ticksRun + 1) <= due) {
      ++ticksRun;
      ++ticks;  // as the tick scrolls it
      w.TerrainMoved = true;
    }
    p = DrawTerrain(w, ticks, {true, due - static_cast<double>(ticksRun)});
    ASSERT_GE(p.Offset, 0);
    ASSERT_LT(p.Offset, 32);
    auto tile = [](int64_t row) { return static_cast<uint32_t>(row % 8192 % 200); };
    ASSERT_EQ(TileAt(40, 736 + p.Offset), tile(p.Row + 1)) << frame;
    ASSERT_EQ(TileAt(40, 735 + p.Offset), tile(p.Row + 2)) << frame;
    const int64_t place = p.Row * 32 + p.Offset;
    if (last >= 0) {
      const int64_t step = (place - last + 8192 * 32) % (8192 * 32);
      ASSERT_TRUE(step == 3 || step == 4) << "frame " << frame << " stepped " << step;
    }
    last = place;
  }
  // 1000 ticks, the last just due: the terrain stands where 999 ticks took it, 1998 pixels
  // on from row 8180, past the wrap: row 50 and 14 pixels. No tick was dropped.
  EXPECT_EQ(p.Row, 50);
  EXPECT_EQ(p.Offset, 14);
}

}  // namespace
