#include "support/FileLock.h"

#include <cerrno>
#include <cstring>

#include <chrono>
#include <thread>

#include "support/StopRequest.h"

#ifdef _WIN32
#include "support/WindowsApi.h"
#include "support/WindowsText.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarvelo {

namespace {
// How often a wait for another holder looks again (and at a request to stop).
[[maybe_unused]] constexpr std::chrono::milliseconds kLockPoll{20};
}  // namespace

#ifdef _WIN32

FileLock::FileLock(const std::string& lock_path, LockFile) {
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

FileLock::FileLock(const std::string& lock_path, LockFile lock_file) {
  for (;;) {
    const int fd = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
      outcome_ = Result::IoError("cannot open the lock file " + lock_path + ": " + std::strerror(errno));
      return;
    }
    // The wait for the other holder is a poll, so that a request to stop ends it.
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) {
        outcome_ = Result::IoError("cannot lock " + lock_path + ": " + std::strerror(errno));
        ::close(fd);
        return;
      }
      if (StopRequested() != 0) {
        outcome_ = Result::Cancelled("stopped while waiting for the lock " + lock_path);
        ::close(fd);
        return;
      }
      std::this_thread::sleep_for(kLockPoll);
    }
    // A holder that removes its lock file on release may have done so while this one waited:
    // the lock is then on a file nobody else will open, and is taken again on the new one.
    struct stat held {
    }, named{};
    if (lock_file == LockFile::kRemoved && (::fstat(fd, &held) != 0 || ::stat(lock_path.c_str(), &named) != 0 ||
                                            held.st_ino != named.st_ino || held.st_dev != named.st_dev)) {
      ::close(fd);
      continue;
    }
    lock_ = fd;
    if (lock_file == LockFile::kRemoved) removed_path_ = lock_path;
    return;
  }
}

FileLock::~FileLock() {
  // Removed while still held, so that no waiter locks the name after it is gone; closing the
  // descriptor releases the lock.
  if (lock_ != -1 && !removed_path_.empty()) ::unlink(removed_path_.c_str());
  if (lock_ != -1) ::close(static_cast<int>(lock_));
}

#endif

}  // namespace tarvelo
