#include <gtest/gtest.h>

#include "SyntheticRoll.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;
using testing::TempDir;

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    roll_ = dir_.File("roll.cis");
    synth::SyntheticRollSpec spec;
    spec.holes = {{60, 0.5, 0.3}};
    testing::WriteBytes(roll_, synth::RenderSyntheticCis(spec));
    profile_ = " --profile " + ShellQuote(dir_.File("profile.ini"));
  }
  TempDir dir_;
  std::string roll_;
  std::string profile_;
};

TEST_F(Cli, InfoShowsTheHeaderSummaryAndLineCounts) {
  const auto r = RunCommand(CliPath() + " info" + profile_ + " " + ShellQuote(roll_));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Title:             Synthetic roll"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Scan Width:        3648"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Lines read:        180"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Damaged lines:     0"), std::string::npos) << r.out;
}

TEST_F(Cli, ConvertExitStatusesAndMessagesNameTheFile) {
  EXPECT_EQ(RunCommand(CliPath() + " convert" + profile_ + " " + ShellQuote(roll_)).status, 0);
  const std::string text = dir_.File("notes.txt");
  testing::WriteBytes(text, "x");
  const auto wrong = RunCommand(CliPath() + " convert" + profile_ + " " + ShellQuote(roll_) + " " + ShellQuote(text));
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.err.find(text + ": *** Invalid File Type *** CIS files only -"), std::string::npos) << wrong.err;
  EXPECT_EQ(RunCommand(CliPath() + " convert" + profile_ + " " + ShellQuote(dir_.File("gone.cis"))).status, 1);
  EXPECT_EQ(RunCommand(CliPath() + " convert --bogus").status, 2);
  EXPECT_EQ(RunCommand(CliPath() + " convert" + profile_ + " --set 'Scanner Settings/ScannerDPI0=5' " +
                       ShellQuote(roll_))
                .status,
            2);
  EXPECT_EQ(RunCommand(CliPath() + " convert" + profile_ + " --preset 16 " + ShellQuote(roll_)).status, 2);
  // --set changes this run only: the mode name shows in the messages, the profile stays unwritten.
  const auto mode = RunCommand(CliPath() + " convert" + profile_ +
                               " --set 'Scanner Settings/ScannerModeType0=Shaft Encoder' " + ShellQuote(roll_));
  EXPECT_EQ(mode.status, 0);
  EXPECT_NE(mode.err.find("Bad or invalid Encoder data."), std::string::npos) << mode.err;
  EXPECT_FALSE(std::filesystem::exists(dir_.File("profile.ini")));
}

TEST_F(Cli, SettingsSetGetAndListApplyTheDialogChecks) {
  EXPECT_EQ(RunCommand(CliPath() + " settings" + profile_ + " set 'Midi Gen Settings/ScanMidiLeadInTime=4'").status,
            0);
  const auto get = RunCommand(CliPath() + " settings" + profile_ + " get 'midi gen settings/scanmidileadintime'");
  EXPECT_EQ(get.status, 0);
  EXPECT_EQ(get.out, "4\n");
  const auto refused = RunCommand(CliPath() + " settings" + profile_ + " set 'Midi Gen Settings/ScanMidiLeadInTime=11'");
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("between 0 and 10"), std::string::npos);
  const auto list = RunCommand(CliPath() + " settings" + profile_ + " list");
  EXPECT_NE(list.out.find("Scanner Settings/ScannerDPI15=300\n"), std::string::npos);
  EXPECT_NE(list.out.find("Midi Gen Settings/ScanMidiLeadInTime=4\n"), std::string::npos);
  EXPECT_EQ(RunCommand(CliPath() + " settings" + profile_ + " get Nowhere/Nothing").status, 2);
}

}  // namespace
}  // namespace tarvelo
