#include "shell/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/error.h"

int TFileSystem::Create(const std::string& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}
ssize_t TFileSystem::Write(int fd, const uint8_t* data, size_t size) {
  return ::write(fd, data, size);
}
int TFileSystem::Sync(int fd) {
  return ::fsync(fd);
}
int TFileSystem::Close(int fd) {
  return ::close(fd);
}
int TFileSystem::Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str());
}
int TFileSystem::Unlink(const std::string& path) {
  return ::unlink(path.c_str());
}
int TFileSystem::Writable(const std::string& path) {
  return ::access(path.c_str(), W_OK);
}
int TFileSystem::SyncDirectory(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  int result = ::fsync(fd);
  ::close(fd);
  return result;
}

TFileSystem& RealFileSystem() {
  static TFileSystem real;
  return real;
}

std::filesystem::path TemporaryPathFor(const std::filesystem::path& target) {
  std::filesystem::path temporary = target;
  temporary += ".tmp";
  return temporary;
}

std::string InOutErrorText(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return "Disk full";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return "File access denied";
    case ENOENT:
    case ENOTDIR:
      return "Path not found";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case EIO:
      return "Disk read/write error";
    default:
      return std::strerror(error);
  }
}

namespace {

[[noreturn]] void Fail(const std::filesystem::path& target, int error) {
  throw EInOutError(target.string() + ": " + InOutErrorText(error));
}

// Writes everything, going on after a partial write or an interruption.
bool WriteAll(TFileSystem& fs, int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    ssize_t n = fs.Write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {  // no progress and no reason: treat as a full device
      errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

void ReplaceFileContents(const std::filesystem::path& target, const uint8_t* data, size_t size,
                         TFileSystem& fs) {
  std::error_code ec;
  // Renaming would replace even a file the player made read-only; refuse as a write would.
  if (std::filesystem::exists(target, ec) && fs.Writable(target.string()) != 0) {
    Fail(target, errno);
  }

  const std::string temporary = TemporaryPathFor(target).string();
  int fd = fs.Create(temporary);
  if (fd < 0) Fail(target, errno);

  bool written = WriteAll(fs, fd, data, size) && fs.Sync(fd) == 0;
  int error = errno;
  if (fs.Close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written || fs.Rename(temporary, target.string()) != 0) {
    if (written) error = errno;
    fs.Unlink(temporary);
    Fail(target, error);
  }

  // The new contents are in place under the target's name. Syncing the directory makes the
  // rename itself survive a power cut; if that fails the disk holds the old file or the new
  // one, both whole, so there is nothing to report.
  std::filesystem::path dir = target.parent_path();
  fs.SyncDirectory(dir.empty() ? std::string(".") : dir.string());
}
