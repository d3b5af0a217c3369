// Batches of tarvelo-cli convert: files and folders, each file once, N files at once with the
// same bytes as one at a time, outputs that would collide, --no-clobber, the summary and log.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "SyntheticRoll.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;

class CliBatch : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef _WIN32
    GTEST_SKIP() << "the batches run through the POSIX shell (cd, environment)";
#endif
    synth::SyntheticRollSpec plan;
    plan.holes = {{60, 0.5, 0.3}};
    roll_bytes_ = synth::RenderSyntheticCis(plan);
    cli_ = "cd " + ShellQuote(dir_.Path().string()) + " && SOURCE_DATE_EPOCH=1700000000 " + CliPath() +
           " convert --profile " + ShellQuote(dir_.File("profile.ini")) + " ";
  }
  // Writes the synthetic roll at `relative` below the test folder (folders made as needed).
  std::string Roll(const std::string& relative) {
    const std::string path = dir_.File(relative);
    fs::create_directories(fs::path(path).parent_path());
    testing::WriteBytes(path, roll_bytes_);
    return path;
  }
  json Report(const testing::CommandResult& result) { return json::parse(result.out, nullptr, false); }

  testing::TempDir dir_;
  std::string roll_bytes_;
  std::string cli_;  // runs in the test folder
};

// Every file below `folder`, relative to it, with its bytes.
std::map<std::string, std::string> FolderContents(const std::string& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file())
      contents[fs::relative(entry.path(), folder).string()] = testing::ReadBytes(entry.path().string());
  return contents;
}

// The first line of `text` that starts with `start`, "" when none does.
std::string LineStartingWith(const std::string& text, const std::string& start) {
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    const std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (line.rfind(start, 0) == 0) return line;
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return "";
}

// Standard error without its last line (the summary, which holds the time).
std::string WithoutLastLine(const std::string& text) {
  const size_t end = text.rfind('\n', text.size() >= 2 ? text.size() - 2 : 0);
  return end == std::string::npos ? "" : text.substr(0, end + 1);
}

TEST_F(CliBatch, TwoJobsWriteTheSameBytesAndReportInTheSameOrderAsOne) {
  TARVELO_REQUIRE_REAL_CIS();
  // Every real scan twice under two names: twelve files, of every kind the scans hold.
  fs::create_directories(dir_.File("scans"));
  for (const auto& entry : fs::directory_iterator(testing::RealCisDir())) {
    if (entry.path().extension() != ".CIS") continue;
    for (const std::string copy : {"a_", "b_"})
      fs::copy_file(entry.path(), dir_.File("scans/" + copy + entry.path().filename().string()));
  }
  const auto one = RunCommand(cli_ + "--jobs 1 --output-dir out1 scans");
  const auto two = RunCommand(cli_ + "--jobs 2 --output-dir out2 scans");
  EXPECT_EQ(one.status, 1) << one.err;  // broken_data.CIS is refused
  EXPECT_EQ(two.status, one.status);
  const auto first = FolderContents(dir_.File("out1")), second = FolderContents(dir_.File("out2"));
  EXPECT_EQ(first.size(), 20u);
  EXPECT_TRUE(first == second);
  EXPECT_EQ(WithoutLastLine(one.err), WithoutLastLine(two.err));
}

TEST_F(CliBatch, FoldersGiveTheirCisFilesAndEachFileIsConvertedOnce) {
  Roll("box/a.cis");
  Roll("box/B.CIS");
  testing::WriteBytes(dir_.File("box/notes.txt"), "not a scan");
  Roll("box/deeper/c.cis");
  fs::create_directories(dir_.File("empty"));

  auto report = Report(RunCommand(cli_ + "--json --output-dir out box"));
  ASSERT_EQ(report["files"].size(), 2u) << report.dump();
  EXPECT_EQ(report["files"][0]["input"], "box/B.CIS");
  EXPECT_EQ(report["files"][1]["input"], "box/a.cis");
  report = Report(RunCommand(cli_ + "--json --recursive --output-dir out box box/a.cis ./box/a.cis"));
  ASSERT_EQ(report["files"].size(), 3u) << report.dump();
  EXPECT_EQ(report["files"][2]["input"], "box/deeper/c.cis");

  const auto empty = RunCommand(cli_ + "--json --output-dir out empty");
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find("no CIS files in the folder empty"), std::string::npos) << empty.err;
}

