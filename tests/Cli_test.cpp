#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

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
    synth::SyntheticRollSpec plan;
    plan.holes = {{60, 0.5, 0.3}};
    testing::WriteBytes(roll_, synth::RenderSyntheticCis(plan));
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
  EXPECT_NE(r.out.find("Scanner Type:      0 (no shaft encoder)"), std::string::npos) << r.out;
  // 180 lines at 100 lines per inch: 0.15 feet, played at tempo 80 (8 feet a minute).
  EXPECT_NE(r.out.find("Roll length:       0.1 feet"), std::string::npos) << r.out;

  const auto json = RunCommand(CliPath() + " info --json" + profile_ + " " + ShellQuote(roll_));
  EXPECT_EQ(json.status, 0);
  const auto report = nlohmann::json::parse(json.out);
  const auto& file = report["files"][0];
  EXPECT_EQ(file["lines_read"], 180);
  EXPECT_EQ(file["damaged_lines"], 0);
  EXPECT_EQ(file["scanner_type_name"], "no shaft encoder");
  EXPECT_DOUBLE_EQ(file["roll_length_feet"].get<double>(), 0.15);
  EXPECT_DOUBLE_EQ(file["play_minutes"].get<double>(), 0.15 / 8);
  EXPECT_EQ(file["header"]["Title"], "Synthetic roll");
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
  EXPECT_EQ(
      RunCommand(CliPath() + " convert" + profile_ + " --set 'Scanner Settings/ScannerDPI0=5' " + ShellQuote(roll_))
          .status,
      2);
  EXPECT_EQ(RunCommand(CliPath() + " convert" + profile_ + " --preset 16 " + ShellQuote(roll_)).status, 2);
  // --set changes this run only: the mode name shows in the messages, the profile stays unwritten.
  const auto mode = RunCommand(CliPath() + " convert" + profile_ +
                               " --set 'Scanner Settings/ScannerModeType0=Shaft Encoder' " + ShellQuote(roll_));
  // The synthetic roll has no encoder signal: the mode is refused with an error, so the file fails.
  EXPECT_EQ(mode.status, 1);
  EXPECT_NE(mode.err.find("Bad or invalid Encoder data."), std::string::npos) << mode.err;
  EXPECT_FALSE(std::filesystem::exists(dir_.File("profile.ini")));
}

TEST_F(Cli, SettingsSetGetAndListApplyTheDialogChecks) {
  EXPECT_EQ(RunCommand(CliPath() + " settings" + profile_ + " set 'Midi Gen Settings/ScanMidiLeadInTime=4'").status, 0);
  const auto get = RunCommand(CliPath() + " settings" + profile_ + " get 'midi gen settings/scanmidileadintime'");
  EXPECT_EQ(get.status, 0);
  EXPECT_EQ(get.out, "4\n");
  const auto refused =
      RunCommand(CliPath() + " settings" + profile_ + " set 'Midi Gen Settings/ScanMidiLeadInTime=11'");
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("between 0 and 10"), std::string::npos);
  const auto list = RunCommand(CliPath() + " settings" + profile_ + " list");
  EXPECT_NE(list.out.find("Scanner Settings/ScannerDPI15=300\n"), std::string::npos);
  EXPECT_NE(list.out.find("Midi Gen Settings/ScanMidiLeadInTime=4\n"), std::string::npos);
  EXPECT_EQ(RunCommand(CliPath() + " settings" + profile_ + " get Nowhere/Nothing").status, 2);

  // The active roll type must be one of the library's; a scanner mode outside the four
  // names is kept, as the preset dialog keeps any text, with a warning.
  const auto unknown_type =
      RunCommand(CliPath() + " settings" + profile_ + " set 'Roll Settings/ActiveRollTypeName=Nonesuch'");
  EXPECT_EQ(unknown_type.status, 2);
  EXPECT_NE(unknown_type.err.find("no roll type \"Nonesuch\""), std::string::npos) << unknown_type.err;
  EXPECT_EQ(RunCommand(CliPath() + " settings" + profile_ + " set 'Roll Settings/ActiveRollTypeName=Duo-Art'").status,
            0);
  const auto mode = RunCommand(CliPath() + " settings" + profile_ + " set 'Scanner Settings/ScannerModeType3=Fast'");
  EXPECT_EQ(mode.status, 0);
  EXPECT_NE(mode.err.find("warning: \"Fast\" is not a scanner mode name"), std::string::npos) << mode.err;
  EXPECT_EQ(RunCommand(CliPath() + " settings" + profile_ + " get 'Scanner Settings/ScannerModeType3'").out, "Fast\n");
}

