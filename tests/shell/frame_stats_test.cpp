// What --frame-stats reports: intervals within a stretch of flight only, their median and
// 99th percentile, and the frames that showed the terrain where the frame before did.
#include "shell/frame_stats.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameStats, IntervalsAndRepeatsAreCountedWithinAStretchOfFlightOnly) {
  TFrameStats stats;
  EXPECT_EQ(stats.PercentileMicros(0.5), 0.0);
  stats.FlightStarted();
  stats.StretchStarted();
  // Ten frames 16 667 us apart save one that came a refresh late; the terrain moves 3 or 4
  // pixels a frame but once stands still.
  const uint64_t times[] = {0, 16667, 33334, 50001, 66668, 100002, 116669, 133336, 150003, 166670};
  const int32_t offsets[] = {0, 3, 7, 10, 14, 20, 20, 24, 27, 31};
  for (int i = 0; i < 10; ++i) stats.Presented(1000000 + times[i], {7, offsets[i]});
  // Paused for five seconds, then on: that gap is no frame interval.
  stats.StretchStarted();
  stats.Presented(6166670, {7, 31});
  stats.Presented(6183337, {8, 2});

  EXPECT_EQ(stats.Flights(), 1);
  EXPECT_EQ(stats.Frames(), 12);
  EXPECT_EQ(stats.Intervals(), 10);
  EXPECT_EQ(stats.Repeated(), 1);  // 20 then 20; across the pause nothing is compared
  EXPECT_DOUBLE_EQ(stats.PercentileMicros(0.5), 16665.0);   // the middle of its 10 us bin
  EXPECT_DOUBLE_EQ(stats.PercentileMicros(0.99), 33335.0);  // the late frame
  const std::string report = stats.Report();
  EXPECT_NE(report.find("1 flight, 12 frames presented"), std::string::npos) << report;
  EXPECT_NE(report.find("99th percentile 33.335 ms"), std::string::npos) << report;
  EXPECT_NE(report.find("moved: 1 of 10 (10.0 %)"), std::string::npos) << report;
}

// A frame as the ticks stand draws a row's last step (offset 32) and then moves on to the
// next row, whose offset 0 is the same picture; so is the map's last row after its first.
TEST(FrameStats, TheSamePictureAcrossARowChangeOrTheMapsWrapIsARepeat) {
  TFrameStats stats;
  stats.FlightStarted();
  stats.StretchStarted();
  const TTerrainPlace places[] = {{40, 30}, {40, 32}, {41, 0}, {41, 2}, {8191, 32}, {0, 0}};
  for (int i = 0; i < 6; ++i) stats.Presented(1000000 + 6944 * i, places[i]);
  EXPECT_EQ(stats.Repeated(), 2);
}

}  // namespace
