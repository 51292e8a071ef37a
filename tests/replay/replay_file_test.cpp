#include "replay/replay_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/file_io.h"
#include "shell/save_record.h"

namespace {

// A replay with every field away from its default, and values at the edges of their range.
TReplay Sample() {
  TReplay r;
  r.GameVersion = "9.8.7-test";
  GameState& g = r.Start.Campaign;
  g.Mission = 5;
  g.Difficulty = 4;
  g.Credits = -123456789012LL;
  g.AircraftKind = 3;
  g.CannonKind = kNoKind;
  g.SlotKinds = {0, 5, kNoKind, 3, 1};
  r.Start.RandomState = 0xFEDCBA9876543210ULL;
  r.Start.RandomIncrement = 0x8000000000000001ULL;
  r.Start.X = -40;
  r.Start.Y = 700;
  r.Start.Dx = -1.75;
  r.Start.Dy = 0.1;
  r.Start.Health = 37;
  r.Start.CurrentSlot = 4;
  r.Start.SwitchHoldTicks = 15;
  r.Start.ScrollTicks = 9;
  r.Start.Cannon = {3, false, 0};
  r.Start.Slots[1] = {120, true, 1};
  r.Start.Bonuses = {{TBonusKind::Credit, 300, -50, 0, 2, 18},
                     {TBonusKind::Health, 20, 640, 0, 2, 0}};
  r.Inputs = {{1, 0}, {2, 1u << 4}, {130000, (uint64_t{1} << 36) - 1}, {130001, 0}};
  TCheckpoint c;
  c.Tick = 500;
  c.Positions = 0x0123456789ABCDEFULL;
  c.Health = 42;
  c.Credits = INT64_MAX;
  c.Random = 7;
  c.Lengths = {1, 0, 4000000000u, 3};
  r.Checkpoints = {c, c};
  r.Checkpoints[1].Tick = 130000;
  r.End = {TFlightOutcome::Lost, 130002, INT64_MIN};
  return r;
}

std::vector<uint8_t> Reseal(std::vector<uint8_t> bytes) {
  const size_t n = bytes.size() - 4;
  // The same CRC-32 as the writer: recomputed here bit by bit, independently.
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    crc ^= bytes[i];
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  fileio::PutU32(bytes.data() + n, ~crc);
  return bytes;
}

std::string Refusal(const std::vector<uint8_t>& bytes) {
  try {
    DecodeReplay(bytes.data(), bytes.size(), "flight.replay");
  } catch (const EInOutError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(ReplayFile, EveryFieldSurvivesTheRoundTrip) {
  const TReplay r = Sample();
  const std::vector<uint8_t> bytes = EncodeReplay(r);
  EXPECT_EQ(DecodeReplay(bytes.data(), bytes.size(), "x"), r);
  // The header as documented: magic, format 1 little-endian, the version's length and text.
  const std::vector<uint8_t> head{'S', 'V', 'K', 'R', 'P', 'L', 'A', 'Y', 1, 0, 10, '9'};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 12), head);
}

TEST(ReplayFile, AnIdleFlightCostsAFewBytesAndTheShortestFileIsTheDocumentedOne) {
  TReplay empty;
  EXPECT_EQ(EncodeReplay(empty).size(), kMinReplayBytes);
  TReplay idle;
  idle.Inputs = {{1, 0}, {100, 1}, {6100, 0}};  // a minute of one held key
  idle.End.Tick = 6100;
  EXPECT_LE(EncodeReplay(idle).size(), kMinReplayBytes + 12);
}

TEST(ReplayFile, ForeignOldNewerAndDamagedFilesAreRefusedByNameAndReason) {
  const std::vector<uint8_t> good = EncodeReplay(Sample());
  const TSaveBytes save = EncodeSaveRecord(TSaveRecord{});
  EXPECT_EQ(Refusal({save.begin(), save.end()}), "flight.replay: not a replay file");
  EXPECT_EQ(Refusal({}), "flight.replay: not a replay file");

  std::vector<uint8_t> newer = good;
  newer[8] = 2;
  EXPECT_EQ(Refusal(Reseal(newer)),
            "flight.replay: the replay was made by a newer version of the game (format 2; this "
            "one reads format 1)");
  std::vector<uint8_t> old = good;
  old[8] = 0;
  EXPECT_EQ(Refusal(Reseal(old)), "flight.replay: no such replay format 0");

  std::vector<uint8_t> flipped = good;
  flipped[good.size() / 2] ^= 0x10;
  EXPECT_NE(Refusal(flipped).find("checksum"), std::string::npos);
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_NE(Refusal(longer).find("flight.replay: "), std::string::npos);
}

TEST(ReplayFile, EveryCutIsRefusedAndNoCutIsReadEvenWithItsChecksumMended) {
  const std::vector<uint8_t> good = EncodeReplay(Sample());
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
    EXPECT_NE(Refusal(cut), "accepted") << n;
    if (n >= kMinReplayBytes && n + 4 < good.size()) {
      cut.resize(n + 4);
      EXPECT_NE(Refusal(Reseal(cut)), "accepted") << n;
    }
  }
}

TEST(ReplayFile, ACountTheBytesCannotHoldIsRefusedBeforeAnythingIsAllocated) {
  TReplay r;
  r.GameVersion = "v";
  std::vector<uint8_t> bytes = EncodeReplay(r);
  // The input runs' count follows the start, which ends with the bonus count.
  const size_t runs = 11 + 1 + (kMinReplayBytes - 11 - 4 - 4 - 10 - 4);
  ASSERT_EQ(fileio::U32(bytes.data() + runs), 0u);
  fileio::PutU32(bytes.data() + runs, 0x7FFFFFFF);
  EXPECT_EQ(Refusal(Reseal(bytes)), "flight.replay: too many input runs");
  fileio::PutU32(bytes.data() + runs, 1000);
  EXPECT_EQ(Refusal(Reseal(bytes)), "flight.replay: the replay is cut short (input runs)");
}

TEST(ReplayFile, ImpossibleValuesAreRefused) {
  auto refusalOf = [](auto change) {
    TReplay r = Sample();
    change(r);
    return Refusal(EncodeReplay(r));
  };
  EXPECT_EQ(refusalOf([](TReplay& r) { r.Start.Campaign.Mission = 6; }),
            "flight.replay: no such mission or difficulty");
  EXPECT_EQ(refusalOf([](TReplay& r) { r.Start.Campaign.SlotKinds[2] = 6; }),
            "flight.replay: no such weapon");
  EXPECT_EQ(refusalOf([](TReplay& r) { r.Inputs[2].States = uint64_t{1} << 36; }),
            "flight.replay: an input state that does not exist");
  EXPECT_EQ(refusalOf([](TReplay& r) { r.End.Tick = 130000; }),
            "flight.replay: input after the flight's end");
  EXPECT_EQ(refusalOf([](TReplay& r) { r.Start.Dx = 1.0 / 0.0 * 0.0; }),
            "flight.replay: a speed that is not a number");
}

}  // namespace
