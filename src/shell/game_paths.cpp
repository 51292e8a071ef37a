#include "shell/game_paths.h"

#include <system_error>

#include "base/error.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSaveName = "game.sav";

constexpr const char* kRecordsName = "records.dat";

constexpr const char* kSettingsName = "settings.ini";

// An XDG variable counts only when it is an absolute path (an empty one is unset); otherwise
// the default under the home directory applies.
std::optional<fs::path> XdgHome(const std::optional<std::string>& variable,
                                const ProcessPlaces& places, const fs::path& underHome) {
  if (variable && fs::path(*variable).is_absolute()) return fs::path(*variable);
  if (places.Home && fs::path(*places.Home).is_absolute())
    return fs::path(*places.Home) / underHome;
  return std::nullopt;
}

std::optional<fs::path> UserDataHome(const ProcessPlaces& places) {
  return XdgHome(places.XdgDataHome, places, fs::path(".local") / "share");
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

fs::path RecordsPath() {
  return RecordsPath(ProcessPlaces::Current());
}

fs::path RecordsPath(const ProcessPlaces& places) {
  return SaveGamePath(places).parent_path() / kRecordsName;
}

std::optional<fs::path> SettingsPath() {
  return SettingsPath(ProcessPlaces::Current());
}

std::optional<fs::path> SettingsPath(const ProcessPlaces& places) {
  if (!InstalledPrefix(places)) return fs::path(kSettingsName);
  const auto home = XdgHome(places.XdgConfigHome, places, ".config");
  if (!home) return std::nullopt;
  return *home / "starvelkhorn" / kSettingsName;
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
