// The expression system and the model's figures as the roll type library gives them: read,
// checked, described; and the shipped library's figures.
#include <gtest/gtest.h>

#include <string>

#include "expression/TrackFunctions.h"
#include "helpers/RecordingFrontEnd.h"
#include "rolltypes/ApplyRollType.h"
#include "rolltypes/DescribeRollType.h"
#include "rolltypes/ExpressionParameters.h"
#include "rolltypes/RollTypeLibrary.h"
#include "xml/XmlDocument.h"

namespace tarvelo {
namespace {

using testing::RecordingFrontEnd;

struct Applied {
  RollTypeDefinition record;
  RecordingFrontEnd ui;
};

// Roll type "T" with `body`, applied to a fresh record (a second body: a second "T" on top).
std::unique_ptr<Applied> Apply(const std::string& body, const std::string& second = "") {
  std::string text = "<RollTypeDefinitions><RollType Name=\"T\">" + body + "</RollType>";
  if (!second.empty()) text += "<RollType Name=\"T\">" + second + "</RollType>";
  text += "</RollTypeDefinitions>";
  auto applied = std::make_unique<Applied>();
  XmlDocument doc;
  EXPECT_TRUE(doc.SetDocument(text));
  EXPECT_TRUE(ApplyActiveRollType(applied->record, "T", doc, applied->ui));
  return applied;
}

TEST(ExpressionParameters, TheSystemBringsItsFiguresAndElementsTuneThem) {
  auto none = Apply("");
  EXPECT_EQ(none->record.Expression.System, ExpressionSystem::kNone);
  EXPECT_EQ(RollTypeDefinition().Expression.System, ExpressionSystem::kNone);

  auto duo_art = Apply(
      "<ExpressionSystem> Duo-Art </ExpressionSystem><ExpressionLag>0.07</ExpressionLag>"
      "<ExpressionAccompanimentVacuum> 4.5  30 </ExpressionAccompanimentVacuum>"
      "<ExpressionWelteTimes>1 2 3</ExpressionWelteTimes>"  // another system's: passed over
      "<track number=\"113\"><ExpressionBridgeGap>0.15</ExpressionBridgeGap></track>");
  const ExpressionModel& model = duo_art->record.Expression;
  EXPECT_EQ(model.System, ExpressionSystem::kDuoArt);
  EXPECT_EQ(model.FirstTreble(), 64);
  EXPECT_DOUBLE_EQ(model.Lag, 0.07);
  EXPECT_DOUBLE_EQ(model.Delay, 0.143);
  EXPECT_EQ(model.AccompanimentVacuum, (std::array<double, 2>{4.5, 30}));
  EXPECT_EQ(model.WelteTimes, DefaultExpressionModel(ExpressionSystem::kWelteRed).WelteTimes);
  EXPECT_DOUBLE_EQ(model.BridgeGapOf(113), 0.15);
  EXPECT_DOUBLE_EQ(model.BridgeGapOf(18), 0.1);
  EXPECT_TRUE(duo_art->ui.messages.empty());

  // A second roll type of the same name tunes the system of the first.
  auto twice = Apply("<ExpressionSystem>Ampico A</ExpressionSystem>", "<ExpressionLag>0.02</ExpressionLag>");
  EXPECT_EQ(twice->record.Expression.System, ExpressionSystem::kAmpicoA);
  EXPECT_DOUBLE_EQ(twice->record.Expression.Lag, 0.02);
}

TEST(ExpressionParameters, FiguresTheLibraryGetsWrongAreReportedAndKeepTheirValue) {
  auto bad = Apply(
      "<ExpressionSystem>Welte red</ExpressionSystem>"
      "<ExpressionBridgeGap>wide</ExpressionBridgeGap>"
      "<ExpressionBassOffset>-90</ExpressionBassOffset>"
      "<ExpressionWelteTimes>2000 300</ExpressionWelteTimes>"
      "<ExpressionFirstTrebleTrack>54.5</ExpressionFirstTrebleTrack>"
      "<track number=\"3\"><ExpressionBridgeGap>2</ExpressionBridgeGap></track>");
  const ExpressionModel& model = bad->record.Expression;
  EXPECT_DOUBLE_EQ(model.BridgeGap, 0.1);
  EXPECT_DOUBLE_EQ(model.BassOffset, -5);
  EXPECT_EQ(model.WelteTimes, (std::array<double, 3>{2380, 300, 400}));
  EXPECT_EQ(model.FirstTreble(), 54);
  EXPECT_DOUBLE_EQ(model.BridgeGapOf(3), 0.1);
  EXPECT_EQ(bad->ui.messages,
            (std::vector<std::string>{
                "Roll type \"T\": ExpressionBridgeGap \"wide\" is not a number from 0 to 1; 0.1 is used.",
                "Roll type \"T\": ExpressionFirstTrebleTrack \"54.5\" is not a number from 0 to 255 (whole "
                "numbers); 54 is used.",
                "Roll type \"T\": ExpressionBassOffset \"-90\" is not a number from -40 to 40; -5 is used.",
                "Roll type \"T\": ExpressionWelteTimes \"2000 300\" is not 3 numbers from 1 to 100000; 2380 300 400 "
                "is used.",
                "Roll type \"T\": ExpressionBridgeGap \"2\" of track 3 is not a number from 0 to 1; the roll type's "
                "gap is used."}));
  EXPECT_EQ(bad->ui.kinds, std::vector<MessageKind>(5, MessageKind::kWarning));

  // Figures each within range that cannot work together give way to the system's own.
  auto falling = Apply(
      "<ExpressionSystem>Welte green</ExpressionSystem><ExpressionWelteLevels>60 35 75 90</ExpressionWelteLevels>");
  EXPECT_EQ(falling->record.Expression.WelteLevels, (std::array<double, 4>{35, 60, 75, 90}));
  ASSERT_EQ(falling->ui.messages.size(), 1u);
  EXPECT_NE(falling->ui.messages[0].find("ExpressionWelteLevels must rise"), std::string::npos);

  auto unknown = Apply("<ExpressionSystem>Pianola</ExpressionSystem><ExpressionLag>0.5</ExpressionLag>");
  EXPECT_EQ(unknown->record.Expression.System, ExpressionSystem::kNone);
  ASSERT_EQ(unknown->ui.messages.size(), 1u);
  EXPECT_EQ(unknown->ui.messages[0].rfind("Roll type \"T\": ExpressionSystem \"Pianola\" is not an expression system "
                                          "(none, Welte red, ",
                                          0),
            0u);
}

TEST(ExpressionParameters, TheModelInOneLineAndInTheRollTypesAccount) {
  ExpressionModel model = DefaultExpressionModel(ExpressionSystem::kThemodist);
  model.TrackBridgeGap[18] = 0.2;
  EXPECT_EQ(DescribeExpressionModel(model),
            "Themodist ExpressionBridgeGap=0.1 ExpressionTrackerExtension=0.042 ExpressionFirstTrebleTrack=64 "
            "ExpressionBassOffset=0 ExpressionSnakebiteLead=0.02 ExpressionThemodistVelocities=50,90 "
            "ExpressionBridgeGap[18]=0.2");
  EXPECT_EQ(DescribeExpressionModel(ExpressionModel{}), "none");
  RollTypeDefinition roll;
  roll.Expression = model;
  const std::string text = DescribeRollType(roll);
  EXPECT_NE(text.find("ExpressionSystem: Themodist\nExpressionBridgeGap: 0.1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("ExpressionThemodistVelocities: 50 90\nExpressionBridgeGap of tracks: 18:0.2\n"),
            std::string::npos);
}

TEST(ShippedRollTypes, EachReproducingTypeNamesItsSystemWithItsOwnFigures) {
  XmlDocument doc;
  std::vector<std::string> names;
  RecordingFrontEnd ui;
  ASSERT_TRUE(LoadRollTypeDefinitions({std::string(TARVELO_SOURCE_DIR) + "/data/RollTypeDefinitions.xml"}, doc, names));
  const std::pair<const char*, ExpressionSystem> expected[] = {
      {"88-Note", ExpressionSystem::kThemodist},
      {"65-Note", ExpressionSystem::kNone},
      {"Ampico A", ExpressionSystem::kAmpicoA},
      {"Ampico B", ExpressionSystem::kAmpicoB},
      {"Duo-Art", ExpressionSystem::kDuoArt},
      {"Welte Licensee", ExpressionSystem::kWelteLicensee},
      {"Welte T-100 Red", ExpressionSystem::kWelteRed},
      {"Welte T-98 Green", ExpressionSystem::kWelteGreen},
      {"Recordo", ExpressionSystem::kRecordoB},
      {"Artecho", ExpressionSystem::kArtecho},
      {"Aeolian 176-Note Organ", ExpressionSystem::kNone},
  };
  for (const auto& [name, system] : expected) {
    SCOPED_TRACE(name);
    RollTypeDefinition roll;
    ASSERT_TRUE(ApplyActiveRollType(roll, name, doc, ui));
    EXPECT_EQ(roll.Expression.System, system);
    // The library writes out the figures the program knows (the bridge gaps of single tracks
    // are its own measurements).
    ExpressionModel known = DefaultExpressionModel(system);
    known.TrackBridgeGap = roll.Expression.TrackBridgeGap;
    EXPECT_EQ(DescribeExpressionModel(roll.Expression), DescribeExpressionModel(known));
    // The system's note tracks are the roll type's restoration range.
    const TrackRoles roles = RolesOfSystem(system, roll.Expression.FirstTreble());
    if (system == ExpressionSystem::kNone) continue;
    for (int track = 0; track < kFunctionTracks; ++track) {
      const bool note = roles[static_cast<size_t>(track)].Function == TrackFunction::kNote;
      EXPECT_EQ(note, roll.TrackUsedForRestoration[static_cast<size_t>(track)]) << track;
    }
  }
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace tarvelo
