// What the program does before anything else: find the content tree and work in it.
#pragma once

#include <optional>

// Changes into the content tree. Returns the exit status when the program ends here instead:
// after the `--check-data` probe (checkData: prints the tree, the install prefix and the places
// of the saved game and the settings; for packaging and install tests), or when no tree is
// found (reported on standard error and in the game's error box).
std::optional<int> EnterDataDir(bool checkData);
