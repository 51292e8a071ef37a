// Replacing a small file so that a crash, a full disk or a power cut at any moment leaves
// either the old contents or the new ones, never a mixture or an empty file: the bytes go to
// a temporary file beside the target, reach the disk, and only then take the target's name.
#pragma once

#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

// The system calls a replacement makes. The game uses the real ones; a test overrides one to
// fail the way a full disk or a broken device would (tests run as root, where permissions do
// not stop a write). Each returns what its POSIX namesake returns and sets errno the same way.
class TFileSystem {
 public:
  virtual ~TFileSystem() = default;
  // Creates or truncates a file for writing; a file descriptor or -1.
  virtual int Create(const std::string& path);
  virtual ssize_t Write(int fd, const uint8_t* data, size_t size);
  virtual int Sync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const std::string& from, const std::string& to);
  virtual int Unlink(const std::string& path);
  // Whether an existing file may be replaced by this user (access with W_OK).
  virtual int Writable(const std::string& path);
  // Makes a directory's entries (a rename in it) durable.
  virtual int SyncDirectory(const std::string& path);
};

// The real system calls.
TFileSystem& RealFileSystem();

// Where the new contents are written before they replace the target.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target);

// Replaces the target's contents with the bytes. On any failure the target is exactly as it
// was, the temporary file is gone, and EInOutError says what went wrong in the runtime's
// words ("Disk full", "File access denied", ...) after the file's name. A target that exists
// but is read-only to the user is not replaced ("File access denied").
void ReplaceFileContents(const std::filesystem::path& target, const uint8_t* data, size_t size,
                         TFileSystem& fs = RealFileSystem());

// The runtime's words for a failed file operation's errno.
std::string InOutErrorText(int error);
