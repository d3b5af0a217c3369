#include <gtest/gtest.h>

#include "SyntheticRoll.h"
#include "document/TarveloDoc.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using testing::ReadBytes;
using testing::RecordingFrontEnd;
using testing::TempDir;
using testing::WriteBytes;

std::string SmallRoll() {
  synth::SyntheticRollSpec plan;
  plan.holes = {{60, 0.5, 0.3}, {64, 0.6, 0.3}};
  plan.tempo = 75;
  return synth::RenderSyntheticCis(plan);
}

std::vector<std::string> ItemTexts(const KeywordList& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.Count(); ++i) texts.push_back(list.ItemText(i));
  return texts;
}

TEST(Document, NameChecks) {
  TempDir dir;
  RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  WriteBytes(dir.File("a.b.CIS"), SmallRoll());
  EXPECT_TRUE(doc.Load(dir.File("a.b.CIS"), ui.settings).ok());
  EXPECT_EQ(doc.FileName(), "a");
  EXPECT_EQ(doc.FileNames().Extension, "cis");
  EXPECT_EQ(doc.FileNameWithExtension(), "a.b.CIS");
  EXPECT_EQ(doc.FolderName(), (dir.Path() / "").string());  // with the system's separator

  WriteBytes(dir.File("roll.txt"), SmallRoll());
  ui.messages.clear();
  ui.kinds.clear();
  const Result wrong_type = doc.Load(dir.File("roll.txt"), ui.settings);
  EXPECT_EQ(wrong_type.kind(), Result::Kind::kInvalid);
  EXPECT_EQ(wrong_type.message(), "*** Invalid File Type *** CIS files only - ");
  EXPECT_EQ(ui.messages, std::vector<std::string>{"*** Invalid File Type *** CIS files only - "});
  EXPECT_EQ(ui.kinds, std::vector<MessageKind>{MessageKind::kError});
  EXPECT_TRUE(doc.ScanData().Lines.Empty());
  EXPECT_EQ(doc.Summary().CountOf(MessageKind::kError), 1);
  // The document concludes the status itself, with the headline that decided it.
  EXPECT_EQ(doc.Summary().Status, ConversionStatus::kFailed);
  EXPECT_EQ(doc.Summary().DecidingMessage, "*** Invalid File Type *** CIS files only -");

  EXPECT_EQ(doc.Load(dir.File("missing.cis"), ui.settings).kind(), Result::Kind::kNotFound);
  WriteBytes(dir.File("short.cis"), "CIS");
  const Result too_short = doc.Load(dir.File("short.cis"), ui.settings);
  EXPECT_EQ(too_short.kind(), Result::Kind::kCorrupt);
  EXPECT_NE(too_short.message().find("too short"), std::string::npos);
  EXPECT_EQ(ui.CountOf(MessageKind::kError), 3);
}

TEST(Document, PipelineRecordsKeywordItemsAndReturnsToIdle) {
  TempDir dir;
  RecordingFrontEnd ui;
  ui.Store().WriteProfileInt("Scanner Settings", "RemoveTakeupAccel0", 1).Ignore();
  ui.Store().WriteProfileInt("OutputFiles", "eRollMidi", 0).Ignore();  // the eRoll output rewrites the first items
  ui.ReloadSettings();
  TarveloDoc doc(ui, ui);
  WriteBytes(dir.File("roll.cis"), SmallRoll());
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  const std::vector<std::string> expected_start = {
      "/File_Type: ScanImageMIDI",
      "/Source_File_Type: CIS file",
      "/Processing_History: CIS --> ScanImageMIDI",
      "/CIS_converted_as_type: Fail-Safe",
      "/play_tempo: 75  ",
      "/CIS_file_LPI: 100  ",
      "/scanner_processing_type: Mode1 - no encoding",
      "/scanner_horizontal_DPI: 300  ",
      "/scanner_horizontal_offset: 1.000  ",
      "/scanner_horizontal_stretch: 1.000  ",
      "/interpreted_file_AverageLPI: 100.000  ",
      "/scanner_takeup_accel_correction: 0.200  Pct. per foot  APPLIED",
  };
  const auto items = ItemTexts(doc.Keywords());
  ASSERT_GE(items.size(), expected_start.size());
  for (size_t i = 0; i < expected_start.size(); ++i) EXPECT_EQ(items[i], expected_start[i]);
  ASSERT_FALSE(ui.reprocess_pending.empty());
  EXPECT_FALSE(ui.reprocess_pending.back());
  EXPECT_EQ(ui.statuses.back(), "Ready");
  EXPECT_EQ(ui.progress.back().colour, 6);
  EXPECT_EQ(ui.progress.back().position, 100);
  EXPECT_EQ(ui.control_bar.back(), "roll.cis|Synthetic roll");
  ASSERT_EQ(ui.header_summaries.size(), 1u);
  EXPECT_EQ(ui.header_summaries[0].HeaderLineCount, doc.ScanData().Header.HeaderLineCount);
}

