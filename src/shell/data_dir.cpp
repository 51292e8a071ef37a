#include "shell/data_dir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// A variable set to nothing is treated as unset, as shells and desktop sessions intend it.
std::optional<std::string> Env(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

// HOME is unset under some service managers; the password file still knows the user's home.
std::optional<std::string> HomeDirectory() {
  if (auto home = Env("HOME")) return home;
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::string buffer(size > 0 ? size_t(size) : 16384, '\0');
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_dir)
    return std::string(found->pw_dir);
  return std::nullopt;
}

bool IsDirectory(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

fs::path Tidy(const fs::path& p) {
  std::error_code ec;
  fs::path absolute = fs::absolute(p, ec);
  return (ec ? p : absolute).lexically_normal();
}

}  // namespace

ProcessPlaces ProcessPlaces::Current() {
  ProcessPlaces places;
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) places.Executable = exe;
  places.DataOverride = Env("STARVELKHORN_DATA");
  places.XdgDataHome = Env("XDG_DATA_HOME");
  places.Home = HomeDirectory();
  return places;
}

bool IsContentTree(const fs::path& dir) {
  return IsDirectory(dir / "res") && IsDirectory(dir / "sounds") && IsDirectory(dir / "levels");
}

DataSearch FindDataDir(const ProcessPlaces& places) {
  DataSearch search;
  std::vector<fs::path> candidates;
  if (places.DataOverride && !places.DataOverride->empty())
    candidates.push_back(*places.DataOverride);
  if (!places.Executable.empty()) {
    const fs::path bin = places.Executable.parent_path();
    candidates.push_back(bin.parent_path() / "data");
    candidates.push_back(bin.parent_path() / "share" / "starvelkhorn");
  }
  for (const auto& candidate : candidates) {
    const fs::path tidy = Tidy(candidate);
    search.Tried.push_back(tidy);
    if (IsContentTree(tidy)) {
      search.Tree = tidy;
      break;
    }
  }
  return search;
}

std::optional<fs::path> InstalledPrefix(const ProcessPlaces& places) {
  if (places.Executable.empty()) return std::nullopt;
  const fs::path bin = places.Executable.parent_path();
  if (bin.filename() != "bin" && bin.filename() != "games") return std::nullopt;
  const fs::path prefix = bin.parent_path();
  if (!IsContentTree(prefix / "share" / "starvelkhorn")) return std::nullopt;
  return Tidy(prefix);
}

std::string MissingDataMessage(const DataSearch& search) {
  std::string text =
      "Herní data nenalezena (složky res, sounds a levels).\nGame data not found. Looked in:";
  for (const auto& place : search.Tried) text += "\n" + place.string();
  if (search.Tried.empty()) text += "\n(nowhere: the program's own location is unknown)";
  text += "\nSet STARVELKHORN_DATA to the folder that holds them.";
  return text;
}
