// tarvelo-cli against what a hostile or careless setup puts in its way: links and FIFOs where
// files belong, settings that would lead outputs out of their folder, control characters,
// profiles it cannot fully read, and failures that must not pass for success.
// POSIX only: links, FIFOs, signals and the shell.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "SyntheticRoll.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"
#include "support/FileLock.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;

class CliHostile : public ::testing::Test {
 protected:
  void SetUp() override {
    synth::SyntheticRollSpec plan;
    plan.holes = {{60, 0.5, 0.3}};
    testing::WriteBytes(dir_.File("roll.cis"), synth::RenderSyntheticCis(plan));
  }
  // Runs tarvelo-cli in the test folder with the test's profile; `words` follow the command.
  testing::CommandResult Cli(const std::string& command, const std::string& words) {
    return RunCommand("cd " + ShellQuote(dir_.Path().string()) + " && timeout 60 " + CliPath() + " " + command +
                      " --profile " + ShellQuote(dir_.File("profile.ini")) + " " + words);
  }
  testing::CommandResult Settings(const std::string& words) {
    return RunCommand("cd " + ShellQuote(dir_.Path().string()) + " && timeout 60 " + CliPath() +
                      " settings --profile " + ShellQuote(dir_.File("profile.ini")) + " " + words);
  }
  bool Exists(const std::string& name) const { return fs::exists(dir_.Path() / name); }

  testing::TempDir dir_;
};

TEST_F(CliHostile, LinksAreFollowedAndKeptAndALogGoesIntoADevice) {
  // The log through a link to /dev/null: written into the device, the link kept.
  fs::create_symlink("/dev/null", dir_.File("run.log"));
  EXPECT_EQ(Cli("convert", "-q --log run.log --output-dir out roll.cis").status, 0);
  EXPECT_TRUE(fs::is_symlink(dir_.File("run.log")));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));

  // edit on a linked scan changes the scan the link leads to.
  fs::create_directory(dir_.File("scans"));
  fs::rename(dir_.File("roll.cis"), dir_.File("scans/roll.cis"));
  fs::create_symlink("scans/roll.cis", dir_.File("roll.cis"));
  EXPECT_EQ(Cli("edit", "--title Linked roll.cis").status, 0);
  EXPECT_TRUE(fs::is_symlink(dir_.File("roll.cis")));
  EXPECT_NE(testing::ReadBytes(dir_.File("scans/roll.cis")).find("Linked"), std::string::npos);

  // settings set on a linked profile.
  testing::WriteBytes(dir_.File("real.ini"), "");
  fs::create_symlink("real.ini", dir_.File("profile.ini"));
  EXPECT_EQ(Settings("set \"Midi eRoll Settings/eRollMidiFileSuffix=_E\"").status, 0);
  EXPECT_TRUE(fs::is_symlink(dir_.File("profile.ini")));
  EXPECT_NE(testing::ReadBytes(dir_.File("real.ini")).find("_E"), std::string::npos);

  // An output that is a FIFO is refused, not replaced, and the file fails.
  fs::remove(dir_.File("out/roll_ScanImageMIDI.mid"));
  ASSERT_EQ(::mkfifo(dir_.File("out/roll_ScanImageMIDI.mid").c_str(), 0600), 0);
  const auto refused = Cli("convert", "-q --output-dir out roll.cis");
  EXPECT_EQ(refused.status, 1) << refused.err;
  EXPECT_NE(refused.err.find("not a regular file"), std::string::npos) << refused.err;
}

