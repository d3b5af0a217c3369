#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "align/StoreInPreset.h"
#include "helpers/AlignmentRolls.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"
#include "settings/IniProfile.h"
#include "settings/ScannerPresets.h"

namespace tarvelo {
namespace {

using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;

// An Ampico B roll scanned with the paper at offset 1.12 inch and stretched by 0.4 %.
class AlignCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // 50 inches: two whole waves of the paper's sideways wander, whose median is then none.
    synth::SyntheticRollSpec plan = testing::SystemRoll(synth::RollSystem::kAmpicoB, 1.12, 1.004, 300);
    plan.length_inch = 50;
    plan.holes = synth::SystemRollHoles(synth::RollSystem::kAmpicoB, 50, 11);
    bytes_ = new std::string(synth::RenderSyntheticCis(plan));
  }
  static void TearDownTestSuite() { delete bytes_; }
  void SetUp() override {
    roll_ = dir_.File("roll.cis");
    testing::WriteBytes(roll_, *bytes_);
    profile_ = " --profile " + ShellQuote(dir_.File("profile.ini"));
  }
  std::string Cli(const std::string& arguments) const { return CliPath() + " " + arguments + profile_; }

  static std::string* bytes_;
  testing::TempDir dir_;
  std::string roll_;
  std::string profile_;
};
std::string* AlignCommand::bytes_ = nullptr;

TEST_F(AlignCommand, ReportsTheSuggestionAsTextAndAsJson) {
  const auto text = RunCommand(Cli("align --roll-type auto " + ShellQuote(roll_)));
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("  DPI:            header 300, preset 300\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("for Ampico B (recognised)"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("  roll types:     Ampico B "), std::string::npos) << text.out;

  const auto run = RunCommand(Cli("align --json --roll-type auto " + ShellQuote(roll_)));
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json report = nlohmann::json::parse(run.out);
  ASSERT_EQ(report["files"].size(), 1u);
  const nlohmann::json& file = report["files"][0];
  EXPECT_EQ(file["path"], roll_);
  EXPECT_EQ(file["dpi"], 300);
  EXPECT_NEAR(file["offset"].get<double>(), 1.12, 0.005);
  EXPECT_NEAR(file["stretch"].get<double>(), 1.004, 0.003);
  EXPECT_EQ(file["roll_type"], "Ampico B");
  EXPECT_GE(file["on_track"].get<double>(), 0.99);
  EXPECT_LE(file["on_track_before"].get<double>(), 1.0);
  EXPECT_NEAR(file["paper_edges"][0].get<double>(), 1.6, 0.05);
  EXPECT_NEAR(file["paper_edges"][1].get<double>(), 12.85, 0.05);
  ASSERT_GE(file["candidates"].size(), 10u);
  EXPECT_EQ(file["candidates"][0]["roll_type"], "Ampico B");
  for (size_t k = 1; k < file["candidates"].size(); ++k)
    EXPECT_GE(file["candidates"][k - 1]["score"].get<double>(), file["candidates"][k]["score"].get<double>());
  EXPECT_TRUE(file["messages"].is_array());

  // A named roll type is fitted as it is: the suggestion is for it, the ranking still shown.
  const auto named = RunCommand(Cli("align --json --roll-type 88-Note " + ShellQuote(roll_)));
  ASSERT_EQ(named.status, 0) << named.err;
  EXPECT_EQ(nlohmann::json::parse(named.out)["files"][0]["roll_type"], "88-Note");
}

TEST_F(AlignCommand, RefusesWhatItCannotDo) {
  const std::string other = dir_.File("other.cis");
  testing::WriteBytes(other, *bytes_);
  EXPECT_EQ(RunCommand(Cli("align --write-preset 2 " + ShellQuote(roll_) + " " + ShellQuote(other))).status, 2);
  EXPECT_EQ(RunCommand(Cli("align --write-preset 16 " + ShellQuote(roll_))).status, 2);
  EXPECT_EQ(RunCommand(Cli("align --roll-type 'No Such Roll' " + ShellQuote(roll_))).status, 2);
  // A file that cannot be read fails alone; the others are reported.
  const auto mixed = RunCommand(Cli("align --json " + ShellQuote(dir_.File("gone.cis")) + " " + ShellQuote(roll_)));
  EXPECT_EQ(mixed.status, 1);
  const nlohmann::json report = nlohmann::json::parse(mixed.out);
  ASSERT_EQ(report["files"].size(), 2u);
  EXPECT_TRUE(report["files"][0].contains("error"));
  EXPECT_EQ(report["files"][1]["dpi"], 300);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("profile.ini")));
}

