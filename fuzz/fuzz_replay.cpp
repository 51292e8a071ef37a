// Replay files: any bytes are either refused with the reader's error or read as a replay that
// writes out and reads back as the same replay.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/error.h"
#include "replay/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TReplay replay;
  try {
    replay = DecodeReplay(data, size, "flight.replay");
  } catch (const EInOutError&) {
    return 0;
  }
  // Nothing read can claim more entries than its bytes hold.
  if (replay.Inputs.size() > size || replay.Checkpoints.size() > size) std::abort();
  const std::vector<uint8_t> again = EncodeReplay(replay);
  if (!(DecodeReplay(again.data(), again.size(), "again.replay") == replay)) std::abort();
  return 0;
}
