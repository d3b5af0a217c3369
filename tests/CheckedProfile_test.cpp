#include <gtest/gtest.h>

#include <algorithm>

#include "document/TarveloDoc.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "settings/IniProfile.h"
#include "settings/SessionSettings.h"

namespace tarvelo {
namespace {

using testing::ReadBytes;
using testing::RecordingFrontEnd;
using testing::TempDir;
using testing::WriteBytes;

// Values a hand-edited profile may hold where no dialog would have put them; each can make a
// conversion worthless. The conversion uses every key's default instead.
constexpr const char* kHostileProfile =
    "[Scanner Settings]\n"
    "ScannerDPI0=99999999999\n"
    "ScannerOffset0=\"1e308\"\n"
    "ScannerAlignStretch0=\"-1e308\"\n"
    "TwinArrayOverlap0=\"nan\"\n"
    "TwinArrayVertOffset0=\"inf\"\n"
    "TakeupAccelPct0=\"1e308\"\n"
    "ScannerOffset3=\"abc\"\n"  // not the current preset: not used, not reported
    "[Midi Gen Settings]\n"
    "SpeckThresholdLength=\"abc\"\n"
    "GlitchThresholdDistance=\"\"\n"
    "SpeckThresholdWidthPct=101\n"
    "[ActiveTrackingParameters]\n"
    "RollEdgeCaptureDistance=\"1e308\"\n"
    "TrackingUpdateDistance=\"99999999999\"\n"
    "EdgeErrorWeightingFactor=\"-1e308\"\n"
    "TrackingLoopGain=\"inf\"\n";
constexpr int kHostileValues = 13;

TEST(CheckedProfile, HostileValuesGiveWayToTheDefaultsWithOneFindingEach) {
  TempDir dir;
  WriteBytes(dir.File("p.ini"), kHostileProfile);
  const IniProfile profile(dir.File("p.ini"));
  const RunSettings run = RunSettings::FromProfile(profile);
  const RunSettings defaults = RunSettings::FromProfile(IniProfile());
  EXPECT_EQ(run.Scanner.ScannerDPI, 300);
  EXPECT_EQ(run.Scanner.ScannerOffset, 1.0);
  EXPECT_EQ(run.Scanner.ScannerAlignStretch, 1.0);
  EXPECT_EQ(run.Scanner.TwinArrayOverlap, 0.75);
  EXPECT_EQ(run.Scanner.TwinArrayVertOffset, 0.6);
  EXPECT_EQ(run.Scanner.TakeupAccelPct, 0.2);
  EXPECT_EQ(run.General.SpeckThresholdLength, defaults.General.SpeckThresholdLength);
  EXPECT_EQ(run.General.GlitchThresholdDistance, defaults.General.GlitchThresholdDistance);
  EXPECT_EQ(run.General.SpeckThresholdWidthPct, 15);
  EXPECT_EQ(run.Tracking.RollEdgeCaptureDistance, defaults.Tracking.RollEdgeCaptureDistance);
  EXPECT_EQ(run.Tracking.TrackingUpdateDistance, defaults.Tracking.TrackingUpdateDistance);
  EXPECT_EQ(run.Tracking.EdgeErrorWeightingFactor, defaults.Tracking.EdgeErrorWeightingFactor);
  EXPECT_EQ(run.Tracking.TrackingLoopGain, defaults.Tracking.TrackingLoopGain);

  ASSERT_EQ(run.ProfileFindings.size(), static_cast<size_t>(kHostileValues));
  EXPECT_EQ(run.ProfileFindings[0].Message,
            "Scanner Settings/ScannerDPI0 in the profile is \"99999999999\", not an integer in the range 10 to "
            "1000; the default 300 is used instead.");
  EXPECT_EQ(run.ProfileFindings[1].Message,
            "Scanner Settings/ScannerOffset0 in the profile is \"1e308\", outside the range -20 to 20; the default "
            "1.00 is used instead.");
  const auto message_of = [&run](std::string_view key) {
    for (const SettingFinding& finding : run.ProfileFindings)
      if (finding.Key == key) return finding.Message;
    return std::string();
  };
  EXPECT_EQ(message_of("SpeckThresholdLength"),
            "Midi Gen Settings/SpeckThresholdLength in the profile is \"abc\", not a number in the range 0 to 1; the "
            "default 0.020 is used instead.");
  EXPECT_EQ(message_of("ScannerOffset3"), "");
}

TEST(CheckedProfile, ValuesOutsideTheRangeThatStillConvertAreUsedAndReported) {
  IniProfile profile;
  profile.WriteProfileInt("Diagnostic Settings", "EncoderTicksToAverage", 25).Ignore();
  profile.WriteProfileString("ActiveTrackingParameters", "RollEdgeCaptureDistance", "-0.5").Ignore();
  profile.WriteProfileString("Midi Gen Settings", "ScanMidiFilePrefix", std::string(70, 'p')).Ignore();
  profile.WriteProfileString("OutputFiles", "ScanMidi", "yes").Ignore();
  profile.WriteProfileInt("Midi eRoll Settings", "eRollMidiTrailerTime", 10).Ignore();  // in range: no finding
  const RunSettings run = RunSettings::FromProfile(profile);
  EXPECT_EQ(run.Diagnostic.EncoderTicksToAverage, 25);
  EXPECT_EQ(run.Tracking.RollEdgeCaptureDistance, -0.5);
  EXPECT_EQ(run.General.ScanMidiFilePrefix, std::string(70, 'p'));
  EXPECT_TRUE(run.Outputs.ScanMidi);
  std::vector<std::string> messages;
  for (const SettingFinding& finding : run.ProfileFindings) messages.push_back(finding.Message);
  EXPECT_EQ(messages.size(), 4u);
  EXPECT_NE(std::find(messages.begin(), messages.end(),
                      "Diagnostic Settings/EncoderTicksToAverage in the profile is \"25\", outside the range 1 to 20; "
                      "it is used as it stands."),
            messages.end());
  EXPECT_NE(std::find(messages.begin(), messages.end(),
                      "OutputFiles/ScanMidi in the profile is \"yes\", not an integer; the default 1 is used instead."),
            messages.end());
}

TEST(CheckedProfile, ASessionReportsAFindingUntilTheValueIsReplaced) {
  IniProfile profile;
  profile.WriteProfileString("Midi Gen Settings", "GlitchThresholdDistance", "5").Ignore();
  SessionSettings session(profile);
  EXPECT_EQ(session.General.GlitchThresholdDistance, 0.01);
  EXPECT_EQ(session.ForRun().ProfileFindings.size(), 1u);
  // The dialog's OK saves the values it shows.
  ASSERT_TRUE(session.General.Save(profile).ok());
  EXPECT_TRUE(session.ForRun().ProfileFindings.empty());
}

// The probe of a hostile profile on a real scan: with the defaults used instead, the MIDI files
// are those of a fresh profile, and every run says which values were replaced.
TEST(CheckedProfile, AConversionWithAHostileProfileFileWritesTheDefaultOutputsAndWarns) {
  TARVELO_REQUIRE_REAL_CIS();
  TempDir dir;
  const std::string scan = ReadBytes((testing::RealCisDir() / "stepper_single.CIS").string());
  std::filesystem::create_directories(dir.Path() / "fresh");
  std::filesystem::create_directories(dir.Path() / "hostile");
  WriteBytes(dir.File("fresh/roll.cis"), scan);
  WriteBytes(dir.File("hostile/roll.cis"), scan);
  WriteBytes(dir.File("p.ini"), kHostileProfile);
  int fresh_warnings = 0;  // what the scan itself gives with the defaults
  {
    RecordingFrontEnd ui;
    TarveloDoc doc(ui, ui);
    ASSERT_TRUE(doc.Load(dir.File("fresh/roll.cis"), ui.settings).ok());
    fresh_warnings = ui.CountOf(MessageKind::kWarning);
  }
  RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  const RunSettings hostile = RunSettings::FromProfile(IniProfile(dir.File("p.ini")));
  ASSERT_TRUE(doc.Load(dir.File("hostile/roll.cis"), hostile).ok());
  EXPECT_EQ(ui.CountOf(MessageKind::kWarning), fresh_warnings + kHostileValues);
  EXPECT_EQ(doc.Summary().CountOf(MessageKind::kWarning), fresh_warnings + kHostileValues);
  for (const char* output : {"roll_ScanImageMIDI.mid", "roll_eRollMIDI.mid"})
    EXPECT_EQ(ReadBytes(dir.File(std::string("hostile/") + output)),
              ReadBytes(dir.File(std::string("fresh/") + output)))
        << output;
  doc.RunPipeline(hostile);  // "Re-Process": reported again
  EXPECT_EQ(doc.Summary().CountOf(MessageKind::kWarning), fresh_warnings + kHostileValues);
}

}  // namespace
}  // namespace tarvelo
