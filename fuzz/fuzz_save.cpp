// The saved game: any bytes either read as a record that writes back to the same first 24
// bytes (reserved bytes zeroed) or are too short and raise the read error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/error.h"
#include "shell/save_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TSaveRecord record;
  try {
    record = DecodeSaveRecord(data, size, "game.sav");
  } catch (const EInOutError&) {
    if (size >= kSaveRecordBytes) std::abort();
    return 0;
  }
  if (size < kSaveRecordBytes) std::abort();
  const TSaveBytes written = EncodeSaveRecord(record);
  for (size_t i = 0; i < kSaveRecordBytes; ++i) {
    const bool reserved = i == 7 || i >= 18;
    if (written[i] != (reserved ? 0 : data[i])) std::abort();
  }
  GameState state;
  ApplyRecord(record, state);
  if (!(RecordOf(state) == record)) std::abort();
  return 0;
}
