#include "support/FileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

#include "support/NativeFile.h"

namespace tarvelo {

namespace {

// A failed system call on `path` as kIoError naming the reason.
Result SystemFailure(const std::string& what, const std::string& path) {
  return Result::IoError(what + " " + path + ": " + std::strerror(errno));
}

// The same for opening: a file that does not exist is kNotFound.
Result OpenFailure(const std::string& path) {
  const bool missing = errno == ENOENT;
  Result failure = SystemFailure("cannot open", path);
  return missing ? Result::NotFound(failure.message()) : failure;
}

}  // namespace

FileReader::~FileReader() { Close(); }

void FileReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

Result FileReader::Open(const std::string& path, size_t max_bytes) {
  Close();
  path_ = path;
  size_ = remaining_ = 0;
  fd_ = OpenForReading(path);
  if (fd_ < 0) return OpenFailure(path);
  std::uint64_t size = 0;
  if (!RegularFileSize(fd_, size)) {
    Close();
    return Result::IoError("cannot read " + path + ": not a regular file");
  }
  if (size > max_bytes) {
    Close();
    return Result::Invalid("cannot read " + path + ": the file holds " + std::to_string(size) +
                           " bytes, more than the " + std::to_string(max_bytes) + " such a file may hold");
  }
  size_ = remaining_ = size;
  return Result::Ok();
}

Result FileReader::Read(std::span<uint8_t> buffer, size_t& got) {
  got = 0;
  const size_t wanted = static_cast<size_t>(std::min<uint64_t>(buffer.size(), remaining_));
  while (fd_ >= 0 && got < wanted) {
    const ssize_t read = ::read(fd_, buffer.data() + got, wanted - got);
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) return SystemFailure("cannot read", path_);
    if (read == 0) {  // the file shrank: it ends here
      remaining_ = 0;
      break;
    }
    got += static_cast<size_t>(read);
  }
  remaining_ -= std::min<uint64_t>(remaining_, got);
  return Result::Ok();
}

}  // namespace tarvelo