TEST_F(CliHostile, FifosNamedAsScansOrLibrariesAreRefusedAtOnce) {
  ASSERT_EQ(::mkfifo(dir_.File("pipe.cis").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(dir_.File("types.xml").c_str(), 0600), 0);
  for (const std::string command : {"info pipe.cis", "edit --title T pipe.cis", "convert -q pipe.cis"}) {
    const auto run = Cli(command.substr(0, command.find(' ')), command.substr(command.find(' ') + 1));
    EXPECT_EQ(run.status, 1) << command << "\n" << run.err;
    EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << command << "\n" << run.err;
  }
  EXPECT_EQ(Cli("roll-types", "--roll-types types.xml").status, 2);
}

TEST_F(CliHostile, FileNamePartsCannotLeadOutOfTheOutputFolder) {
  for (const std::string value : {"../../x_", "/tmp/x_", "a\\\\b", "..", "a\\tb"}) {
    const std::string set = "\"Midi eRoll Settings/eRollMidiFilePrefix=" + value + "\"";
    const auto by_set = Settings("set " + set);
    EXPECT_EQ(by_set.status, 2) << value;
    EXPECT_NE(by_set.err.find("part of a file name"), std::string::npos) << by_set.err;
    EXPECT_EQ(Cli("convert", "-q --output-dir out --set " + set + " roll.cis").status, 2) << value;
  }
  EXPECT_FALSE(Exists("profile.ini"));

  // The same in a profile written by hand: the default is used, and the run says so.
  testing::WriteBytes(dir_.File("profile.ini"),
                      "[Midi eRoll Settings]\neRollMidiFilePrefix=\"../\"\n"
                      "[OutputFiles]\nExpressionMidiFileSuffix=\"/x\"\n");
  const auto run = Cli("convert", "--json --output-dir out/deep roll.cis");
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_TRUE(Exists("out/deep/roll_eRollMIDI.mid"));
  EXPECT_FALSE(Exists("out/roll_eRollMIDI.mid"));
  EXPECT_NE(run.err.find("eRollMidiFilePrefix in the profile is \"../\", not a part of a file name"), std::string::npos)
      << run.err;
  const auto get = Settings("get \"Midi eRoll Settings/eRollMidiFilePrefix\"");
  EXPECT_EQ(get.out, "\n");
  EXPECT_NE(get.err.find("warning: Midi eRoll Settings/eRollMidiFilePrefix"), std::string::npos) << get.err;
}

TEST_F(CliHostile, ControlCharactersFromFilesAreShownAsEscapes) {
  testing::WriteBytes(dir_.File("types.xml"),
                      "<RollTypeDefinitions><RollType Name=\"Bell\x07\x1B[2J\"></RollType></RollTypeDefinitions>");
  const auto listed = Cli("roll-types", "--roll-types types.xml");
  EXPECT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(listed.out, "Fail-Safe\nBell\\x07\\x1B[2J\n");
  fs::copy_file(dir_.File("roll.cis"), dir_.File("es\x1B]0;x\x07.cis"));
  const auto info = Cli("info", "es*.cis");
  EXPECT_EQ(info.out.find('\x1B'), std::string::npos);
  EXPECT_NE(info.out.find("es\\x1B]0;x\\x07.cis"), std::string::npos) << info.out;
}

TEST_F(CliHostile, AFailedFileKeepsNoOutputAndNoClobberDoesNotHideTheFailure) {
  // The eRoll output's name is taken by a folder: the ScanImage file is written first, then
  // the eRoll file fails.
  fs::create_directories(dir_.File("out/roll_eRollMIDI.mid"));
  for (int run = 0; run < 2; ++run) {
    const auto failed =
        Cli("convert", std::string(run == 1 ? "--no-clobber " : "") + "--json --output-dir out roll.cis");
    EXPECT_EQ(failed.status, 1) << failed.err;
    const json report = json::parse(failed.out, nullptr, false);
    ASSERT_FALSE(report.is_discarded()) << failed.out;
    EXPECT_EQ(report["files"][0]["status"], "failed");
    for (const json& output : report["files"][0]["outputs"]) EXPECT_FALSE(output["written"].get<bool>()) << output;
    EXPECT_FALSE(Exists("out/roll_ScanImageMIDI.mid"));
  }
  // A link that leads nowhere is an output that exists.
  fs::remove(dir_.File("out/roll_eRollMIDI.mid"));
  fs::create_symlink("nowhere.mid", dir_.File("out/roll_eRollMIDI.mid"));
  const auto skipped = Cli("convert", "--no-clobber --json --output-dir out roll.cis");
  EXPECT_EQ(json::parse(skipped.out, nullptr, false)["files"][0]["status"], "skipped") << skipped.out;
}

TEST_F(CliHostile, ProfileLinesThatAreNotUsedAreWarningsOfTheRun) {
  // A byte order mark and CR line ends are read; the other lines are each reported.
  testing::WriteBytes(dir_.File("profile.ini"),
                      "\xEF\xBB\xBF[Midi eRoll Settings]\reRollMidiFileSuffix=\"_Bom\"\r"
                      "eRollMidiFileSuffix=\"_Again\"\rbroken=\"open\r[OutputFiles]\rno equals sign\r");
  const auto run = Cli("convert", "--json --output-dir out roll.cis");
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_TRUE(Exists("out/roll_Again.mid"));
  const json report = json::parse(run.out, nullptr, false);
  ASSERT_FALSE(report.is_discarded()) << run.out;
  EXPECT_EQ(report["files"][0]["status"], "converted with warnings");
  for (const char* line : {"line 3: eRollMidiFileSuffix is given again", "line 4: the quoted value of broken",
                           "line 6: not a Key=Value line"})
    EXPECT_NE(run.err.find(line), std::string::npos) << line << "\n" << run.err;

  // A key before any section, and a profile far larger than any profile.
  testing::WriteBytes(dir_.File("profile.ini"), "orphan=1\n");
  EXPECT_NE(Cli("convert", "-q --output-dir out roll.cis").err.find("orphan stands before any [Section]"),
            std::string::npos);
  testing::WriteBytes(dir_.File("profile.ini"), std::string(2 * 1024 * 1024, ';'));
  const auto large = Cli("convert", "-q --output-dir out roll.cis");
  EXPECT_EQ(large.status, 3);
  EXPECT_NE(large.err.find("more than the 1048576"), std::string::npos) << large.err;
  EXPECT_EQ(Settings("set \"Midi eRoll Settings/eRollMidiFileSuffix=_E\"").status, 1);
  EXPECT_EQ(fs::file_size(dir_.File("profile.ini")), 2u * 1024 * 1024);
}

TEST_F(CliHostile, AStopSignalEndsTheWaitForTheProfileLockAndNothingIsWritten) {
  testing::WriteBytes(dir_.File("profile.ini"), "");
  const FileLock held(dir_.File("profile.ini") + ".lock");
  ASSERT_TRUE(held.Outcome().ok());
  const pid_t pid = testing::StartProcess({TARVELO_CLI_PATH, "settings", "--profile", dir_.File("profile.ini"), "set",
                                           "Midi eRoll Settings/eRollMidiFileSuffix=_E"},
                                          dir_.File("stdout"), dir_.File("stderr"));
  ASSERT_GT(pid, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ::kill(pid, SIGTERM);
  EXPECT_EQ(testing::WaitProcess(pid), 128 + SIGTERM) << testing::ReadBytes(dir_.File("stderr"));
  EXPECT_EQ(testing::ReadBytes(dir_.File("profile.ini")), "");
}

TEST_F(CliHostile, AScanAboveTheSizeLimitIsRefusedByName) {
  testing::WriteBytes(dir_.File("big.cis"), std::string(3 * 1024 * 1024, '\0'));
  const auto run = Cli("convert", "-q --max-scan-mb 2 big.cis");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("big.cis: the file holds 3145728 bytes, more than the 2097152"), std::string::npos) << run.err;
  EXPECT_NE(Cli("convert", "--help").out.find("--max-scan-mb"), std::string::npos);
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TARVELO_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define TARVELO_SANITIZED 1
#endif
#endif

TEST_F(CliHostile, ThreadsThatCannotStartDoNotAbortTheBatch) {
#ifdef TARVELO_SANITIZED
  GTEST_SKIP() << "a sanitizer's shadow memory does not fit under ulimit -v";
#endif
  fs::copy_file(dir_.File("roll.cis"), dir_.File("second.cis"));
  // Threads of 500 MB stacks in 700 MB of address space: the first starts, the second cannot.
  const auto run =
      RunCommand("cd " + ShellQuote(dir_.Path().string()) + " && ulimit -v 700000 && ulimit -s 500000 && " + CliPath() +
                 " convert -q -j2 --profile profile.ini --output-dir out roll.cis second.cis");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Exists("out/second_eRollMIDI.mid"));
  EXPECT_EQ(run.err.find("terminate called"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tarvelo

#endif  // _WIN32
