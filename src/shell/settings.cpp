#include "shell/settings.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "base/file_io.h"
#include "platform/backend.h"
#include "platform/key_names.h"
#include "platform/pad_buttons.h"

namespace {

enum class TKind : uint8_t { Keys, Pad, DeadZone, Volume, Switch, Chords };

struct TInfo {
  std::string_view Name;
  std::string_view Help;
  TKind Kind;
};

constexpr std::array<TInfo, kSettingCount> kInfo = {{
    {"key_up", "Steer up.", TKind::Keys},
    {"key_down", "Steer down.", TKind::Keys},
    {"key_left", "Steer left.", TKind::Keys},
    {"key_right", "Steer right.", TKind::Keys},
    {"key_cannon", "Fire the cannon.", TKind::Keys},
    {"key_weapon", "Fire the selected weapon.", TKind::Keys},
    {"key_next_weapon", "Hold to switch to the next weapon slot.", TKind::Keys},
    {"key_repair", "Buy a full repair in flight.", TKind::Keys},
    {"key_pause", "Pause the mission.", TKind::Keys},
    {"pad_cannon", "Gamepad: fire the cannon.", TKind::Pad},
    {"pad_weapon", "Gamepad: fire the selected weapon.", TKind::Pad},
    {"pad_next_weapon", "Gamepad: hold to switch to the next weapon slot.", TKind::Pad},
    {"pad_dead_zone", "How far the stick moves before it steers, in percent (0 to 95).",
     TKind::DeadZone},
    {"volume", "Sound volume, 0 (silent) to 100 (full).", TKind::Volume},
    {"pause_on_focus_loss", "Pause a mission when another window takes the keyboard (on, off).",
     TKind::Switch},
    {"smooth_motion",
     "Draw moving things between their positions of the last two ticks, so the scroll runs "
     "evenly at any refresh rate (on, off).",
     TKind::Switch},
    {"key_fullscreen", "Switch between the window and the full screen, at any time.",
     TKind::Chords},
    {"pause_on_pad_loss", "Pause a mission when the gamepad that steers is pulled out (on, off).",
     TKind::Switch},
    {"music_volume", "Music volume, 0 (no music) to 100 (full), on the curve of the volume.",
     TKind::Volume},
}};

bool& SwitchOf(TSettings& s, int setting) {
  if (setting == kSmoothSetting) return s.SmoothMotion;
  return setting == kPadLossSetting ? s.PauseOnPadLoss : s.PauseOnFocusLoss;
}
bool SwitchOf(const TSettings& s, int setting) {
  if (setting == kSmoothSetting) return s.SmoothMotion;
  return setting == kPadLossSetting ? s.PauseOnPadLoss : s.PauseOnFocusLoss;
}

constexpr std::string_view kAltPrefix = "alt+";
// Lists of keys and lists of pad buttons: a code may be held by one setting of a family only.
bool KeyFamily(TKind kind) {
  return kind == TKind::Keys || kind == TKind::Chords;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// A value as the messages quote it: bytes that are not printable ASCII are escaped, so no
// file can write to the player's terminal what it likes.
std::string Quote(std::string_view s) {
  static constexpr char kHex[] = "0123456789abcdef";
  constexpr size_t kLongest = 60;
  std::string out = "\"";
  for (const char ch : s.substr(0, kLongest)) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out += ch;
    } else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out + (s.size() > kLongest ? "...\"" : "\"");
}

std::vector<std::string_view> SplitList(std::string_view value) {
  std::vector<std::string_view> items;
  if (value.empty()) return items;
  size_t start = 0;
  while (true) {
    const size_t comma = value.find(',', start);
    items.push_back(
        Trim(value.substr(start, comma == std::string_view::npos ? comma : comma - start)));
    if (comma == std::string_view::npos) return items;
    start = comma + 1;
  }
}

std::optional<int32_t> ParseNumber(std::string_view s, int32_t min, int32_t max) {
  if (s.empty() || s.size() > 6) return std::nullopt;
  int32_t n = 0;
  for (const char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n < min || n > max) return std::nullopt;
  return n;
}

std::optional<bool> ParseSwitch(std::string_view s) {
  const std::string v = Lower(s);
  if (v == "on" || v == "yes" || v == "true" || v == "1") return true;
  if (v == "off" || v == "no" || v == "false" || v == "0") return false;
  return std::nullopt;
}

// One list of key codes (with kAltChord where Alt is held too) or pad buttons, or why it is no
// such list.
struct TList {
  std::vector<uint16_t> Codes;
  std::string Error;
};

std::optional<uint8_t> PadButtonOf(std::string_view item) {
  if (auto n = ParseNumber(item, 1, platform::kJoystickButtons)) return static_cast<uint8_t>(*n);
  const std::string name = Lower(item);
  for (size_t i = 0; i < platform::kControllerButtonNames.size(); ++i) {
    if (platform::kControllerButtonNames[i] == name) return static_cast<uint8_t>(i + 1);
  }
  return std::nullopt;
}

std::string PadButtonText(uint8_t button) {
  return std::to_string(button);
}

TList ParseList(std::string_view value, TKind kind) {
  TList list;
  const std::vector<std::string_view> items = SplitList(value);
  if (static_cast<int>(items.size()) > kMaxKeysPerAction) {
    list.Error = "more than " + std::to_string(kMaxKeysPerAction) + " keys or buttons";
    return list;
  }
  for (const std::string_view item : items) {
    if (item.empty()) {
      list.Error = "an empty name in the list";
      return list;
    }
    uint16_t code = 0;
    if (KeyFamily(kind)) {
      std::string_view name = item;
      const bool alt = kind == TKind::Chords && name.size() > kAltPrefix.size() &&
                       Lower(name.substr(0, kAltPrefix.size())) == kAltPrefix;
      if (alt) name.remove_prefix(kAltPrefix.size());
      const platform::KeyLookup key = platform::LookUpKeyName(std::string(name));
      if (!key.Known) {
        list.Error = "unknown key name " + Quote(item);
        return list;
      }
      if (key.Code == 0) {
        list.Error = "the game cannot read the key " + Quote(item);
        return list;
      }
      code = static_cast<uint16_t>(key.Code | (alt ? kAltChord : 0));
    } else {
      const auto button = PadButtonOf(item);
      if (!button) {
        list.Error = "unknown gamepad button " + Quote(item) +
                     " (a number from 1 to 32, or a, b, x, y, leftshoulder, rightshoulder, back, "
                     "start, leftstick, rightstick, guide)";
        return list;
      }
      code = *button;
    }
    if (std::find(list.Codes.begin(), list.Codes.end(), code) != list.Codes.end()) {
      list.Error = Quote(item) + " is listed twice";
      return list;
    }
    list.Codes.push_back(code);
  }
  return list;
}

std::string CodeText(TKind kind, uint16_t code) {
  if (!KeyFamily(kind)) return "button " + PadButtonText(static_cast<uint8_t>(code));
  return ((code & kAltChord) ? "Alt+" : "") + platform::KeyNameOf(static_cast<uint8_t>(code));
}

class TReader {
 public:
  TReader(TSettings& s, std::string file) : s_(s), file_(std::move(file)) {}