TEST_F(AlignCommand, WritePresetStoresTheSuggestionAsApplyDoes) {
  const auto run = RunCommand(Cli("align --write-preset 2 " + ShellQuote(roll_)));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("The suggestion was stored in scanner preset 2, which is now the current preset (it was "
                         "preset 0)."),
            std::string::npos)
      << run.err;
  // Stored again into the preset that is current now: said so.
  const auto again = RunCommand(Cli("align --write-preset 2 " + ShellQuote(roll_)));
  EXPECT_NE(again.err.find("The suggestion was stored in scanner preset 2, the current preset."), std::string::npos)
      << again.err;
  const IniProfile stored(dir_.File("profile.ini"));
  const ScannerPresets presets(stored);
  EXPECT_EQ(presets.CurrentIndex(), 2);
  EXPECT_NEAR(presets.Live().ScannerOffset, 1.12, 0.005);
  EXPECT_NEAR(presets.Live().ScannerAlignStretch, 1.004, 0.003);
  EXPECT_EQ(presets.Live().ScannerDPI, 300);
  // The rest of the preset as it was: its name, and its inert auto-tweak flag.
  EXPECT_EQ(presets.Preset(2).PresetName, "Alternate2");
  EXPECT_EQ(presets.Preset(2).AutoTweakSettings, 1);

  // Converting with that preset now puts the holes where the alignment found them.
  const auto converted = RunCommand(Cli("convert --quiet --json --roll-type 'Ampico B' " + ShellQuote(roll_)));
  ASSERT_EQ(converted.status, 0) << converted.err;
  EXPECT_EQ(converted.err.find("of the holes lie more than"), std::string::npos) << converted.err;
}

TEST_F(AlignCommand, ConvertAlignUsesTheSuggestionAndSaysSo) {
  auto keywords = [](const std::string& out) {
    const nlohmann::json report = nlohmann::json::parse(out);
    std::vector<std::string> items;
    for (const auto& item : report["files"][0]["keywords"]) items.push_back(item);
    return items;
  };
  auto find = [](const std::vector<std::string>& items, const std::string& key) {
    for (const std::string& item : items)
      if (item.rfind(key, 0) == 0) return item;
    return std::string();
  };
  // With --no-align the preset's values are used and nothing is recorded; the notes on wrong
  // tracks give a warning, so the file is converted with warnings.
  const auto plain = RunCommand(Cli("convert --quiet --json --no-align " + ShellQuote(roll_)));
  ASSERT_EQ(plain.status, 3) << plain.err;
  EXPECT_EQ(find(keywords(plain.out), "/auto_alignment:"), "");
  EXPECT_EQ(find(keywords(plain.out), "/scanner_horizontal_offset:"), "/scanner_horizontal_offset: 1.000  ");
  const nlohmann::json placement = nlohmann::json::parse(plain.out)["files"][0]["placement"];
  EXPECT_EQ(placement["finding"], "tracks off");
  EXPECT_EQ(placement["auto_tweaked"], false);

  // By default the preset's Auto-Tweak converts with the measured values and says so in the
  // keyword items; the notes are right, so the file is simply converted.
  const auto tweaked = RunCommand(Cli("convert --quiet --json " + ShellQuote(roll_)));
  ASSERT_EQ(tweaked.status, 0) << tweaked.err;
  const std::string tweak = find(keywords(tweaked.out), "/auto_alignment:");
  EXPECT_EQ(tweak.rfind("/auto_alignment: Auto-Tweak: DPI 300, offset 1.1", 0), 0u) << tweak;
  EXPECT_EQ(nlohmann::json::parse(tweaked.out)["files"][0]["placement"]["auto_tweaked"], true);

  const auto aligned = RunCommand(Cli("convert --quiet --json --align " + ShellQuote(roll_)));
  ASSERT_EQ(aligned.status, 0) << aligned.err;
  const auto items = keywords(aligned.out);
  // The scanner items say what the run used.
  const std::string offset = find(items, "/scanner_horizontal_offset:");
  ASSERT_FALSE(offset.empty());
  EXPECT_NEAR(std::stod(offset.substr(offset.find(':') + 1)), 1.12, 0.005);
  EXPECT_EQ(find(items, "/CIS_converted_as_type:"), "/CIS_converted_as_type: Fail-Safe");
  const std::string used = find(items, "/auto_alignment:");
  EXPECT_EQ(used.rfind("/auto_alignment: DPI 300 | offset 1.1", 0), 0u) << used;
  EXPECT_NE(used.find("| roll type Fail-Safe (in use) | on track 100.00 %"), std::string::npos) << used;

  const auto automatic = RunCommand(Cli("convert --quiet --json --roll-type auto " + ShellQuote(roll_)));
  ASSERT_EQ(automatic.status, 0) << automatic.err;
  const auto automatic_items = keywords(automatic.out);
  EXPECT_EQ(find(automatic_items, "/CIS_converted_as_type:"), "/CIS_converted_as_type: Ampico B");
  EXPECT_NE(find(automatic_items, "/auto_alignment:").find("roll type Ampico B (recognised)"), std::string::npos);
}

