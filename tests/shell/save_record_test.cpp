#include "shell/save_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/error.h"
#include "base/file_io.h"

namespace {

TEST(SaveRecord, LaysTheFieldsOutLittleEndianWithZerosWhereNothingIsStored) {
  TSaveRecord r;
  r.AircraftKind = 3;
  r.SlotKinds = {0, 1, 255, 4, 5};
  r.CannonKind = 2;
  r.Credits = 0x0102030405060708;
  r.Mission = 5;
  r.Difficulty = 4;
  const TSaveBytes expected{3, 0, 1, 255, 4, 5, 2, 0, 8, 7, 6, 5,
                            4, 3, 2, 1,   5, 4, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(EncodeSaveRecord(r), expected);
}

TEST(SaveRecord, NegativeAndExtremeCreditsSurviveTheRoundTrip) {
  for (int64_t credits : {int64_t{-1}, int64_t{-123456789}, INT64_MIN, INT64_MAX, int64_t{0}}) {
    TSaveRecord r;
    r.Credits = credits;
    TSaveBytes bytes = EncodeSaveRecord(r);
    EXPECT_EQ(DecodeSaveRecord(bytes.data(), bytes.size(), "game.sav"), r) << credits;
  }
  TSaveRecord minusOne;
  minusOne.Credits = -1;
  TSaveBytes bytes = EncodeSaveRecord(minusOne);
  for (size_t i = 8; i < 16; ++i) EXPECT_EQ(bytes[i], 0xFF);
}

TEST(SaveRecord, ReadingIgnoresReservedBytesAndAnythingAfterTheRecord) {
  std::vector<uint8_t> file(40, 0xAB);
  file[0] = 0;
  for (size_t i = 1; i <= 6; ++i) file[i] = 255;
  fileio::PutU64(file.data() + 8, 10000);
  file[16] = 0;
  file[17] = 2;
  TSaveRecord r = DecodeSaveRecord(file.data(), file.size(), "game.sav");
  TSaveRecord expected;
  expected.AircraftKind = 0;
  expected.Credits = 10000;
  expected.Mission = 0;
  expected.Difficulty = 2;
  EXPECT_EQ(r, expected);
}

TEST(SaveRecord, UnknownCodesAreKeptAsRead) {
  TSaveBytes bytes{9, 6, 7, 8, 200, 100, 4, 0, 1, 0, 0, 0, 0, 0, 0, 0, 6, 3};
  TSaveRecord r = DecodeSaveRecord(bytes.data(), bytes.size(), "game.sav");
  GameState state;
  ApplyRecord(r, state);
  EXPECT_EQ(state.AircraftKind, 9);
  EXPECT_EQ(state.SlotKinds, (std::array<uint8_t, 5>{6, 7, 8, 200, 100}));
  EXPECT_EQ(state.CannonKind, 4);
  EXPECT_EQ(state.Mission, 6);
  EXPECT_EQ(state.Difficulty, 3);
  EXPECT_EQ(RecordOf(state), r);
}

TEST(SaveRecord, AShortFileIsReadBeyondItsEndNamingTheFile) {
  TSaveBytes bytes{};
  for (size_t size : {size_t{0}, size_t{1}, size_t{23}}) {
    try {
      DecodeSaveRecord(bytes.data(), size, "some/game.sav");
      FAIL() << size;
    } catch (const EInOutError& e) {
      EXPECT_STREQ(e.what(), "some/game.sav: Read beyond end of file");
    }
  }
}

}  // namespace
