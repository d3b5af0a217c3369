#pragma once
// The SHA-256 of a file's bytes, the name an archive cites a scan by, read in pieces.

#include <cstdint>
#include <string>

namespace tarvelo {

// The SHA-256 of the regular file at `path` as 64 lower-case hexadecimal digits, and in
// `length` (when given) the bytes hashed. "" when the file cannot be opened or read to its
// end, or is no regular file (a FIFO, a device, a folder: opening one could wait for a writer
// or read without end).
std::string FileSha256(const std::string& path, uint64_t* length = nullptr);

}  // namespace tarvelo
