// Where the game keeps what the player owns. Every part of the game that reads or writes the
// saved game asks here, so where it lives is decided in one place.
#pragma once

#include <filesystem>

// The saved game's file: "game.sav" in the working directory (the content tree) when the
// game runs from its build tree.
std::filesystem::path SaveGamePath();