  void Line(std::string_view line, int number) {
    if (line.size() > kMaxSettingsLine) {
      Bad(number, "the line is longer than " + std::to_string(kMaxSettingsLine) + " characters");
      return;
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    for (const char c : line) {
      if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) {
        Bad(number, "the line holds a control character");
        return;
      }
    }
    line = Trim(line);
    if (line.empty() || line.front() == '#') return;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      Bad(number, "expected `name = value`, found " + Quote(line));
      return;
    }
    const std::string_view name = Trim(line.substr(0, eq));
    const std::string_view value = Trim(line.substr(eq + 1));
    int setting = -1;
    for (int i = 0; i < kSettingCount; ++i) {
      if (kInfo[static_cast<size_t>(i)].Name == name) setting = i;
    }
    if (setting < 0) {
      Bad(number, "unknown setting " + Quote(name));
      return;
    }
    if (const int earlier = s_.Line[static_cast<size_t>(setting)]) {
      Bad(number, std::string(name) + " is already set on line " + std::to_string(earlier));
      return;
    }
    if (Set(setting, value, number)) s_.Line[static_cast<size_t>(setting)] = number;
  }

  // Defaults that lines took every key or button from; then the count of bad lines beyond
  // those reported.
  void Finish() {
    for (int i = 0; i < kSettingCount; ++i) {
      const auto at = static_cast<size_t>(i);
      if (s_.Line[at] != 0 || s_.TakenBy[at] == 0 || !List(i).empty()) continue;
      Say(s_.TakenBy[at], "this line took the last key or button of " +
                              std::string(kInfo[at].Name) + ", which now has none");
    }
    if (bad_ > reported_) {
      s_.Messages.push_back(file_ + ": " + std::to_string(bad_ - reported_) +
                            " more bad lines not shown");
    }
  }

