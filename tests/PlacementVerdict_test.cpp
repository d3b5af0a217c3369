// The placement check of every conversion: notes whole tracks off, a DPI that does not fit and a
// scan without holes are warned of in numbers (the status is never a plain "converted"), a
// roll placed right says nothing, and Auto-Tweak converts such rolls right.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "SyntheticRoll.h"
#include "document/TarveloDoc.h"
#include "helpers/AlignmentRolls.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

// Holes on tracks 20 to 79 (nine tracks an inch), scanned with the sensor's pixel 0 at
// `offset` inch of the roll and at `dpi`. The preset's offset 1.0 and DPI 300 fit offset 1.0
// and DPI 300 only.
std::string Roll(double offset, int dpi = 300, bool with_holes = true) {
  synth::SyntheticRollSpec plan;
  plan.offset = offset;
  plan.dpi = dpi;
  plan.header_dpi = static_cast<int16_t>(dpi);
  plan.scan_width = dpi * 13;
  plan.length_inch = 30;
  if (with_holes)
    for (int k = 0; k < 150; ++k) plan.holes.push_back({20 + (k * 13) % 60, 0.5 + k * 0.19, 0.1});
  return synth::RenderSyntheticCis(plan);
}

struct Conversion {
  testing::TempDir dir;
  testing::RecordingFrontEnd ui;
  ConversionSummary summary;
  std::vector<PunchedHole> holes;

  Conversion(const std::string& bytes, bool auto_tweak) {
    ui.settings.Scanner.AutoTweakSettings = auto_tweak;
    testing::WriteBytes(dir.File("roll.cis"), bytes);
    TarveloDoc doc(ui, ui);
    EXPECT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
    summary = doc.Summary();
    holes = doc.Holes();
  }
  std::string Warning() const {
    for (size_t i = 0; i < ui.messages.size(); ++i)
      if (ui.kinds[i] == MessageKind::kWarning) return ui.messages[i];
    return "";
  }
  // Every hole on its own track (the plan's tracks 20..79, in the order the plan punched them).
  bool NotesRight() const {
    if (holes.size() != 150) return false;
    for (const PunchedHole& hole : holes) {
      const int k = static_cast<int>(std::lround((hole.StartPosition - 0.5) / 0.19));
      if (hole.Track != 20 + (k * 13) % 60) return false;
    }
    return true;
  }
};

TEST(PlacementVerdict, RollsWholeTracksOffAreWarnedInNumbersAndAutoTweakMendsThem) {
  struct Case {
    double offset;
    const char* warning;
  };
  const Case cases[] = {
      {1.0 + 1.0 / 9,
       "The notes are 1 track (a semitone) low: the paper's bass edge lies at 1.49 inch, the roll "
       "type \"Fail-Safe\" expects 1.6 inch. Convert with Auto-Tweak or the alignment on to use "
       "settings that fit."},
      {1.0 - 2.0 / 9, "The notes are 2 tracks (2 semitones) high: the paper's bass edge lies at 1.82 inch"},
      {1.0 - 18.0 / 9, "The notes are 18 tracks (18 semitones) high: the paper's bass edge lies at 3.6 inch"},
  };
  for (const Case& c : cases) {
    const Conversion literal(Roll(c.offset), false);
    EXPECT_EQ(literal.Warning().rfind(c.warning, 0), 0u) << literal.Warning();
    EXPECT_EQ(literal.summary.CountOf(MessageKind::kWarning), 1) << "one warning, not the off-track one too";
    EXPECT_TRUE(literal.summary.PlacementWarned);
    EXPECT_FALSE(literal.NotesRight());

    const Conversion tweaked(Roll(c.offset), true);
    EXPECT_EQ(tweaked.summary.CountOf(MessageKind::kWarning), 0) << tweaked.Warning();
    EXPECT_TRUE(tweaked.NotesRight()) << c.offset;
    EXPECT_NEAR(tweaked.summary.Placement.Fitted.Offset, c.offset, 0.01);
    ASSERT_EQ(tweaked.ui.messages.size(), 1u);
    EXPECT_EQ(tweaked.ui.messages[0].rfind("Auto-Tweak: converted with DPI 300, offset ", 0), 0u);
  }
}

TEST(PlacementVerdict, ARollPlacedRightSaysNothingWithOrWithoutAutoTweak) {
  for (const bool auto_tweak : {false, true}) {
    const Conversion right(Roll(1.0), auto_tweak);
    EXPECT_TRUE(right.ui.messages.empty()) << right.ui.messages.front();
    EXPECT_EQ(right.summary.Placement.Finding, PlacementFinding::kRight);
    EXPECT_TRUE(right.NotesRight());
    // A tweak within the track is recorded, not reported.
    EXPECT_EQ(right.summary.AutoTweak.empty(), !auto_tweak);
  }
}