TEST_F(CliBatch, OutputsThatWouldCollideAreRefusedNamingBothInputs) {
  Roll("a/roll.cis");
  Roll("b/roll.cis");
  Roll("a/roll.take2.cis");
  auto result = RunCommand(cli_ + "--output-dir out a/roll.cis b/roll.cis");
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("a/roll.cis and b/roll.cis would both write out/roll_ScanImageMIDI.mid"), std::string::npos)
      << result.err;
  EXPECT_FALSE(fs::exists(dir_.File("out/roll_ScanImageMIDI.mid")));
  // Beside the inputs, two names that differ after their first "." collide too.
  result = RunCommand(cli_ + "a/roll.cis a/roll.take2.cis");
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("a/roll.take2.cis would both write a/roll_ScanImageMIDI.mid"), std::string::npos)
      << result.err;

  // --keep-tree keeps the input folders apart below the output folder.
  result = RunCommand(cli_ + "--keep-tree --output-dir out a/roll.cis b/roll.cis");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(fs::exists(dir_.File("out/a/roll_ScanImageMIDI.mid")));
  EXPECT_TRUE(fs::exists(dir_.File("out/b/roll_eRollMIDI.mid")));
  EXPECT_EQ(RunCommand(cli_ + "--keep-tree a/roll.cis").status, 2);  // needs --output-dir
}

TEST_F(CliBatch, NoClobberLeavesAnExistingOutputUntouched) {
  Roll("roll.cis");
  fs::create_directories(dir_.File("out"));
  testing::WriteBytes(dir_.File("out/roll_ScanImageMIDI.mid"), "keep me");
  auto result = RunCommand(cli_ + "--json --no-clobber --output-dir out roll.cis");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(testing::ReadBytes(dir_.File("out/roll_ScanImageMIDI.mid")), "keep me");
  EXPECT_FALSE(fs::exists(dir_.File("out/roll_eRollMIDI.mid")));
  EXPECT_EQ(Report(result)["files"][0]["status"], "skipped");
  EXPECT_NE(result.err.find("roll.cis: out/roll_ScanImageMIDI.mid exists; the file is not converted (--no-clobber)"),
            std::string::npos)
      << result.err;
  // Without it the output is replaced, as always.
  result = RunCommand(cli_ + "--output-dir out roll.cis");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(testing::ReadBytes(dir_.File("out/roll_ScanImageMIDI.mid")).rfind("MThd", 0), 0u);
}

TEST_F(CliBatch, TheSummaryCountsTheStatusesAndTheLogKeepsTheReport) {
  Roll("one.cis");
  Roll("two.cis");
  std::string damaged = roll_bytes_;
  for (size_t at = damaged.size() / 2; at < damaged.size() / 2 + 8; ++at) damaged[at] = '\xFF';
  testing::WriteBytes(dir_.File("damaged.cis"), damaged);
  testing::WriteBytes(dir_.File("text.cis"), "Just a note, not a scan at all; it is long enough for a header.");

  const auto result =
      RunCommand(cli_ + "--verbose --log run.log --output-dir out one.cis two.cis damaged.cis text.cis");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("4 files: 2 converted, 1 converted with warnings, 1 failed; outputs in out; "),
            std::string::npos)
      << result.err;
  // The table lists the two files that were not simply converted, with their first message.
  EXPECT_NE(LineStartingWith(result.err, "damaged.cis ").find(" converted with warnings "), std::string::npos)
      << result.err;
  EXPECT_NE(LineStartingWith(result.err, "text.cis ").find(" failed "), std::string::npos) << result.err;
  EXPECT_EQ(LineStartingWith(result.err, "one.cis "), "") << result.err;
  EXPECT_NE(result.err.find("one.cis: wrote out/one_ScanImageMIDI.mid (1 notes, "), std::string::npos) << result.err;

  const std::string log = testing::ReadBytes(dir_.File("run.log"));
  EXPECT_NE(log.find("two.cis: wrote out/two_eRollMIDI.mid"), std::string::npos) << log;
  EXPECT_NE(log.find("4 files: 2 converted, 1 converted with warnings, 1 failed"), std::string::npos) << log;

  EXPECT_EQ(RunCommand(cli_ + "--log nowhere/run.log one.cis").status, 2);

  // --quiet: the warnings and errors only, no summary.
  const auto quiet = RunCommand(cli_ + "--quiet --output-dir out one.cis text.cis");
  EXPECT_EQ(quiet.err.find("files:"), std::string::npos) << quiet.err;
  EXPECT_NE(quiet.err.find("text.cis: "), std::string::npos) << quiet.err;
}

}  // namespace
}  // namespace tarvelo
