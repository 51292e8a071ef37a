// The player's records: for every mission and difficulty the best won flight, with its figures
// and its replay. Better means more credits earned in the flight, then less armour lost, then
// a shorter flight. Encoding and decoding are pure (bytes in, bytes out), so the file's layout
// can be tested and fuzzed without a disk; DESIGN.md lists the layout.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/asset_catalog.h"
#include "replay/replay_file.h"

inline constexpr std::array<uint8_t, 8> kRecordsMagic{'S', 'V', 'K', 'R', 'E', 'C', 'R', 'D'};
inline constexpr uint16_t kRecordsFormat = 1;
inline constexpr int kRecordDifficulties = 3;  // easy, medium, hard: 0, 2, 4
inline constexpr size_t kRecordSlots =
    static_cast<size_t>(catalog::kMissions) * kRecordDifficulties;
// Eighteen replays of a day's flight each would still be far below this.
inline constexpr uint64_t kMaxRecordsFileBytes = 64ULL << 20;

// One mission's best flight at one difficulty.
struct TRecord {
  int64_t Credits = 0;          // earned in the flight: its end credits less its start
  int64_t Kills = 0;            // craft destroyed
  int64_t ArmourLost = 0;       // health the aircraft lost, repairs and bonuses not set against it
  int64_t Ticks = 0;            // the flight's length in ticks (10 ms)
  uint8_t Aircraft = 0;         // the aircraft's kind code
  int64_t Date = 0;             // when it was flown: seconds since 1970, UTC
  std::vector<uint8_t> Replay;  // the flight's replay file, byte for byte
  bool operator==(const TRecord&) const = default;
};

// Slot order: mission 1 easy, medium, hard, then mission 2, ...
struct TRecordBook {
  std::array<std::optional<TRecord>, kRecordSlots> Slots;
  bool operator==(const TRecordBook&) const = default;
};

// The slot of a mission (0..5) at a difficulty (0, 2, 4); none for any other pair.
std::optional<size_t> RecordSlot(int mission, int difficulty);
int SlotMission(size_t slot);
int SlotDifficulty(size_t slot);

// Whether a flight beats the standing record.
bool Beats(const TRecord& flight, const TRecord& standing);
// Keeps the flight when its slot is empty or it beats the record there; true when it did.
bool OfferRecord(TRecordBook& book, size_t slot, TRecord flight);

// The figures of a won flight from its replay and what the flight destroyed and cost.
TRecord RecordOfFlight(const TReplay& replay, int64_t kills, int64_t armourLost, int64_t date);

std::vector<uint8_t> EncodeRecordBook(const TRecordBook& book);
// Reads the records from a file's bytes. Anything that is not a records file of this format,
// is damaged, or holds a record its replay does not bear out raises EInOutError
// "<fileName>: <what is wrong>". Never allocates more than a small multiple of `size`.
TRecordBook DecodeRecordBook(const uint8_t* data, size_t size, const std::string& fileName);
