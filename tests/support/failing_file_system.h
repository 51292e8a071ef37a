// A file system for the tests of files replaced whole: it fails one chosen call with a chosen
// errno, or kills the process at one, and records what was asked.
#pragma once

#include <signal.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/atomic_file.h"

// Fails one chosen call with a chosen errno, or kills the process at one (counted from 0); the
// rest are real. Records what was asked, in order.
struct FailingFileSystem : TFileSystem {
  enum class TCall { None, Create, Write, ShortWrites, Sync, Close, Rename, Writable, Folder };
  TCall FailAt = TCall::None;
  int Error = ENOSPC;
  int64_t KillAt = -1;
  std::vector<std::string> Calls;
  int fail(TCall call, const std::string& what) {
    if (static_cast<int64_t>(Calls.size()) == KillAt) raise(SIGKILL);
    Calls.push_back(what);
    if (FailAt != call) return 0;
    errno = Error;
    return -1;
  }
  int Create(const std::string& p) override {
    return fail(TCall::Create, "create") ? -1 : TFileSystem::Create(p);
  }
  ssize_t Write(int fd, const uint8_t* d, size_t n) override {
    if (fail(TCall::Write, "write")) return -1;
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
  int Sync(int fd) override { return fail(TCall::Sync, "sync") ? -1 : TFileSystem::Sync(fd); }
  int Close(int fd) override {
    const int r = TFileSystem::Close(fd);
    return fail(TCall::Close, "close") ? -1 : r;
  }
  int Rename(const std::string& a, const std::string& b) override {
    return fail(TCall::Rename, "rename") ? -1 : TFileSystem::Rename(a, b);
  }
  int Writable(const std::string& p) override {
    return fail(TCall::Writable, "writable") ? -1 : TFileSystem::Writable(p);
  }
  int SyncDirectory(const std::string& p) override {
    return fail(TCall::Folder, "sync folder " + p) ? -1 : TFileSystem::SyncDirectory(p);
  }
  int writes = 0;
};
