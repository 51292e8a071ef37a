// The player's records on the disk: "records.dat" beside the saved game, replaced whole as the
// saved game is, so a crash in the middle of a write leaves the old records or the new ones.
// A file that cannot be read as records is never written over: it is put aside under another
// name, the player is told once, and the game goes on with no records.
#pragma once

#include <filesystem>
#include <string>

#include "shell/atomic_file.h"
#include "shell/record_book.h"

struct TRecordsLoad {
  TRecordBook Book;
  // For the player, in Czech; empty when the records were read or there were none yet.
  std::string Message;
  // What was wrong with the file, for the error stream; empty as Message.
  std::string Problem;
  // False when an unreadable file could not be put aside: it stays, and is not written over.
  bool Writable = true;
};

// Reads the records; a missing file is no records at all.
TRecordsLoad LoadRecords(const std::filesystem::path& path, TFileSystem& fs = RealFileSystem());

// Writes the records in place of the old ones (the folder made when missing). Throws
// EInOutError naming the file and what went wrong; the old file is then untouched.
void SaveRecords(const std::filesystem::path& path, const TRecordBook& book,
                 TFileSystem& fs = RealFileSystem());

// Where an unreadable records file is put: "records.dat.bad", or with a number when that
// name is taken.
std::filesystem::path SetAsidePath(const std::filesystem::path& path);
