#include "support/AtomicFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "support/NativeFile.h"

namespace tarvelo {

namespace {

// The failure of an operation on `path`, with the system's reason for the errno in force.
Result SystemFailure(const std::string& what, const std::string& path) {
  return Result::IoError(what + " " + path + ": " + std::strerror(errno));
}

// The same for reading: a file that does not exist is kNotFound.
Result ReadFailure(const std::string& what, const std::string& path) {
  const bool missing = errno == ENOENT;
  Result failure = SystemFailure(what, path);
  return missing ? Result::NotFound(failure.message()) : failure;
}

// Closes and removes the temporary file of a write that failed, keeping `failure`.
Result Abandon(int fd, const std::string& temp, Result failure) {
  if (fd >= 0) ::close(fd);
  RemoveFile(temp);
  return failure;
}

}  // namespace

Result WriteFileAtomically(const std::string& path, std::string_view bytes, Flush flush) {
  // A unique name beside the destination, so the rename stays within one file system.
  std::string temp = path + ".tmp-XXXXXX";
  const int fd = CreateUniqueFile(temp);
  if (fd < 0) return SystemFailure("cannot create a file beside", path);
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return Abandon(fd, temp, SystemFailure("cannot write", path));
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
#ifndef _WIN32
  // mkstemp creates the file readable by the owner only; give it the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
#endif
  if (flush == Flush::kToDisk && !SyncToDisk(fd) && errno != EINVAL) {
    return Abandon(fd, temp, SystemFailure("cannot write", path));
  }
  if (::close(fd) != 0) return Abandon(-1, temp, SystemFailure("cannot write", path));
  if (!RenameOver(temp, path)) {
    return Abandon(-1, temp, SystemFailure("cannot replace", path));
  }
  return Result::Ok();
}

Result ReadWholeFile(const std::string& path, std::string& bytes) {
  const int fd = OpenForReading(path);
  if (fd < 0) return ReadFailure("cannot open", path);
  std::uint64_t size = 0;
  if (!RegularFileSize(fd, size)) {
    ::close(fd);
    return Result::IoError("cannot read " + path + ": not a regular file");
  }
  bytes.resize(static_cast<size_t>(size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const Result failure = SystemFailure("cannot read", path);
      ::close(fd);
      return failure;
    }
    if (got == 0) break;  // a file that shrank while being read is taken as far as it goes
    done += static_cast<size_t>(got);
  }
  bytes.resize(done);
  ::close(fd);
  return Result::Ok();
}

}  // namespace tarvelo
