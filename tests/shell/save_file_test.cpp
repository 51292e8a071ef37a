// Replacing the saved game: whatever fails, and whenever the process dies, the file on disk is
// the old record or the new one, whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "base/error.h"
#include "shell/atomic_file.h"
#include "shell/save_record.h"
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

// Fails one chosen call with a chosen errno; the rest are real.
struct FailingFileSystem : TFileSystem {
  enum class TCall { None, Create, Write, ShortWrites, Sync, Close, Rename } FailAt = TCall::None;
  int Error = ENOSPC;
  int fail(TCall call) {
    if (FailAt != call) return 0;
    errno = Error;
    return -1;
  }
  int Create(const std::string& p) override {
    return fail(TCall::Create) ? -1 : TFileSystem::Create(p);
  }
  ssize_t Write(int fd, const uint8_t* d, size_t n) override {
    if (fail(TCall::Write)) return -1;
    // A device that takes a few bytes at a time and is interrupted now and then.
    if (FailAt == TCall::ShortWrites) {
      if (++writes % 3 == 0) {
        errno = EINTR;
        return -1;
      }
      return TFileSystem::Write(fd, d, n < 5 ? n : 5);
    }
    return TFileSystem::Write(fd, d, n);
  }
  int Sync(int fd) override { return fail(TCall::Sync) ? -1 : TFileSystem::Sync(fd); }
  int Close(int fd) override {
    int r = TFileSystem::Close(fd);
    return fail(TCall::Close) ? -1 : r;
  }
  int Rename(const std::string& a, const std::string& b) override {
    return fail(TCall::Rename) ? -1 : TFileSystem::Rename(a, b);
  }
  int writes = 0;
};

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
  struct ReadOnly : TFileSystem {
    int Writable(const std::string&) override {
      errno = EACCES;
      return -1;
    }
  } readOnly;
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

// Saves round after round until killed; tells the parent once the first save is done, so the
// parent's delay falls among saves however slowly the child got going.
[[noreturn]] void SaveForever(const fs::path& path, int64_t first, int ready) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  for (int64_t n = first;; ++n) {
    TSaveBytes bytes = RoundRecord(n);
    try {
      ReplaceFileContents(path, bytes.data(), bytes.size());
    } catch (...) {
      _exit(3);
    }
    const char go = 1;
    if (n == first && write(ready, &go, 1) != 1) _exit(4);
  }
}

// A fresh directory in memory where there is one (the kills then land inside writes and
// renames, not mostly inside a disk's sync), removed at the end.
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

TEST(SaveFile, KilledAtRandomMomentsItAlwaysLeavesTheOldOrTheNewRecord) {
  FastDir dir;
  const auto path = dir.path / "game.sav";
  // How long one save takes here, so the kills fall across whole saves.
  const auto start = std::chrono::steady_clock::now();
  constexpr int kTimed = 20;
  for (int n = 0; n < kTimed; ++n) {
    TSaveBytes bytes = RoundRecord(n);
    ReplaceFileContents(path, bytes.data(), bytes.size());
  }
  const auto perSave = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::steady_clock::now() - start) /
                       kTimed;
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int64_t> delayUs(0, 3 * perSave.count() + 300);

  int64_t last = kTimed - 1;
  int midSave = 0;  // kills that left the temporary file behind: inside a save's write
  constexpr int kKills = 250;
  for (int kill = 0; kill < kKills; ++kill) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveForever(path, last + 1, ready[1]);
    char go = 0;
    ASSERT_EQ(read(ready[0], &go, 1), 1);
    close(ready[0]);
    close(ready[1]);
    usleep(static_cast<useconds_t>(delayUs(random)));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saver stopped by itself, status " << status;

    // The file must hold one round's record, newer than the one seen before.
    int64_t round = RoundOf(Contents(path));
    ASSERT_GT(round, last) << "after kill " << kill << " the file is neither record";
    last = round;
    if (fs::remove(TemporaryPathFor(path))) ++midSave;
  }
  // The kills did land inside writes, not only between whole saves.
  EXPECT_GE(midSave, kKills / 25);
}

}  // namespace
