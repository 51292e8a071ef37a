// The game's command line: a table of options, each with its one line of help, read into what
// the program is asked to do. Options are long (`--name`, a value as `--name VALUE` or
// `--name=VALUE`); anything else is an error the program reports with the usage.
#pragma once

#include <optional>
#include <string>

struct TCommandLine {
  bool Help = false;
  bool Version = false;
  bool CheckData = false;
  bool PrintSettings = false;
  bool FrameStats = false;  // print the flights' frame timing at exit
  int DisplayChoice = -1;   // 0 windowed, 1 fullscreen, -1 ask the player
  std::optional<std::string> Replay;
};

struct TCommandLineRead {
  TCommandLine Line;
  std::string Error;  // what is wrong; empty when the line was understood
};

TCommandLineRead ReadCommandLine(int argc, const char* const* argv);
// Every option, one line each.
std::string Usage();
