// Where the game keeps what the player owns. Every part of the game that reads or writes the
// saved game asks here, so where it lives is decided in one place.
//
// Run from its build tree (or any place that is not an installed prefix), the game keeps
// "game.sav" in its working directory, the content tree, as it always has. Run from an
// installed prefix, whose content tree is read-only and shared by every user, it keeps it in
// the user's data directory: $XDG_DATA_HOME/starvelkhorn/game.sav, by default
// ~/.local/share/starvelkhorn/game.sav. The player's settings follow the same rule.
#pragma once

#include <filesystem>
#include <optional>

#include "shell/data_dir.h"

// The saved game's file for this process.
std::filesystem::path SaveGamePath();
// The same decision for any process: what the game does, testable without touching the
// environment. Throws EInOutError when an installed game cannot tell where the user's data
// directory is (neither XDG_DATA_HOME nor a home directory).
std::filesystem::path SaveGamePath(const ProcessPlaces& places);

// The player's records ("records.dat"), beside the saved game.
std::filesystem::path RecordsPath();
std::filesystem::path RecordsPath(const ProcessPlaces& places);

// The player's settings file for this process, by the same rule: "settings.ini" in the
// working directory for a game run from its build tree; for an installed game,
// $XDG_CONFIG_HOME/starvelkhorn/settings.ini, by default ~/.config/starvelkhorn/settings.ini.
// None when an installed game cannot tell where the user's configuration lives.
std::optional<std::filesystem::path> SettingsPath();
std::optional<std::filesystem::path> SettingsPath(const ProcessPlaces& places);

// Creates the folder the saved game goes into, with its parents, when it is missing; the saver
// calls it before it writes. Nothing to do for a file in the working directory. Throws
// EInOutError naming the folder when it cannot be made.
void EnsureSaveDirectory(const std::filesystem::path& savePath);
