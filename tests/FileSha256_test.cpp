#include "support/FileSha256.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <string>

#include "helpers/TestPaths.h"
#include "support/Sha256.h"

namespace tarvelo {
namespace {

// A file is hashed as it is read, in pieces; what is no regular file is not read at all.
TEST(FileSha256, FilesAreHashedWholeAndOnlyRegularFilesAreRead) {
  testing::TempDir dir;
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i * 13 % 256);  // several pieces
  testing::WriteBytes(dir.File("roll.cis"), bytes);
  uint64_t length = 0;
  EXPECT_EQ(FileSha256(dir.File("roll.cis"), &length), Sha256Hex(bytes));
  EXPECT_EQ(length, bytes.size());
  testing::WriteBytes(dir.File("empty.cis"), "");
  EXPECT_EQ(FileSha256(dir.File("empty.cis")), Sha256Hex(""));

  EXPECT_EQ(FileSha256(dir.File("missing.cis"), &length), "");
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(FileSha256(dir.Path().string()), "");  // a folder
#ifndef _WIN32
  ASSERT_EQ(::mkfifo(dir.File("pipe.cis").c_str(), 0600), 0);
  EXPECT_EQ(FileSha256(dir.File("pipe.cis")), "");  // at once, without waiting for a writer
#endif
}

}  // namespace
}  // namespace tarvelo
