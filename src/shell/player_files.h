// The player's files as a backup: gathered from the folder the game keeps them in, described
// for the player before a backup is loaded, and put back. Which files there are is not listed
// anywhere: whatever the game keeps below that folder goes, so a file a later version adds
// (records, say) is kept without a change here.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

#include "shell/atomic_file.h"
#include "shell/player_bundle.h"

// Every regular file below `home` whose path a backup may name (IsBundlePath), sorted by path;
// links and the game's half-written temporaries stay out. Throws EBundleError, in Czech, when
// a file cannot be read or the files break a backup's bounds.
TPlayerBundle PackPlayerFiles(const std::filesystem::path& home, int64_t made,
                              const std::string& gameVersion);

// What loading the backup into `home` would do, in Czech for the player to confirm: what it
// holds ("Záloha z 10. 12. 2026 14:05 obsahuje uloženou hru, nastavení a 3 záznamy letů.") and
// which of those replace files already there. `made` is the backup's time in local time.
std::string DescribeBundle(const TPlayerBundle& bundle, const std::filesystem::path& home,
                           const std::tm& made);

// Puts every file of the backup below `home`, each replaced whole (ReplaceFileContents), the
// folders made as needed; files the backup does not name stay. First checks that each can go
// where it belongs (no folder where a file goes, no file or link where a folder goes) and
// throws EBundleError before anything is written if one cannot. A failure while writing
// (a full disk) throws EInOutError; the files written before it are in place, whole.
void RestorePlayerFiles(const TPlayerBundle& bundle, const std::filesystem::path& home,
                        TFileSystem& fs = RealFileSystem());