TEST(PlacementVerdict, AWrongDpiAndAScanWithoutHolesAreWarned) {
  const Conversion wrong_dpi(Roll(1.0, 200), false);
  EXPECT_EQ(wrong_dpi.Warning().rfind("The DPI does not fit the scan: at DPI 300 the holes spread over ", 0), 0u)
      << wrong_dpi.Warning();
  EXPECT_NE(wrong_dpi.Warning().find("; they fit at DPI 200 (the file's header states 200)."), std::string::npos)
      << wrong_dpi.Warning();
  const Conversion mended(Roll(1.0, 200), true);
  EXPECT_TRUE(mended.NotesRight());
  EXPECT_EQ(mended.summary.Placement.Fitted.Dpi, 200);
  EXPECT_EQ(mended.summary.CountOf(MessageKind::kWarning), 0);

  // Paper without a hole: never a clean conversion, and nothing to tweak to.
  for (const bool auto_tweak : {false, true}) {
    const Conversion blank(Roll(1.0, 300, false), auto_tweak);
    EXPECT_EQ(blank.Warning().rfind("No holes were found in the scan: the MIDI files hold no notes of the roll.", 0),
              0u)
        << blank.Warning();
    EXPECT_TRUE(blank.summary.AutoTweak.empty());
  }
}

TEST(PlacementVerdict, AShaftEncoderScanConvertedWithoutItsEncoderIsWarnedAndAutoTweakUsesTheEncoder) {
  synth::SyntheticRollSpec plan;
  plan.type_byte = 0x02;  // scanner type 2: a shaft encoder
  plan.encoder_lines_per_tick = 4;
  plan.encoder_byte = 0x02;  // a tick every 2^2 / 100 inch: the 4 lines a tick spans
  plan.lines_per_inch = 100;
  for (int k = 0; k < 40; ++k) plan.holes.push_back({30 + k, 0.5 + k * 0.2, 0.1});
  const std::string bytes = synth::RenderSyntheticCis(plan);
  const Conversion literal(bytes, false);
  EXPECT_EQ(literal.Warning().rfind("The scan was made with a working shaft encoder (header scanner type 2, ", 0), 0u)
      << literal.Warning();
  EXPECT_NE(literal.Warning().find("but the scanner mode is \"Mode1 - no encoding\""), std::string::npos);
  const Conversion tweaked(bytes, true);
  EXPECT_EQ(tweaked.summary.CountOf(MessageKind::kWarning), 0) << tweaked.Warning();
  EXPECT_NE(tweaked.ui.messages.front().find("its lines are placed by the encoder (scanner mode \"Shaft Encoder\")"),
            std::string::npos)
      << tweaked.ui.messages.front();
}

// Converted as the built-in roll type, a run names the roll type the holes show, and warns when
// they do not decide between types one of which is a reproducing type (its expression is lost).
TEST(PlacementVerdict, ARollConvertedAsTheBuiltInTypeIsToldWhatItIs) {
  testing::TempDir dir;
  testing::WriteBytes(dir.File("roll.cis"),
                      synth::RenderSyntheticCis(testing::SystemRoll(synth::RollSystem::kAmpicoB, 1.0, 1.0, 300)));
  const auto convert = [&](std::vector<RollTypeDefinition> library, bool expression = false) {
    auto ui = std::make_unique<testing::RecordingFrontEnd>();
    ui->settings.Outputs.WriteExpressionMidi = expression;
    TarveloDoc doc(*ui, *ui);
    AlignmentOptions options;
    options.Library = std::move(library);
    options.NameRecognised = true;
    doc.SetAlignment(options);
    EXPECT_TRUE(doc.Load(dir.File("roll.cis"), ui->settings).ok());
    EXPECT_EQ(doc.RollTypeName(), "Fail-Safe");  // the run keeps its roll type
    return ui;
  };
  const auto named = convert(testing::ShippedRollTypes());
  ASSERT_FALSE(named->messages.empty());
  EXPECT_EQ(named->messages[0].rfind("The holes show a Ampico B roll (score 0.", 0), 0u) << named->messages[0];
  EXPECT_NE(named->messages[0].find("it was converted as the built-in roll type \"Fail-Safe\"."), std::string::npos);
  EXPECT_EQ(named->kinds[0], MessageKind::kInformation);
  // Its expression file, made with the built-in type, plays none of the roll's dynamics: said
  // once, as a warning.
  const auto expression = convert(testing::ShippedRollTypes(), true);
  ASSERT_FALSE(expression->messages.empty());
  EXPECT_NE(expression->messages[0].find("\"Fail-Safe\", which plays no expression: its expression MIDI file "
                                         "cannot be right"),
            std::string::npos)
      << expression->messages[0];
  EXPECT_EQ(expression->kinds[0], MessageKind::kWarning);
  for (const std::string& message : expression->messages)
    EXPECT_EQ(message.find("has no expression system"), std::string::npos) << message;

  // Two types with the same tracks: the holes cannot tell them apart.
  RollTypeDefinition twin = testing::ShippedRollType("Ampico B");
  twin.Name = "Ampico B (another maker's)";
  const auto undecided = convert({testing::ShippedRollType("Ampico B"), twin});
  ASSERT_FALSE(undecided->messages.empty());
  EXPECT_EQ(undecided->messages[0].rfind("The roll type is undecided: the holes fit Ampico B ", 0), 0u)
      << undecided->messages[0];
  EXPECT_EQ(undecided->kinds[0], MessageKind::kWarning);
}

}  // namespace
}  // namespace tarvelo
