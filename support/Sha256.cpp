#include "support/Sha256.h"

#include <algorithm>
#include <cstring>
#include <new>

#if TARVELO_HAVE_LIBCRYPTO
#include <openssl/evp.h>
#endif

namespace tarvelo {

#if TARVELO_HAVE_LIBCRYPTO

struct Sha256::Engine {
  Engine() : context(EVP_MD_CTX_new()) {
    if (context == nullptr || EVP_DigestInit_ex(context, EVP_sha256(), nullptr) != 1) {
      EVP_MD_CTX_free(context);
      throw std::bad_alloc();
    }
  }
  ~Engine() { EVP_MD_CTX_free(context); }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
  // SHA-256 update and final cannot fail on a context initialised for it.
  void Update(const uint8_t* bytes, size_t size) { EVP_DigestUpdate(context, bytes, size); }
  std::array<uint8_t, 32> Digest() {
    std::array<uint8_t, 32> digest{};
    unsigned int size = 0;
    EVP_DigestFinal_ex(context, digest.data(), &size);
    return digest;
  }

  EVP_MD_CTX* context;
};

#else

namespace {
constexpr std::array<uint32_t, 64> kRound = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr uint32_t RotateRight(uint32_t value, int bits) { return (value >> bits) | (value << (32 - bits)); }

}  // namespace

struct Sha256::Engine {
  void Update(const uint8_t* bytes, size_t size);
  std::array<uint8_t, 32> Digest();
  void Block(const uint8_t* block);

  std::array<uint32_t, 8> state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::array<uint8_t, 64> pending_{};
  size_t pending_size_ = 0;
  uint64_t total_bytes_ = 0;
};

void Sha256::Engine::Block(const uint8_t* block) {
  std::array<uint32_t, 64> words;
  for (size_t i = 0; i < 16; ++i) {
    words[i] = static_cast<uint32_t>(block[4 * i]) << 24 | static_cast<uint32_t>(block[4 * i + 1]) << 16 |
               static_cast<uint32_t>(block[4 * i + 2]) << 8 | static_cast<uint32_t>(block[4 * i + 3]);
  }
  for (size_t i = 16; i < 64; ++i) {
    const uint32_t s0 = RotateRight(words[i - 15], 7) ^ RotateRight(words[i - 15], 18) ^ (words[i - 15] >> 3);
    const uint32_t s1 = RotateRight(words[i - 2], 17) ^ RotateRight(words[i - 2], 19) ^ (words[i - 2] >> 10);
    words[i] = words[i - 16] + s0 + words[i - 7] + s1;
  }
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  uint32_t e = state_[4], f = state_[5], g = state_[6], h = state_[7];
  for (size_t i = 0; i < 64; ++i) {
    const uint32_t s1 = RotateRight(e, 6) ^ RotateRight(e, 11) ^ RotateRight(e, 25);
    const uint32_t choice = (e & f) ^ (~e & g);
    const uint32_t t1 = h + s1 + choice + kRound[i] + words[i];
    const uint32_t s0 = RotateRight(a, 2) ^ RotateRight(a, 13) ^ RotateRight(a, 22);
    const uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
    const uint32_t t2 = s0 + majority;
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
  state_[4] += e;
  state_[5] += f;
  state_[6] += g;
  state_[7] += h;
}

void Sha256::Engine::Update(const uint8_t* bytes, size_t size) {
  total_bytes_ += size;
  if (pending_size_ > 0) {
    const size_t taken = std::min(size, pending_.size() - pending_size_);
    std::memcpy(pending_.data() + pending_size_, bytes, taken);
    pending_size_ += taken;
    bytes += taken;
    size -= taken;
    if (pending_size_ < pending_.size()) return;
    Block(pending_.data());
    pending_size_ = 0;
  }
  for (; size >= 64; bytes += 64, size -= 64) Block(bytes);
  if (size > 0) std::memcpy(pending_.data(), bytes, size);
  pending_size_ = size;
}

std::array<uint8_t, 32> Sha256::Engine::Digest() {
  // The message, a 1 bit, zeros up to 56 bytes of the last block, and the length in bits.
  const uint64_t bits = total_bytes_ * 8;
  uint8_t padding[72] = {0x80};
  const size_t zeros = (pending_size_ < 56 ? 56 : 120) - pending_size_;
  uint8_t length[8];
  for (int i = 0; i < 8; ++i) length[i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
  Update(padding, zeros);
  Update(length, sizeof length);
  std::array<uint8_t, 32> digest;
  for (size_t i = 0; i < 8; ++i) {
    digest[4 * i] = static_cast<uint8_t>(state_[i] >> 24);
    digest[4 * i + 1] = static_cast<uint8_t>(state_[i] >> 16);
    digest[4 * i + 2] = static_cast<uint8_t>(state_[i] >> 8);
    digest[4 * i + 3] = static_cast<uint8_t>(state_[i]);
  }
  return digest;
}

#endif

Sha256::Sha256() : engine_(std::make_unique<Engine>()) {}
Sha256::~Sha256() = default;

void Sha256::Update(const void* data, size_t size) { engine_->Update(static_cast<const uint8_t*>(data), size); }

std::array<uint8_t, 32> Sha256::Digest() { return engine_->Digest(); }

std::string Sha256::HexDigest() {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const uint8_t byte : Digest()) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

std::string Sha256Hex(std::string_view bytes) {
  Sha256 hash;
  hash.Update(bytes);
  return hash.HexDigest();
}

}  // namespace tarvelo
