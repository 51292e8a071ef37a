// The settings file: any bytes give settings within their ranges, at most the bounded number of
// messages, each naming the file; and the settings printed read back to the same values
// without a word.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TSettings s = ParseSettings(text, "f.ini");
  if (s.Messages.size() > kMaxSettingsMessages + 1) std::abort();
  for (const std::string& m : s.Messages) {
    if (m.rfind("f.ini", 0) != 0 || m.size() > 600) std::abort();
    for (const char c : m) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) std::abort();
    }
  }
  if (s.Volume < 0 || s.Volume > 100 || s.DeadZone < 0 || s.DeadZone > kMaxDeadZone) std::abort();
  for (const auto& keys : s.Keys) {
    if (keys.size() > kMaxKeysPerAction) std::abort();
    for (const uint8_t k : keys) {
      if (k == 0) std::abort();
    }
  }
  for (const uint16_t k : s.FullScreenKeys) {
    if ((k & 0xFF) == 0 || (k & ~(kAltChord | 0xFF)) != 0) std::abort();
  }
  for (const auto& buttons : s.PadButtons) {
    for (const uint8_t b : buttons) {
      if (b < 1 || b > 32) std::abort();
    }
  }
  const TSettings again = ParseSettings(FormatSettings(s), "f.ini");
  if (!again.Messages.empty() || !again.SameValues(s)) std::abort();
  return 0;
}
