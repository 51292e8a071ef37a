#include "shell/player_bundle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/crc32.h"

namespace {

std::string Refusal(const std::vector<uint8_t>& bytes, const std::string& name = "z.zaloha") {
  try {
    DecodeBundle(bytes.data(), bytes.size(), name);
  } catch (const EBundleError& e) {
    return e.what();
  }
  return "read";
}

TPlayerBundle WithPaths(const std::vector<std::string>& paths) {
  TPlayerBundle b;
  for (const std::string& p : paths) b.Files.push_back({p, {1, 2}});
  return b;
}

TEST(Crc32, GivesTheZipChecksOwnValues) {
  const std::string check = "123456789";
  EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0xCBF43926u);
  EXPECT_EQ(Crc32(nullptr, 0), 0u);
}

TEST(PlayerBundle, LaysTheFilesOutInOrderAfterTheHeaderAndEndsWithTheChecksum) {
  TPlayerBundle b;
  b.Made = 0x0102030405060708;
  b.GameVersion = "0.1";
  b.Files = {{"a/b.sav", {9, 8, 7}}, {"s", {}}};
  const std::vector<uint8_t> head{'S', 'V', 'K', 'Z', 'A', 'L', 'O', 'H',  // magic
                                  1,   0,                                  // format
                                  8,   7,   6,   5,   4,   3,   2,   1,    // made
                                  3,   '0', '.', '1',                      // version
                                  2,   0,   0,   0,                        // two files
                                  7,   0,   'a', '/', 'b', '.', 's', 'a', 'v', 3, 0, 0,
                                  0,   9,   8,   7,   1,   0,   's', 0,   0,   0, 0};
  const std::vector<uint8_t> bytes = EncodeBundle(b);
  ASSERT_EQ(bytes.size(), head.size() + 4);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end() - 4), head);
  const uint32_t crc = Crc32(head.data(), head.size());
  EXPECT_EQ(bytes[head.size()], crc & 0xFF);
  EXPECT_EQ(bytes[head.size() + 3], crc >> 24);
  EXPECT_EQ(DecodeBundle(bytes.data(), bytes.size(), "z"), b);
}

TEST(PlayerBundle, PathsStayBelowTheFolderTheyAreLoadedInto) {
  for (const char* good :
       {"game.sav", ".local/share/starvelkhorn/game.sav",
        "replays/2026-12-09_07-05-33_mise-3_vyhra.replay", "a/b/c/d/e/f/g/h", "..a", "tmp.tmpx"}) {
    EXPECT_TRUE(IsBundlePath(good)) << good;
  }
  for (const char* bad :
       {"", "/etc/passwd", "../game.sav", "a/../../b", "a/./b", ".", "..", "a//b", "a/", "a\\b",
        "hra ulozena", "sa\xC5\xA1.sav", "a/b/c/d/e/f/g/h/i", "game.sav.tmp", "a\n"}) {
    EXPECT_FALSE(IsBundlePath(bad)) << bad;
  }
  EXPECT_TRUE(IsBundlePath(std::string(240, 'x')));
  EXPECT_FALSE(IsBundlePath(std::string(241, 'x')));
  EXPECT_FALSE(IsBundlePath(std::string("a\0b", 3)));
}

TEST(PlayerBundle, RefusesWhatIsNoWholeBackupOfAKnownFormat) {
  const std::vector<uint8_t> good = EncodeBundle(WithPaths({"game.sav", "replays/x.replay"}));
  EXPECT_EQ(Refusal({'P', 'K', 3, 4}, "hra.zip"), "Soubor „hra.zip“ není záloha hry Starvelkhorn.");
  EXPECT_EQ(Refusal({}), "Soubor „z.zaloha“ není záloha hry Starvelkhorn.");
  const std::string damaged = "Záloha „z.zaloha“ je poškozená nebo neúplná.";
  // Every cut, and every single flipped byte past the magic, is refused as damaged.
  for (size_t n = 8; n < good.size(); ++n) {
    EXPECT_EQ(Refusal(std::vector<uint8_t>(good.begin(), good.begin() + n)), damaged) << n;
  }
  for (size_t i = 10; i < good.size(); ++i) {
    std::vector<uint8_t> bad = good;
    bad[i] ^= 0x20;
    EXPECT_EQ(Refusal(bad), damaged) << i;
  }
  std::vector<uint8_t> newer = good;
  newer[8] = 2;
  EXPECT_EQ(Refusal(newer),
            "Záloha „z.zaloha“ pochází z novější verze hry a tato verze ji neumí nahrát.");
  TPlayerBundle zero = WithPaths({});
  zero.Format = 0;
  EXPECT_EQ(Refusal(EncodeBundle(zero)), damaged);
  std::vector<uint8_t> huge(kMaxBundleBytes + 1, 0);
  std::copy(good.begin(), good.end(), huge.begin());
  EXPECT_EQ(Refusal(huge), "Záloha „z.zaloha“ je na zálohu hry příliš velká (nejvýš 64 MiB).");
}