// align says what the settings in force do to the notes in a conversion's words, and for a twin
// array scan which twin values join its halves better.
TEST_F(AlignCommand, SaysWhatTheSettingsInForceDoAndWhichTwinValuesJoinBetter) {
  TARVELO_REQUIRE_REAL_CIS();
  const auto twin =
      RunCommand(Cli("align " + testing::ShellQuote((testing::RealCisDir() / "stepper_twin.CIS").string())));
  EXPECT_EQ(twin.status, 0) << twin.err;
  EXPECT_NE(twin.err.find("stepper_twin.CIS: Now, with the settings in force, the notes are 18 tracks (18 semitones) "
                          "high: the paper's bass edge lies at "),
            std::string::npos)
      << twin.err;
  EXPECT_NE(twin.err.find("Twin arrays: the override's values (in force) join the halves 17 pixels apart, the "
                          "header's values 1 pixel apart; the header's join them better: convert with --set \"Twin "
                          "Array Settings/OverrideCISvalues=0\"."),
            std::string::npos)
      << twin.err;
  // A roll the settings in force convert right is not called wrong.
  const auto right =
      RunCommand(Cli("align --set \"Scanner Settings/ScannerOffset0=1.1014\" --set \"Scanner "
                     "Settings/ScannerAlignStretch0=0.9994\" " +
                     testing::ShellQuote((testing::RealCisDir() / "stepper_bicolor.CIS").string())));
  EXPECT_EQ(right.err.find("Now, with the settings in force"), std::string::npos) << right.err;
  EXPECT_EQ(right.err.find("wrong tracks"), std::string::npos) << right.err;
}

TEST(StoreInPreset, RefusesWhatThePresetDialogRefusesAndStoresNothing) {
  IniProfile profile;
  EXPECT_EQ(StoreInPreset(profile, 3, {5, 1.1, 1.0}).kind(), Result::Kind::kInvalid);    // DPI 10 to 1000
  EXPECT_EQ(StoreInPreset(profile, 3, {300, 1.1, 2.5}).kind(), Result::Kind::kInvalid);  // stretch 0.5 to 2
  EXPECT_EQ(StoreInPreset(profile, -1, {300, 1.1, 1.0}).kind(), Result::Kind::kInvalid);
  EXPECT_TRUE(profile.Entries().empty());
  ASSERT_TRUE(StoreInPreset(profile, 3, {200, -0.25, 0.98}).ok());
  const ScannerPresets presets(profile);
  EXPECT_EQ(presets.CurrentIndex(), 3);
  EXPECT_EQ(presets.Live().ScannerDPI, 200);
  EXPECT_DOUBLE_EQ(presets.Live().ScannerOffset, -0.25);
  EXPECT_DOUBLE_EQ(presets.Live().ScannerAlignStretch, 0.98);
}

}  // namespace
}  // namespace tarvelo
