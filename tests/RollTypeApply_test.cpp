#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "helpers/RecordingFrontEnd.h"
#include "rolltypes/ApplyRollType.h"
#include "rolltypes/RollTypeDefinition.h"
#include "view/TrackStrips.h"
#include "xml/XmlDocument.h"

namespace tarvelo {
namespace {

using testing::RecordingFrontEnd;

// A library holding the given roll type bodies, each wrapped in <RollType Name="...">.
std::string Library(std::initializer_list<std::pair<const char*, std::string>> types) {
  std::string text = "<RollTypeDefinitions>";
  for (const auto& [name, body] : types) text += std::string("<RollType Name=\"") + name + "\">" + body + "</RollType>";
  return text + "</RollTypeDefinitions>";
}

struct Applied {
  RollTypeDefinition record;
  RecordingFrontEnd ui;
  bool found = false;
  Result outcome;
};

// Applies roll type `name` from `library` to a fresh record.
std::unique_ptr<Applied> Apply(const std::string& library, const std::string& name = "T") {
  auto result = std::make_unique<Applied>();
  XmlDocument doc;
  EXPECT_TRUE(doc.SetDocument(library)) << doc.Error();
  result->outcome = ApplyActiveRollType(result->record, name, doc, result->ui);
  result->found = result->outcome.ok();
  return result;
}

TEST(RollTypeDefinition, FailSafeTracks) {
  const RollTypeDefinition r;
  EXPECT_EQ(r.Name, "Fail-Safe");
  for (int n : {0, 17, 18, 113, 114, 127, 128, 255}) {
    SCOPED_TRACE(n);
    EXPECT_EQ(r.TrackLowerBoundary[n], n / 9.0);
    EXPECT_EQ(r.TrackUpperBoundary[n], (n + 1) / 9.0);
    EXPECT_EQ(r.TrackCenter[n], n / 9.0 + ((n + 1) / 9.0 - n / 9.0) * 0.5);
    EXPECT_EQ(r.TrackMidiChannel[n], n / 128);
    EXPECT_EQ(r.TrackMidiPitch[n], n % 128);
    EXPECT_EQ(r.TrackUsedForRestoration[n], n >= 18 && n <= 113);
    EXPECT_EQ(r.TrackRestorationWeight[n], n >= 18 && n <= 113 ? 1.0 : 0.0);
  }
  EXPECT_EQ(r.TrackBackgroundColor[12], MakeColour(187, 255, 187));
  EXPECT_EQ(r.TrackBackgroundColor[2], MakeColour(238, 238, 238));
  EXPECT_EQ(r.TrackBackgroundColor[3], MakeColour(250, 250, 250));
}

TEST(ApplyRollType, DefaultsFillOnlyTheHoleRangeInForceAtThatStep) {
  // Only the low end of the hole range is given: the Fail-Safe high end 119 holds.
  auto a = Apply(Library({{"T",
                           "<DefaultTrackNoteVelocity>64</DefaultTrackNoteVelocity>"
                           "<LowestTrackHoleNumber>10</LowestTrackHoleNumber>"}}));
  EXPECT_TRUE(a->found);
  EXPECT_TRUE(a->ui.messages.empty());
  for (int n = 0; n < 256; ++n) EXPECT_EQ(a->record.TrackMidiVelocity[n], n >= 10 && n <= 119 ? 64 : 85) << n;

  // Transpose, channel and punch over the range.
  a = Apply(Library({{"T",
                      "<HighestTrackHoleNumber>30</HighestTrackHoleNumber><LowestTrackHoleNumber>20"
                      "</LowestTrackHoleNumber><DefaultTrackToMidiPitchTranspose>-5</DefaultTrackToMidiPitchTranspose>"
                      "<DefaultMapToMidiChannel>3</DefaultMapToMidiChannel>"
                      "<DefaultTrackHolePunchDiameter>0.1</DefaultTrackHolePunchDiameter>"}}));
  const RollTypeDefinition& r = a->record;
  EXPECT_EQ(r.DefaultTrackToMidiPitchTranspose, -5);
  for (int n : {19, 20, 30, 31}) {
    const bool in = n >= 20 && n <= 30;
    EXPECT_EQ(r.TrackMidiPitch[n], in ? n - 5 : n) << n;
    EXPECT_EQ(r.TrackMidiChannel[n], in ? 3 : 0) << n;
    EXPECT_EQ(r.TrackHolePunchDiameter[n], in ? 0.1 : 0.07) << n;
  }
}

TEST(ApplyRollType, RestorationRangeIsRefilledByEachEnd) {
  // The low end alone: 40..113 (Fail-Safe high end in force at that step).
  auto a = Apply(Library({{"T", "<LowestTrackUsedForRestoration>40</LowestTrackUsedForRestoration>"}}));
  EXPECT_FALSE(a->record.TrackUsedForRestoration[39]);
  EXPECT_TRUE(a->record.TrackUsedForRestoration[40]);
  EXPECT_TRUE(a->record.TrackUsedForRestoration[113]);
  EXPECT_EQ(a->record.TrackRestorationWeight[114], 0.0);
  // Both ends, written high first: the result is the range given.
  a = Apply(Library({{"T",
                      "<HighestTrackUsedForRestoration>50</HighestTrackUsedForRestoration>"
                      "<LowestTrackUsedForRestoration>45</LowestTrackUsedForRestoration>"}}));
  for (int n = 0; n < 256; ++n) {
    EXPECT_EQ(a->record.TrackUsedForRestoration[n], n >= 45 && n <= 50) << n;
    EXPECT_EQ(a->record.TrackRestorationWeight[n], n >= 45 && n <= 50 ? 1.0 : 0.0) << n;
  }
  // A range reaching outside the slots is clipped, not written out of bounds.
  a = Apply(Library({{"T",
                      "<LowestTrackUsedForRestoration>-9</LowestTrackUsedForRestoration>"
                      "<HighestTrackUsedForRestoration>9999</HighestTrackUsedForRestoration>"}}));
  EXPECT_TRUE(a->record.TrackUsedForRestoration[0]);
  EXPECT_TRUE(a->record.TrackUsedForRestoration[255]);
}

TEST(ApplyRollType, SpacingMovesAllBandsButTrackCentreKeepsItsOwnWidth) {
  auto a = Apply(Library({{"T",
                           "<track number='5'><center>3.0</center></track>"
                           "<track number='6'><width>0.2</width><center>4.0</center></track>"
                           "<DefaultTrackCenterSpacing>0.1</DefaultTrackCenterSpacing>"}}));
  const RollTypeDefinition& r = a->record;
  EXPECT_EQ(r.DefaultTrackCenterSpacing, 0.1);
  for (int n : {0, 4, 7, 255}) {
    EXPECT_EQ(r.TrackLowerBoundary[n], n * 0.1) << n;
    EXPECT_EQ(r.TrackUpperBoundary[n], (n + 1) * 0.1) << n;
    EXPECT_EQ(r.TrackCenter[n], n * 0.1 + ((n + 1) * 0.1 - n * 0.1) * 0.5) << n;
    EXPECT_EQ(r.TrackWidth[n], 1 / 9.0) << n;
  }
  // Only a centre: the width stays 1/9 inch whatever the spacing says.
  EXPECT_EQ(r.TrackCenter[5], 3.0);
  EXPECT_EQ(r.TrackLowerBoundary[5], 3.0 - (1 / 9.0) / 2);
  EXPECT_EQ(r.TrackUpperBoundary[5], 3.0 + (1 / 9.0) / 2);
  // Centre is applied before width, whatever the file order.
  EXPECT_EQ(r.TrackCenter[6], 4.0);
  EXPECT_EQ(r.TrackWidth[6], 0.2);
  EXPECT_EQ(r.TrackLowerBoundary[6], 4.0 - 0.2 / 2);
  EXPECT_EQ(r.TrackUpperBoundary[6], 4.0 + 0.2 / 2);
}

TEST(ApplyRollType, PerTrackValuesOverrideDefaultsAndBadNumbersAreIgnored) {
  auto a = Apply(Library({{"T",
                           "<track number=\"20\"><MapToMidiNotePitch>18</MapToMidiNotePitch>"
                           "<MapToMidiVelocity>1</MapToMidiVelocity><TrailingEdgeShift>0.04</TrailingEdgeShift>"
                           "<BackgroundColor> #ff0000 </BackgroundColor>"
                           "<Center>9</Center><Track>ignored</Track></track>"
                           "<track number='256'><MapToMidiVelocity>7</MapToMidiVelocity></track>"
                           "<track number='-1'><MapToMidiVelocity>7</MapToMidiVelocity></track>"
                           "<track number='30'><MapToMidiVelocity>x</MapToMidiVelocity></track>"
                           "<DefaultTrackNoteVelocity>99</DefaultTrackNoteVelocity>"
                           "<SetChannelToInstrument Channel='16'>5</SetChannelToInstrument>"
                           "<SetChannelToInstrument Channel='-1'>5</SetChannelToInstrument>"
                           "<SetChannelToInstrument Channel='9'>48</SetChannelToInstrument>"
                           "<SetChannelToInstrument Channel='9'>49</SetChannelToInstrument>"
                           "<SetChannelToInstrument Channel='0'> 19 </SetChannelToInstrument>"}}));
  const RollTypeDefinition& r = a->record;
  EXPECT_EQ(r.TrackMidiPitch[20], 18);
  EXPECT_EQ(r.TrackMidiVelocity[20], 1);
  EXPECT_EQ(r.TrackTrailingEdgeShift[20], 0.04);
  EXPECT_EQ(r.TrackBackgroundColor[20], 255u) << "pure red";
  EXPECT_EQ(r.TrackCenter[20], 20 / 9.0 + (21 / 9.0 - 20 / 9.0) * 0.5) << "Center is not center";
  EXPECT_EQ(r.TrackMidiVelocity[30], 0) << "a malformed number reads as 0";
  EXPECT_EQ(r.TrackMidiVelocity[31], 99);
  EXPECT_EQ(r.TrackMidiVelocity[255], 85) << "track 256 is not wrapped onto a slot";
  EXPECT_EQ(r.TrackMidiVelocity[0], 99);
  EXPECT_EQ(r.ChannelInstrument[9], 49) << "each SetChannelToInstrument in turn";
  EXPECT_EQ(r.ChannelInstrument[0], 19);
  EXPECT_EQ(r.ChannelInstrument[15], 0);
}

TEST(ApplyRollType, HoleRangeOutsideTheSlotsIsClippedAndNumbersNoRollHasAreNotUsed) {
  auto a = Apply(Library({{"T",
                           "<LowestTrackHoleNumber>-1000000</LowestTrackHoleNumber>"
                           "<HighestTrackHoleNumber>2147483647</HighestTrackHoleNumber>"
                           "<DefaultTrackToMidiPitchTranspose>2147483647</DefaultTrackToMidiPitchTranspose>"
                           "<DefaultTrackNoteVelocity>3</DefaultTrackNoteVelocity>"
                           "<LowerRollEdgeExpectedLocation>1e300</LowerRollEdgeExpectedLocation>"
                           "<DefaultTrackCenterSpacing>1e307</DefaultTrackCenterSpacing>"}}));
  EXPECT_EQ(a->record.TrackMidiVelocity[0], 3);
  EXPECT_EQ(a->record.TrackMidiVelocity[255], 3);
  const RollTypeDefinition fail_safe;
  EXPECT_EQ(a->record.TrackMidiPitch[255], fail_safe.TrackMidiPitch[255]) << "a transpose past any key";
  EXPECT_EQ(a->record.LowerRollEdgeExpectedLocation, fail_safe.LowerRollEdgeExpectedLocation);
  EXPECT_EQ(a->record.DefaultTrackCenterSpacing, fail_safe.DefaultTrackCenterSpacing);
  EXPECT_EQ(a->ui.CountOf(MessageKind::kWarning), 3);
}

// nan, inf and numbers out of MIDI's range are reported and leave the value in force.
TEST(ApplyRollType, HostileNumbersAreReportedAndNotUsed) {
  auto a = Apply(Library({{"T",
                           "<DefaultTrackNoteVelocity>70</DefaultTrackNoteVelocity>"
                           "<track number='20'><MapToMidiVelocity>1000</MapToMidiVelocity>"
                           "<MapToMidiChannel>16</MapToMidiChannel><center>nan</center>"
                           "<LeadingEdgeShift>inf</LeadingEdgeShift><MapToMidiNotePitch>-1</MapToMidiNotePitch></track>"
                           "<TakeupSpoolAccelerationPctPerFoot>-inf</TakeupSpoolAccelerationPctPerFoot>"
                           "<SetChannelToInstrument Channel='3'>300</SetChannelToInstrument>"}}));
  const RollTypeDefinition fail_safe = Apply(Library({{"T", ""}}))->record;
  const RollTypeDefinition& r = a->record;
  EXPECT_EQ(r.TrackMidiVelocity[20], 70);
  EXPECT_EQ(r.TrackMidiChannel[20], fail_safe.TrackMidiChannel[20]);
  EXPECT_EQ(r.TrackMidiPitch[20], fail_safe.TrackMidiPitch[20]);
  EXPECT_EQ(r.TrackCenter[20], fail_safe.TrackCenter[20]);
  EXPECT_EQ(r.TrackLeadingEdgeShift[20], fail_safe.TrackLeadingEdgeShift[20]);
  EXPECT_EQ(r.TakeupSpoolAccelerationPctPerFoot, fail_safe.TakeupSpoolAccelerationPctPerFoot);
  EXPECT_EQ(r.ChannelInstrument[3], 0);
  ASSERT_EQ(a->ui.CountOf(MessageKind::kWarning), 7) << ::testing::PrintToString(a->ui.messages);
  const std::string channel = "Roll type \"T\": MapToMidiChannel \"16\" of track 20 is not a number from 0 to 15; " +
                              std::to_string(fail_safe.TrackMidiChannel[20]) + " is used.";
  EXPECT_NE(std::find(a->ui.messages.begin(), a->ui.messages.end(), channel), a->ui.messages.end());
}

TEST(ApplyRollType, SwitchesScalarsAndFirstOfAName) {
  auto a =
      Apply(Library({{"T",
                      "<InterpretWebbingLimitAsSeconds> TRUE </InterpretWebbingLimitAsSeconds>"
                      "<ApplyAccelerationToWebbing>untrue</ApplyAccelerationToWebbing>"
                      "<ApplyAccelerationToTempo>yes</ApplyAccelerationToTempo>"
                      "<TakeupSpoolAccelerationPctPerFoot>0.22</TakeupSpoolAccelerationPctPerFoot>"
                      "<RollPunchStepRangeMin>1</RollPunchStepRangeMin><RollPunchStepRangeMax>2</RollPunchStepRangeMax>"
                      "<UpperRollEdgeExpectedLocation>14.5</UpperRollEdgeExpectedLocation>"
                      "<UpperRollEdgeExpectedLocation>99</UpperRollEdgeExpectedLocation>"
                      "<LowerRollEdgeExpectedLocation><![CDATA[1.5]]></LowerRollEdgeExpectedLocation>"}}));
  const RollTypeDefinition& r = a->record;
  EXPECT_TRUE(r.InterpretWebbingLimitAsSeconds);
  EXPECT_TRUE(r.ApplyAccelerationToWebbing) << "any word containing true counts";
  EXPECT_FALSE(r.ApplyAccelerationToTempo);
  EXPECT_EQ(r.TakeupSpoolAccelerationPctPerFoot, 0.22);
  EXPECT_EQ(r.RollPunchStepRangeMin, 1);
  EXPECT_EQ(r.RollPunchStepRangeMax, 2);
  EXPECT_EQ(r.UpperRollEdgeExpectedLocation, 14.5);
  EXPECT_EQ(r.LowerRollEdgeExpectedLocation, 1.5);

  // A switch that is present but lacks the word is false even where it was true before.
  a = Apply(Library({{"T", "<InterpretWebbingLimitAsSeconds>1</InterpretWebbingLimitAsSeconds>"}}));
  EXPECT_FALSE(a->record.InterpretWebbingLimitAsSeconds);
}

TEST(ApplyRollType, SameNamedTypesApplyInTurnAndNamesAreExact) {
  const std::string library = Library({
      {"T", "<DefaultTrackNoteVelocity>10</DefaultTrackNoteVelocity><LowestTrackHoleNumber>5</LowestTrackHoleNumber>"},
      {"t", "<DefaultTrackNoteVelocity>77</DefaultTrackNoteVelocity>"},
      {"T ", "<DefaultTrackNoteVelocity>78</DefaultTrackNoteVelocity>"},
      {"T", "<DefaultTrackNoteVelocity>20</DefaultTrackNoteVelocity>"},
  });
  auto a = Apply(library);
  // The second "T" applies on top of the first: its velocity over the first's hole range.
  EXPECT_EQ(a->record.LowestTrackHoleNumber, 5);
  EXPECT_EQ(a->record.TrackMidiVelocity[5], 20);
  EXPECT_EQ(a->record.TrackMidiVelocity[4], 85);
  EXPECT_TRUE(a->ui.messages.empty());
}

TEST(ApplyRollType, ABareRollTypeTopElementIsApplied) {
  const auto bare = Apply("<RollType Name=\"T\"><HighestTrackHoleNumber>90</HighestTrackHoleNumber></RollType>");
  EXPECT_TRUE(bare->found);
  EXPECT_EQ(bare->record.HighestTrackHoleNumber, 90);
  EXPECT_TRUE(bare->ui.messages.empty());
  const auto nested = Apply(
      "<Other><RollType Name=\"T\"><HighestTrackHoleNumber>90</HighestTrackHoleNumber>"
      "</RollType></Other>");
  EXPECT_FALSE(nested->found);
  EXPECT_EQ(nested->record.HighestTrackHoleNumber, 119);
}

TEST(ApplyRollType, UnknownNameGivesFailSafeValuesAndAMessage) {
  auto a = Apply(Library({{"T", "<DefaultTrackNoteVelocity>10</DefaultTrackNoteVelocity>"}}), "Missing");
  EXPECT_FALSE(a->found);
  // Returned for the caller to report once, not reported here as well.
  EXPECT_EQ(a->outcome.kind(), Result::Kind::kNotFound);
  EXPECT_EQ(a->outcome.message(), "ERROR - Requested Roll Type Not Found : Missing");
  EXPECT_TRUE(a->ui.messages.empty());
  EXPECT_EQ(a->record.Name, "Missing") << "the requested name is kept";
  EXPECT_EQ(a->record.TrackMidiVelocity[50], 85);

  // "Fail-Safe" never consults the file, even one that defines it.
  a = Apply(Library({{"Fail-Safe", "<DefaultTrackNoteVelocity>10</DefaultTrackNoteVelocity>"}}), "Fail-Safe");
  EXPECT_TRUE(a->found);
  EXPECT_TRUE(a->ui.messages.empty());
  EXPECT_EQ(a->record.TrackMidiVelocity[50], 85);

  // An empty (failed) document: every other name is not found.
  XmlDocument broken;
  EXPECT_FALSE(broken.SetDocument("<broken>"));
  RecordingFrontEnd ui;
  RollTypeDefinition r;
  EXPECT_EQ(ApplyActiveRollType(r, "T", broken, ui).kind(), Result::Kind::kNotFound);
}

TEST(ApplyRollType, ActiveNameComesFromTheSettingsWithFailSafeDefault) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(Library({{"Mine", "<DefaultTrackNoteVelocity>33</DefaultTrackNoteVelocity>"}})));
  RecordingFrontEnd ui;
  RollTypeDefinition r;
  EXPECT_EQ(RollSettings().ActiveRollTypeName, "Fail-Safe");
  EXPECT_TRUE(ApplyActiveRollType(r, ui.settings.Roll.ActiveRollTypeName, doc, ui));
  EXPECT_EQ(r.Name, "Fail-Safe");
  EXPECT_TRUE(ui.messages.empty());
  ui.Store().WriteProfileString("Roll Settings", "ActiveRollTypeName", "Mine").Ignore();
  ui.ReloadSettings();
  EXPECT_TRUE(ApplyActiveRollType(r, ui.settings.Roll.ActiveRollTypeName, doc, ui));
  EXPECT_EQ(r.Name, "Mine");
  EXPECT_EQ(r.TrackMidiVelocity[40], 33);
}

