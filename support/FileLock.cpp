#include "support/FileLock.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include "support/WindowsApi.h"
#include "support/WindowsText.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tarvelo {

#ifdef _WIN32

FileLock::FileLock(const std::string& lock_path) {
  const HANDLE handle = CreateFileW(WideFromUtf8(lock_path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    outcome_ = Result::IoError("cannot open the lock file " + lock_path + ": " + SystemErrorText(GetLastError()));
    return;
  }
  // The whole file's range, waiting for another holder.
  OVERLAPPED from_start{};
  if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &from_start)) {
    outcome_ = Result::IoError("cannot lock " + lock_path + ": " + SystemErrorText(GetLastError()));
    CloseHandle(handle);
    return;
  }
  lock_ = reinterpret_cast<std::intptr_t>(handle);
}

FileLock::~FileLock() {
  // Closing the handle releases the lock.
  if (lock_ != -1) CloseHandle(reinterpret_cast<HANDLE>(lock_));
}

#else

FileLock::FileLock(const std::string& lock_path) {
  const int fd = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    outcome_ = Result::IoError("cannot open the lock file " + lock_path + ": " + std::strerror(errno));
    return;
  }
  // flock waits for the other holder; a signal that interrupts the wait is not a failure.
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    outcome_ = Result::IoError("cannot lock " + lock_path + ": " + std::strerror(errno));
    ::close(fd);
    return;
  }
  lock_ = fd;
}

FileLock::~FileLock() {
  // Closing the descriptor releases the lock.
  if (lock_ != -1) ::close(static_cast<int>(lock_));
}

#endif

}  // namespace tarvelo
