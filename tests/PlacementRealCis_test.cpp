// The real scans converted with the default settings: Auto-Tweak places every readable one as
// the explicit alignment does (the same holes on the same tracks), with the measured fit putting
// nearly every hole on a track; the literal settings warn wherever their notes are off.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "align/PrepareScan.h"
#include "document/TarveloDoc.h"
#include "helpers/AlignmentRolls.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

struct RealConversion {
  testing::RecordingFrontEnd ui;
  TarveloDoc doc{ui, ui};
  RealConversion(const char* name, bool align, bool auto_tweak) {
    ui.settings.Scanner.AutoTweakSettings = auto_tweak;
    doc.SetScanImageMidiSkipped(true);
    doc.SetERollMidiSkipped(true);
    AlignmentOptions options;
    options.Align = align;
    doc.SetAlignment(options);
    EXPECT_TRUE(doc.Load((testing::RealCisDir() / name).string(), ui.settings).ok());
  }
  std::vector<std::pair<int, double>> Notes() const {
    std::vector<std::pair<int, double>> notes;
    for (const PunchedHole& hole : doc.Holes()) notes.emplace_back(hole.Track, hole.StartPosition);
    return notes;
  }
};

TEST(PlacementRealCis, DefaultConversionsPlaceTheHolesAsTheAlignmentDoes) {
  TARVELO_REQUIRE_REAL_CIS();
  for (const char* name : {"stepper_single.CIS", "stepper_twin.CIS", "stepper_bicolor.CIS", "clocked_single.CIS",
                           "no_encoder_signal.CIS"}) {
    const RealConversion by_default(name, false, true);
    const ConversionSummary& summary = by_default.doc.Summary();
    EXPECT_FALSE(summary.AutoTweak.empty()) << name;
    EXPECT_GE(summary.Placement.FittedShare, 0.97) << name;
    // By the conversion's own count, too: the scanner's background beyond the paper's edges
    // (which the built-in type's wide span takes in) gives no holes.
    ASSERT_GT(summary.HolesMeasured, 1000) << name;
    EXPECT_LE(summary.HolesOffTrack, 0.03 * summary.HolesMeasured) << name;
    const RealConversion aligned(name, true, true);
    EXPECT_EQ(by_default.Notes(), aligned.Notes()) << name;
    // The literal settings put every one of these a track or more off, and say so.
    const RealConversion literal(name, false, false);
    EXPECT_TRUE(literal.doc.Summary().PlacementWarned) << name;
    EXPECT_GE(literal.doc.Summary().CountOf(MessageKind::kWarning), 1) << name;
    EXPECT_TRUE(literal.doc.ScanData().Run.PaperOnLines.empty()) << name;
  }
}

// The twin array scan's override values join its halves 17 pixels apart; Auto-Tweak joins them
// with the header's, and the conversion is clean.
TEST(PlacementRealCis, AutoTweakJoinsATwinArrayScanWithTheValuesThatFit) {
  TARVELO_REQUIRE_REAL_CIS();
  const RealConversion twin("stepper_twin.CIS", false, true);
  EXPECT_EQ(twin.doc.Summary().CountOf(MessageKind::kWarning), 0);
  ASSERT_FALSE(twin.ui.messages.empty());
  EXPECT_EQ(twin.ui.messages[0],
            "Auto-Tweak: the twin arrays are joined with the header's values (their halves 1 "
            "pixel apart; with the override's, 17 pixels).");
  // The last twin array item is the header's values, not the override's.
  const KeywordList& keywords = twin.doc.Keywords();
  EXPECT_EQ(keywords.ItemText(keywords.FindKey("/Twin_Array_CIS:")).rfind("/Twin_Array_CIS: Embedded Values Used", 0),
            0u);
}