TEST_F(Cli, ConvertWritesBothFilesWhereAskedAndReportsInJson) {
  const std::string out = dir_.File("out");
  const auto r = RunCommand(CliPath() + " convert --json" + profile_ + " --output-dir " + ShellQuote(out) +
                            " --info 'composer=Scott Joplin' " + ShellQuote(roll_));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(out + "/roll_ScanImageMIDI.mid"));
  EXPECT_TRUE(std::filesystem::exists(out + "/roll_eRollMIDI.mid"));
  EXPECT_EQ(r.out.rfind("{\"success\":true,\"files\":[{", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\"holes\":1"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"/scan_glitches_merged: 0   \""), std::string::npos) << r.out;
  EXPECT_NE(testing::ReadBytes(out + "/roll_eRollMIDI.mid").find("/composer: Scott Joplin"), std::string::npos);

  const std::string only = dir_.File("only");
  EXPECT_EQ(RunCommand(CliPath() + " convert" + profile_ + " --no-eroll-midi --output-dir " + ShellQuote(only) + " " +
                       ShellQuote(roll_))
                .status,
            0);
  EXPECT_TRUE(std::filesystem::exists(only + "/roll_ScanImageMIDI.mid"));
  EXPECT_FALSE(std::filesystem::exists(only + "/roll_eRollMIDI.mid"));
  EXPECT_EQ(RunCommand(CliPath() + " convert" + profile_ + " --info nonsense=1 " + ShellQuote(roll_)).status, 2);
  // A folder that cannot be made is refused before anything is converted.
  EXPECT_EQ(RunCommand(CliPath() + " convert" + profile_ + " --output-dir " + ShellQuote(roll_ + "/x") + " " +
                       ShellQuote(roll_))
                .status,
            1);
}

TEST_F(Cli, RollTypesListsTheShippedLibraryAndDescribesOne) {
  const auto list = RunCommand(CliPath() + " roll-types" + profile_);
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out.rfind("Fail-Safe\n88-Note\n", 0), 0u) << list.out;
  EXPECT_NE(list.out.find("\nDuo-Art\n"), std::string::npos);
  const auto one = RunCommand(CliPath() + " roll-types" + profile_ + " 65-Note");
  EXPECT_EQ(one.status, 0);
  EXPECT_NE(one.out.find("Name: 65-Note"), std::string::npos);
  EXPECT_EQ(RunCommand(CliPath() + " roll-types" + profile_ + " 'No Such Type'").status, 2);
  // A library named on the command line that cannot be used is a usage error.
  EXPECT_EQ(
      RunCommand(CliPath() + " roll-types" + profile_ + " --roll-types " + ShellQuote(dir_.File("none.xml"))).status,
      2);
}

TEST_F(Cli, ConvertWithEachRollType) {
  const auto list = RunCommand(CliPath() + " roll-types" + profile_);
  size_t start = 0;
  int types = 0;
  while (start < list.out.size()) {
    const size_t end = list.out.find('\n', start);
    const std::string name = list.out.substr(start, end - start);
    start = end + 1;
    const auto r = RunCommand(CliPath() + " convert --quiet" + profile_ + " --roll-type " + ShellQuote(name) + " " +
                              ShellQuote(roll_));
    // Converted, with a warning where the roll type's tracks do not fit the synthetic roll's holes.
    EXPECT_TRUE(r.status == 0 || r.status == 3) << name << ": " << r.err;
    ++types;
  }
  EXPECT_GE(types, 9);
  EXPECT_EQ(RunCommand(CliPath() + " convert" + profile_ + " --roll-type Nonesuch " + ShellQuote(roll_)).status, 2);
}

TEST_F(Cli, EditChecksAndWritesTheHeader) {
  const std::string out = dir_.File("edited.cis");
  const auto r = RunCommand(CliPath() + " edit" + profile_ + " " + ShellQuote(roll_) +
                            " --title 'Maple Leaf Rag' --tempo 85 -o " + ShellQuote(out));
  EXPECT_EQ(r.status, 0) << r.err;
  const auto info = RunCommand(CliPath() + " info" + profile_ + " " + ShellQuote(out));
  EXPECT_NE(info.out.find("Maple Leaf Rag"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("Tempo:             85."), std::string::npos) << info.out;
  EXPECT_NE(r.err.find(roll_ + ": title: \"Synthetic roll\" -> \"Maple Leaf Rag\""), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(roll_ + ": tempo: 80 -> 85"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(roll_ + ": written to " + out), std::string::npos) << r.err;
  EXPECT_EQ(RunCommand(CliPath() + " edit" + profile_ + " " + ShellQuote(roll_) + " --tempo 20000").status, 2);
  // Refused before the file is touched: nothing to change, 0 lines per inch (read as 100),
  // a title longer than the header's 32-byte title area.
  const std::string before = testing::ReadBytes(roll_);
  const auto nothing = RunCommand(CliPath() + " edit" + profile_ + " " + ShellQuote(roll_));
  EXPECT_EQ(nothing.status, 2);
  EXPECT_NE(nothing.err.find("nothing to change"), std::string::npos) << nothing.err;
  const auto zero = RunCommand(CliPath() + " edit" + profile_ + " " + ShellQuote(roll_) + " --lpi 0");
  EXPECT_EQ(zero.status, 2);
  EXPECT_NE(zero.err.find("read as 100"), std::string::npos) << zero.err;
  EXPECT_EQ(RunCommand(CliPath() + " edit" + profile_ + " " + ShellQuote(roll_) + " --title " +
                       ShellQuote(std::string(33, 't')))
                .status,
            2);
  EXPECT_EQ(testing::ReadBytes(roll_), before);
  EXPECT_EQ(RunCommand(CliPath() + " edit" + profile_ + " " + ShellQuote(dir_.File("gone.cis")) + " --tempo 80").status,
            1);
}

}  // namespace
}  // namespace tarvelo