 private:
  std::vector<uint8_t>* Codes(int setting) {
    if (setting < kActionCount) return &s_.Keys[static_cast<size_t>(setting)];
    if (setting < kDeadZoneSetting)
      return &s_.PadButtons[static_cast<size_t>(setting - kActionCount)];
    return nullptr;
  }
  // A setting's list as 16-bit codes, whatever it is stored as; empty for one without a list.
  std::vector<uint16_t> List(int setting) {
    if (setting == kFullScreenSetting) return s_.FullScreenKeys;
    const std::vector<uint8_t>* codes = Codes(setting);
    return codes ? std::vector<uint16_t>(codes->begin(), codes->end()) : std::vector<uint16_t>{};
  }
  // Takes a code out of a setting's list; true when it was there.
  bool Drop(int setting, uint16_t code) {
    if (setting == kFullScreenSetting) {
      auto& keys = s_.FullScreenKeys;
      const auto it = std::find(keys.begin(), keys.end(), code);
      if (it == keys.end()) return false;
      keys.erase(it);
      return true;
    }
    std::vector<uint8_t>* codes = Codes(setting);
    if (!codes) return false;
    const auto it = std::find(codes->begin(), codes->end(), code);
    if (it == codes->end()) return false;
    codes->erase(it);
    return true;
  }
  void Assign(int setting, const std::vector<uint16_t>& list) {
    if (setting == kFullScreenSetting) {
      s_.FullScreenKeys = list;
    } else {
      Codes(setting)->assign(list.begin(), list.end());
    }
  }
  // Whether two settings' lists may not share a code.
  static bool Rivals(int a, int b) {
    const TKind ka = kInfo[static_cast<size_t>(a)].Kind, kb = kInfo[static_cast<size_t>(b)].Kind;
    return a != b && (KeyFamily(ka) ? KeyFamily(kb) : ka == TKind::Pad && kb == TKind::Pad);
  }

  bool Set(int setting, std::string_view value, int number) {
    const TInfo& info = kInfo[static_cast<size_t>(setting)];
    switch (info.Kind) {
      case TKind::Keys:
      case TKind::Pad:
      case TKind::Chords:
        return SetList(setting, value, number);
      case TKind::DeadZone:
      case TKind::Volume: {
        const int32_t max = info.Kind == TKind::Volume ? 100 : kMaxDeadZone;
        const auto n = ParseNumber(value, 0, max);
        if (!n) {
          Bad(number, std::string(info.Name) + " must be a whole number from 0 to " +
                          std::to_string(max) + ", not " + Quote(value));
          return false;
        }
        (info.Kind == TKind::DeadZone     ? s_.DeadZone
         : setting == kMusicVolumeSetting ? s_.MusicVolume
                                          : s_.Volume) = *n;
        return true;
      }
      case TKind::Switch: {
        const auto on = ParseSwitch(value);
        if (!on) {
          Bad(number, std::string(info.Name) + " must be on or off, not " + Quote(value));
          return false;
        }
        SwitchOf(s_, setting) = *on;
        return true;
      }
    }
    return false;
  }

  // A list binds only keys (buttons) that no other line bound; a key another setting has by
  // default moves to this one.
  bool SetList(int setting, std::string_view value, int number) {
    const TKind kind = kInfo[static_cast<size_t>(setting)].Kind;
    const TList list = ParseList(value, kind);
    if (!list.Error.empty()) {
      Bad(number, list.Error);
      return false;
    }
    for (const uint16_t code : list.Codes) {
      for (int other = 0; other < kSettingCount; ++other) {
        const int line = s_.Line[static_cast<size_t>(other)];
        if (!Rivals(setting, other) || line == 0) continue;
        const std::vector<uint16_t> held = List(other);
        if (std::find(held.begin(), held.end(), code) != held.end()) {
          Bad(number, CodeText(kind, code) + " is already bound to " +
                          std::string(kInfo[static_cast<size_t>(other)].Name) + " on line " +
                          std::to_string(line));
          return false;
        }
      }
    }
    for (const uint16_t code : list.Codes) {
      for (int other = 0; other < kSettingCount; ++other) {
        if (!Rivals(setting, other) || !Drop(other, code)) continue;
        int& taken = s_.TakenBy[static_cast<size_t>(other)];
        if (taken == 0) taken = number;
      }
    }
    Assign(setting, list.Codes);
    s_.TakenBy[static_cast<size_t>(setting)] = 0;
    return true;
  }

  void Bad(int number, const std::string& what) { Say(number, what + "; line ignored"); }

  void Say(int number, const std::string& what) {
    ++bad_;
    if (s_.Messages.size() >= kMaxSettingsMessages) return;
    ++reported_;
    s_.Messages.push_back(file_ + ":" + std::to_string(number) + ": " + what);
  }

  TSettings& s_;
  std::string file_;
  size_t bad_ = 0;
  size_t reported_ = 0;
};

std::string SourceText(const TSettings& s, int setting) {
  const auto at = static_cast<size_t>(setting);
  if (s.Line[at] != 0) return "from " + s.File + ":" + std::to_string(s.Line[at]);
  if (s.TakenBy[at] != 0) {
    return "default, less what " + s.File + ":" + std::to_string(s.TakenBy[at]) + " took";
  }
  return "default";
}

