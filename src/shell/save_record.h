// The saved game's record: the seven fields of the campaign a player carries from one session
// to the next, as 24 little-endian bytes. Encoding and decoding are pure, so the file's layout
// can be checked (and fuzzed) without touching a disk.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/game_state.h"

struct TSaveRecord {
  uint8_t AircraftKind = kNoKind;
  std::array<uint8_t, 5> SlotKinds{kNoKind, kNoKind, kNoKind, kNoKind, kNoKind};
  uint8_t CannonKind = kNoKind;
  int64_t Credits = 0;
  uint8_t Mission = 0;
  uint8_t Difficulty = 0;

  bool operator==(const TSaveRecord&) const = default;
};

inline constexpr size_t kSaveRecordBytes = 24;
using TSaveBytes = std::array<uint8_t, kSaveRecordBytes>;

// Offsets of the fields; bytes 7 and 18..23 carry nothing.
namespace save_layout {
inline constexpr size_t kAircraft = 0;
inline constexpr size_t kSlots = 1;
inline constexpr size_t kCannon = 6;
inline constexpr size_t kCredits = 8;
inline constexpr size_t kMission = 16;
inline constexpr size_t kDifficulty = 17;
}  // namespace save_layout

// The record's bytes; the bytes that carry nothing are zero.
TSaveBytes EncodeSaveRecord(const TSaveRecord& record);

// Reads the record from the first 24 bytes of a file's contents (anything after them is
// ignored, whatever it holds). Fewer than 24 bytes raise EInOutError "<fileName>: Read beyond
// end of file".
TSaveRecord DecodeSaveRecord(const uint8_t* data, size_t size, const std::string& fileName);

// The campaign's fields as the record holds them, and back. GameOver is not stored.
TSaveRecord RecordOf(const GameState& state);
void ApplyRecord(const TSaveRecord& record, GameState& state);
