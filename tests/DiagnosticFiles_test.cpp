#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "SyntheticRoll.h"
#include "document/TarveloDoc.h"
#include "geometry/DiagnosticFiles.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

TEST(CisDiagnosticFile, HeaderLinesThenOneRowPerLine) {
  CisScanData data;
  data.Header.Title = "Valse, Op. 64";
  data.Header.Tempo = -5;
  data.Header.LinesReadPlusTwo = 2;
  const std::string header =
      "TITLE: ,Valse, Op. 64\nTEMPO: ,-5\nHoriz DPI: ,300\nNumber Of Scan Lines: ,2\n"
      "ScanLineNumber , Yposition, Encoder, TrackingOffset, Num Events , TransitionString , TrackHoleString\n";
  EXPECT_EQ(CisDiagnosticText(data, 300), header);  // no scan lines: the five header lines

  LineGeometry geometry;
  geometry.Position = 0.01;
  geometry.TrackingOffset = -0.0042;
  data.Lines.AppendLine(std::vector<int32_t>{0, 57, 212, 3000}, 0xFF80, geometry);
  geometry.Position = 12.5;
  geometry.TrackingOffset = 0;
  data.Lines.AppendLine(std::vector<int32_t>{}, 0, geometry);
  data.Header.LinesReadPlusTwo = 4;
  EXPECT_EQ(CisDiagnosticText(data, 200),
            "TITLE: ,Valse, Op. 64\nTEMPO: ,-5\nHoriz DPI: ,200\nNumber Of Scan Lines: ,4\n"
            "ScanLineNumber , Yposition, Encoder, TrackingOffset, Num Events , TransitionString , TrackHoleString\n"
            " 0 , 1.e-002 , 65408. , -4.2e-003 , 4. , |0|57|212|3000| , |\n"
            " 1 , 12.5 , 0. , 0. , 0. , | , |\n");
}

TEST(LookupMapDiagnosticFile, HeaderLinesThenOneRowPerPixelBeforeTheLast) {
  const RollTypeDefinition roll;
  ScannerGeometry scanner;
  scanner.Dpi = 300;
  scanner.Offset = -0.5;
  TrackLookupMap map;
  map.Build(scanner, 0, roll);
  const std::string header =
      "OFFSET: -0.5\nHoriz DPI: 300\nNumber Of Pixels in Map: 0\nPixelNumber , Closest Track, OffsetFromCenter, "
      "Weighting\n";
  EXPECT_EQ(LookupMapDiagnosticText(map), header);

  scanner.Offset = 2.0;  // pixel 0 at 2 inches: track 18, 1/18 inch below its centre
  map.Build(scanner, 2, roll);
  EXPECT_EQ(LookupMapDiagnosticText(map),
            "OFFSET: 2.\nHoriz DPI: 300\nNumber Of Pixels in Map: 2\n"
            "PixelNumber , Closest Track, OffsetFromCenter, Weighting\n"
            " 0 , 17. , 5.555555556e-002 , 0.\n"
            " 1 , 18. , -5.222222222e-002 , 1.\n");
}

synth::SyntheticRollSpec ShortRoll() {
  synth::SyntheticRollSpec plan;
  plan.length_inch = 1;
  plan.holes.push_back({60, 0.2, 0.3});
  return plan;
}

TEST(DiagnosticFiles, WrittenBesideTheRollUnderItsNameUpToTheFirstFullStop) {
  testing::TempDir dir;
  testing::WriteBytes(dir.File("roll.take2.cis"), synth::RenderSyntheticCis(ShortRoll()));
  testing::RecordingFrontEnd ui;
  ui.settings.Diagnostic.WriteCISrawTransitionFile = true;
  ui.settings.Diagnostic.WriteTrackLookUpMapFile = true;
  TarveloDoc doc(ui, ui);
  ASSERT_TRUE(doc.Load(dir.File("roll.take2.cis"), ui.settings).ok());
  EXPECT_TRUE(ui.messages.empty());
  const std::string cis = testing::ReadBytes(dir.File("roll_DiagnosticFileValues.txt"));
  const std::string map = testing::ReadBytes(dir.File("roll_LookupMapDiagnosticFileValues.txt"));
  EXPECT_EQ(cis, CisDiagnosticText(doc.ScanData(), 300));
  EXPECT_EQ(map, LookupMapDiagnosticText(doc.LookupMap()));
  EXPECT_EQ(std::count(cis.begin(), cis.end(), '\n'), 5 + doc.ScanData().Lines.Size());
  EXPECT_EQ(cis.find('\r'), std::string::npos);
  EXPECT_EQ(std::count(map.begin(), map.end(), '\n'), 4 + 3648);
  EXPECT_NE(std::find(ui.statuses.begin(), ui.statuses.end(), "Writing CIS Diagnostic file "), ui.statuses.end());
  EXPECT_NE(std::find(ui.statuses.begin(), ui.statuses.end(), "Writing Lookup Map Diagnostic file "),
            ui.statuses.end());
  // No temporary file is left behind.
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST(DiagnosticFiles, FileThatCannotBeWrittenIsReportedAndTheConversionGoesOn) {
  testing::TempDir dir;
  testing::WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(ShortRoll()));
  // A folder where each file should go makes both unwritable.
  std::filesystem::create_directory(dir.File("roll_DiagnosticFileValues.txt"));
  std::filesystem::create_directory(dir.File("roll_LookupMapDiagnosticFileValues.txt"));
  testing::RecordingFrontEnd ui;
  ui.settings.Diagnostic.WriteCISrawTransitionFile = true;
  ui.settings.Diagnostic.WriteTrackLookUpMapFile = true;
  TarveloDoc doc(ui, ui);
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.CountOf(MessageKind::kError), 2);
  EXPECT_NE(ui.messages[0].find("roll_LookupMapDiagnosticFileValues.txt"), std::string::npos);
  EXPECT_NE(ui.messages[1].find("roll_DiagnosticFileValues.txt"), std::string::npos);
  EXPECT_EQ(doc.Holes().size(), 1u);
  EXPECT_GE(doc.Keywords().FindKey("/Twin_Array_Crossover_Track:"), 0);
  ASSERT_FALSE(ui.reprocess_pending.empty());
  EXPECT_FALSE(ui.reprocess_pending.back());
}

TEST(DiagnosticFiles, CommandLineWritesThemWhenAskedForOneRun) {
  testing::TempDir dir;
  testing::WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(ShortRoll()));
  const std::string command = testing::CliPath() + " convert --quiet --profile " +
                              testing::ShellQuote(dir.File("profile.ini")) +
                              " --set 'Diagnostic Settings/WriteCISrawTransitionFile=1'"
                              " --set 'Diagnostic Settings/WriteTrackLookUpMapFile=1' " +
                              testing::ShellQuote(dir.File("roll.cis"));
  ASSERT_EQ(testing::RunCommand(command).status, 0);
  EXPECT_TRUE(std::filesystem::exists(dir.File("roll_DiagnosticFileValues.txt")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("roll_LookupMapDiagnosticFileValues.txt")));
}

}  // namespace
}  // namespace tarvelo
