// The player's settings file: good lines apply, each bad line is named by file and line and
// skipped while the rest applies, a key moves from a default but never from another line,
// the printed settings read back to the same values, and the defaults are the game's own keys.
#include "shell/settings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"
#include "shell/apply_settings.h"
#include "support/temp_dir.h"

namespace {

namespace vk = platform::vk;
using Codes = std::vector<uint8_t>;

const Codes& KeysOf(const TSettings& s, TAction a) {
  return s.Keys[static_cast<size_t>(a)];
}

TEST(Settings, GoodLinesApplyAndEveryBadLineIsNamedAndSkipped) {
  const TSettings s = ParseSettings(
      "\xEF\xBB\xBF# my keys\n"
      "key_cannon = Left Ctrl, space\r\n"
      "  key_up=W  \n"
      "kye_down = S\n"         // 4: unknown setting
      "key_left = A, Enter\n"  // 5: unknown key name
      "key_right = D, W\n"     // 6: W is bound on line 3
      "volume = 101\n"         // 7: out of range
      "volume = 40\n"
      "volume = 30\n"  // 9: set twice
      "pad_cannon = 4, start\n"
      "pad_weapon = 33\n"  // 11: no such button
      "pad_dead_zone = 20\n"
      "pause_on_focus_loss = maybe\n"  // 13: not a switch
      "key_pause = F13\n"              // 14: a key the game cannot read
      "[keys]\n"                       // 15: no `=`
      "key_repair = Tab\x1b[2J\n"      // 16: a control character
      "key_weapon = Return, Return\n"  // 17: listed twice
      "\n# the end",
      "my.ini");
  EXPECT_EQ(KeysOf(s, TAction::Cannon), (Codes{vk::Control, vk::Space}));
  EXPECT_EQ(KeysOf(s, TAction::Up), (Codes{'W'}));
  EXPECT_EQ(s.Line[static_cast<size_t>(TAction::Up)], 3);
  EXPECT_EQ(s.Volume, 40);
  EXPECT_EQ(s.Line[kVolumeSetting], 8);
  EXPECT_EQ(s.PadButtons[0], (Codes{4, 8}));
  EXPECT_EQ(s.DeadZone, 20);
  // Bad lines leave their settings at the defaults.
  const TSettings d = TSettings::Defaults();
  for (TAction a : {TAction::Down, TAction::Left, TAction::Right, TAction::Pause, TAction::Repair,
                    TAction::Weapon})
    EXPECT_EQ(KeysOf(s, a), KeysOf(d, a)) << static_cast<int>(a);
  EXPECT_EQ(s.PadButtons[1], (Codes{2}));
  EXPECT_TRUE(s.PauseOnFocusLoss);

  const std::vector<std::string> expected = {
      "my.ini:4: unknown setting \"kye_down\"; line ignored",
      "my.ini:5: unknown key name \"Enter\"; line ignored",
      "my.ini:6: W is already bound to key_up on line 3; line ignored",
      "my.ini:7: volume must be a whole number from 0 to 100, not \"101\"; line ignored",
      "my.ini:9: volume is already set on line 8; line ignored",
      "my.ini:11: unknown gamepad button \"33\" (a number from 1 to 32, or a, b, x, y, "
      "leftshoulder, rightshoulder, back, start, leftstick, rightstick, guide); line ignored",
      "my.ini:13: pause_on_focus_loss must be on or off, not \"maybe\"; line ignored",
      "my.ini:14: the game cannot read the key \"F13\"; line ignored",
      "my.ini:15: expected `name = value`, found \"[keys]\"; line ignored",
      "my.ini:16: the line holds a control character; line ignored",
      "my.ini:17: \"Return\" is listed twice; line ignored",
  };
  EXPECT_EQ(s.Messages, expected);
}

TEST(Settings, AKeyMovesFromADefaultAndAnActionLeftWithoutKeysIsNamed) {
  // Swapping cannon and weapon takes two lines, in either order, and says nothing.
  for (const char* text :
       {"key_cannon = Return\nkey_weapon = Space\n", "key_weapon = Space\nkey_cannon = Return\n"}) {
    const TSettings s = ParseSettings(text, "s.ini");
    EXPECT_EQ(KeysOf(s, TAction::Cannon), (Codes{vk::Return})) << text;
    EXPECT_EQ(KeysOf(s, TAction::Weapon), (Codes{vk::Space})) << text;
    EXPECT_TRUE(s.Messages.empty()) << text;
  }
  // One line alone leaves the weapon without a key: applied, and said.
  const TSettings s = ParseSettings("\nkey_cannon = Return, Keypad 8\npad_weapon = 1\n", "s.ini");
  EXPECT_TRUE(KeysOf(s, TAction::Weapon).empty());
  EXPECT_EQ(KeysOf(s, TAction::Up), (Codes{'K', vk::Up}));  // keeps what was not taken
  EXPECT_EQ(s.TakenBy[static_cast<size_t>(TAction::Up)], 2);
  EXPECT_TRUE(s.PadButtons[0].empty());
  EXPECT_EQ(s.Messages, (std::vector<std::string>{
                            "s.ini:2: this line took the last key or button of key_weapon, which "
                            "now has none",
                            "s.ini:3: this line took the last key or button of pad_cannon, which "
                            "now has none"}));
  // An empty list is a deliberate "no key".
  EXPECT_TRUE(KeysOf(ParseSettings("key_repair =", "s.ini"), TAction::Repair).empty());
}

TEST(Settings, TheFullScreenKeysTakeAltAndShareThePlainKeysWithTheFlight) {
  using Chords = std::vector<uint16_t>;
  const uint16_t f11 = vk::F1 + 10;
  EXPECT_EQ(TSettings::Defaults().FullScreenKeys, (Chords{f11, kAltChord | vk::Return}));
  // A flight key takes a plain key from the default, and leaves Alt+Return, no rival of Return.
  const TSettings moved = ParseSettings("key_weapon = Return, F11\n", "s.ini");
  EXPECT_EQ(moved.FullScreenKeys, (Chords{kAltChord | vk::Return}));
  EXPECT_TRUE(moved.Messages.empty());
  // The other way round, and a line's key is no other line's.
  const TSettings s = ParseSettings(
      "key_fullscreen = alt+F, Space\nkey_weapon = Return\nkey_cannon = Space\n"
      "key_next_weapon = F\npause_on_pad_loss = off\n",
      "s.ini");
  EXPECT_EQ(s.FullScreenKeys, (Chords{kAltChord | 'F', vk::Space}));
  EXPECT_TRUE(KeysOf(s, TAction::Cannon).empty());
  EXPECT_EQ(KeysOf(s, TAction::NextWeapon), (Codes{'F'}));
  EXPECT_EQ(s.Messages,
            (std::vector<std::string>{
                "s.ini:3: Space is already bound to key_fullscreen on line 1; line ignored",
                "s.ini:1: this line took the last key or button of key_cannon, which now has "
                "none"}));
  EXPECT_FALSE(s.PauseOnPadLoss);
}

TEST(Settings, ThePrintedSettingsReadBackToTheSameValuesWithoutAWord) {
  const std::string custom =
      "key_up = w, Up\nkey_cannon = Right Ctrl\nkey_weapon = Space\npad_weapon = y, 9\n"
      "pad_dead_zone = 0\nvolume = 0\npause_on_focus_loss = off\nkey_pause = Pause\n"
      "key_repair = Keypad 2\nsmooth_motion = off\nkey_fullscreen = Alt+Keypad 8, F12\n"
      "pause_on_pad_loss = no\nmusic_volume = 35\n";
  for (const std::string& text : {std::string(), custom}) {
    const TSettings s = ParseSettings(text, "/home/p/settings.ini");
    ASSERT_TRUE(s.Messages.empty());
    const std::string printed = FormatSettings(s);
    const TSettings again = ParseSettings(printed, "copy.ini");
    EXPECT_TRUE(again.Messages.empty()) << again.Messages.front();
    EXPECT_TRUE(again.SameValues(s)) << printed;
  }
  const std::string defaults = FormatSettings(ParseSettings("", "/home/p/settings.ini"));
  for (const char* line :
       {"\n# Steer up. (default)\nkey_up = K, Up, Keypad 8\n", "\nkey_cannon = Space\n",
        "\nkey_weapon = Return\n", "\nkey_next_weapon = Left Shift\n", "\nkey_repair = Tab\n",
        "\nkey_pause = Escape\n", "\npad_next_weapon = 3\n", "\npad_dead_zone = 50\n",
        "\nvolume = 100\n", "\npause_on_focus_loss = on\n", "\nsmooth_motion = on\n",
        "\nkey_fullscreen = F11, Alt+Return\n", "\npause_on_pad_loss = on\n",
        "\nmusic_volume = 100\n", "Save this as /home/p/settings.ini"})
    EXPECT_NE(defaults.find(line), std::string::npos) << line;
  // The two volumes are two settings, each with its own bounds.
  const TSettings quiet = ParseSettings(custom, "q.ini");
  EXPECT_EQ(quiet.Volume, 0);
  EXPECT_EQ(quiet.MusicVolume, 35);
  EXPECT_EQ(ParseSettings("music_volume = 101\n", "m.ini").Messages,
            std::vector<std::string>{
                "m.ini:1: music_volume must be a whole number from 0 to 100, not \"101\"; line "
                "ignored"});
  // Each switch is its own.
  const TSettings smoothOff = ParseSettings("smooth_motion = off\n", "s.ini");
  EXPECT_FALSE(smoothOff.SmoothMotion);
  EXPECT_TRUE(smoothOff.PauseOnFocusLoss);
  EXPECT_NE(FormatSettings(smoothOff).find("\npause_on_focus_loss = on\n"), std::string::npos);
  const std::string mine = FormatSettings(ParseSettings(custom, "/home/p/settings.ini"));
  EXPECT_NE(mine.find("(from /home/p/settings.ini:2)\nkey_cannon = Left Ctrl\n"), std::string::npos)
      << mine;
  EXPECT_NE(mine.find("(default, less what /home/p/settings.ini:9 took)\nkey_down = J, Down\n"),
            std::string::npos);
}

TEST(Settings, TheDefaultsAreTheKeysAndButtonsTheFormBinds) {
  platform::HeadlessBackend backend;
  TFormComponents form(backend);
  TFormComponents applied(backend);
  applied.DXInput1.Bindings = {};
  applied.DXInput1.PadButtonStates = {};
  ApplyInputSettings(TSettings::Defaults(), applied.DXInput1);
  EXPECT_EQ(applied.DXInput1.Bindings, form.DXInput1.Bindings);
  EXPECT_EQ(applied.DXInput1.PadButtonStates, form.DXInput1.PadButtonStates);
  EXPECT_EQ(applied.DXInput1.DeadZonePercent, form.DXInput1.DeadZonePercent);
}

TEST(Settings, AMovedPadButtonHoldsItsNewActionAndTheOldOneLetsGo) {
  platform::HeadlessBackend backend;
  TFormComponents media(backend);
  ApplyInputSettings(ParseSettings("pad_cannon = 4\npad_weapon = leftshoulder\n", "s.ini"),
                     media.DXInput1);
  const auto held = [&](uint32_t buttons) {
    platform::JoystickState js;
    js.Present = true;
    js.X = js.Y = 32768;
    js.Buttons = buttons;
    backend.SetJoystick(js);
    media.DXInput1.Update();
    return media.DXInput1.States();
  };
  EXPECT_EQ(held(1u << 3), TDXInputStates().set(InputButton1));
  EXPECT_EQ(held(1u << 4), TDXInputStates().set(InputButton2));
  EXPECT_EQ(held(1u << 0 | 1u << 1), TDXInputStates());  // buttons 1 and 2 let go
  EXPECT_EQ(held(1u << 2 | 1u << 31), TDXInputStates().set(InputButton3).set(InputButton32));
}

TEST(Settings, TheReaderIsBoundedAndAMissingFileIsNoError) {
  const TSettings big = ParseSettings(std::string(kMaxSettingsBytes + 1, '#'), "big.ini");
  EXPECT_EQ(big.Messages,
            (std::vector<std::string>{"big.ini: larger than 64 KiB, so not a settings file; "
                                      "ignored"}));
  EXPECT_TRUE(big.SameValues(TSettings::Defaults()));

  const TSettings longLine =
      ParseSettings("volume = 5\nkey_up = " + std::string(kMaxSettingsLine, 'K'), "l.ini");
  EXPECT_EQ(longLine.Volume, 5);
  EXPECT_EQ(longLine.Messages,
            (std::vector<std::string>{"l.ini:2: the line is longer than 1024 characters; line "
                                      "ignored"}));

  std::string junk;
  for (int i = 0; i < 30; ++i) junk += "junk\n";
  const TSettings many = ParseSettings(junk + "volume = 7\n", "j.ini");
  ASSERT_EQ(many.Messages.size(), kMaxSettingsMessages + 1);
  EXPECT_EQ(many.Messages.back(), "j.ini: 10 more bad lines not shown");
  EXPECT_EQ(many.Volume, 7);

  ScopedTempDir dir;
  const TSettings none = LoadSettings(dir.Path() / "settings.ini");
  EXPECT_TRUE(none.Messages.empty());
  EXPECT_TRUE(none.SameValues(TSettings::Defaults()));
  std::ofstream(dir.Path() / "settings.ini") << "volume = 12\n";
  EXPECT_EQ(LoadSettings(dir.Path() / "settings.ini").Volume, 12);
  const TSettings folder = LoadSettings(dir.Path());
  ASSERT_EQ(folder.Messages.size(), 1u);
  EXPECT_EQ(folder.Messages[0], dir.Path().string() + ": not a file; defaults apply");
}

}  // namespace
