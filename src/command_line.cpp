#include "command_line.h"

#include <array>
#include <string_view>

namespace {

struct TOption {
  std::string_view Name;
  std::string_view Value;  // the value's name in the help; empty: the option takes none
  std::string_view Help;
  // Records the option; returns what is wrong with it, or "".
  std::string (*Apply)(TCommandLine& line, const std::string& value);
};

std::string ChooseDisplay(TCommandLine& line, int choice) {
  if (line.DisplayChoice >= 0 && line.DisplayChoice != choice)
    return "--windowed and --fullscreen exclude each other";
  line.DisplayChoice = choice;
  return "";
}

constexpr std::array<TOption, 8> kOptions = {{
    {"--windowed", "", "play in a window, without asking",
     [](TCommandLine& l, const std::string&) { return ChooseDisplay(l, 0); }},
    {"--fullscreen", "", "play fullscreen (scaled to the desktop), without asking",
     [](TCommandLine& l, const std::string&) { return ChooseDisplay(l, 1); }},
    {"--replay", "FILE", "play a recorded flight",
     [](TCommandLine& l, const std::string& v) {
       if (v.empty()) return std::string("--replay needs a file name");
       l.Replay = v;
       return std::string();
     }},
    {"--frame-stats", "", "at exit, print how evenly the flights were shown (frame timing)",
     [](TCommandLine& l, const std::string&) {
       l.FrameStats = true;
       return std::string();
     }},
    {"--settings", "", "print the settings in effect and where each came from, then exit",
     [](TCommandLine& l, const std::string&) {
       l.PrintSettings = true;
       return std::string();
     }},
    {"--check-data", "", "print where the game data, saved game and settings are, then exit",
     [](TCommandLine& l, const std::string&) {
       l.CheckData = true;
       return std::string();
     }},
    {"--help", "", "print this help, then exit",
     [](TCommandLine& l, const std::string&) {
       l.Help = true;
       return std::string();
     }},
    {"--version", "", "print the version, then exit",
     [](TCommandLine& l, const std::string&) {
       l.Version = true;
       return std::string();
     }},
}};

const TOption* FindOption(std::string_view name) {
  for (const TOption& o : kOptions) {
    if (o.Name == name) return &o;
  }
  return nullptr;
}

}  // namespace

TCommandLineRead ReadCommandLine(int argc, const char* const* argv) {
  TCommandLineRead read;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const size_t eq = arg.find('=');
    const std::string_view name = arg.substr(0, eq);
    const TOption* option = arg.rfind("--", 0) == 0 ? FindOption(name) : nullptr;
    if (!option && arg == "-h") option = FindOption("--help");
    if (!option) {
      read.Error = arg.rfind("-", 0) == 0 ? "unknown option '" + std::string(arg) + "'"
                                          : "unexpected argument '" + std::string(arg) + "'";
      return read;
    }
    std::string value;
    if (eq != std::string_view::npos) {
      if (option->Value.empty()) {
        read.Error = std::string(option->Name) + " takes no value";
        return read;
      }
      value = std::string(arg.substr(eq + 1));
    } else if (!option->Value.empty()) {
      if (i + 1 >= argc) {
        read.Error = std::string(option->Name) + " needs a value: " + std::string(option->Value);
        return read;
      }
      value = argv[++i];
    }
    read.Error = option->Apply(read.Line, value);
    if (!read.Error.empty()) return read;
  }
  return read;
}

std::string Usage() {
  std::string text =
      "Usage: starvelkhorn [OPTION]...\n"
      "A vertically scrolling aerial shoot-'em-up.\n\n";
  for (const TOption& o : kOptions) {
    // Appends rather than "  " + std::string(...): GCC 12 at -O3 reports a false -Wrestrict
    // inside the inlined operator+ of a literal and a temporary string.
    std::string left = "  ";
    left += o.Name;
    if (!o.Value.empty()) {
      left += ' ';
      left += o.Value;
    }
    left.resize(std::max<size_t>(left.size() + 2, 20), ' ');
    text += left + std::string(o.Help) + "\n";
  }
  return text;
}
