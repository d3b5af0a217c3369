#include <gtest/gtest.h>

#include "SyntheticRoll.h"
#include "align/OffTrackCheck.h"
#include "document/TarveloDoc.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "services/MessageHeadline.h"
#include "settings/IniProfile.h"
#include "settings/SettingsCatalog.h"

namespace tarvelo {
namespace {

// A roll whose paper lies at offset 1.04 inch: with the preset's 1.0 and no tracking its holes
// sit a third of a track off their centres (still nearest to their own tracks).
std::string ThirdOfATrackOffRoll() {
  synth::SyntheticRollSpec plan;
  plan.offset = 1.04;
  plan.length_inch = 12;
  for (int k = 0; k < 60; ++k) plan.holes.push_back({30 + (k * 7) % 60, 0.5 + k * 0.18, 0.1});
  return synth::RenderSyntheticCis(plan);
}

struct Conversion : testing::RecordingFrontEnd {
  bool status_bar = false;  // plays a front end that shows the notice in its status bar
  std::vector<std::string> notices;
  bool ShowOffTrackNotice(std::string_view text) override {
    notices.emplace_back(text);
    return status_bar;
  }
  void Convert(const std::string& bytes) {
    settings.Scanner.AutoTweakSettings = false;  // the preset's placement
    testing::TempDir dir;
    testing::WriteBytes(dir.File("roll.cis"), bytes);
    TarveloDoc doc(*this, *this);
    EXPECT_TRUE(doc.Load(dir.File("roll.cis"), settings).ok());
    summary = doc.Summary();
  }
  ConversionSummary summary;
};

TEST(OffTrackWarning, NamesTheShareTheRollTypeAndTheOffsetAndSuggestsAlign) {
  Conversion run;
  run.settings.Scanner.ActiveTracking = false;
  run.Convert(ThirdOfATrackOffRoll());
  EXPECT_EQ(run.summary.HolesMeasured, 60);
  EXPECT_EQ(run.summary.HolesOffTrack, 60);
  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(run.kinds[0], MessageKind::kWarning);
  EXPECT_EQ(run.messages[0],
            "100.0 % of the holes lie more than 0.3 of a track spacing from their track's centre (roll type "
            "\"Fail-Safe\", scanner offset 1. inch): the settings do not fit this scan. Convert with Auto-Tweak "
            "or the alignment on to use settings that fit.");
  EXPECT_EQ(run.summary.CountOf(MessageKind::kWarning), 1);
  EXPECT_EQ(run.summary.Status, ConversionStatus::kConvertedWithWarnings);
  EXPECT_EQ(run.summary.DecidingMessage, run.messages[0]);

  // A front end with a status bar shows it there instead: no message, the run still warned.
  Conversion quiet;
  quiet.status_bar = true;
  quiet.settings.Scanner.ActiveTracking = false;
  quiet.Convert(ThirdOfATrackOffRoll());
  EXPECT_TRUE(quiet.messages.empty());
  ASSERT_EQ(quiet.notices.size(), 1u);
  EXPECT_EQ(quiet.notices[0], run.messages[0]);
  EXPECT_EQ(quiet.summary.CountOf(MessageKind::kWarning), 1);
  EXPECT_EQ(quiet.summary.Status, ConversionStatus::kConvertedWithWarnings);
  EXPECT_EQ(quiet.summary.DecidingMessage, run.messages[0]);

  // The right offset, or a share above every hole's, says nothing.
  Conversion right;
  right.settings.Scanner.ActiveTracking = false;
  right.settings.Scanner.ScannerOffset = 1.04;
  right.Convert(ThirdOfATrackOffRoll());
  EXPECT_EQ(right.summary.HolesOffTrack, 0);
  EXPECT_TRUE(right.messages.empty());
  EXPECT_TRUE(right.notices.empty());
  EXPECT_EQ(right.summary.Status, ConversionStatus::kConverted);
  Conversion never;
  never.settings.Scanner.ActiveTracking = false;
  never.settings.Diagnostic.OffTrackWarningPercent = 100;
  never.Convert(ThirdOfATrackOffRoll());
  EXPECT_TRUE(never.messages.empty());
}

// The holes are counted beside the event building; the warning still comes before what the
// writing of the MIDI files reports (here, a folder that does not exist), run after run.
TEST(OffTrackWarning, ComesBeforeTheMessagesOfTheOutputs) {
  testing::TempDir dir;
  testing::WriteBytes(dir.File("roll.cis"), ThirdOfATrackOffRoll());
  Conversion run;
  run.settings.Scanner.ActiveTracking = false;
  run.settings.Scanner.AutoTweakSettings = false;
  TarveloDoc doc(run, run);
  doc.SetOutputFolder(dir.File("missing"));
  EXPECT_TRUE(doc.Load(dir.File("roll.cis"), run.settings).ok());
  for (int again = 0; again < 3; ++again) {
    ASSERT_EQ(run.messages.size(), 3u);
    EXPECT_EQ(run.kinds[0], MessageKind::kWarning);
    EXPECT_NE(run.messages[0].find("of the holes lie more than 0.3"), std::string::npos);
    EXPECT_EQ(run.kinds[1], MessageKind::kError);
    EXPECT_EQ(run.kinds[2], MessageKind::kError);
    EXPECT_EQ(doc.Summary().HolesOffTrack, 60);
    // The outputs' errors fail the file; the first of them says why.
    EXPECT_EQ(doc.Summary().Status, ConversionStatus::kFailed);
    EXPECT_EQ(doc.Summary().DecidingMessage, MessageHeadline(run.messages[1]));
    run.messages.clear();
    run.kinds.clear();
    doc.RunPipeline(run.settings);
  }
}

TEST(OffTrackWarning, TheShareIsADiagnosticSettingWithItsRange) {
  IniProfile profile;
  EXPECT_EQ(DiagnosticSettings(profile).OffTrackWarningPercent, 10);
  EXPECT_TRUE(SetSetting(profile, "Diagnostic Settings", "OffTrackWarningPercent", "25").ok());
  EXPECT_EQ(DiagnosticSettings(profile).OffTrackWarningPercent, 25);
  for (const char* refused : {"101", "-1"}) {
    const Result result = SetSetting(profile, "Diagnostic Settings", "OffTrackWarningPercent", refused);
    EXPECT_EQ(result.kind(), Result::Kind::kInvalid) << refused;
    EXPECT_NE(result.message().find("Warn When More Than This Percent of the Holes Lie Off Their Tracks"),
              std::string::npos);
  }
  EXPECT_EQ(DiagnosticSettings(profile).OffTrackWarningPercent, 25);
}

// The holes counted off their tracks are listed where the scan has them (the view marks them):
// as many as the count, each at its hole's place along and across the roll, none of the others.
TEST(OffTrackWarning, TheHolesOffTheirTracksAreListedWhereTheScanHasThem) {
  synth::SyntheticRollSpec plan;
  plan.length_inch = 12;
  for (int k = 0; k < 40; ++k) plan.holes.push_back({30 + (k * 7) % 40, 0.5 + k * 0.25, 0.1});
  // Every fifth hole punched half a track beside its track's centre.
  for (size_t k = 0; k < plan.holes.size(); k += 5) plan.holes[k].center_shift = 0.5;
  testing::TempDir dir;
  testing::WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(plan));
  testing::RecordingFrontEnd front_end;
  front_end.settings.Scanner.ActiveTracking = false;
  front_end.settings.Diagnostic.OffTrackWarningPercent = 100;
  TarveloDoc doc(front_end);
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), front_end.settings).ok());
  EXPECT_EQ(doc.Summary().HolesOffTrack, 8);

  const std::vector<OffTrackHole> listed = ListOffTrackHoles(doc.ScanData(), doc.LookupMap(), doc.RollType());
  ASSERT_EQ(listed.size(), 8u);
  for (size_t k = 0; k < listed.size(); ++k) {
    const synth::SyntheticHole& hole = plan.holes[k * 5];
    EXPECT_NEAR(listed[k].Start, hole.start_inch, 0.03) << k;
    EXPECT_NEAR(listed[k].End, hole.start_inch + hole.length_inch, 0.03) << k;
    // Across: the centre at track n / 9 + 1 / 18 + half a track, 300 pixels per inch from 1 inch.
    const double centre = ((hole.track + 0.5) / 9 + 1.0 / 18 - 1.0) * 300;
    EXPECT_NEAR((listed[k].Left + listed[k].Right) / 2, centre, 2) << k;
    EXPECT_NEAR(listed[k].Right - listed[k].Left, 0.07 * 300, 3) << k;
    EXPECT_NEAR(doc.ScanData().Lines.Position(listed[k].FirstLine), listed[k].Start, 1e-9);
  }
}

}  // namespace
}  // namespace tarvelo