TEST(ParseColour, ReadsTheLastSixHexDigitsAsRedGreenBlue) {
  EXPECT_EQ(ParseColour("#FF0000"), 255u);
  EXPECT_EQ(ParseColour("00ff00"), 255u * 256);
  EXPECT_EQ(ParseColour("0000FF"), 255u * 65536);
  EXPECT_EQ(ParseColour("  123456\n"), 0x12u + 0x34u * 256 + 0x56u * 65536);
  EXPECT_EQ(ParseColour("FF"), 255u * 65536) << "short text is padded on the left";
  EXPECT_EQ(ParseColour(""), 0u);
  EXPECT_EQ(ParseColour("zz00G1"), 1u * 65536) << "non-hex characters count as 0";
  EXPECT_EQ(ParseColour("0xAB12345678"), 0x34u + 0x56u * 256 + 0x78u * 65536);
}

TEST(RollTypeStrips, RulerKeyboardPatternAndTrackBands) {
  RollTypeDefinition roll;
  TrackStrips r = InitialTrackStrips();
  ASSERT_EQ(r.Ruler.width, 1449);
  ASSERT_EQ(r.Ruler.height, 40);
  ASSERT_EQ(r.RulerLabels.size(), 24u);  // inches 0..23 while 63k + 15 <= 1464
  EXPECT_EQ(r.RulerLabels[23].x, 63 * 23 + 1);
  EXPECT_EQ(r.RulerLabels[23].text, "23");
  EXPECT_EQ(r.Ruler.Pixel(63, 2), MakeColour(255, 0, 0));
  EXPECT_EQ(r.Ruler.Pixel(63 + 15, 14), MakeColour(255, 255, 170));
  // Keyboard pattern until the first rendering.
  EXPECT_EQ(r.TrackParity.Pixel(1, 0), MakeColour(170, 255, 170));
  EXPECT_EQ(r.TrackColour.Pixel(7 * 14 + 1, 0), MakeColour(238, 238, 238));
  EXPECT_EQ(r.UpperEdgeStripPixel, 0);

  RenderTrackStrips(roll, r);
  // Fail-Safe: px(x) = int(x * 63 + 0.5); upper edge 12.85 in -> 810.
  EXPECT_EQ(r.UpperEdgeStripPixel, 811);
  // The edge marks are drawn before the track rectangles, which cover them here.
  EXPECT_EQ(r.TrackColour.Pixel(101, 0), MakeColour(238, 238, 238));
  // Track 0 spans px 0..7: rectangle from 1, width int(7 + 0.5) - 1 = 6, 15 high.
  EXPECT_EQ(r.TrackColour.Pixel(1, 14), MakeColour(187, 255, 187));
  EXPECT_EQ(r.TrackColour.Pixel(1, 15), MakeColour(170, 170, 170)) << "grey band below";
  // Beyond track 119 (upper boundary 13.33 in -> px 840): white.
  EXPECT_EQ(r.TrackColour.Pixel(845, 0), MakeColour(255, 255, 255));
}

