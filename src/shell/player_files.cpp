#include "shell/player_files.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <vector>

#include "base/file_io.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void CannotPack(const std::string& why) {
  throw EBundleError("Zálohu nelze vytvořit: " + why);
}

TBundledFile ReadPlayerFile(const fs::path& file, const std::string& path) {
  const fileio::ReadResult read = fileio::ReadPrefix(file.string(), kMaxBundledFileBytes + 1ULL);
  if (!read.Opened) CannotPack("soubor „" + path + "“ nejde přečíst.");
  if (read.FileSize > kMaxBundledFileBytes) CannotPack("soubor „" + path + "“ je příliš velký.");
  return {path, read.Bytes};
}

// Czech counts: 1 záznam, 2 až 4 záznamy, 5 a víc záznamů.
std::string Counted(size_t n, const char* one, const char* few, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : (n >= 2 && n <= 4) ? few : many);
}

// What the player calls each kind of file, as the object of a sentence.
struct TKinds {
  bool Save = false, Settings = false;
  size_t Replays = 0, Others = 0;

  void Add(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    if (name == "game.sav") {
      Save = true;
    } else if (name == "settings.ini") {
      Settings = true;
    } else if (fs::path(name).extension() == ".replay") {
      ++Replays;
    } else {
      ++Others;
    }
  }
  bool Empty() const { return !Save && !Settings && Replays == 0 && Others == 0; }
  std::string Text() const {
    std::vector<std::string> parts;
    if (Save) parts.push_back("uloženou hru");
    if (Settings) parts.push_back("nastavení");
    if (Replays) parts.push_back(Counted(Replays, "záznam letu", "záznamy letů", "záznamů letů"));
    if (Others)
      parts.push_back(Counted(Others, "další soubor", "další soubory", "dalších souborů"));
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i) {
      if (i > 0) text += i + 1 == parts.size() ? " a " : ", ";
      text += parts[i];
    }
    return text;
  }
};

// Each folder on the way must be a folder (or not exist yet), and the file itself not a folder.
void CheckPlace(const fs::path& home, const std::string& path) {
  fs::path at = home;
  const fs::path relative(path);
  for (auto part = relative.begin(); part != relative.end(); ++part) {
    at /= *part;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(at, ec);
    if (!fs::exists(status)) return;  // made as it is written
    const bool last = std::next(part) == relative.end();
    if (fs::is_symlink(status) || (last ? fs::is_directory(status) : !fs::is_directory(status)))
      throw EBundleError("Zálohu nelze nahrát: „" + path + "“ nemůže nahradit, co tu už je.");
  }
}

}  // namespace

TPlayerBundle PackPlayerFiles(const fs::path& home, int64_t made, const std::string& gameVersion) {
  TPlayerBundle bundle;
  bundle.Made = made;
  bundle.GameVersion = gameVersion.substr(0, kMaxBundleVersionBytes);
  std::error_code ec;
  fs::recursive_directory_iterator walk(home, fs::directory_options::skip_permission_denied, ec);
  if (ec) CannotPack("složka s uloženými soubory nejde přečíst.");
  uint64_t total = 0;
  for (; walk != fs::recursive_directory_iterator(); walk.increment(ec)) {
    if (ec) CannotPack("složka s uloženými soubory nejde přečíst.");
    // Deeper than a backup may name is nothing the game made.
    if (walk.depth() >= static_cast<int>(kMaxBundlePathParts)) walk.disable_recursion_pending();
    if (!walk->is_regular_file(ec) || walk->is_symlink(ec)) continue;
    const std::string path = walk->path().lexically_relative(home).generic_string();
    if (!IsBundlePath(path)) continue;
    if (bundle.Files.size() == kMaxBundleFiles) CannotPack("uložených souborů je příliš mnoho.");
    bundle.Files.push_back(ReadPlayerFile(walk->path(), path));
    total += bundle.Files.back().Bytes.size() + path.size() + 6;
    if (total > kMaxBundleBytes - 1024) CannotPack("uložené soubory jsou dohromady příliš velké.");
  }
  std::sort(bundle.Files.begin(), bundle.Files.end(),
            [](const TBundledFile& a, const TBundledFile& b) { return a.Path < b.Path; });
  return bundle;
}

std::string DescribeBundle(const TPlayerBundle& bundle, const fs::path& home, const std::tm& made) {
  TKinds held, replaced;
  for (const TBundledFile& file : bundle.Files) {
    held.Add(file.Path);
    std::error_code ec;
    if (fs::exists(home / file.Path, ec)) replaced.Add(file.Path);
  }
  char when[64];
  std::snprintf(when, sizeof when, "%d. %d. %d %02d:%02d", made.tm_mday, made.tm_mon + 1,
                made.tm_year + 1900, made.tm_hour, made.tm_min);
  std::string text = std::string("Záloha z ") + when;
  if (held.Empty()) return text + " neobsahuje žádný soubor.";
  text += " obsahuje " + held.Text() + ".\n";
  text += replaced.Empty() ? std::string("V tomto prohlížeči nic nepřepíše.")
                           : "Přepíše v tomto prohlížeči " + replaced.Text() + ".";
  return text;
}

void RestorePlayerFiles(const TPlayerBundle& bundle, const fs::path& home, TFileSystem& fsys) {
  for (const TBundledFile& file : bundle.Files) {
    // Decoded backups are checked already; this keeps a bundle built in code as safe.
    if (!IsBundlePath(file.Path))
      throw EBundleError("Zálohu nelze nahrát: „" + file.Path + "“ není přípustný název.");
    CheckPlace(home, file.Path);
  }
  for (const TBundledFile& file : bundle.Files) {
    const fs::path target = home / file.Path;
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (ec) throw EInOutError(target.parent_path().string() + ": " + InOutErrorText(ec.value()));
    ReplaceFileContents(target, file.Bytes.data(), file.Bytes.size(), fsys);
  }
}
