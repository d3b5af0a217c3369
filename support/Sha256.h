#pragma once
// SHA-256 (FIPS 180-4): the checksum an archive cites a scan by, and the digest of a run's
// settings. Bytes can be fed in pieces; the digest is the same as for the whole at once.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tarvelo {

class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;
  // Adds bytes to the message.
  void Update(const void* data, size_t size);
  void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
  // The digest of everything added; the object is then spent (Update and Digest must not be
  // called again).
  std::array<uint8_t, 32> Digest();
  // The digest as 64 lower-case hexadecimal digits.
  std::string HexDigest();

 private:
  // The running hash: the system's libcrypto where the build has it (it uses the processor's
  // SHA instructions, some ten times faster on a scan's megabytes), else portable rounds.
  struct Engine;
  std::unique_ptr<Engine> engine_;
};

// The SHA-256 of `bytes` as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace tarvelo
