// The player's settings: keys and gamepad buttons for flying, the stick's dead zone, the sound
// and music volumes, whether losing the window's focus pauses a mission and whether motion is drawn
// smoothly between ticks. They live in a small text
// file, "settings.ini", one `name = value` a line, `#` starting a comment line; the game never
// needs it, and every setting it leaves out keeps its default, which is the game as it always
// was.
//
// The file is the player's, so it is read as hostile and forgiving at once: a bad line
// (unknown name, bad value, a key already bound, a line too long) is reported with the file's
// name and line number and ignored, and the rest applies. The file may hold at most
// kMaxSettingsBytes; a bigger one is not a settings file and is ignored as a whole.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// What the flight keys can do, in the order the file lists them.
enum class TAction : uint8_t { Up, Down, Left, Right, Cannon, Weapon, NextWeapon, Repair, Pause };
inline constexpr int kActionCount = 9;
// What the gamepad's buttons can do (the stick always steers).
enum class TPadAction : uint8_t { Cannon, Weapon, NextWeapon };
inline constexpr int kPadActionCount = 3;

// Every setting, in the file's order: the keys, the pad buttons, then the rest.
inline constexpr int kDeadZoneSetting = kActionCount + kPadActionCount;
inline constexpr int kVolumeSetting = kDeadZoneSetting + 1;
inline constexpr int kFocusSetting = kVolumeSetting + 1;
inline constexpr int kSmoothSetting = kFocusSetting + 1;
// The window's keys and the pad's loss.
inline constexpr int kFullScreenSetting = kSmoothSetting + 1;
inline constexpr int kPadLossSetting = kFullScreenSetting + 1;
// The soundtrack's own volume.
inline constexpr int kMusicVolumeSetting = kPadLossSetting + 1;
inline constexpr int kSettingCount = kMusicVolumeSetting + 1;
// The setting's name in the file ("key_up", "volume").
std::string_view SettingName(int setting);

inline constexpr int kMaxKeysPerAction = 8;
// A key of key_fullscreen taken with Alt ("Alt+Return"): the virtual key code with this bit.
inline constexpr uint16_t kAltChord = 0x100;
inline constexpr int kMaxDeadZone = 95;
inline constexpr size_t kMaxSettingsBytes = 64 * 1024;
inline constexpr size_t kMaxSettingsLine = 1024;
// At most this many bad lines are reported one by one; the rest are counted.
inline constexpr size_t kMaxSettingsMessages = 20;

struct TSettings {
  std::array<std::vector<uint8_t>, kActionCount> Keys;           // virtual key codes
  std::array<std::vector<uint8_t>, kPadActionCount> PadButtons;  // joystick buttons, 1..32
  int32_t DeadZone = 50;  // percent of half the stick's travel
  int32_t Volume = 100;   // percent, 100 = full
  bool PauseOnFocusLoss = true;
  bool SmoothMotion = true;  // frames carry moving things on between ticks
  // Switching between the window and the full screen, at any time: virtual key codes, each
  // perhaps with kAltChord. Pulling out the pad that steers pauses a mission as losing focus.
  std::vector<uint16_t> FullScreenKeys;
  bool PauseOnPadLoss = true;
  int32_t MusicVolume = 100;  // percent of the music's own level; 0: no music at all

  // Where each setting came from: the line of File that set it, or 0 for its default. A
  // default may have lost keys or buttons to lines that bound them elsewhere (TakenBy: the
  // first such line, 0 for none).
  std::string File;
  std::array<int, kSettingCount> Line{};
  std::array<int, kSettingCount> TakenBy{};
  // What was wrong with the file, one message a line, each naming the file and line.
  std::vector<std::string> Messages;

  // The game as it always was: keys K/Up/Keypad 8, J/Down/Keypad 2, H/Left/Keypad 4,
  // L/Right/Keypad 6, Space, Return, Shift, Tab and Escape; buttons 1, 2 and 3; F11 and
  // Alt+Return switch the full screen.
  static TSettings Defaults();
  // The same values (sources and messages aside).
  bool SameValues(const TSettings& other) const;
};

// Reads settings text; fileName names it in the messages.
TSettings ParseSettings(std::string_view text, const std::string& fileName);
// Reads the file: a missing file gives the defaults without a word; an unreadable or oversized
// one gives the defaults and says why.
TSettings LoadSettings(const std::filesystem::path& path);
// The settings in the file's own syntax, every setting with a comment that says what it does
// and where its value came from, so the text can be saved as a starting point.
std::string FormatSettings(const TSettings& settings);