// A backup with a right checksum can still be made by hand to lie: each lie is refused.
TEST(PlayerBundle, RefusesForgedNamesCountsAndSizesThoughTheChecksumFits) {
  const std::string badName = "Záloha „z.zaloha“ obsahuje soubor s nepřípustným názvem.";
  EXPECT_EQ(Refusal(EncodeBundle(WithPaths({"game.sav", "../../etc/profile"}))), badName);
  EXPECT_EQ(Refusal(EncodeBundle(WithPaths({"/home/web_user/x"}))), badName);
  EXPECT_EQ(Refusal(EncodeBundle(WithPaths({"a", "b", "a"}))),
            "Záloha „z.zaloha“ obsahuje jeden soubor dvakrát.");
  EXPECT_EQ(Refusal(EncodeBundle(WithPaths({"a", "a-b", "a/b"}))),
            "Záloha „z.zaloha“ obsahuje soubor, který má zároveň být složkou.");
  EXPECT_EQ(Refusal(EncodeBundle(WithPaths({"a", "a-b", "a.c", "ab/a"}))), "read");

  // The count and a size say more than the bytes hold; trailing bytes after the last file.
  auto refix = [](std::vector<uint8_t> bytes) {
    const uint32_t crc = Crc32(bytes.data(), bytes.size() - 4);
    for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = static_cast<uint8_t>(crc >> (8 * i));
    return bytes;
  };
  const std::string damaged = "Záloha „z.zaloha“ je poškozená nebo neúplná.";
  std::vector<uint8_t> many = EncodeBundle(WithPaths({"a"}));
  many[19] = 0xFF;  // the count's low byte (no version text)
  EXPECT_EQ(Refusal(refix(many)), damaged);
  many[22] = 0xFF;  // 4 billion files
  EXPECT_EQ(Refusal(refix(many)), damaged);
  std::vector<uint8_t> longer = EncodeBundle(WithPaths({"a"}));
  longer[26] = 3;  // the file's size: 3 bytes where 2 follow
  EXPECT_EQ(Refusal(refix(longer)), damaged);
  longer[26] = 0xFF;
  longer[29] = 0x7F;
  EXPECT_EQ(Refusal(refix(longer)), "Záloha „z.zaloha“ obsahuje příliš velký soubor.");
  std::vector<uint8_t> trailing = EncodeBundle(WithPaths({"a"}));
  trailing.insert(trailing.end() - 4, 0);
  EXPECT_EQ(Refusal(refix(trailing)), damaged);
  std::vector<uint8_t> version = EncodeBundle(WithPaths({}));
  version[18] = 65;  // a version text longer than any
  EXPECT_EQ(Refusal(refix(version)), damaged);
}

TEST(PlayerBundle, TheLargestBackupThatFitsTheBoundsReadsBack) {
  TPlayerBundle b;
  b.GameVersion = std::string(64, 'v');
  b.Files.push_back({std::string(240, 'p'), std::vector<uint8_t>(kMaxBundledFileBytes, 0x5A)});
  for (size_t i = 1; i < kMaxBundleFiles; ++i) b.Files.push_back({"r/" + std::to_string(i), {}});
  const std::vector<uint8_t> bytes = EncodeBundle(b);
  EXPECT_EQ(DecodeBundle(bytes.data(), bytes.size(), "z"), b);
  b.Files.push_back({"r/x", {}});
  EXPECT_EQ(Refusal(EncodeBundle(b)), "Záloha „z.zaloha“ je poškozená nebo neúplná.");
}

}  // namespace
