#include <gtest/gtest.h>

#include <functional>

#include "SyntheticRoll.h"
#include "document/TarveloDoc.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "helpers/TwinArrayRoll.h"

namespace tarvelo {
namespace {

// One hole on track 30 (centre 3.389 inches: pixel 717 at offset 1, 300 DPI).
synth::SyntheticRollSpec OneHole(uint8_t encoder_byte) {
  synth::SyntheticRollSpec plan;
  plan.length_inch = 2;
  plan.encoder_byte = encoder_byte;
  plan.holes.push_back({30, 0.5, 0.4});
  return plan;
}

struct Converted {
  testing::TempDir dir;
  testing::RecordingFrontEnd ui;
  TarveloDoc doc{ui, ui};
  Converted(const std::string& bytes, int reversal, bool old_format = false,
            const std::function<void(testing::RecordingFrontEnd&)>& configure = {}) {
    ui.settings.Diagnostic.OverrideImageReversal = reversal;
    ui.settings.Scanner.ForceOldCisFormat = old_format;
    // A single hole mirrored lands anywhere across the roll; whether it sits on a track is not
    // what these tests are about.
    ui.settings.Diagnostic.OffTrackWarningPercent = 100;
    if (configure) configure(ui);
    testing::WriteBytes(dir.File("roll.cis"), bytes);
    status = doc.Load(dir.File("roll.cis"), ui.settings);
  }
  Result status;
  int OnlyHoleTrack() const {
    EXPECT_EQ(doc.Holes().size(), 1u);
    return doc.Holes().size() == 1 ? doc.Holes()[0].Track : -1;
  }
  std::string Item(const char* key) const { return doc.Keywords().ItemText(doc.Keywords().FindKey(key)); }
};

TEST(TrackingPipeline, MirrorImageFlagMirrorsTheLinesUnlessOverridden) {
  const std::string mirrored_file = synth::RenderSyntheticCis(OneHole(0x10));
  const std::string plain_file = synth::RenderSyntheticCis(OneHole(0x00));

  Converted plain(plain_file, DiagnosticSettings::kUseCisBit);
  EXPECT_FALSE(plain.doc.ScanData().Run.ImageMirrored);
  EXPECT_EQ(plain.OnlyHoleTrack(), 30);

  Converted mirrored(mirrored_file, DiagnosticSettings::kUseCisBit);
  EXPECT_TRUE(mirrored.doc.ScanData().Run.ImageMirrored);
  const int mirrored_track = mirrored.doc.LookupMap().ClosestTrackAt(3648 - 717);
  EXPECT_EQ(mirrored.OnlyHoleTrack(), mirrored_track);
  EXPECT_NE(mirrored_track, 30);

  Converted never(mirrored_file, DiagnosticSettings::kNeverReverse);
  EXPECT_FALSE(never.doc.ScanData().Run.ImageMirrored);
  EXPECT_EQ(never.OnlyHoleTrack(), 30);

  Converted always(plain_file, DiagnosticSettings::kAlwaysReverse);
  EXPECT_TRUE(always.doc.ScanData().Run.ImageMirrored);
  EXPECT_EQ(always.OnlyHoleTrack(), mirrored_track);

  // A second run starts again from the lines as read: mirrored once, not twice.
  mirrored.doc.RunPipeline(mirrored.ui.settings);
  EXPECT_EQ(mirrored.OnlyHoleTrack(), mirrored_track);
  EXPECT_TRUE(mirrored.ui.messages.empty());
}

TEST(TrackingPipeline, TwinArrayItemsWithTheFileValues) {
  Converted twin(testing::RenderTwinArrayCis(OneHole(0x10), {224, 10}), DiagnosticSettings::kUseCisBit, false,
                 [](testing::RecordingFrontEnd& ui) {
                   ui.settings.TwinArray.OverrideCISvalues = false;
                   ui.settings.TwinArray.BlendWidthInThousandths = 45;
                 });
  ASSERT_TRUE(twin.status.ok()) << twin.status.message();
  EXPECT_TRUE(twin.ui.messages.empty());
  EXPECT_EQ(twin.Item("/Twin_Array_CIS:"),
            "/Twin_Array_CIS: Embedded Values Used | Separation = 100 , OverlapWidth = 224");
  EXPECT_EQ(twin.Item("/Twin_Array_Blend_Area_Width:"), "/Twin_Array_Blend_Area_Width: 45  thousandths ");
  EXPECT_EQ(twin.doc.ScanData().Run.CrossoverPixel, 1936 - 112);
  EXPECT_EQ(twin.Item("/Twin_Array_Crossover_Track:"),
            "/Twin_Array_Crossover_Track: " + std::to_string(twin.doc.LookupMap().ClosestTrackAt(1824)) + "   ");
  // Merged, then mirrored by the file's flag: the hole lands where the single scan's would.
  EXPECT_TRUE(twin.doc.ScanData().Run.ImageMirrored);
  EXPECT_EQ(twin.OnlyHoleTrack(), twin.doc.LookupMap().ClosestTrackAt(3648 - 717));
  // The items come once each, in the order of the run.
  const int twin_item = twin.doc.Keywords().FindKey("/Twin_Array_CIS:");
  EXPECT_LT(twin_item, twin.doc.Keywords().FindKey("/ActiveTracking:"));
  EXPECT_LT(twin.doc.Keywords().FindKey("/ActiveTracking:"),
            twin.doc.Keywords().FindKey("/Twin_Array_Crossover_Track:"));
}

TEST(TrackingPipeline, OldFormatForcedNeitherMergesNorMirrors) {
  synth::SyntheticRollSpec plan = OneHole(0x10);
  Converted old(testing::RenderTwinArrayCis(plan, {224, 10}), DiagnosticSettings::kUseCisBit, true);
  EXPECT_FALSE(old.doc.ScanData().Run.ImageMirrored);
  EXPECT_EQ(old.doc.Keywords().FindKey("/Twin_Array_CIS:"), -1);
  EXPECT_EQ(old.doc.ScanData().Run.ScanWidth, (3648 + 224) / 2);  // not doubled, not merged
}

TEST(TrackingPipeline, FileWithoutLinesStillRecordsEveryItem) {
  synth::CisHeaderFields header;
  header.line_count = 0;
  Converted empty(synth::EncodeCisHeader(header), DiagnosticSettings::kUseCisBit);
  EXPECT_EQ(empty.doc.ScanData().Lines.Size(), 0);
  EXPECT_EQ(empty.Item("/ActiveTracking:"), "/ActiveTracking: ON ");
  EXPECT_GE(empty.doc.Keywords().FindKey("/Twin_Array_Crossover_Track:"), 0);
  EXPECT_EQ(empty.doc.Holes().size(), 0u);
}

}  // namespace
}  // namespace tarvelo
