#include "support/FileLock.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tarvelo {

FileLock::FileLock(const std::string& lock_path) {
  fd_ = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    outcome_ = Result::IoError("cannot open the lock file " + lock_path + ": " + std::strerror(errno));
    return;
  }
  // flock waits for the other holder; a signal that interrupts the wait is not a failure.
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    outcome_ = Result::IoError("cannot lock " + lock_path + ": " + std::strerror(errno));
    ::close(fd_);
    fd_ = -1;
    return;
  }
}

FileLock::~FileLock() {
  // Closing the descriptor releases the lock.
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace tarvelo