TEST(Document, ReprocessingStartsFromTheLinesAsRead) {
  TempDir dir;
  RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  WriteBytes(dir.File("roll.cis"), SmallRoll());
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  const auto first = ItemTexts(doc.Keywords());
  doc.ScanData().Lines.Clear();  // a stage that damaged the working lines
  doc.ScanData().Run.ScanWidth = 1;
  doc.RunPipeline(ui.settings);
  EXPECT_EQ(ItemTexts(doc.Keywords()), first);
  EXPECT_EQ(doc.ScanData().Lines.Size(), doc.ScanData().LinesAsRead.Size());
  EXPECT_EQ(doc.ScanData().Run.ScanWidth, 3648);
}

TEST(Document, RefusedHeaderStillRunsThePipelineOnNoLines) {
  TempDir dir;
  RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  synth::CisHeaderFields header;
  header.width = 0;
  header.line_count = 3;
  WriteBytes(dir.File("broken.cis"), synth::EncodeCisHeader(header));
  const Result refused = doc.Load(dir.File("broken.cis"), ui.settings);
  EXPECT_EQ(refused.kind(), Result::Kind::kCorrupt);
  EXPECT_EQ(refused.message(), "*** Invalid Scanner Width in File *** ");
  EXPECT_EQ(ui.kinds, std::vector<MessageKind>{MessageKind::kError});
  EXPECT_TRUE(doc.ScanData().Lines.Empty());
  EXPECT_TRUE(ui.header_summaries.empty());  // nothing of a refused header is shown
  EXPECT_EQ(ui.statuses.back(), "Ready");
  // No MIDI file pretends to be the conversion of a file that could not be read.
  EXPECT_TRUE(doc.Summary().Outputs.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.File("broken_ScanImageMIDI.mid")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("broken_eRollMIDI.mid")));
}

TEST(Document, ACutShortScanIsConvertedAsFarAsItGoesWithAWarning) {
  TARVELO_REQUIRE_REAL_CIS();
  TempDir dir;
  RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  WriteBytes(dir.File("cut.cis"), ReadBytes((testing::RealCisDir() / "stepper_twin.CIS").string()).substr(0, 105620));
  ASSERT_TRUE(doc.Load(dir.File("cut.cis"), ui.settings).ok());
  const int lines = doc.ScanData().LinesAsRead.Size();
  EXPECT_GT(lines, 0);
  EXPECT_EQ(ui.messages.front(), "The file ends after " + std::to_string(lines) + " of 63661 scan lines");
  // And the halves of this twin array scan do not meet at Auto-Tweak's values.
  EXPECT_EQ(doc.Summary().CountOf(MessageKind::kWarning), 2);
  EXPECT_EQ(doc.Summary().Status, ConversionStatus::kConvertedWithWarnings);
  EXPECT_EQ(doc.Summary().DecidingMessage, ui.messages.front());
  ASSERT_EQ(doc.Summary().Outputs.size(), 2u);
  EXPECT_TRUE(doc.Summary().Outputs[0].Outcome.ok());
}

TEST(Document, AFileThatCouldNotBeOpenedIsNeverConvertedOnReprocessing) {
  TempDir dir;
  RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  WriteBytes(dir.File("roll.cis"), SmallRoll());
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  const std::string converted = ReadBytes(dir.File("roll_ScanImageMIDI.mid"));
  // Same name up to the first full stop, so the same output names.
  WriteBytes(dir.File("roll.txt"), SmallRoll());
  ASSERT_FALSE(doc.Load(dir.File("roll.txt"), ui.settings).ok());
  doc.RunPipeline(ui.settings);  // "Re-Process" after a settings change
  EXPECT_TRUE(doc.Summary().Outputs.empty());
  EXPECT_EQ(ReadBytes(dir.File("roll_ScanImageMIDI.mid")), converted);
}

TEST(Document, OldFormatForcedClearsTheTypeFlagsOfEveryRun) {
  TempDir dir;
  RecordingFrontEnd ui;
  synth::SyntheticRollSpec plan;
  plan.holes = {{60, 0.2, 0.2}};
  plan.type_byte = 0x20;
  plan.encoder_byte = 0x10;
  plan.scan_width = 1824;  // two arrays of 1824 make the 3648 pixels of a line
  std::string bytes = synth::RenderSyntheticCis(plan);
  WriteBytes(dir.File("dual.cis"), bytes);
  TarveloDoc doc(ui, ui);
  ASSERT_TRUE(doc.Load(dir.File("dual.cis"), ui.settings).ok());
  EXPECT_TRUE(doc.ScanData().Header.TwinArray);
  ui.Store().WriteProfileInt("Scanner Settings", "ForceOldCisFormat0", 1).Ignore();
  ui.ReloadSettings();
  doc.RunPipeline(ui.settings);
  EXPECT_FALSE(doc.ScanData().Run.TwinArray);
  EXPECT_FALSE(doc.ScanData().Run.MirrorImage);
  EXPECT_FALSE(doc.ScanData().Run.ReverseImage);
}

}  // namespace
}  // namespace tarvelo
