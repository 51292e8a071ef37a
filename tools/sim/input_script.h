// The --input script: lines "TICK STATE..." (e.g. "120 Up Button1"); from tick TICK on,
// exactly the listed states are held. "TICK" alone releases everything. Blank lines and
// lines starting with '#' are ignored.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "presentation/dxinput.h"

class TInputScript {
 public:
  struct Change {
    int64_t Tick;
    TDXInputStates Held;
  };

  // Nullopt on a malformed line; `error` names the line and the problem.
  static std::optional<TInputScript> Parse(std::istream& in, std::string& error);

  // The states held during the given tick.
  TDXInputStates At(int64_t tick) const;
  const std::vector<Change>& Changes() const { return changes_; }

 private:
  std::vector<Change> changes_;  // in tick order
};

// "Up", "Down", "Left", "Right", "Button1".."Button32"; nullopt for anything else.
std::optional<TDXInputState> InputStateNamed(const std::string& name);
