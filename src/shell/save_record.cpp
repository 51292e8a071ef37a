#include "shell/save_record.h"

#include "base/error.h"
#include "base/file_io.h"

TSaveBytes EncodeSaveRecord(const TSaveRecord& record) {
  namespace at = save_layout;
  TSaveBytes bytes{};
  bytes[at::kAircraft] = record.AircraftKind;
  for (size_t i = 0; i < record.SlotKinds.size(); ++i) bytes[at::kSlots + i] = record.SlotKinds[i];
  bytes[at::kCannon] = record.CannonKind;
  fileio::PutU64(bytes.data() + at::kCredits, static_cast<uint64_t>(record.Credits));
  bytes[at::kMission] = record.Mission;
  bytes[at::kDifficulty] = record.Difficulty;
  return bytes;
}

TSaveRecord DecodeSaveRecord(const uint8_t* data, size_t size, const std::string& fileName) {
  namespace at = save_layout;
  if (size < kSaveRecordBytes) throw EInOutError(fileName + ": Read beyond end of file");
  TSaveRecord record;
  record.AircraftKind = data[at::kAircraft];
  for (size_t i = 0; i < record.SlotKinds.size(); ++i) record.SlotKinds[i] = data[at::kSlots + i];
  record.CannonKind = data[at::kCannon];
  record.Credits = fileio::I64(data + at::kCredits);
  record.Mission = data[at::kMission];
  record.Difficulty = data[at::kDifficulty];
  return record;
}

TSaveRecord RecordOf(const GameState& state) {
  TSaveRecord record;
  record.AircraftKind = state.AircraftKind;
  record.SlotKinds = state.SlotKinds;
  record.CannonKind = state.CannonKind;
  record.Credits = state.Credits;
  record.Mission = state.Mission;
  record.Difficulty = state.Difficulty;
  return record;
}

void ApplyRecord(const TSaveRecord& record, GameState& state) {
  state.AircraftKind = record.AircraftKind;
  state.SlotKinds = record.SlotKinds;
  state.CannonKind = record.CannonKind;
  state.Credits = record.Credits;
  state.Mission = record.Mission;
  state.Difficulty = record.Difficulty;
}