// The placement check of that conversion takes the measurement of the twin values' trial made
// with the values it converts with: it is the one its own lines give, with and without the
// ranking of a library's roll types.
TEST(PlacementRealCis, TheTwinTrialsMeasurementIsTheConversionsOwn) {
  TARVELO_REQUIRE_REAL_CIS();
  const std::string path = (testing::RealCisDir() / "stepper_twin.CIS").string();
  for (const bool ranked : {false, true}) {
    testing::RecordingFrontEnd ui;
    TarveloDoc doc{ui, ui};
    doc.SetScanImageMidiSkipped(true);
    doc.SetERollMidiSkipped(true);
    AlignmentOptions options;
    RollTypeDefinition other;
    other.Name = "Other";  // the built-in type's tracks under another name
    if (ranked) {
      options.NameRecognised = true;
      options.Library = {other};
    }
    doc.SetAlignment(options);
    ASSERT_TRUE(doc.Load(path, ui.settings).ok());
    // The conversion joined the halves with the header's values (see above).
    RunSettings chosen = ui.settings;
    chosen.TwinArray.OverrideCISvalues = !chosen.TwinArray.OverrideCISvalues;
    PreparedScan prepared;
    ASSERT_TRUE(PrepareScan(path, chosen, ui, prepared).ok());
    AlignRequest request;
    request.Scan = AlignmentView(prepared.Data, chosen.Scanner.ScanLightingMethod);
    request.InForce = doc.Alignment().InForce;
    RollTypeDefinition fail_safe;
    request.RollType = &fail_safe;
    const AlignmentReport fresh = AlignScan(request);
    const AlignmentReport& used = doc.Alignment();
    ASSERT_EQ(used.Measurement.Holes.size(), fresh.Measurement.Holes.size()) << ranked;
    for (size_t k = 0; k < fresh.Measurement.Holes.size(); ++k)
      ASSERT_EQ(used.Measurement.Holes[k].Center, fresh.Measurement.Holes[k].Center) << ranked << " hole " << k;
    EXPECT_EQ(used.Measurement.Edges.Lower, fresh.Measurement.Edges.Lower) << ranked;
    EXPECT_EQ(used.Measurement.StartWander, fresh.Measurement.StartWander) << ranked;
    EXPECT_EQ(used.InForceType.Fit.Setting.Offset, fresh.InForceType.Fit.Setting.Offset) << ranked;
    EXPECT_EQ(used.InForceType.Fit.Setting.Stretch, fresh.InForceType.Fit.Setting.Stretch) << ranked;
    EXPECT_EQ(used.TwinArray.Step, fresh.TwinArray.Step) << ranked;
    EXPECT_EQ(used.Ranking.Ranked.size(), ranked ? 1u : 0u);
  }
}

// Read as the old format, these scans give holes no roll type of the library reads: the run
// says its notes cannot be checked, and does not call the roll type undecided between types
// that fit it "nearly equally well".
TEST(PlacementRealCis, AnUnreadableScanIsNotUndecidedBetweenRollTypes) {
  TARVELO_REQUIRE_REAL_CIS();
  for (const char* name : {"stepper_bicolor.CIS", "stepper_twin.CIS"}) {
    testing::RecordingFrontEnd ui;
    ui.settings.Scanner.AutoTweakSettings = false;
    ui.settings.Scanner.ForceOldCisFormat = true;
    TarveloDoc doc{ui, ui};
    doc.SetScanImageMidiSkipped(true);
    doc.SetERollMidiSkipped(true);
    AlignmentOptions options;
    options.NameRecognised = true;
    options.Library = testing::ShippedRollTypes();
    doc.SetAlignment(options);
    ASSERT_TRUE(doc.Load((testing::RealCisDir() / name).string(), ui.settings).ok()) << name;
    const RollTypeRanking& ranking = doc.Alignment().Ranking;
    EXPECT_FALSE(ranking.Decided) << name;
    EXPECT_TRUE(ranking.Candidates.empty()) << name;
    for (const std::string& message : ui.messages)
      EXPECT_EQ(message.find("The roll type is undecided"), std::string::npos) << name << ": " << message;
  }
}

}  // namespace
}  // namespace tarvelo
