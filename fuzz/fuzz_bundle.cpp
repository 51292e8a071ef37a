// The player's backups: any bytes are either refused with a Czech sentence or read as a backup
// whose every path stays below the folder it is loaded into, and that writes out and reads
// back as the same backup.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "shell/player_bundle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TPlayerBundle bundle;
  try {
    bundle = DecodeBundle(data, size, "z.zaloha");
  } catch (const EBundleError&) {
    return 0;
  }
  if (bundle.Files.size() > size) std::abort();
  for (const TBundledFile& file : bundle.Files) {
    if (!IsBundlePath(file.Path)) std::abort();
  }
  const std::vector<uint8_t> again = EncodeBundle(bundle);
  if (!(DecodeBundle(again.data(), again.size(), "again.zaloha") == bundle)) std::abort();
  return 0;
}
