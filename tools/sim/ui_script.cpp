#include "ui_script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

#include "platform/backend.h"

namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool ParseInt(const std::string& text, int64_t& out) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return !text.empty() && ec == std::errc() && ptr == end;
}

// A double-quoted string at the start of `rest` (\" and \\ escape); the rest after it.
bool TakeQuoted(std::string& rest, std::string& out) {
  rest = Trim(rest);
  if (rest.empty() || rest[0] != '"') return false;
  out.clear();
  for (size_t i = 1; i < rest.size(); ++i) {
    if (rest[i] == '\\' && i + 1 < rest.size()) {
      out += rest[++i];
    } else if (rest[i] == '"') {
      rest = Trim(rest.substr(i + 1));
      return true;
    } else {
      out += rest[i];
    }
  }
  return false;
}

// Strips a comment: a '#' outside quotes.
std::string StripComment(const std::string& line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && quoted) {
      ++i;
    } else if (line[i] == '"') {
      quoted = !quoted;
    } else if (line[i] == '#' && !quoted) {
      return line.substr(0, i);
    }
  }
  return line;
}

using TKind = TUiCommand::TKind;

// Fills the command from the words after its verb; false with a reason when malformed.
bool ParseArguments(TUiCommand& c, std::string rest, std::string& why) {
  switch (c.Kind) {
    case TKind::Choose:
    case TKind::ExpectMessage:
    case TKind::Expect:
      if (!TakeQuoted(rest, c.Text) || !rest.empty()) why = "expects one quoted text";
      break;
    case TKind::Click:
    case TKind::DoubleClick:
    case TKind::Locate:
      c.Number = 1;
      if (!TakeQuoted(rest, c.Text)) {
        why = "expects a quoted caption";
      } else if (!rest.empty() && (!ParseInt(rest, c.Number) || c.Number < 1)) {
        why = "expects a count of 1 or more after the caption";
      }
      break;
    case TKind::Key:
      c.Text = Trim(rest);
      if (VirtualKeyFromName(c.Text) == 0) why = "unknown key name '" + c.Text + "'";
      break;
    case TKind::Hold: {
      const auto space = Trim(rest).find_last_of(' ');
      const std::string r = Trim(rest);
      if (space == std::string::npos || !ParseInt(r.substr(space + 1), c.Number) || c.Number < 0) {
        why = "expects a key name and a number of ticks";
        break;
      }
      c.Text = Trim(r.substr(0, space));
      if (VirtualKeyFromName(c.Text) == 0) why = "unknown key name '" + c.Text + "'";
      break;
    }
    case TKind::Wait:
      if (!ParseInt(Trim(rest), c.Number) || c.Number < 0) why = "expects milliseconds";
      break;
    case TKind::Screenshot:
      c.Text = Trim(rest);
      if (c.Text.empty()) why = "expects a file name";
      break;
    case TKind::Ok:
      if (!Trim(rest).empty()) why = "takes no arguments";
      break;
    case TKind::Autopilot:
      c.Text = Trim(rest);
      c.Number = c.Text == "on" ? 1 : 0;
      if (c.Text != "on" && c.Text != "off") why = "expects on or off";
      break;
  }
  return why.empty();
}

}  // namespace

std::optional<std::vector<TUiCommand>> ParseUiScript(std::istream& in, std::string& error) {
  static const std::map<std::string, TKind> verbs = {
      {"choose", TKind::Choose},
      {"click", TKind::Click},
      {"double-click", TKind::DoubleClick},
      {"key", TKind::Key},
      {"hold", TKind::Hold},
      {"wait", TKind::Wait},
      {"screenshot", TKind::Screenshot},
      {"expect-message", TKind::ExpectMessage},
      {"ok", TKind::Ok},
      {"expect", TKind::Expect},
      {"autopilot", TKind::Autopilot},
      {"locate", TKind::Locate},
  };
  std::vector<TUiCommand> commands;
  std::string raw;
  int32_t lineNo = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    const std::string line = Trim(StripComment(raw));
    if (line.empty()) continue;
    const auto space = line.find_first_of(" \t");
    const std::string verb = line.substr(0, space);
    const auto it = verbs.find(verb);
    if (it == verbs.end()) {
      error = "line " + std::to_string(lineNo) + ": unknown command '" + verb + "'";
      return std::nullopt;
    }
    TUiCommand c;
    c.Kind = it->second;
    c.Line = lineNo;
    c.Source = line;
    std::string why;
    if (!ParseArguments(c, space == std::string::npos ? "" : line.substr(space), why)) {
      error = "line " + std::to_string(lineNo) + ": " + verb + " " + why;
      return std::nullopt;
    }
    commands.push_back(std::move(c));
  }
  return commands;
}

uint8_t VirtualKeyFromName(const std::string& name) {
  namespace vk = platform::vk;
  static const std::map<std::string, uint8_t> named = {
      {"return", vk::Return},
      {"enter", vk::Return},
      {"escape", vk::Escape},
      {"space", vk::Space},
      {"tab", vk::Tab},
      {"backspace", vk::Back},
      {"left", vk::Left},
      {"right", vk::Right},
      {"up", vk::Up},
      {"down", vk::Down},
      {"left shift", vk::Shift},
      {"right shift", vk::Shift},
      {"shift", vk::Shift},
      {"left ctrl", vk::Control},
      {"right ctrl", vk::Control},
      {"left alt", vk::Menu},
      {"right alt", vk::Menu},
      {"pageup", vk::Prior},
      {"pagedown", vk::Next},
      {"home", vk::Home},
      {"end", vk::End},
      {"pause", vk::Pause},
      {"keypad enter", vk::Return},
  };
  const std::string n = Lower(Trim(name));
  if (const auto it = named.find(n); it != named.end()) return it->second;
  if (n.size() == 1 && std::isalnum(static_cast<unsigned char>(n[0]))) {
    return static_cast<uint8_t>(std::toupper(static_cast<unsigned char>(n[0])));
  }
  if (n.size() >= 2 && n[0] == 'f') {
    int64_t k = 0;
    if (ParseInt(n.substr(1), k) && k >= 1 && k <= 12) return static_cast<uint8_t>(vk::F1 + k - 1);
  }
  if (n.rfind("keypad ", 0) == 0 && n.size() == 8 &&
      std::isdigit(static_cast<unsigned char>(n[7]))) {
    return static_cast<uint8_t>(vk::Numpad0 + (n[7] - '0'));
  }
  return 0;
}
