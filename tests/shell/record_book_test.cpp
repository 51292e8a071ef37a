// The records: which flight a slot keeps, and the file that holds them read back exactly, or
// refused by name when it is not what it claims to be.
#include <gtest/gtest.h>

#include "base/crc32.h"
#include "base/error.h"
#include "base/file_io.h"
#include "shell/record_book.h"

namespace {

// A won flight of the mission at the difficulty, `earned` credits richer at its end.
TReplay WonFlight(int mission, int difficulty, int64_t earned, int64_t ticks,
                  uint8_t aircraft = 2) {
  TReplay r;
  r.GameVersion = "test";
  r.Start.Campaign.Mission = static_cast<uint8_t>(mission);
  r.Start.Campaign.Difficulty = static_cast<uint8_t>(difficulty);
  r.Start.Campaign.Credits = 12000;
  r.Start.Campaign.AircraftKind = aircraft;
  r.Inputs = {{1, 5}, {ticks / 2, 0}};
  r.End = {TFlightOutcome::Won, ticks, 12000 + earned};
  return r;
}

TRecord Flight(int64_t earned, int64_t armour, int64_t ticks, int64_t date = 1800000000) {
  return RecordOfFlight(WonFlight(2, 4, earned, ticks), 40, armour, date);
}

// The bytes with their checksum made right again after a change.
void Reseal(std::vector<uint8_t>& bytes) {
  fileio::PutU32(bytes.data() + bytes.size() - 4, Crc32(bytes.data(), bytes.size() - 4));
}

std::string Refusal(const std::vector<uint8_t>& bytes) {
  try {
    DecodeRecordBook(bytes.data(), bytes.size(), "records.dat");
  } catch (const EInOutError& e) {
    return e.what();
  }
  return "";
}

TEST(RecordBook, SlotsAreMissionsByTheThreeDifficulties) {
  EXPECT_EQ(RecordSlot(0, 0), 0u);
  EXPECT_EQ(RecordSlot(0, 4), 2u);
  EXPECT_EQ(RecordSlot(2, 2), 7u);
  EXPECT_EQ(RecordSlot(5, 4), 17u);
  EXPECT_EQ(SlotMission(7), 2);
  EXPECT_EQ(SlotDifficulty(7), 2);
  // A saved game may hold any difficulty byte and a finished campaign mission 6.
  for (auto [mission, difficulty] : {std::pair{0, 1}, {0, 6}, {6, 0}, {-1, 0}, {0, 255}})
    EXPECT_EQ(RecordSlot(mission, difficulty), std::nullopt) << mission << " " << difficulty;
}

TEST(RecordBook, ARecordGivesWayOnlyToABetterFlight) {
  TRecordBook book;
  // The first won flight is the record; then, in turn: credits decide, then armour lost, then
  // time; a flight that only equals the record leaves it.
  struct TOffer {
    int64_t Earned, Armour, Ticks;
    bool Kept;
  };
  const TOffer offers[] = {{50000, 300, 20000, true},  {49999, 0, 100, false},
                           {50000, 301, 100, false},   {50000, 300, 20000, false},
                           {50000, 299, 25000, true},  {50000, 299, 24999, true},
                           {50000, 299, 25000, false}, {50001, 900, 30000, true}};
  int64_t date = 1800000000;
  for (const TOffer& o : offers) {
    EXPECT_EQ(OfferRecord(book, 8, Flight(o.Earned, o.Armour, o.Ticks, ++date)), o.Kept)
        << o.Earned << " " << o.Armour << " " << o.Ticks;
  }
  ASSERT_TRUE(book.Slots[8]);
  EXPECT_EQ(book.Slots[8]->Credits, 50001);
  EXPECT_EQ(book.Slots[8]->ArmourLost, 900);
  EXPECT_EQ(book.Slots[8]->Date, 1800000008);
  for (size_t slot = 0; slot < kRecordSlots; ++slot)
    EXPECT_EQ(book.Slots[slot].has_value(), slot == 8);
}

TEST(RecordBook, TheFileReadsBackWhatWasWritten) {
  TRecordBook book;
  EXPECT_EQ(DecodeRecordBook(EncodeRecordBook(book).data(), EncodeRecordBook(book).size(), "r"),
            book);
  book.Slots[0] = RecordOfFlight(WonFlight(0, 0, 98000, 21422, 0), 101, 334, 1800000000);
  book.Slots[17] = RecordOfFlight(WonFlight(5, 4, -2500, 9000, 3), 0, 0, 1800001234);
  const std::vector<uint8_t> bytes = EncodeRecordBook(book);
  const TRecordBook back = DecodeRecordBook(bytes.data(), bytes.size(), "records.dat");
  EXPECT_EQ(back, book);
  EXPECT_EQ(back.Slots[0]->Credits, 98000);
  EXPECT_EQ(back.Slots[0]->Ticks, 21422);
  EXPECT_EQ(back.Slots[17]->Credits, -2500);  // repairs bought in flight can cost more
  EXPECT_EQ(back.Slots[17]->Aircraft, 3);
}

TEST(RecordBook, AFileThatIsNotWhatItClaimsIsRefusedByName) {
  TRecordBook book;
  book.Slots[7] = RecordOfFlight(WonFlight(2, 2, 30000, 15000), 12, 40, 1800000000);
  const std::vector<uint8_t> good = EncodeRecordBook(book);

  std::vector<uint8_t> foreign(good.size(), 0);
  EXPECT_EQ(Refusal(foreign), "records.dat: not a records file");
  std::vector<uint8_t> newer = good;
  newer[8] = 2;
  EXPECT_NE(Refusal(newer).find("newer version of the game"), std::string::npos);
  std::vector<uint8_t> flipped = good;
  flipped[good.size() / 2] ^= 0x10;
  EXPECT_NE(Refusal(flipped).find("checksum"), std::string::npos);

  // Figures that the record's own replay does not bear out, checksum or not.
  TRecordBook lying = book;
  lying.Slots[7]->Credits += 1;
  EXPECT_NE(Refusal(EncodeRecordBook(lying)).find("does not match its replay"), std::string::npos);
  TRecordBook moved;
  moved.Slots[8] = book.Slots[7];  // mission 3 medium's flight kept as mission 3 hard's
  EXPECT_NE(Refusal(EncodeRecordBook(moved)).find("does not match its replay"), std::string::npos);
  TRecordBook lost = book;
  TReplay shotDown = WonFlight(2, 2, 30000, 15000);
  shotDown.End.Outcome = TFlightOutcome::Lost;
  lost.Slots[7]->Replay = EncodeReplay(shotDown);
  EXPECT_NE(Refusal(EncodeRecordBook(lost)).find("does not match its replay"), std::string::npos);

  // A replay's length that runs past the file, sealed with a right checksum.
  std::vector<uint8_t> overlong = good;
  // The header, seven empty slots, then slot 7: present, four figures, aircraft, date.
  const size_t lengthAt = 11 + 7 + 1 + 8 * 4 + 1 + 8;
  fileio::PutU32(overlong.data() + lengthAt, 0x7FFFFFFF);
  Reseal(overlong);
  EXPECT_NE(Refusal(overlong).find("cut short"), std::string::npos) << Refusal(overlong);

  // Every cut, resealed or not, is refused and nothing else happens.
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(n));
    EXPECT_FALSE(Refusal(cut).empty()) << n;
    if (n < 4) continue;
    Reseal(cut);
    EXPECT_FALSE(Refusal(cut).empty()) << n;
  }
}

}  // namespace
