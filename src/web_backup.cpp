// The page's way to the player's files (the browser build only): a backup of them made for
// download, a chosen backup checked and described, and loaded once the player confirms. The
// page (web/keep.js) calls these while the game waits for input, so each one runs to its end
// without giving the browser control.
#include <emscripten.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "base/file_io.h"
#include "replay/game_version.h"
#include "shell/player_files.h"

namespace {

// The answer the page reads: "ok" or "chyba" on the first line, then the text for the player.
const char* Answer(bool ok, const std::string& text) {
  static std::string answer;
  answer = (ok ? "ok\n" : "chyba\n") + text;
  return answer.c_str();
}

// The chosen file, read whole but never beyond what a backup may be: a larger one is refused
// by its size alone.
TPlayerBundle ReadBackup(const char* file, const char* name) {
  const fileio::ReadResult read = fileio::ReadPrefix(file, kMaxBundleBytes + 1);
  if (!read.Opened) throw EBundleError(std::string("Soubor „") + name + "“ nejde přečíst.");
  return DecodeBundle(read.Bytes.data(), read.Bytes.size(), name);
}

// Writing as the game does, but without syncing to the disk: in a page, a sync of a file kept
// in the browser's storage waits for that storage, which a function called by the page must not
// do (it would return before its end). The page stores the files once the call is over.
class TPageFileSystem : public TFileSystem {
 public:
  int Sync(int) override { return 0; }
  int SyncDirectory(const std::string&) override { return 0; }
};

TPageFileSystem& PageFileSystem() {
  static TPageFileSystem page;
  return page;
}

}  // namespace

extern "C" {

// Writes the backup of everything below `home` to `out`.
EMSCRIPTEN_KEEPALIVE const char* SkPackBackup(const char* home, const char* out) {
  try {
    const TPlayerBundle bundle =
        PackPlayerFiles(home, static_cast<int64_t>(std::time(nullptr)), GameVersion());
    const std::vector<uint8_t> bytes = EncodeBundle(bundle);
    ReplaceFileContents(out, bytes.data(), bytes.size(), PageFileSystem());
    return Answer(true, std::to_string(bundle.Files.size()));
  } catch (const EGameError& e) {
    return Answer(false, e.what());
  }
}

// Checks the backup in `file` (the player named it `name`) and says what loading it would do.
EMSCRIPTEN_KEEPALIVE const char* SkCheckBackup(const char* file, const char* name,
                                               const char* home) {
  try {
    const TPlayerBundle bundle = ReadBackup(file, name);
    const std::time_t made = static_cast<std::time_t>(bundle.Made);
    std::tm local{};
    localtime_r(&made, &local);
    return Answer(true, DescribeBundle(bundle, home, local));
  } catch (const EGameError& e) {
    return Answer(false, e.what());
  }
}

// Loads the backup in `file` into `home`, checked once more as it is read.
EMSCRIPTEN_KEEPALIVE const char* SkRestoreBackup(const char* file, const char* name,
                                                 const char* home) {
  try {
    RestorePlayerFiles(ReadBackup(file, name), home, PageFileSystem());
    return Answer(true, "");
  } catch (const EGameError& e) {
    return Answer(false, e.what());
  }
}

}  // extern "C"
