#pragma once
// Reading a regular file from its start, in pieces of the caller's size, so that a large file
// (a scan) can be taken in without its whole contents ever being held at once.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "support/Result.h"

namespace tarvelo {

class FileReader {
 public:
  FileReader() = default;
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Opens the regular file `path` for reading, at most `max_bytes` long:
  //   kNotFound  it does not exist; kIoError  it cannot be opened ("cannot open <path>: <reason>")
  //   kIoError   it is not a regular file (a folder, a FIFO, a device)
  //   kInvalid   it is larger than `max_bytes` (naming the path, its size and the limit)
  Result Open(const std::string& path, size_t max_bytes);

  // The file's size when it was opened. Reading ends there even if the file has grown since.
  uint64_t Size() const { return size_; }

  // Fills `buffer` with the file's next bytes; `got` is less than the buffer's size only at the
  // end of the file (a file that shrank while being read ends where it now ends). kIoError
  // ("cannot read <path>: <reason>") when the system refuses the reading.
  Result Read(std::span<uint8_t> buffer, size_t& got);

 private:
  void Close();

  int fd_ = -1;
  std::string path_;
  uint64_t size_ = 0;
  uint64_t remaining_ = 0;  // bytes of Size() not read yet
};

}  // namespace tarvelo
