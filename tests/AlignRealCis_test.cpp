#include <gtest/gtest.h>

#include <cmath>

#include "align/AlignScan.h"
#include "align/PrepareScan.h"
#include "document/TarveloDoc.h"
#include "helpers/AlignmentRolls.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

const RollTypeDefinition kFailSafe;

// Aligns a real scan with roll type recognition, with the default settings (or the header's
// twin array values instead of the preset's).
AlignmentReport AlignRealScan(const char* name, bool header_twin_values = false) {
  testing::RecordingFrontEnd front_end;
  if (header_twin_values) front_end.settings.TwinArray.OverrideCISvalues = false;
  PreparedScan scan;
  const Result prepared = PrepareScan((testing::RealCisDir() / name).string(), front_end.settings, front_end, scan);
  EXPECT_TRUE(prepared) << prepared.message();
  AlignRequest request;
  request.Scan = AlignmentView(scan.Data, front_end.settings.Scanner.ScanLightingMethod);
  request.InForce = scan.Preset;
  request.RollType = &kFailSafe;
  request.Library = testing::ShippedLibrary();
  request.Recognise = true;
  return AlignScan(request);
}

TEST(AlignRealCis, TheSuggestionPutsNearlyAllHolesOnTrack) {
  TARVELO_REQUIRE_REAL_CIS();
  for (const char* name : {"stepper_single.CIS", "stepper_twin.CIS", "stepper_bicolor.CIS", "clocked_single.CIS",
                           "no_encoder_signal.CIS"}) {
    SCOPED_TRACE(name);
    const AlignmentReport report = AlignRealScan(name);
    const TrackFit& fit = report.Suggestion.Fit;
    ASSERT_TRUE(fit.Found);
    EXPECT_GE(fit.Count.Share(), 0.97);
    EXPECT_GT(fit.Count.Counted, 5000);
    // The preset's offset of 1.0 is never the right one; these lie between 1.05 and 1.25 (the
    // twin array scan's merged lines start further out).
    if (std::string(name) != "stepper_twin.CIS") {
      EXPECT_GT(fit.Setting.Offset, 1.05);
      EXPECT_LT(fit.Setting.Offset, 1.25);
    }
    // Where the bass edge shows, it lies where the roll types expect it.
    if (fit.LowerEdgeFound) {
      EXPECT_NEAR(fit.LowerEdge, 1.6, 0.04);
    }
    if (fit.UpperEdgeFound && std::string(name) != "stepper_twin.CIS") {
      EXPECT_NEAR(fit.UpperEdge, 12.85, 0.04);
    }
    // The single array scan was made at 200 DPI, as its header says; the others at 300.
    EXPECT_EQ(fit.Setting.Dpi, std::string(name) == "stepper_single.CIS" ? 200 : 300);
  }
}

TEST(AlignRealCis, TheAmpicoBScansAreRecognised) {
  TARVELO_REQUIRE_REAL_CIS();
  for (const char* name : {"stepper_bicolor.CIS", "clocked_single.CIS"}) {
    SCOPED_TRACE(name);
    const AlignmentReport report = AlignRealScan(name);
    EXPECT_TRUE(report.Ranking.Decided);
    EXPECT_EQ(report.Ranking.Recognised, "Ampico B");
  }
  // The twin array scan, merged with the header's overlap: the preset's default overlap (0.75
  // inch) joins the treble half some 19 pixels off, which puts its control holes half a track
  // out (the ranking then cannot tell Ampico B from Artecho, and says so).
  const AlignmentReport twin = AlignRealScan("stepper_twin.CIS", true);
  EXPECT_EQ(twin.Ranking.Recognised, "Ampico B");
  EXPECT_GE(twin.Suggestion.Fit.Count.Share(), 0.99);
  EXPECT_TRUE(twin.TwinArray.Measured);
  EXPECT_LT(std::abs(twin.TwinArray.Step), 4.0);
  const AlignmentReport twin_default = AlignRealScan("stepper_twin.CIS");
  EXPECT_TRUE(!twin_default.Ranking.Decided || twin_default.Ranking.Recognised == "Ampico B");
  EXPECT_EQ(twin_default.Ranking.Ranked.front().Name, "Ampico B");
  // The measurement finds the halves 19 pixels (244 - 225) apart, and says so.
  EXPECT_NEAR(twin_default.TwinArray.Step, 19.0, 4.0);
  bool told = false;
  for (const AlignmentNote& note : twin_default.Notes)
    told |= note.Text.find("halves do not meet") != std::string::npos;
  EXPECT_TRUE(told);

  // The Duo-Art scan at 200 DPI.
  EXPECT_EQ(AlignRealScan("stepper_single.CIS").Ranking.Recognised, "Duo-Art");
}

TEST(AlignRealCis, AnAlignedConversionPutsTheHolesOnTrack) {
  TARVELO_REQUIRE_REAL_CIS();
  testing::TempDir out;
  for (const char* name : {"stepper_single.CIS", "stepper_twin.CIS", "stepper_bicolor.CIS", "clocked_single.CIS",
                           "no_encoder_signal.CIS"}) {
    SCOPED_TRACE(name);
    testing::RecordingFrontEnd front_end;
    TarveloDoc doc(front_end, front_end);
    doc.SetOutputFolder(out.Path().string());
    AlignmentOptions alignment;
    alignment.Align = true;
    alignment.RecogniseRollType = true;
    alignment.Library = testing::ShippedRollTypes();
    doc.SetAlignment(alignment);
    ASSERT_TRUE(doc.Load((testing::RealCisDir() / name).string(), front_end.settings).ok());
    // The holes the conversion placed, after its tracking, lie on their tracks.
    const ConversionSummary& summary = doc.Summary();
    ASSERT_GT(summary.HolesMeasured, 1000);
    EXPECT_LE(summary.HolesOffTrack, 0.03 * summary.HolesMeasured);
    EXPECT_EQ(front_end.CountOf(MessageKind::kError), 0);
    EXPECT_EQ(doc.LookupMap().Dpi, std::string(name) == "stepper_single.CIS" ? 200.0 : 300.0);
    const KeywordList& keywords = doc.Keywords();
    EXPECT_NE(keywords.FindKey("/auto_alignment:"), -1);
  }
}

TEST(AlignRealCis, ARefusedHeaderIsAFailureWithTheReadersMessage) {
  TARVELO_REQUIRE_REAL_CIS();
  testing::RecordingFrontEnd front_end;
  PreparedScan scan;
  const Result result =
      PrepareScan((testing::RealCisDir() / "broken_data.CIS").string(), front_end.settings, front_end, scan);
  EXPECT_EQ(result.kind(), Result::Kind::kCorrupt);
  EXPECT_NE(result.message().find("*** Invalid Scanner Width in File ***"), std::string::npos);
  const Result missing =
      PrepareScan((testing::RealCisDir() / "no_such_file.CIS").string(), front_end.settings, front_end, scan);
  EXPECT_FALSE(missing);
}

}  // namespace
}  // namespace tarvelo
