#include <gtest/gtest.h>

#include <set>

#include "document/TarveloDoc.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

struct RealRoll {
  testing::RecordingFrontEnd ui;
  TarveloDoc doc{ui, ui};
  explicit RealRoll(const char* name, int reversal = DiagnosticSettings::kUseCisBit) {
    ui.settings.Diagnostic.OverrideImageReversal = reversal;
    ui.settings.Scanner.AutoTweakSettings = false;  // the preset's placement, as the file's passes see it
    // The holes are the point here: no MIDI files beside the shared scans.
    doc.SetScanImageMidiSkipped(true);
    doc.SetERollMidiSkipped(true);
    EXPECT_TRUE(doc.Load((testing::RealCisDir() / name).string(), ui.settings).ok());
  }
  // Number of tracks with holes, and holes per inch of roll.
  size_t TracksWithHoles() const {
    std::set<int> tracks;
    for (const PunchedHole& hole : doc.Holes()) tracks.insert(hole.Track);
    return tracks.size();
  }
  double HolesPerInch() const {
    const ScanLineArray& lines = doc.ScanData().Lines;
    return static_cast<double>(doc.Holes().size()) / lines.Position(lines.Size() - 1);
  }
};

void ExpectPlausibleHoles(const RealRoll& roll) {
  // A roll of some 300 inches: notes by the thousand, over most of the keyboard, none empty
  // or negative in length.
  EXPECT_GT(roll.doc.Holes().size(), 3000u);
  EXPECT_GT(roll.HolesPerInch(), 10.0);
  EXPECT_LT(roll.HolesPerInch(), 200.0);
  EXPECT_GT(roll.TracksWithHoles(), 50u);
  for (const PunchedHole& hole : roll.doc.Holes()) {
    ASSERT_GT(hole.Length, 0.0);
    ASSERT_GE(hole.Track, 0);
    ASSERT_LE(hole.Track, 255);
  }
}

TEST(TrackingRealCis, TwinArrayScanMergesWithoutMessages) {
  TARVELO_REQUIRE_REAL_CIS();
  RealRoll roll("stepper_twin.CIS");
  // The merge says nothing. The preset's offset puts every note 18 tracks high, and its overlap
  // joins the halves 19 pixels off, which puts some holes of the treble half off their tracks.
  ASSERT_EQ(roll.ui.messages.size(), 1u);
  EXPECT_EQ(roll.ui.messages[0].rfind("The notes are 18 tracks (18 semitones) high: the paper's bass edge lies at", 0),
            0u)
      << roll.ui.messages[0];
  const ConversionSummary& summary = roll.doc.Summary();
  EXPECT_GT(summary.HolesOffTrack, 0.05 * summary.HolesMeasured);
  const CisScanData& data = roll.doc.ScanData();
  // 2 x 2600 pixels less the preset's overlap of 0.75 inch at 300 DPI.
  EXPECT_EQ(data.Run.ScanWidth, 5200 - 225);
  EXPECT_EQ(data.Run.CrossoverPixel, 2600 - 112);
  EXPECT_FALSE(data.Run.ImageMirrored);
  const KeywordList& keywords = roll.doc.Keywords();
  EXPECT_EQ(keywords.ItemText(keywords.FindKey("/Twin_Array_CIS:")),
            "/Twin_Array_CIS: MANUAL OVERRIDE Values Used | Separation = 0.6 , OverlapWidth = 0.75");
  EXPECT_EQ(keywords.ItemText(keywords.FindKey("/Twin_Array_Blend_Area_Width:")),
            "/Twin_Array_Blend_Area_Width: 60  thousandths ");
  // The merged lines never reach past the merged width.
  for (int i = 0; i < data.Lines.Size(); ++i) {
    const auto t = data.Lines.Transitions(i);
    if (!t.empty()) {
      ASSERT_LE(t.back(), data.Run.ScanWidth) << i;
    }
  }
  ExpectPlausibleHoles(roll);
}

TEST(TrackingRealCis, BiColourScanIsNotMirrored) {
  TARVELO_REQUIRE_REAL_CIS();
  RealRoll roll("stepper_bicolor.CIS");
  // The preset puts every note a semitone low; nothing else is said.
  ASSERT_EQ(roll.ui.messages.size(), 1u);
  EXPECT_EQ(
      roll.ui.messages[0].rfind("The notes are 1 track (a semitone) low: the paper's bass edge lies at 1.5 inch", 0),
      0u)
      << roll.ui.messages[0];
  EXPECT_TRUE(roll.doc.ScanData().Run.ReverseImage);
  EXPECT_FALSE(roll.doc.ScanData().Run.ImageMirrored);
  ExpectPlausibleHoles(roll);

  // Mirrored on request it still converts, with the hole image now beyond the tracks (the
  // second channel comes first): the holes it finds lie off the tracks, and the run says so.
  RealRoll mirrored("stepper_bicolor.CIS", DiagnosticSettings::kAlwaysReverse);
  ASSERT_EQ(mirrored.ui.messages.size(), 1u);
  EXPECT_EQ(mirrored.ui.messages[0].rfind("The notes cannot be checked against the tracks of the roll type", 0), 0u)
      << mirrored.ui.messages[0];
  EXPECT_TRUE(mirrored.doc.ScanData().Run.ImageMirrored);
  EXPECT_NE(mirrored.doc.Holes().size(), roll.doc.Holes().size());
}

TEST(TrackingRealCis, ReprocessingGivesTheSameHolesAndItems) {
  TARVELO_REQUIRE_REAL_CIS();
  RealRoll roll("stepper_twin.CIS");
  const std::vector<PunchedHole> first = roll.doc.Holes();
  std::vector<std::string> items;
  for (int k = 0; k < roll.doc.Keywords().Count(); ++k) items.push_back(roll.doc.Keywords().ItemText(k));
  roll.doc.RunPipeline(roll.ui.settings);
  ASSERT_EQ(roll.doc.Holes().size(), first.size());
  for (size_t k = 0; k < first.size(); ++k) {
    const PunchedHole& again = roll.doc.Holes()[k];
    ASSERT_EQ(again.Track, first[k].Track);
    ASSERT_EQ(again.StartPosition, first[k].StartPosition);
    ASSERT_EQ(again.EndPosition, first[k].EndPosition);
  }
  for (int k = 0; k < roll.doc.Keywords().Count(); ++k)
    EXPECT_EQ(roll.doc.Keywords().ItemText(k), items[static_cast<size_t>(k)]);
  EXPECT_EQ(roll.doc.ScanData().Run.ScanWidth, 4975);
}

}  // namespace
}  // namespace tarvelo
