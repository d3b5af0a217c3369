#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "align/AlignOpenedScan.h"
#include "align/PrepareScan.h"
#include "document/TarveloDoc.h"
#include "helpers/AlignmentRolls.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "helpers/TwinArrayRoll.h"

namespace tarvelo {
namespace {

using synth::RollSystem;

// What the command line's align does with the file read afresh.
AlignmentReport AlignFromPath(const std::string& path, const RunSettings& settings, const AlignRequest& choices) {
  testing::RecordingFrontEnd front_end;
  PreparedScan scan;
  const Result prepared = PrepareScan(path, settings, front_end, scan);
  EXPECT_TRUE(prepared) << prepared.message();
  AlignRequest request = choices;
  request.Scan = AlignmentView(scan.Data, settings.Scanner.ScanLightingMethod);
  request.InForce = scan.Preset;
  return AlignScan(request);
}

void ExpectSameReport(const AlignmentReport& opened, const AlignmentReport& fresh) {
  const TrackFit& fit = opened.Suggestion.Fit;
  const TrackFit& expected = fresh.Suggestion.Fit;
  EXPECT_EQ(opened.Suggestion.Name, fresh.Suggestion.Name);
  EXPECT_EQ(fit.Setting.Dpi, expected.Setting.Dpi);
  EXPECT_EQ(fit.Setting.Offset, expected.Setting.Offset);
  EXPECT_EQ(fit.Setting.Stretch, expected.Setting.Stretch);
  EXPECT_EQ(fit.Count.OnTrack, expected.Count.OnTrack);
  EXPECT_EQ(fit.Count.Counted, expected.Count.Counted);
  EXPECT_EQ(fit.LowerEdge, expected.LowerEdge);
  EXPECT_EQ(fit.UpperEdge, expected.UpperEdge);
  EXPECT_EQ(opened.InForceType.Before.OnTrack, fresh.InForceType.Before.OnTrack);
  EXPECT_EQ(opened.HeaderDpi, fresh.HeaderDpi);
  EXPECT_EQ(opened.Measurement.Holes.size(), fresh.Measurement.Holes.size());
  EXPECT_EQ(opened.Ranking.Decided, fresh.Ranking.Decided);
  EXPECT_EQ(opened.Ranking.Recognised, fresh.Ranking.Recognised);
  EXPECT_EQ(opened.Ranking.Candidates, fresh.Ranking.Candidates);
  ASSERT_EQ(opened.Ranking.Ranked.size(), fresh.Ranking.Ranked.size());
  for (size_t index = 0; index < opened.Ranking.Ranked.size(); ++index) {
    EXPECT_EQ(opened.Ranking.Ranked[index].Name, fresh.Ranking.Ranked[index].Name);
    EXPECT_EQ(opened.Ranking.Ranked[index].Score, fresh.Ranking.Ranked[index].Score);
  }
}

// A 50-inch Ampico B roll at offset 1.12, stretched 0.4 %, wandering (two whole waves) and ragged.
synth::SyntheticRollSpec AmpicoBRoll() {
  synth::SyntheticRollSpec plan = testing::SystemRoll(RollSystem::kAmpicoB, 1.12, 1.004, 300);
  plan.length_inch = 50;
  plan.holes = synth::SystemRollHoles(RollSystem::kAmpicoB, 50, 11);
  return plan;
}

TEST(AlignOpenedScan, GivesTheReportOfTheFileReadAfresh) {
  testing::TempDir dir;
  synth::SyntheticRollSpec mirrored = AmpicoBRoll();
  mirrored.encoder_byte = 0x10;  // the converter mirrors these lines
  const struct {
    const char* name;
    std::string bytes;
  } rolls[] = {{"plain.cis", synth::RenderSyntheticCis(AmpicoBRoll())},
               {"mirrored.cis", synth::RenderSyntheticCis(mirrored)},
               {"twin.cis", testing::RenderTwinArrayCis(AmpicoBRoll(), testing::TwinArrayOptions{})}};
  for (const auto& roll : rolls) {
    SCOPED_TRACE(roll.name);
    const std::string path = dir.File(roll.name);
    testing::WriteBytes(path, roll.bytes);
    testing::RecordingFrontEnd front_end;
    front_end.settings.Outputs.ScanMidi = false;
    front_end.settings.Outputs.eRollMidi = false;
    // The document has converted the roll (twice), so its working lines are merged, mirrored and
    // tracked; the measurement starts again from the lines as read.
    TarveloDoc doc(front_end, front_end);
    ASSERT_TRUE(doc.Load(path, front_end.settings));
    doc.RunPipeline(front_end.settings);

    // With recognition (align --roll-type auto), then for the roll type in force only, also with
    // settings other than the document's (the image always reversed, another DPI in force).
    AlignRequest recognise;
    recognise.RollType = &testing::ShippedRollType("88-Note");
    recognise.Library = testing::ShippedLibrary();
    recognise.Recognise = true;
    AlignRequest in_force;
    in_force.RollType = &testing::ShippedRollType("Ampico B");
    RunSettings other = front_end.settings;
    other.Diagnostic.OverrideImageReversal = DiagnosticSettings::kAlwaysReverse;
    other.Scanner.ScannerDPI = 200;
    for (const auto& [request, settings] : {std::pair{recognise, front_end.settings}, std::pair{in_force, other}}) {
      const MeasuredAlignment measured = AlignOpenedScan(doc.ScanData(), settings, request, front_end);
      ASSERT_TRUE(measured.Outcome) << measured.Outcome.message();
      ExpectSameReport(measured.Report, AlignFromPath(path, settings, request));
    }
    if (std::string(roll.name) == "plain.cis") {
      const MeasuredAlignment recognised = AlignOpenedScan(doc.ScanData(), front_end.settings, recognise, front_end);
      EXPECT_EQ(recognised.Report.Ranking.Recognised, "Ampico B");
      EXPECT_NEAR(recognised.Report.Suggestion.Fit.Setting.Offset, 1.12, 0.005);
    }
  }
}

TEST(AlignOpenedScan, FailsWithoutLinesOrHolesAndSaysWhy) {
  testing::RecordingFrontEnd front_end;
  AlignRequest request;
  request.RollType = &testing::ShippedRollType("88-Note");
  const MeasuredAlignment nothing_open = AlignOpenedScan(CisScanData(), front_end.settings, request, front_end);
  EXPECT_EQ(nothing_open.Outcome.kind(), Result::Kind::kInvalid);
  EXPECT_NE(nothing_open.Outcome.message().find("no scan lines"), std::string::npos);

  // Paper and nothing else: lines without holes.
  CisScanData blank;
  const int32_t paper[] = {0, 3000};
  for (int line = 0; line < 500; ++line) blank.Lines.AppendLine(paper, 0);
  blank.KeepAsRead();
  const MeasuredAlignment no_holes = AlignOpenedScan(blank, front_end.settings, request, front_end);
  EXPECT_EQ(no_holes.Outcome.kind(), Result::Kind::kInvalid);
  EXPECT_NE(no_holes.Outcome.message().find("holes could not be measured"), std::string::npos);
}

TEST(AlignOpenedScan, ValuesNoPresetWouldHoldStillGiveAMeasurement) {
  // The scanner dialog measures its fields as they stand, before Apply checks them: a DPI that is
  // not a number, an offset and a stretch that are not numbers, or a DPI far out of range.
  testing::TempDir dir;
  const std::string path = dir.File("roll.cis");
  testing::WriteBytes(path, synth::RenderSyntheticCis(AmpicoBRoll()));
  testing::RecordingFrontEnd front_end;
  front_end.settings.Outputs.ScanMidi = false;
  front_end.settings.Outputs.eRollMidi = false;
  TarveloDoc doc(front_end, front_end);
  ASSERT_TRUE(doc.Load(path, front_end.settings));
  AlignRequest request;
  request.RollType = &testing::ShippedRollType("Ampico B");
  for (const auto& [dpi, offset, stretch] :
       {std::tuple{INT_MIN, std::nan(""), std::nan("")}, std::tuple{5000000, 1e300, -1.0}, std::tuple{1, -20.0, 0.5}}) {
    RunSettings typed = front_end.settings;
    typed.Scanner.ScannerDPI = dpi;
    typed.Scanner.ScannerOffset = offset;
    typed.Scanner.ScannerAlignStretch = stretch;
    front_end.messages.clear();
    const MeasuredAlignment measured = AlignOpenedScan(doc.ScanData(), typed, request, front_end);
    ASSERT_TRUE(measured.Outcome) << dpi << " " << measured.Outcome.message();
    EXPECT_EQ(measured.Report.Suggestion.Fit.Setting.Dpi, 300) << dpi;
    EXPECT_NEAR(measured.Report.Suggestion.Fit.Setting.Offset, 1.12, 0.005) << dpi;
  }
}

}  // namespace
}  // namespace tarvelo
