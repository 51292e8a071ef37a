#include "shell/game_paths.h"

#include <system_error>

#include "base/error.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSaveName = "game.sav";

// XDG_DATA_HOME counts only when it is an absolute path; otherwise the default applies.
std::optional<fs::path> UserDataHome(const ProcessPlaces& places) {
  if (places.XdgDataHome && fs::path(*places.XdgDataHome).is_absolute())
    return fs::path(*places.XdgDataHome);
  if (places.Home && fs::path(*places.Home).is_absolute())
    return fs::path(*places.Home) / ".local" / "share";
  return std::nullopt;
}

}  // namespace

fs::path SaveGamePath() {
  return SaveGamePath(ProcessPlaces::Current());
}

fs::path SaveGamePath(const ProcessPlaces& places) {
  if (!InstalledPrefix(places)) return kSaveName;
  const auto home = UserDataHome(places);
  if (!home)
    throw EInOutError(
        "Cannot find the user's data directory for game.sav (XDG_DATA_HOME and HOME are unset)");
  return *home / "starvelkhorn" / kSaveName;
}

void EnsureSaveDirectory(const fs::path& savePath) {
  const fs::path dir = savePath.parent_path();
  if (dir.empty()) return;
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec || !fs::is_directory(dir))
    throw EInOutError("Cannot create the folder " + dir.string() +
                      (ec ? ": " + ec.message() : std::string()));
}
