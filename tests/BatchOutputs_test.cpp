// The files a batch plans for each input (cli/BatchInputs), tested through the command
// line's library without running the program.
#include <gtest/gtest.h>

#include <vector>

#include "cli/BatchInputs.h"

namespace tarvelo::cli {
namespace {

RunSettings NamedOutputs() {
  RunSettings settings;
  settings.General.ScanMidiFileSuffix = "_ScanImage";
  settings.ERoll.eRollMidiFilePrefix = "e_";
  settings.Outputs.WriteExpressionMidi = true;
  settings.Outputs.ExpressionMidiFileSuffix = "_Expression";
  return settings;
}

std::vector<BatchInput> Inputs(std::initializer_list<const char*> paths) {
  std::vector<BatchInput> inputs;
  for (const char* path : paths) {
    BatchInput input;
    input.Path = path;
    inputs.push_back(input);
  }
  return inputs;
}

TEST(BatchOutputs, EveryOutputIsNamedFromTheInputBesideItOrInTheOutputFolder) {
  const RunSettings settings = NamedOutputs();
  std::vector<BatchInput> inputs = Inputs({"rolls/Song.v2.cis"});
  ASSERT_TRUE(PlanOutputs(inputs, OutputPlan{}, settings).ok());
  EXPECT_EQ(inputs[0].OutputFolder, "");
  // The name stops at the first dot, as the document names the outputs.
  EXPECT_EQ(inputs[0].Outputs,
            (std::vector<std::string>{"rolls/Song_ScanImage.mid", "rolls/e_Song.mid", "rolls/Song_Expression.mid"}));

  OutputPlan plan;
  plan.OutputDir = "out";
  plan.ScanImage = false;
  RunSettings diagnostics = settings;
  diagnostics.Diagnostic.WriteCISrawTransitionFile = true;
  ASSERT_TRUE(PlanOutputs(inputs, plan, diagnostics).ok());
  EXPECT_EQ(inputs[0].OutputFolder, "out/");
  // The diagnostic file stays beside the input.
  EXPECT_EQ(inputs[0].Outputs, (std::vector<std::string>{"out/e_Song.mid", "out/Song_Expression.mid",
                                                         "rolls/Song_DiagnosticFileValues.txt"}));
}

TEST(BatchOutputs, TwoInputsThatWouldWriteOneFileAreRefusedWhateverTheLetterCase) {
  const RunSettings settings = NamedOutputs();
  OutputPlan plan;
  plan.OutputDir = "out";
  std::vector<BatchInput> inputs = Inputs({"a/Song.cis", "b/SONG.cis"});
  const Result planned = PlanOutputs(inputs, plan, settings);
  ASSERT_FALSE(planned.ok());
  EXPECT_EQ(planned.kind(), Result::Kind::kInvalid);
  EXPECT_NE(planned.message().find("a/Song.cis and b/SONG.cis would both write out/SONG_ScanImage.mid"),
            std::string::npos)
      << planned.message();
  EXPECT_NE(planned.message().find("--keep-tree"), std::string::npos);

  // Beside their own folders they do not meet; an input with a problem plans nothing.
  inputs = Inputs({"a/Song.cis", "b/SONG.cis"});
  inputs[1].Problem = "cannot read";
  ASSERT_TRUE(PlanOutputs(inputs, plan, settings).ok());
  EXPECT_TRUE(inputs[1].Outputs.empty());
  inputs = Inputs({"a/Song.cis", "b/SONG.cis"});
  EXPECT_TRUE(PlanOutputs(inputs, OutputPlan{}, settings).ok());
}

}  // namespace
}  // namespace tarvelo::cli
