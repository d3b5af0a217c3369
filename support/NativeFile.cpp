#include "support/NativeFile.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <share.h>

#include <atomic>

#include "support/WindowsApi.h"
#include "support/WindowsText.h"
#else
#include <stdlib.h>
#include <unistd.h>
#endif

namespace tarvelo {

#ifdef _WIN32

namespace {

// errno for the Windows error of a failed call, so that failures read the same everywhere.
int ErrnoFor(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return EACCES;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_NAME:
      return ENAMETOOLONG;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    default:
      return EIO;
  }
}

}  // namespace

int OpenForReading(const std::string& path) {
  int fd = -1;
  // Others may read and write the file meanwhile, as on POSIX systems.
  const errno_t failed = _wsopen_s(&fd, WideFromUtf8(path).c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0);
  if (failed != 0) {
    errno = failed;
    return -1;
  }
  return fd;
}

int CreateUniqueFile(std::string& name_template) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  static std::atomic<unsigned long long> counter{0};
  if (name_template.size() < 6) {
    errno = EINVAL;
    return -1;
  }
  const unsigned long long seed = (static_cast<unsigned long long>(GetCurrentProcessId()) << 32) ^ GetTickCount64();
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned long long value = seed * 6364136223846793005ULL + counter.fetch_add(1) * 1442695040888963407ULL;
    for (size_t i = name_template.size() - 6; i < name_template.size(); ++i) {
      name_template[i] = kLetters[value % 36];
      value /= 36;
    }
    int fd = -1;
    const errno_t failed = _wsopen_s(&fd, WideFromUtf8(name_template).c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY,
                                     _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (failed == 0) return fd;
    if (failed != EEXIST) {
      errno = failed;
      return -1;
    }
  }
  errno = EEXIST;
  return -1;
}

bool RegularFileSize(int fd, std::uint64_t& size) {
  struct _stat64 info {};
  if (_fstat64(fd, &info) != 0) return false;
  if ((info.st_mode & _S_IFMT) != _S_IFREG) {
    errno = EINVAL;
    return false;
  }
  size = static_cast<std::uint64_t>(info.st_size);
  return true;
}

bool SyncToDisk(int fd) { return _commit(fd) == 0; }

bool RenameOver(const std::string& from, const std::string& to) {
  if (MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  errno = ErrnoFor(GetLastError());
  return false;
}

bool RemoveFile(const std::string& path) { return _wunlink(WideFromUtf8(path).c_str()) == 0; }

int CreateNewFile(const std::string& path) {
  int fd = -1;
  const errno_t failed = _wsopen_s(&fd, WideFromUtf8(path).c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY,
                                   _SH_DENYNO, _S_IREAD | _S_IWRITE);
  if (failed == 0) return fd;
  errno = failed;
  return -1;
}

bool IsReadOnlyFile(const std::string& path) {
  struct _stat64 info {};
  return _wstat64(WideFromUtf8(path).c_str(), &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG &&
         (info.st_mode & _S_IWRITE) == 0;
}

void CopyPermissions(const std::string&, int) {}

void RemoveFileFromSignalHandler(const char* path) { RemoveFile(path); }

FileKind KindOfFile(const std::string& path) {
  struct _stat64 info {};
  if (_wstat64(WideFromUtf8(path).c_str(), &info) != 0) return errno == ENOENT ? FileKind::kMissing : FileKind::kOther;
  if ((info.st_mode & _S_IFMT) == _S_IFREG) return FileKind::kRegular;
  if ((info.st_mode & _S_IFMT) == _S_IFDIR) return FileKind::kFolder;
  return (info.st_mode & _S_IFMT) == _S_IFCHR ? FileKind::kDevice : FileKind::kOther;
}

bool ResolveLinks(const std::string& path, std::string& target, bool& streamed) {
  target = path;
  streamed = false;
  return true;
}

int OpenDeviceForWriting(const std::string& path) {
  int fd = -1;
  const errno_t failed = _wsopen_s(&fd, WideFromUtf8(path).c_str(), _O_WRONLY | _O_BINARY, _SH_DENYNO, 0);
  if (failed == 0) return fd;
  errno = failed;
  return -1;
}

#else

int OpenForReading(const std::string& path) {
  // O_NONBLOCK: opening a FIFO would otherwise wait for a writer that may never come.
  return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

int CreateUniqueFile(std::string& name_template) { return ::mkstemp(name_template.data()); }

bool RegularFileSize(int fd, std::uint64_t& size) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return false;
  if (!S_ISREG(info.st_mode)) {
    errno = EINVAL;
    return false;
  }
  size = static_cast<std::uint64_t>(info.st_size);
  return true;
}

bool SyncToDisk(int fd) { return ::fsync(fd) == 0; }

bool RenameOver(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

int CreateNewFile(const std::string& path) { return ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }

bool IsReadOnlyFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  // The mode bits, since a privileged process may write whatever the bits say.
  return (info.st_mode & 0222) == 0 || (::access(path.c_str(), W_OK) != 0 && errno != ENOENT);
}

void CopyPermissions(const std::string& path, int fd) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) ::fchmod(fd, info.st_mode & 07777);
}

void RemoveFileFromSignalHandler(const char* path) { ::unlink(path); }

FileKind KindOfFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errno == ENOENT ? FileKind::kMissing : FileKind::kOther;
  if (S_ISREG(info.st_mode)) return FileKind::kRegular;
  if (S_ISDIR(info.st_mode)) return FileKind::kFolder;
  return S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode) ? FileKind::kDevice : FileKind::kOther;
}

bool ResolveLinks(const std::string& path, std::string& target, bool& streamed) {
  // The chain is followed link by link (at most 40, the system's own limit), each relative
  // link taken from the folder of the link that holds it.
  target = path;
  streamed = false;
  for (int hops = 0; hops < 40; ++hops) {
    if (target.starts_with("/dev/") || target.starts_with("/proc/")) streamed = true;
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
    std::string link(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
    const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
    if (length < 0) return false;
    if (static_cast<size_t>(length) >= link.size()) {
      errno = ENAMETOOLONG;
      return false;
    }
    link.resize(static_cast<size_t>(length));
    if (link.empty()) {
      errno = ENOENT;
      return false;
    }
    const size_t slash = target.rfind('/');
    target = link.front() == '/' || slash == std::string::npos ? link : target.substr(0, slash + 1) + link;
  }
  errno = ELOOP;
  return false;
}

int OpenDeviceForWriting(const std::string& path) {
  // O_APPEND: a stream that a shell redirected into a file goes on after what it holds.
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  // Writes wait for a slow reader as ordinary writes do.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

#endif

}  // namespace tarvelo