std::string ValueText(const TSettings& s, int setting) {
  const TInfo& info = kInfo[static_cast<size_t>(setting)];
  std::string text;
  switch (info.Kind) {
    case TKind::Keys:
    case TKind::Pad: {
      const std::vector<uint8_t>& codes =
          info.Kind == TKind::Keys ? s.Keys[static_cast<size_t>(setting)]
                                   : s.PadButtons[static_cast<size_t>(setting - kActionCount)];
      for (const uint8_t code : codes) {
        if (!text.empty()) text += ", ";
        text += info.Kind == TKind::Keys ? platform::KeyNameOf(code) : PadButtonText(code);
      }
      return text;
    }
    case TKind::DeadZone:
      return std::to_string(s.DeadZone);
    case TKind::Volume:
      return std::to_string(setting == kMusicVolumeSetting ? s.MusicVolume : s.Volume);
    case TKind::Switch:
      return SwitchOf(s, setting) ? "on" : "off";
    case TKind::Chords:
      for (const uint16_t code : s.FullScreenKeys) {
        if (!text.empty()) text += ", ";
        text += CodeText(info.Kind, code);
      }
      return text;
  }
  return text;
}

}  // namespace

std::string_view SettingName(int setting) {
  return kInfo.at(static_cast<size_t>(setting)).Name;
}

TSettings TSettings::Defaults() {
  namespace vk = platform::vk;
  TSettings s;
  s.Keys = {{{'K', vk::Up, vk::Numpad0 + 8},
             {'J', vk::Down, vk::Numpad0 + 2},
             {'H', vk::Left, vk::Numpad0 + 4},
             {'L', vk::Right, vk::Numpad0 + 6},
             {vk::Space},
             {vk::Return},
             {vk::Shift},
             {vk::Tab},
             {vk::Escape}}};
  s.PadButtons = {{{1}, {2}, {3}}};
  s.FullScreenKeys = {vk::F1 + 10, kAltChord | vk::Return};
  return s;
}

bool TSettings::SameValues(const TSettings& o) const {
  return Keys == o.Keys && PadButtons == o.PadButtons && DeadZone == o.DeadZone &&
         Volume == o.Volume && PauseOnFocusLoss == o.PauseOnFocusLoss &&
         SmoothMotion == o.SmoothMotion && FullScreenKeys == o.FullScreenKeys &&
         PauseOnPadLoss == o.PauseOnPadLoss && MusicVolume == o.MusicVolume;
}

TSettings ParseSettings(std::string_view text, const std::string& fileName) {
  TSettings s = TSettings::Defaults();
  s.File = fileName;
  if (text.size() > kMaxSettingsBytes) {
    s.Messages.push_back(fileName + ": larger than " + std::to_string(kMaxSettingsBytes / 1024) +
                         " KiB, so not a settings file; ignored");
    return s;
  }
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 mark
  TReader reader(s, fileName);
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    reader.Line(text.substr(0, end), ++number);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  reader.Finish();
  return s;
}

TSettings LoadSettings(const std::filesystem::path& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) {
    TSettings s = TSettings::Defaults();
    s.File = path.string();
    return s;
  }
  const fileio::ReadResult read = status.type() == std::filesystem::file_type::regular
                                      ? fileio::ReadPrefix(path.string(), kMaxSettingsBytes + 1)
                                      : fileio::ReadResult{};
  if (!read.Opened) {
    TSettings s = TSettings::Defaults();
    s.File = path.string();
    const bool file = status.type() == std::filesystem::file_type::regular;
    s.Messages.push_back(path.string() + (file ? ": cannot be read" : ": not a file") +
                         (ec ? ": " + ec.message() : std::string()) + "; defaults apply");
    return s;
  }
  const std::string_view text(reinterpret_cast<const char*>(read.Bytes.data()), read.Bytes.size());
  return ParseSettings(text, path.string());
}

std::string FormatSettings(const TSettings& s) {
  std::string out =
      "# Starvelkhorn settings: the settings in effect, each under a line that says what it does\n"
      "# and where its value came from. Save this as " +
      s.File +
      "\n"
      "# to change them; a setting left out keeps its default.\n"
      "# Keys are SDL key names (Space, Return, Left Ctrl, Keypad 8, K), several separated by\n"
      "# commas (key_fullscreen also takes Alt with a key: Alt+Return); gamepad buttons are\n"
      "# numbers from 1 to 32 or a game controller's a, b, x, y, leftshoulder, rightshoulder,\n"
      "# back, start, leftstick, rightstick, guide.\n";
  for (int i = 0; i < kSettingCount; ++i) {
    const TInfo& info = kInfo[static_cast<size_t>(i)];
    out += "\n# " + std::string(info.Help) + " (" + SourceText(s, i) + ")\n";
    out += std::string(info.Name) + " = " + ValueText(s, i) + "\n";
  }
  return out;
}
