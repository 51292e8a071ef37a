#include "input_script.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <sstream>

std::optional<TDXInputState> InputStateNamed(const std::string& name) {
  if (name == "Up") return InputUp;
  if (name == "Down") return InputDown;
  if (name == "Left") return InputLeft;
  if (name == "Right") return InputRight;
  if (name.rfind("Button", 0) == 0 && name.size() > 6) {
    int n = 0;
    const char* first = name.data() + 6;
    const char* last = name.data() + name.size();
    auto [ptr, ec] = std::from_chars(first, last, n);
    if (ec == std::errc() && ptr == last && n >= 1 && n <= 32 && *first != '0') {
      return InputButton(n);
    }
  }
  return std::nullopt;
}

std::optional<TInputScript> TInputScript::Parse(std::istream& in, std::string& error) {
  TInputScript script;
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::istringstream words(line);
    std::string first;
    if (!(words >> first) || first[0] == '#') continue;
    Change change{};
    auto [ptr, ec] = std::from_chars(first.data(), first.data() + first.size(), change.Tick);
    if (ec != std::errc() || ptr != first.data() + first.size() || change.Tick < 1) {
      error = "line " + std::to_string(lineNumber) + ": not a tick number: " + first;
      return std::nullopt;
    }
    std::string name;
    while (words >> name) {
      auto state = InputStateNamed(name);
      if (!state) {
        error = "line " + std::to_string(lineNumber) + ": unknown input state " + name;
        return std::nullopt;
      }
      change.Held.set(*state);
    }
    script.changes_.push_back(change);
  }
  // A later line for the same tick wins; the order of the file otherwise does not matter.
  std::stable_sort(script.changes_.begin(), script.changes_.end(),
                   [](const Change& a, const Change& b) { return a.Tick < b.Tick; });
  return script;
}

TDXInputStates TInputScript::At(int64_t tick) const {
  auto after = std::upper_bound(changes_.begin(), changes_.end(), tick,
                                [](int64_t t, const Change& c) { return t < c.Tick; });
  return after == changes_.begin() ? TDXInputStates{} : std::prev(after)->Held;
}
