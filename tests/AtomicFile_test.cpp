#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <filesystem>

#include "helpers/TestPaths.h"
#include "support/AtomicFile.h"

namespace tarvelo {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

#ifndef _WIN32

int FilesIn(const TempDir& dir) {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir.Path()), {}));
}

// Runs `child` in a forked process whose files may grow to 10 KB only, and returns its exit
// status (-1 when it did not exit).
template <typename Child>
int RunUnderFileSizeLimit(Child child) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const rlimit limit{10 * 1024, 10 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::_exit(child());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

extern "C" void RemoveTemporariesAndExit(int) {
  RemoveTemporaryFiles();
  ::_exit(3);
}

// A write past the file-size limit: with the signal ignored it is an ordinary failure; with a
// handler that ends the process, the handler removes the temporary file. Either way the old
// file stays and nothing else is left.
TEST(AtomicFile, AWritePastTheFileSizeLimitLeavesNoTemporaryFile) {
  TempDir dir;
  const std::string path = dir.File("roll.mid");
  WriteBytes(path, "old");
  const std::string big(100 * 1024, 'x');
  EXPECT_EQ(RunUnderFileSizeLimit([&] {
              std::signal(SIGXFSZ, SIG_IGN);
              const Result written = WriteFileAtomically(path, big);
              const bool named = written.message().find(path) != std::string::npos &&
                                 written.message().find("too large") != std::string::npos;
              return written.kind() == Result::Kind::kIoError && named ? 0 : 1;
            }),
            0);
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(FilesIn(dir), 1);

  EXPECT_EQ(RunUnderFileSizeLimit([&] {
              std::signal(SIGXFSZ, RemoveTemporariesAndExit);
              return WriteFileAtomically(path, big).ok() ? 0 : 1;
            }),
            3);
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(FilesIn(dir), 1);
}

TEST(AtomicFile, ANewFileGetsTheUsualModeAndAReplacedOneKeepsItsOwn) {
  TempDir dir;
  const mode_t mask = ::umask(022);
  const std::string path = dir.File("new.mid");
  ASSERT_TRUE(WriteFileAtomically(path, "a", Flush::kNo).ok());
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
  ::chmod(path.c_str(), 0600);
  ASSERT_TRUE(WriteFileAtomically(path, "b", Flush::kNo).ok());
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_EQ(ReadBytes(path), "b");
  ::umask(mask);
}

#endif  // _WIN32

TEST(AtomicFile, ReadingWithALimitRefusesALargerFile) {
  TempDir dir;
  const std::string path = dir.File("big.xml");
  WriteBytes(path, std::string(1000, 'x'));
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes, 1000).ok());
  const Result refused = ReadWholeFile(path, bytes, 999);
  EXPECT_EQ(refused.kind(), Result::Kind::kInvalid);
  EXPECT_NE(refused.message().find("1000 bytes"), std::string::npos) << refused.message();
}

}  // namespace
}  // namespace tarvelo
