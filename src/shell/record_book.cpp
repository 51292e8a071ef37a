#include "shell/record_book.h"

#include <cstring>

#include "base/byte_stream.h"
#include "base/crc32.h"

namespace {

// Credits, kills, armour, ticks, aircraft, date, the replay's length.
constexpr size_t kFiguresBytes = 8 + 8 + 8 + 8 + 1 + 8 + 4;

std::string SlotName(size_t slot) {
  static const char* const kDifficulties[] = {"easy", "medium", "hard"};
  return "mission " + std::to_string(SlotMission(slot) + 1) + ", " +
         kDifficulties[slot % kRecordDifficulties];
}

// A record must be what its replay says it is: a won flight of its slot's mission and
// difficulty, as long and as rich as the figures claim. Returns what is wrong, or "".
std::string Disagreement(size_t slot, const TRecord& record) {
  TReplay replay;
  try {
    replay =
        DecodeReplay(record.Replay.data(), record.Replay.size(), "the replay of " + SlotName(slot));
  } catch (const EInOutError& e) {
    return e.what();
  }
  const GameState& g = replay.Start.Campaign;
  const bool matches = replay.End.Outcome == TFlightOutcome::Won &&
                       RecordSlot(g.Mission, g.Difficulty) == slot &&
                       replay.End.Tick == record.Ticks && g.AircraftKind == record.Aircraft &&
                       replay.End.Credits - g.Credits == record.Credits;
  if (!matches) return "the record of " + SlotName(slot) + " does not match its replay";
  if (record.Kills < 0 || record.ArmourLost < 0)
    return "the record of " + SlotName(slot) + " has impossible figures";
  return "";
}

TRecord GetRecord(TByteReader& r, size_t slot) {
  TRecord record;
  record.Credits = r.I64();
  record.Kills = r.I64();
  record.ArmourLost = r.I64();
  record.Ticks = r.I64();
  record.Aircraft = r.U8();
  record.Date = r.I64();
  const uint32_t replayBytes = r.U32();
  if (replayBytes > r.Left()) r.Fail("the records are cut short");
  const uint8_t* replay = r.Take(replayBytes);
  record.Replay.assign(replay, replay + replayBytes);
  if (const std::string wrong = Disagreement(slot, record); !wrong.empty()) r.Fail(wrong);
  return record;
}

}  // namespace

std::optional<size_t> RecordSlot(int mission, int difficulty) {
  if (mission < 0 || mission >= catalog::kMissions) return std::nullopt;
  if (difficulty != 0 && difficulty != 2 && difficulty != 4) return std::nullopt;
  return static_cast<size_t>(mission * kRecordDifficulties + difficulty / 2);
}

int SlotMission(size_t slot) {
  return static_cast<int>(slot / kRecordDifficulties);
}

int SlotDifficulty(size_t slot) {
  return static_cast<int>(slot % kRecordDifficulties) * 2;
}

bool Beats(const TRecord& flight, const TRecord& standing) {
  if (flight.Credits != standing.Credits) return flight.Credits > standing.Credits;
  if (flight.ArmourLost != standing.ArmourLost) return flight.ArmourLost < standing.ArmourLost;
  return flight.Ticks < standing.Ticks;
}

bool OfferRecord(TRecordBook& book, size_t slot, TRecord flight) {
  std::optional<TRecord>& standing = book.Slots.at(slot);
  if (standing && !Beats(flight, *standing)) return false;
  standing = std::move(flight);
  return true;
}

TRecord RecordOfFlight(const TReplay& replay, int64_t kills, int64_t armourLost, int64_t date) {
  TRecord r;
  r.Credits = replay.End.Credits - replay.Start.Campaign.Credits;
  r.Kills = kills;
  r.ArmourLost = armourLost;
  r.Ticks = replay.End.Tick;
  r.Aircraft = replay.Start.Campaign.AircraftKind;
  r.Date = date;
  r.Replay = EncodeReplay(replay);
  return r;
}

std::vector<uint8_t> EncodeRecordBook(const TRecordBook& book) {
  TByteWriter w;
  for (uint8_t b : kRecordsMagic) w.U8(b);
  w.U16(kRecordsFormat);
  w.U8(static_cast<uint8_t>(kRecordSlots));
  for (const std::optional<TRecord>& record : book.Slots) {
    w.U8(record ? 1 : 0);
    if (!record) continue;
    w.I64(record->Credits);
    w.I64(record->Kills);
    w.I64(record->ArmourLost);
    w.I64(record->Ticks);
    w.U8(record->Aircraft);
    w.I64(record->Date);
    w.U32(static_cast<uint32_t>(record->Replay.size()));
    w.Bytes(record->Replay);
  }
  std::vector<uint8_t>& bytes = w.Bytes();
  w.U32(Crc32(bytes.data(), bytes.size()));
  return bytes;
}

TRecordBook DecodeRecordBook(const uint8_t* data, size_t size, const std::string& fileName) {
  TByteReader r(data, size, fileName, "the records are cut short");
  if (size < kRecordsMagic.size() || std::memcmp(data, kRecordsMagic.data(), kRecordsMagic.size()))
    r.Fail("not a records file");
  r.Take(kRecordsMagic.size());
  const uint16_t format = r.U16();
  if (format > kRecordsFormat)
    r.Fail("the records were written by a newer version of the game (format " +
           std::to_string(format) + ")");
  if (format == 0) r.Fail("no such records format 0");
  // The checksum first: a damaged file is refused as such, not by a field it happened to spoil.
  if (size < r.Position() + 1 + 4 || Crc32(data, size - 4) != fileio::U32(data + size - 4))
    r.Fail("the records are damaged or cut short (their checksum does not match)");
  TByteReader body(data, size - 4, fileName, "the records are cut short");
  body.Take(r.Position());
  if (body.U8() != kRecordSlots) r.Fail("the records are not laid out for six missions");
  TRecordBook book;
  for (size_t slot = 0; slot < kRecordSlots; ++slot) {
    const uint8_t present = body.U8();
    if (present > 1) r.Fail("the records are damaged");
    if (present == 0) continue;
    if (body.Left() < kFiguresBytes) r.Fail("the records are cut short");
    book.Slots[slot] = GetRecord(body, slot);
  }
  if (body.Left() != 0) r.Fail("unexpected bytes after the records");
  return book;
}