TEST(RollTypeStrips, EdgeMarksShowOutsideTheTracks) {
  auto a = Apply(Library({{"T",
                           "<LowestTrackHoleNumber>20</LowestTrackHoleNumber>"
                           "<HighestTrackHoleNumber>30</HighestTrackHoleNumber>"}}));
  TrackStrips r;
  RenderTrackStrips(a->record, r);
  EXPECT_EQ(r.TrackColour.Pixel(101, 0), MakeColour(255, 17, 17));   // 1.6 in
  EXPECT_EQ(r.TrackColour.Pixel(810, 14), MakeColour(255, 17, 17));  // 12.85 in
  // Grey band from px(lower of 20) + 1 = 141 up to px(upper of 30) = 217.
  EXPECT_EQ(r.TrackColour.Pixel(140, 19), MakeColour(255, 255, 255));
  EXPECT_EQ(r.TrackColour.Pixel(141, 19), MakeColour(170, 170, 170));
  EXPECT_EQ(r.TrackColour.Pixel(217, 19), MakeColour(255, 255, 255));
  EXPECT_EQ(r.TrackParity.Pixel(142, 0), MakeColour(221, 221, 221));  // track 20
  EXPECT_EQ(r.TrackParity.Pixel(149, 0), MakeColour(255, 255, 238));  // track 21
}

