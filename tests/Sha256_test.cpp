#include "support/Sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvelo {
namespace {

TEST(Sha256, KnownDigestsAcrossTheBlockBoundaries) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // 56 bytes: the length no longer fits the block, padding takes a second one.
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  // A million bytes fed in pieces that straddle the 64-byte blocks.
  Sha256 pieces;
  const std::string piece(7, 'a');
  for (int i = 0; i < 142857; ++i) pieces.Update(piece);
  pieces.Update("a");
  EXPECT_EQ(pieces.HexDigest(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, PiecesGiveTheDigestOfTheWhole) {
  std::string message;
  for (int length = 0; length < 200; ++length) {
    Sha256 split;
    split.Update(message.substr(0, length / 3));
    split.Update(message.substr(length / 3));
    EXPECT_EQ(split.HexDigest(), Sha256Hex(message)) << length;
    message += static_cast<char>('A' + length % 26);
  }
}

// A scan is hashed piece by piece as it is read; pieces of odd sizes leave partial blocks of
// every length pending between them.
TEST(Sha256, PiecesOfOddSizesGiveTheDigestOfTheWhole) {
  std::string message;
  for (int i = 0; i < 1000; ++i) message += static_cast<char>(i * 7 % 251);
  const std::string whole = Sha256Hex(message);
  for (const size_t piece : {1, 3, 55, 63, 65, 127, 999}) {
    Sha256 split;
    for (size_t at = 0; at < message.size(); at += piece) split.Update(std::string_view(message).substr(at, piece));
    EXPECT_EQ(split.HexDigest(), whole) << piece;
  }
}

}  // namespace
}  // namespace tarvelo
