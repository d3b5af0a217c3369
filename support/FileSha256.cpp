#include "support/FileSha256.h"

#include <cstdint>
#include <vector>

#include "support/FileReader.h"
#include "support/Sha256.h"

namespace tarvelo {

std::string FileSha256(const std::string& path, uint64_t* length) {
  if (length) *length = 0;
  FileReader file;
  if (!file.Open(path, SIZE_MAX).ok()) return "";
  Sha256 digest;
  std::vector<uint8_t> piece(1 << 16);
  uint64_t hashed = 0;
  for (;;) {
    size_t got = 0;
    if (!file.Read(piece, got).ok()) return "";
    digest.Update(piece.data(), got);
    hashed += got;
    if (got < piece.size()) break;
  }
  if (length) *length = hashed;
  return digest.HexDigest();
}

}  // namespace tarvelo
