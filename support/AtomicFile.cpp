#include "support/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvelo {

namespace {

std::string ErrnoText() { return std::strerror(errno); }

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error, Flush flush) {
  // A unique name beside the destination, so the rename stays within one file system.
  std::string temp = path + ".tmp-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = "cannot create a file beside " + path + ": " + ErrnoText();
    return false;
  }
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = "cannot write " + path + ": " + ErrnoText();
      ::close(fd);
      ::unlink(temp.c_str());
      return false;
    }
    data += n;
    left -= static_cast<size_t>(n);
  }
  // mkstemp creates the file readable by the owner only; give it the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  if (flush == Flush::kToDisk && ::fsync(fd) != 0 && errno != EINVAL) {
    error = "cannot write " + path + ": " + ErrnoText();
    ::close(fd);
    ::unlink(temp.c_str());
    return false;
  }
  if (::close(fd) != 0) {
    error = "cannot write " + path + ": " + ErrnoText();
    ::unlink(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + ErrnoText();
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) {
    error = "cannot open " + path + ": " + ErrnoText();
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = "cannot read " + path + ": not a regular file";
    ::close(fd);
    return false;
  }
  bytes.resize(static_cast<size_t>(info.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = "cannot read " + path + ": " + ErrnoText();
      ::close(fd);
      return false;
    }
    if (n == 0) break;  // a file that shrank while being read is taken as far as it goes
    done += static_cast<size_t>(n);
  }
  bytes.resize(done);
  ::close(fd);
  return true;
}

}  // namespace tarvelo
