// The ui-script: one command a line, driving the whole program from start-up as a player
// would (clicks, keys, waits), with checks of what the player sees. `#` starts a comment.
//
//   choose "Item"            select a radio item by its caption
//   click "Caption" [N]      click the N-th visible control with exactly this caption
//   double-click "Caption" [N]  two quick clicks on its middle; the second press is a
//                            double-click's and lands on whatever the first left there
//   key NAME                 press and release a key (SDL key names: Escape, Return, space)
//   hold NAME TICKS          hold a key for that many 10 ms ticks
//   wait MS                  let that much of the program's clock pass
//   screenshot FILE          save the window as the player sees it
//   expect-message "text"    a message box with exactly this text is open
//   ok                       press the open message box's button
//   expect "text"            a visible caption, memo line or edit text contains the text
//   autopilot on|off         the built-in pilot takes over the flying, or hands it back
//   locate "Caption" [N]     print where a click on that control or radio item would land,
//                            as "at X Y" on standard output (to drive another build alike)
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

struct TUiCommand {
  enum class TKind {
    Choose,
    Click,
    DoubleClick,
    Key,
    Hold,
    Wait,
    Screenshot,
    ExpectMessage,
    Ok,
    Expect,
    Autopilot,
    Locate,
  };
  TKind Kind = TKind::Ok;
  std::string Text;  // the caption, item, key name, file or expected text
  int64_t Number =
      0;  // click's and double-click's N (default 1), hold's ticks, wait's ms, autopilot on = 1
  int32_t Line = 0;    // 1-based line in the script
  std::string Source;  // the line as written
};

// Parses a whole script. On a malformed line returns nullopt with "line N: why" in `error`.
std::optional<std::vector<TUiCommand>> ParseUiScript(std::istream& in, std::string& error);

// The virtual key code for an SDL key name (case-insensitive): letters, digits, Return,
// Escape, space, Tab, Backspace, arrows, Left/Right Shift, Ctrl, Alt, F1..F12, Keypad 0..9.
// 0 for a name it does not know.
uint8_t VirtualKeyFromName(const std::string& name);
