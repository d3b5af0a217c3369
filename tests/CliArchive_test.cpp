// What a batch leaves an archive with besides the MIDI files: a log that says how it ran, no
// empty folders where nothing was written, and the commands that take folders as convert does.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "SyntheticRoll.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"
#include "support/ProgramVersion.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;

class CliArchive : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef _WIN32
    GTEST_SKIP() << "runs through the POSIX shell (cd)";
#endif
    synth::SyntheticRollSpec plan;
    plan.holes = {{60, 0.5, 0.3}};
    roll_bytes_ = synth::RenderSyntheticCis(plan);
  }
  // Runs tarvelo-cli in the test folder with its own profile.
  testing::CommandResult Cli(const std::string& arguments) {
    return RunCommand("cd " + ShellQuote(dir_.Path().string()) + " && " + CliPath() + " " + arguments);
  }
  std::string Roll(const std::string& relative) {
    const fs::path path = dir_.Path() / relative;
    fs::create_directories(path.parent_path());
    testing::WriteBytes(path.string(), roll_bytes_);
    return path.string();
  }
  testing::TempDir dir_;
  std::string roll_bytes_;
};

TEST_F(CliArchive, TheLogSaysWhenHowAndWithWhatTheBatchRanAndHasALinePerFile) {
  Roll("scans/a.cis");
  Roll("scans/b.cis");
  testing::WriteBytes(dir_.File("scans/c.cis"), "");
  const auto run =
      Cli("convert --profile p.ini --json --log 'run log.txt' --set 'Midi Gen Settings/ScanMidiLeadInTime=3' "
          "scans");
  EXPECT_EQ(run.status, 1) << run.err;
  const std::string log = testing::ReadBytes(dir_.File("run log.txt"));
  const nlohmann::json report = nlohmann::json::parse(run.out);
  std::string digest;
  for (const auto& item : report["files"][0]["keywords"]) {
    const std::string text = item;
    if (text.rfind("/settings_digest: ", 0) == 0) digest = text.substr(18);
  }
  ASSERT_EQ(digest.size(), 16u);
  EXPECT_EQ(log.rfind("date:            20", 0), 0u) << log;
  for (const std::string& line :
       {std::string("command:         tarvelo-cli convert --profile p.ini --json --log 'run log.txt' --set "
                    "'Midi Gen Settings/ScanMidiLeadInTime=3' scans\n"),
        "version:         " + ProgramVersionLine() + "\n", std::string("profile:         p.ini\n"),
        "settings digest: " + digest + "\n",
        std::string("scans/a.cis: converted; 0 warnings, 0 errors; 2 outputs written; "),
        std::string("scans/c.cis: failed; 0 warnings, 1 error; 0 outputs written; "),
        std::string("3 files: 2 converted, 0 converted with warnings, 1 failed")})
    EXPECT_NE(log.find(line), std::string::npos) << line << "\nin\n" << log;
  // The file's messages and outputs stay before its line.
  EXPECT_LT(log.find("scans/a.cis: wrote scans/a_ScanImageMIDI.mid"), log.find("scans/a.cis: converted;"));
}

TEST_F(CliArchive, ARunThatWroteNothingLeavesNoOutputFolder) {
  fs::create_directories(dir_.File("no scans here"));
  fs::copy_file(std::string(TARVELO_SOURCE_DIR) + "/docs/tarvelo-window.png", dir_.File("picture.cis"));
  testing::WriteBytes(dir_.File("empty.cis"), "");
  const std::string roll = Roll("roll.cis");
  for (const std::string input : {"missing.cis", "'no scans here'", "picture.cis", "empty.cis"}) {
    for (const std::string tree : {"", "--keep-tree "}) {
      const auto run = Cli("convert --profile p.ini --output-dir out/midi " + tree + input);
      EXPECT_EQ(run.status, 1) << input << run.err;
      EXPECT_FALSE(fs::exists(dir_.File("out"))) << input << " " << tree;
    }
  }
  // A folder that was there already stays, empty or not; one that was written into stays.
  fs::create_directories(dir_.File("kept"));
  EXPECT_EQ(Cli("convert --profile p.ini --output-dir kept/midi empty.cis").status, 1);
  EXPECT_TRUE(fs::is_directory(dir_.File("kept")));
  EXPECT_FALSE(fs::exists(dir_.File("kept/midi")));
  EXPECT_EQ(Cli("convert --profile p.ini --keep-tree --output-dir tree empty.cis roll.cis").status, 1);
  EXPECT_TRUE(fs::exists(dir_.File("tree/roll_eRollMIDI.mid")));
}

TEST_F(CliArchive, JobsBeyondFourPerCoreAreCappedWithAMessage) {
  Roll("a.cis");
  const auto many = Cli("convert --profile p.ini --jobs 1000 a.cis");
  EXPECT_EQ(many.status, 0) << many.err;
  EXPECT_NE(many.err.find("tarvelo-cli: --jobs 1000 is more than 4 per processor core"), std::string::npos) << many.err;
  const auto two = Cli("convert --profile p.ini --jobs 2 a.cis");
  EXPECT_EQ(two.err.find("--jobs"), std::string::npos) << two.err;
  EXPECT_EQ(Cli("convert --profile p.ini --jobs 0 a.cis").status, 2);
  EXPECT_NE(Cli("convert --help").out.find("25 MB for a 4 MB scan"), std::string::npos);
}

TEST_F(CliArchive, InfoAndAlignTakeFoldersAsConvertDoes) {
  Roll("scans/a.cis");
  Roll("scans/deeper/b.CIS");
  fs::create_directories(dir_.File("empty"));
  const auto flat = Cli("info --profile p.ini --json scans");
  EXPECT_EQ(flat.status, 0) << flat.err;
  EXPECT_EQ(nlohmann::json::parse(flat.out)["files"].size(), 1u);
  const auto deep = Cli("info --profile p.ini --json --recursive scans");
  const auto files = nlohmann::json::parse(deep.out)["files"];
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[1]["input"], "scans/deeper/b.CIS");
  EXPECT_EQ(files[1]["lines_read"], 180);
  const auto none = Cli("info --profile p.ini empty");
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("no CIS files in the folder empty"), std::string::npos) << none.err;

  const auto aligned = Cli("align --profile p.ini --json -r scans");
  EXPECT_EQ(aligned.status, 0) << aligned.err;
  EXPECT_EQ(nlohmann::json::parse(aligned.out)["files"].size(), 2u);
  EXPECT_EQ(Cli("align --profile p.ini --write-preset 1 -r scans").status, 2);
}

}  // namespace
}  // namespace tarvelo
