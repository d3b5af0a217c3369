// What an atomic write meets at its destination: links, devices, FIFOs, folders, and the
// temporary files of writes that never finished.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "helpers/TestPaths.h"
#include "support/AtomicFile.h"
#include "support/FileLock.h"
#include "support/StaleTemporaryFiles.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

int FilesIn(const fs::path& folder) { return static_cast<int>(std::distance(fs::directory_iterator(folder), {})); }

TEST(AtomicDestination, ALinkStaysALinkAndTheFileItLeadsToIsReplacedInItsOwnFolder) {
  TempDir dir;
  fs::create_directory(dir.Path() / "real");
  const std::string target = dir.File("real/scan.cis");
  WriteBytes(target, "old");
  const std::string link = dir.File("scan.cis");
  fs::create_symlink("real/scan.cis", link);  // relative, as users make them
  ASSERT_TRUE(WriteFileAtomically(link, "new").ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadBytes(target), "new");
  EXPECT_EQ(FilesIn(dir.Path()), 2);  // the link and the folder: no temporary file beside the link

  // A chain of links, the last one leading nowhere: the file it names is made.
  const std::string second = dir.File("second.mid");
  fs::create_symlink(dir.File("real/made.mid"), dir.File("first.mid"));
  fs::create_symlink("first.mid", second);
  ASSERT_TRUE(WriteFileAtomically(second, "made").ok());
  EXPECT_TRUE(fs::is_symlink(second));
  EXPECT_EQ(ReadBytes(dir.File("real/made.mid")), "made");

  // A loop of links is refused by name.
  fs::create_symlink("loop-b", dir.File("loop-a"));
  fs::create_symlink("loop-a", dir.File("loop-b"));
  const Result looped = WriteFileAtomically(dir.File("loop-a"), "x");
  EXPECT_EQ(looped.kind(), Result::Kind::kIoError);
  EXPECT_NE(looped.message().find("loop-a"), std::string::npos);
}

TEST(AtomicDestination, DevicesFifosAndFoldersAreNeverReplaced) {
  TempDir dir;
  const std::string fifo = dir.File("roll.mid");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // An output refuses the FIFO (without waiting for a reader) and leaves it a FIFO.
  const Result refused = WriteFileAtomically(fifo, "x", Flush::kNo);
  EXPECT_EQ(refused.kind(), Result::Kind::kIoError);
  EXPECT_NE(refused.message().find("not a regular file"), std::string::npos);
  // A log goes into it only while it has a reader: without one it fails at once.
  EXPECT_FALSE(WriteFileAtomically(fifo, "x", Flush::kNo, Destination::kFileOrStream).ok());
  struct stat info {};
  ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_TRUE(WriteFileAtomically(fifo, "log", Flush::kToDisk, Destination::kFileOrStream).ok());
  char got[8] = {};
  EXPECT_EQ(::read(reader, got, sizeof got), 3);
  ::close(reader);

  // /dev/null, directly and through a link: written as a stream, refused as a file.
  const std::string link = dir.File("log.txt");
  fs::create_symlink("/dev/null", link);
  EXPECT_TRUE(WriteFileAtomically(link, "log", Flush::kToDisk, Destination::kFileOrStream).ok());
  EXPECT_FALSE(WriteFileAtomically("/dev/null", "x").ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));

  const Result folder = WriteFileAtomically(dir.Path().string(), "x", Flush::kNo, Destination::kFileOrStream);
  EXPECT_NE(folder.message().find("it is a folder"), std::string::npos);
}

TEST(AtomicDestination, ReadingAFifoRefusesItWithoutWaitingForAWriter) {
  TempDir dir;
  const std::string fifo = dir.File("roll.cis");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string bytes;
  const Result read = ReadWholeFile(fifo, bytes);
  EXPECT_FALSE(read.ok());
  EXPECT_NE(read.message().find("not a regular file"), std::string::npos);
}

// Sets the time a file was last changed to `hours` ago.
void AgeFile(const std::string& path, int hours) {
  const auto then = std::chrono::system_clock::now() - std::chrono::hours(hours);
  const time_t seconds = std::chrono::system_clock::to_time_t(then);
  const utimbuf times{seconds, seconds};
  ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

TEST(AtomicDestination, TheFirstWriteIntoAFolderRemovesStaleTemporaryFilesOnly) {
  TempDir dir;
  const std::string stale = dir.File("roll.mid.tmp-Ab3dE9");
  const std::string fresh = dir.File("other.mid.tmp-Zz0000");
  const std::string lookalike = dir.File("notes.tmp-12345");  // five letters: not ours
  const std::string user_file = dir.File("roll.tmp-abcdef.txt");
  for (const std::string& path : {stale, fresh, lookalike, user_file}) WriteBytes(path, "x");
  for (const std::string& path : {stale, lookalike, user_file}) AgeFile(path, 2);
  ASSERT_TRUE(WriteFileAtomically(dir.File("roll.mid"), "new", Flush::kNo).ok());
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(fresh));  // a write of another process may still be going on
  EXPECT_TRUE(fs::exists(lookalike));
  EXPECT_TRUE(fs::exists(user_file));

  EXPECT_TRUE(IsTemporaryFileName("a.cis.tmp-09azAZ"));
  EXPECT_FALSE(IsTemporaryFileName(".tmp-09azAZ"));
  EXPECT_FALSE(IsTemporaryFileName("a.tmp-09az-Z"));
}

// The lock of an output pair: a second holder waits for the first, and the lock file is gone
// once the last one has let go.
TEST(AtomicDestination, ARemovedLockFileStillSerialisesItsHolders) {
  TempDir dir;
  const std::string lock_path = dir.File("roll_ScanImageMIDI.mid.lock");
  std::atomic<int> order{0};
  int second_saw = -1;
  std::optional<FileLock> first;
  first.emplace(lock_path, FileLock::LockFile::kRemoved);
  ASSERT_TRUE(first->Outcome().ok());
  std::thread second([&] {
    const FileLock lock(lock_path, FileLock::LockFile::kRemoved);
    second_saw = order.load();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  order = 1;
  first.reset();
  second.join();
  EXPECT_EQ(second_saw, 1);
  EXPECT_FALSE(fs::exists(lock_path));
}

}  // namespace
}  // namespace tarvelo

#endif  // _WIN32
