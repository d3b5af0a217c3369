#pragma once
// SHA-256 (FIPS 180-4): the checksum an archive cites a scan by, and the digest of a run's
// settings. Bytes can be fed in pieces; the digest is the same as for the whole at once.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvelo {

class Sha256 {
 public:
  Sha256();
  // Adds bytes to the message.
  void Update(const void* data, size_t size);
  void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
  // The digest of everything added; the object is then spent (Update and Digest must not be
  // called again).
  std::array<uint8_t, 32> Digest();
  // The digest as 64 lower-case hexadecimal digits.
  std::string HexDigest();

 private:
  void Block(const uint8_t* block);

  std::array<uint32_t, 8> state_;
  std::array<uint8_t, 64> pending_{};
  size_t pending_size_ = 0;
  uint64_t total_bytes_ = 0;
};

// The SHA-256 of `bytes` as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace tarvelo
