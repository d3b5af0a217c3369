// The command line's switches for the expression file and its account of a roll type's model.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SyntheticRoll.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;

class CliExpression : public ::testing::Test {
 protected:
  void SetUp() override {
    roll_ = dir_.File("roll.cis");
    synth::SyntheticRollSpec plan;
    plan.holes = {{18, 0.5, 1.0}, {60, 0.5, 0.3}, {70, 0.7, 0.3}};
    testing::WriteBytes(roll_, synth::RenderSyntheticCis(plan));
    profile_ = " --profile " + ShellQuote(dir_.File("profile.ini"));
  }
  bool Written() const { return fs::exists(dir_.File("roll_ExpressionMIDI.mid")); }
  testing::TempDir dir_;
  std::string roll_;
  std::string profile_;
};

TEST_F(CliExpression, TheSwitchesOverrideTheProfileForOneRun) {
  ASSERT_EQ(RunCommand(CliPath() + " convert -q" + profile_ + " " + ShellQuote(roll_)).status, 0);
  EXPECT_FALSE(Written());  // off by default

  const auto on =
      RunCommand(CliPath() + " convert -v" + profile_ + " --roll-type Duo-Art --expression-midi " + ShellQuote(roll_));
  EXPECT_TRUE(on.status == 0 || on.status == 3) << on.err;
  EXPECT_TRUE(Written());
  EXPECT_NE(on.err.find("wrote " + dir_.File("roll_ExpressionMIDI.mid")), std::string::npos) << on.err;
  fs::remove(dir_.File("roll_ExpressionMIDI.mid"));

  ASSERT_EQ(RunCommand(CliPath() + " settings" + profile_ + " set OutputFiles/WriteExpressionMidi=1").status, 0);
  ASSERT_EQ(RunCommand(CliPath() + " convert -q" + profile_ + " --no-expression-midi " + ShellQuote(roll_)).status, 0);
  EXPECT_FALSE(Written());
  // Fail-Safe has no expression system: written all the same, with a note that says so.
  const auto plain = RunCommand(CliPath() + " convert" + profile_ + " " + ShellQuote(roll_));
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_TRUE(Written());
  EXPECT_NE(plain.err.find("has no expression system: the expression MIDI file plays the eRoll velocities."),
            std::string::npos)
      << plain.err;

  // Both switches at once are a usage error; so is a suffix too long for the field.
  EXPECT_EQ(
      RunCommand(CliPath() + " convert -q" + profile_ + " --expression-midi --no-expression-midi " + ShellQuote(roll_))
          .status,
      2);
  EXPECT_NE(RunCommand(CliPath() + " settings" + profile_ +
                       " set OutputFiles/ExpressionMidiFileSuffix=" + std::string(33, 'x'))
                .status,
            0);
}

TEST_F(CliExpression, TwoInputsMayNotShareAnExpressionFile) {
  // Only the expression files are written, and both would be out/roll_ExpressionMIDI.mid.
  fs::create_directories(dir_.File("a"));
  fs::create_directories(dir_.File("b"));
  fs::copy_file(roll_, dir_.File("a/roll.cis"));
  fs::copy_file(roll_, dir_.File("b/roll.cis"));
  const auto r = RunCommand(CliPath() + " convert -q" + profile_ + " --expression-midi --no-scan-midi --no-eroll-midi" +
                            " --output-dir " + ShellQuote(dir_.File("out")) + " " +
                            ShellQuote(dir_.File("a/roll.cis")) + " " + ShellQuote(dir_.File("b/roll.cis")));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("would both write"), std::string::npos) << r.err;
}

TEST_F(CliExpression, RollTypesShowsTheSystemAndItsFigures) {
  const auto duo_art = RunCommand(CliPath() + " roll-types" + profile_ + " Duo-Art");
  EXPECT_EQ(duo_art.status, 0) << duo_art.err;
  EXPECT_NE(duo_art.out.find("ExpressionSystem: Duo-Art\n"), std::string::npos) << duo_art.out;
  EXPECT_NE(duo_art.out.find("ExpressionDelay: 0.143\n"), std::string::npos);
  const auto ampico = RunCommand(CliPath() + " roll-types" + profile_ + " 'Ampico A'");
  EXPECT_NE(ampico.out.find("ExpressionBridgeGap of tracks: 111:0.13\n"), std::string::npos) << ampico.out;
  const auto organ = RunCommand(CliPath() + " roll-types" + profile_ + " 'Aeolian 176-Note Organ'");
  EXPECT_NE(organ.out.find("ExpressionSystem: none\nTracks:"), std::string::npos) << organ.out;
}

}  // namespace
}  // namespace tarvelo
