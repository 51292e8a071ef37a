#include "shell/player_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

void Put(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

std::string Text(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Paths(const TPlayerBundle& b) {
  std::vector<std::string> paths;
  for (const TBundledFile& f : b.Files) paths.push_back(f.Path);
  return paths;
}

TBundledFile File(const std::string& path, const std::string& text) {
  return {path, std::vector<uint8_t>(text.begin(), text.end())};
}

std::tm Noon() {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 10;
  t.tm_hour = 14;
  t.tm_min = 5;
  return t;
}

// A browser's home as the game leaves it, with what must not go into a backup beside it.
struct PlayerHome {
  ScopedTempDir dir;
  fs::path home = dir.Path() / "home";
  PlayerHome() {
    Put(home / ".local/share/starvelkhorn/game.sav", "save");
    Put(home / ".local/share/starvelkhorn/replays/2026-12-09_07-05-33_mise-1_vyhra.replay", "r1");
    Put(home / ".local/share/starvelkhorn/records.dat", "best");
    Put(home / ".config/starvelkhorn/settings.ini", "volume = 50\n");
    Put(home / ".local/share/starvelkhorn/game.sav.tmp", "half");
    Put(home / "pozn\xC3\xA1mka.txt", "a name no backup may hold");
    Put(dir.Path() / "outside/secret", "not the player's");
    fs::create_symlink(dir.Path() / "outside", home / "link");
  }
};

TEST(PlayerFiles, TheBackupHoldsEveryFileOfTheHomeFolderButLinksAndTemporaries) {
  PlayerHome h;
  const TPlayerBundle b = PackPlayerFiles(h.home, 1796799933, "0.1.0");
  EXPECT_EQ(Paths(b),
            (std::vector<std::string>{
                ".config/starvelkhorn/settings.ini",
                ".local/share/starvelkhorn/game.sav",
                ".local/share/starvelkhorn/records.dat",
                ".local/share/starvelkhorn/replays/2026-12-09_07-05-33_mise-1_vyhra.replay",
            }));
  EXPECT_EQ(b.Files[1], File(".local/share/starvelkhorn/game.sav", "save"));
  EXPECT_EQ(b.Made, 1796799933);
  EXPECT_EQ(b.GameVersion, "0.1.0");
}

// Download, lose the browser's storage, load the file back: everything is there again.
TEST(PlayerFiles, AFolderLoadedFromItsBackupHoldsTheSameFiles) {
  PlayerHome h;
  const std::vector<uint8_t> bytes = EncodeBundle(PackPlayerFiles(h.home, 0, "0.1.0"));
  const TPlayerBundle read = DecodeBundle(bytes.data(), bytes.size(), "z.zaloha");
  const fs::path fresh = h.dir.Path() / "fresh";
  fs::create_directories(fresh);
  RestorePlayerFiles(read, fresh);
  EXPECT_EQ(PackPlayerFiles(fresh, 0, "0.1.0"), read);
  EXPECT_EQ(Text(fresh / ".config/starvelkhorn/settings.ini"), "volume = 50\n");
  EXPECT_FALSE(fs::exists(fresh / ".local/share/starvelkhorn/game.sav.tmp"));
}

TEST(PlayerFiles, LoadingReplacesFilesOfTheSameNameAndKeepsTheOthers) {
  PlayerHome h;
  TPlayerBundle b;
  b.Files = {File(".local/share/starvelkhorn/game.sav", "older save"),
             File(".local/share/starvelkhorn/replays/new.replay", "r2")};
  RestorePlayerFiles(b, h.home);
  EXPECT_EQ(Text(h.home / ".local/share/starvelkhorn/game.sav"), "older save");
  EXPECT_EQ(Text(h.home / ".local/share/starvelkhorn/replays/new.replay"), "r2");
  EXPECT_EQ(Text(h.home / ".local/share/starvelkhorn/records.dat"), "best");
  EXPECT_EQ(Text(h.home / ".config/starvelkhorn/settings.ini"), "volume = 50\n");
}

// A file where a folder must go, a folder where a file must go or a link on the way: refused
// before any file is written, so nothing is half loaded and nothing lands outside the folder.
TEST(PlayerFiles, NothingIsWrittenWhenOneFileCannotGoWhereItBelongs) {
  PlayerHome h;
  const std::vector<TBundledFile> blocked = {
      File(".local/share/starvelkhorn/game.sav/x", "under a file"),
      File(".local/share/starvelkhorn/replays", "over a folder"),
      File("link/secret", "through a link"),
      File("link", "over a link"),
  };
  for (const TBundledFile& b : blocked) {
    TPlayerBundle bundle;
    bundle.Files = {File(".config/starvelkhorn/settings.ini", "volume = 0\n"), b};
    EXPECT_THROW(RestorePlayerFiles(bundle, h.home), EBundleError) << b.Path;
    EXPECT_EQ(Text(h.home / ".config/starvelkhorn/settings.ini"), "volume = 50\n") << b.Path;
  }
  EXPECT_EQ(Text(h.dir.Path() / "outside/secret"), "not the player's");
  TPlayerBundle escape;
  escape.Files = {File("../outside/secret", "escaped")};
  EXPECT_THROW(RestorePlayerFiles(escape, h.home), EBundleError);
  EXPECT_EQ(Text(h.dir.Path() / "outside/secret"), "not the player's");
}

TEST(PlayerFiles, TheQuestionSaysWhatTheBackupHoldsAndWhatItReplaces) {
  PlayerHome h;
  TPlayerBundle b = PackPlayerFiles(h.home, 0, "");
  for (int i = 0; i < 4; ++i) b.Files.push_back(File("x/" + std::to_string(i) + ".replay", "r"));
  EXPECT_EQ(DescribeBundle(b, h.home, Noon()),
            "Záloha z 10. 12. 2026 14:05 obsahuje uloženou hru, nastavení, 5 záznamů letů a 1 "
            "další soubor.\nPřepíše v tomto prohlížeči uloženou hru, nastavení, 1 záznam letu a 1 "
            "další soubor.");
  const fs::path empty = h.dir.Path() / "empty";
  TPlayerBundle few;
  few.Files = {File("a.replay", ""), File("b.replay", ""), File("c", ""), File("d", "")};
  EXPECT_EQ(DescribeBundle(few, empty, Noon()),
            "Záloha z 10. 12. 2026 14:05 obsahuje 2 záznamy letů a 2 další soubory.\n"
            "V tomto prohlížeči nic nepřepíše.");
  EXPECT_EQ(DescribeBundle(TPlayerBundle{}, empty, Noon()),
            "Záloha z 10. 12. 2026 14:05 neobsahuje žádný soubor.");
}

TEST(PlayerFiles, AFileTooLargeForABackupIsNamedAndNothingIsPacked) {
  PlayerHome h;
  const fs::path big = h.home / ".local/share/starvelkhorn/replays/long.replay";
  std::ofstream(big).close();
  fs::resize_file(big, kMaxBundledFileBytes + 1ULL);
  try {
    PackPlayerFiles(h.home, 0, "");
    FAIL() << "packed";
  } catch (const EBundleError& e) {
    EXPECT_STREQ(e.what(),
                 "Zálohu nelze vytvořit: soubor „.local/share/starvelkhorn/replays/long.replay“ je "
                 "příliš velký.");
  }
  fs::resize_file(big, kMaxBundledFileBytes);
  EXPECT_EQ(PackPlayerFiles(h.home, 0, "").Files.size(), 5u);
}

}  // namespace
