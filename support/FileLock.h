#pragma once
// An advisory lock that serialises a read-modify-write of one file between processes (two
// command lines, or a command line and the desktop, changing the settings profile at once).
// The lock is taken on a separate lock file beside the file, never on the file itself, since
// the file is replaced by a rename while the lock is held. The lock file stays in place.
//
// On POSIX systems the lock is flock(2) on the lock file, on Windows LockFileEx; every process
// that writes the file must take it.

#include <cstdint>
#include <string>

#include "support/Result.h"

namespace tarvelo {

class FileLock {
 public:
  // Whether the lock file stays when the lock is released. A removed one leaves nothing in a
  // folder of outputs; a waiter that finds the file it locked removed meanwhile takes the new one.
  enum class LockFile { kKept, kRemoved };

  // Waits until this process holds the exclusive lock of `lock_path` (created when missing).
  // Outcome() says whether it does. On POSIX systems a request to stop (support/StopRequest.h)
  // ends the wait: kCancelled.
  explicit FileLock(const std::string& lock_path, LockFile lock_file = LockFile::kKept);
  // Releases the lock.
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Ok while the lock is held; else kIoError naming the lock file and the system's reason.
  const Result& Outcome() const { return outcome_; }

 private:
  std::intptr_t lock_ = -1;   // the lock file's descriptor (POSIX) or handle (Windows)
  std::string removed_path_;  // the lock file to remove on release; empty when it is kept
  Result outcome_;
};

}  // namespace tarvelo