TEST(RollTypeStrips, AbsurdGeometryDrawsWithoutFault) {
  auto a =
      Apply(Library({{"T",
                      "<LowestTrackHoleNumber>300</LowestTrackHoleNumber><HighestTrackHoleNumber>-4"
                      "</HighestTrackHoleNumber><UpperRollEdgeExpectedLocation>-1e308</UpperRollEdgeExpectedLocation>"
                      "<DefaultTrackCenterSpacing>1e308</DefaultTrackCenterSpacing>"}}));
  TrackStrips strips;
  RenderTrackStrips(a->record, strips);
  EXPECT_EQ(strips.TrackColour.width, 1449);
  a = Apply(Library({{"T",
                      "<track number='3'><width>-5</width></track><track number='4'><center>1e308</center>"
                      "<width>1e308</width></track>"}}));
  RenderTrackStrips(a->record, strips);
  EXPECT_EQ(strips.TrackParity.height, 20);
}

}  // namespace
}  // namespace tarvelo

namespace tarvelo {
namespace {

TEST(RgbImage, DrawingClipsAndEncodesAsPortablePixmap) {
  RgbImage image(3, 2, MakeColour(1, 2, 3));
  image.FillRect(-5, -5, 6, 6, MakeColour(255, 0, 0));  // covers only (0, 0)
  image.FillRect(2, 1, 2147483647, 2147483647, MakeColour(0, 0, 255));
  image.VerticalLine(1, 5, -5, MakeColour(9, 9, 9));  // empty: ends before it starts
  EXPECT_EQ(image.Pixel(0, 0), MakeColour(255, 0, 0));
  EXPECT_EQ(image.Pixel(1, 1), MakeColour(1, 2, 3));
  EXPECT_EQ(image.Pixel(2, 1), MakeColour(0, 0, 255));
  EXPECT_EQ(image.Pixel(3, 0), 0u) << "outside";
  const std::string ppm = EncodePpm(image);
  EXPECT_EQ(ppm.substr(0, 11), "P6\n3 2\n255\n");
  ASSERT_EQ(ppm.size(), 11u + 18u);
  EXPECT_EQ(ppm.substr(11, 6), std::string("\xFF\x00\x00\x01\x02\x03", 6));
}

}  // namespace
}  // namespace tarvelo
