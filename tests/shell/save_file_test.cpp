// Replacing the saved game: whatever fails, and whenever the process dies, the file on disk is
// the old record or the new one, whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/error.h"
#include "shell/atomic_file.h"
#include "shell/save_record.h"
#include "support/failing_file_system.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> b) {
  return b;
}

void Replace(const fs::path& path, const std::vector<uint8_t>& bytes, TFileSystem& fsys) {
  ReplaceFileContents(path, bytes.data(), bytes.size(), fsys);
}

TEST(SaveFile, ReplacesTheContentsAndLeavesNoTemporaryFile) {
  ScopedTempDir dir;
  const auto path = dir.Path() / "game.sav";
  Replace(path, std::vector<uint8_t>(40, 7), RealFileSystem());
  Replace(path, Bytes({1, 2, 3}), RealFileSystem());
  EXPECT_EQ(Contents(path), Bytes({1, 2, 3}));
  EXPECT_FALSE(fs::exists(TemporaryPathFor(path)));

  FailingFileSystem slow;
  slow.FailAt = FailingFileSystem::TCall::ShortWrites;
  std::vector<uint8_t> record(24);
  for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<uint8_t>(i * 11);
  Replace(path, record, slow);
  EXPECT_EQ(Contents(path), record);
}

TEST(SaveFile, AnyFailedStepKeepsTheOldFileAndReportsTheRuntimeText) {
  using TCall = FailingFileSystem::TCall;
  struct Case {
    TCall call;
    int error;
    const char* text;
  };
  const Case cases[] = {
      {TCall::Create, EACCES, "File access denied"}, {TCall::Write, ENOSPC, "Disk full"},
      {TCall::Write, EDQUOT, "Disk full"},           {TCall::Sync, EIO, "Disk read/write error"},
      {TCall::Close, ENOSPC, "Disk full"},           {TCall::Rename, EROFS, "File access denied"},
  };
  ScopedTempDir dir;
  const auto path = dir.Path() / "game.sav";
  const auto old = Bytes({9, 9, 9});
  Replace(path, old, RealFileSystem());
  for (const Case& c : cases) {
    FailingFileSystem failing;
    failing.FailAt = c.call;
    failing.Error = c.error;
    try {
      Replace(path, std::vector<uint8_t>(24, 1), failing);
      ADD_FAILURE() << c.text;
    } catch (const EInOutError& e) {
      EXPECT_EQ(std::string(e.what()), path.string() + ": " + c.text);
    }
    EXPECT_EQ(Contents(path), old) << c.text;
    EXPECT_FALSE(fs::exists(TemporaryPathFor(path))) << c.text;
  }
}

TEST(SaveFile, AFileThePlayerMadeReadOnlyIsNotReplaced) {
  ScopedTempDir dir;
  const auto path = dir.Path() / "game.sav";
  Replace(path, Bytes({5}), RealFileSystem());
  FailingFileSystem readOnly;
  readOnly.FailAt = FailingFileSystem::TCall::Writable;
  readOnly.Error = EACCES;
  EXPECT_THROW(Replace(path, Bytes({6}), readOnly), EInOutError);
  EXPECT_EQ(Contents(path), Bytes({5}));
  // A new file needs no permission check: there is nothing to protect.
  Replace(dir.Path() / "new.sav", Bytes({6}), readOnly);
  EXPECT_EQ(Contents(dir.Path() / "new.sav"), Bytes({6}));
}

// The record written in round n: every field changes with n, so a mixture of two rounds, a
// torn write or an empty file can never pass for a record of either.
TSaveBytes RoundRecord(int64_t n) {
  TSaveRecord r;
  r.AircraftKind = static_cast<uint8_t>(n % 4);
  for (size_t i = 0; i < r.SlotKinds.size(); ++i) r.SlotKinds[i] = static_cast<uint8_t>(n + i);
  r.CannonKind = static_cast<uint8_t>(n * 7);
  r.Credits = n * 1000003 - 500000;
  r.Mission = static_cast<uint8_t>(n % 6);
  r.Difficulty = static_cast<uint8_t>(n * 3);
  return EncodeSaveRecord(r);
}

// Which round's record the file holds; -1 for anything else.
int64_t RoundOf(const std::vector<uint8_t>& bytes) {
  if (bytes.size() != kSaveRecordBytes) return -1;
  const int64_t credits = DecodeSaveRecord(bytes.data(), bytes.size(), "game.sav").Credits;
  const int64_t n = (credits + 500000) / 1000003;
  const TSaveBytes expected = RoundRecord(n);
  return std::equal(expected.begin(), expected.end(), bytes.begin()) ? n : -1;
}

// Saves round after round from `first` until killed at the chosen call.
[[noreturn]] void SaveUntilKilled(const fs::path& path, int64_t first, int64_t killAt) {
  FailingFileSystem fsys;
  fsys.KillAt = killAt;
  for (int64_t n = first;; ++n) {
    TSaveBytes bytes = RoundRecord(n);
    try {
      ReplaceFileContents(path, bytes.data(), bytes.size(), fsys);
    } catch (...) {
      _exit(3);
    }
  }
}

// A fresh directory in memory where there is one (syncs cost nothing there), removed at the end.
struct FastDir {
  FastDir() {
    std::error_code ec;
    const fs::path base =
        fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string tmpl = (base / "sk-save-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    path = tmpl;
  }
  ~FastDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  fs::path path;
};

TEST(SaveFile, KilledAtAnyStepItAlwaysLeavesTheOldOrTheNewRecord) {
  FastDir dir;
  const auto path = dir.path / "game.sav";
  TSaveBytes bytes = RoundRecord(0);
  ReplaceFileContents(path, bytes.data(), bytes.size());
  // Replacing a file takes seven calls: the write permission, create, write, sync, close,
  // rename, and the folder's sync. The kills go through each of them in three saves in turn.
  constexpr int64_t kCalls = 7;
  int64_t last = 0;
  for (int64_t kill = 0; kill < 250; ++kill) {
    const int64_t at = kill % (3 * kCalls), step = at % kCalls;
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveUntilKilled(path, last + 1, at);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;

    // The saves before the killed one are whole; the killed one counts once it is renamed.
    const int64_t round = last + at / kCalls + (step == 6 ? 1 : 0);
    ASSERT_EQ(RoundOf(Contents(path)), round) << "killed at step " << step << " of a save";
    // Killed between creating the temporary file and renaming it, the save leaves it behind.
    EXPECT_EQ(fs::remove(TemporaryPathFor(path)), step >= 2 && step <= 5) << step;
    last = round;
  }
}

// The rename makes the new record the save; syncing the folder after it makes the rename itself
// survive a power cut.
TEST(SaveFile, TheRenameIsFollowedBySyncingTheFolderTheSaveLivesIn) {
  ScopedTempDir dir;
  for (const fs::path& path : {dir.Path() / "game.sav", fs::path("other.sav")}) {
    FailingFileSystem recording;
    Replace(path, Bytes({1, 2, 3}), recording);
    const std::string folder = path.has_parent_path() ? dir.Path().string() : ".";
    EXPECT_EQ(recording.Calls, (std::vector<std::string>{"create", "write", "sync", "close",
                                                         "rename", "sync folder " + folder}));
  }
}

}  // namespace
