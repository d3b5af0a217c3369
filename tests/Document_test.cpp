#include <gtest/gtest.h>

#include "SyntheticRoll.h"
#include "document/TarveloDoc.h"
#include "helpers/RecordingUi.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using testing::RecordingUi;
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
  RecordingUi ui;
  TarveloDoc doc(ui);
  WriteBytes(dir.File("a.b.CIS"), SmallRoll());
  EXPECT_EQ(doc.Load(dir.File("a.b.CIS")), LoadStatus::kLoaded);
  EXPECT_EQ(doc.FileName(), "a");
  EXPECT_EQ(doc.FileExtension(), "cis");
  EXPECT_EQ(doc.FileNameWithExtension(), "a.b.CIS");
  EXPECT_EQ(doc.FolderName(), dir.Path().string() + "/");

  WriteBytes(dir.File("roll.txt"), SmallRoll());
  ui.messages.clear();
  EXPECT_EQ(doc.Load(dir.File("roll.txt")), LoadStatus::kWrongType);
  EXPECT_EQ(doc.LastErrorText(), "*** Invalid File Type *** CIS files only - ");
  EXPECT_EQ(ui.messages, std::vector<std::string>{"*** Invalid File Type *** CIS files only - "});
  EXPECT_TRUE(doc.ScanData().Lines.Empty());

  EXPECT_EQ(doc.Load(dir.File("missing.cis")), LoadStatus::kUnreadable);
  WriteBytes(dir.File("short.cis"), "CIS");
  EXPECT_EQ(doc.Load(dir.File("short.cis")), LoadStatus::kUnreadable);
  EXPECT_NE(doc.LastErrorText().find("too short"), std::string::npos);
}

TEST(Document, PipelineRecordsKeywordItemsAndReturnsToIdle) {
  TempDir dir;
  RecordingUi ui;
  ui.Store().WriteProfileInt("Scanner Settings", "RemoveTakeupAccel0", 1);
  ui.Store().WriteProfileInt("OutputFiles", "eRollMidi", 0);  // the eRoll output rewrites the first items
  ui.ReloadSettings();
  TarveloDoc doc(ui);
  WriteBytes(dir.File("roll.cis"), SmallRoll());
  ASSERT_EQ(doc.Load(dir.File("roll.cis")), LoadStatus::kLoaded);
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
}

TEST(Document, ReprocessingStartsFromTheLinesAsRead) {
  TempDir dir;
  RecordingUi ui;
  TarveloDoc doc(ui);
  WriteBytes(dir.File("roll.cis"), SmallRoll());
  ASSERT_EQ(doc.Load(dir.File("roll.cis")), LoadStatus::kLoaded);
  const auto first = ItemTexts(doc.Keywords());
  doc.ScanData().Lines.SetSize(3);  // a stage that damaged the working lines
  doc.ScanData().ScanWidth = 1;
  doc.RunPipeline();
  EXPECT_EQ(ItemTexts(doc.Keywords()), first);
  EXPECT_EQ(doc.ScanData().Lines.Size(), doc.ScanData().LinesAsRead.Size());
  EXPECT_EQ(doc.ScanData().ScanWidth, 3648);
}

TEST(Document, RefusedHeaderStillRunsThePipelineOnNoLines) {
  TempDir dir;
  RecordingUi ui;
  TarveloDoc doc(ui);
  synth::CisHeaderFields header;
  header.width = 0;
  header.line_count = 3;
  WriteBytes(dir.File("broken.cis"), synth::EncodeCisHeader(header));
  EXPECT_EQ(doc.Load(dir.File("broken.cis")), LoadStatus::kRefused);
  EXPECT_EQ(doc.LastErrorText(), "*** Invalid Scanner Width in File *** ");
  EXPECT_TRUE(doc.ScanData().Lines.Empty());
  EXPECT_EQ(ui.statuses.back(), "Ready");
  // No MIDI file pretends to be the conversion of a file that could not be read.
  EXPECT_TRUE(doc.Summary().Outputs.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.File("broken_ScanImageMIDI.mid")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("broken_eRollMIDI.mid")));
}

TEST(Document, OldFormatForcedClearsTheTypeFlagsOfEveryRun) {
  TempDir dir;
  RecordingUi ui;
  synth::SyntheticRollSpec plan;
  plan.holes = {{60, 0.2, 0.2}};
  plan.type_byte = 0x20;
  plan.encoder_byte = 0x10;
  plan.scan_width = 1824;  // two arrays of 1824 make the 3648 pixels of a line
  std::string bytes = synth::RenderSyntheticCis(plan);
  WriteBytes(dir.File("dual.cis"), bytes);
  TarveloDoc doc(ui);
  ASSERT_NE(doc.Load(dir.File("dual.cis")), LoadStatus::kUnreadable);
  EXPECT_TRUE(doc.ScanData().SavedTwinArray);
  ui.Store().WriteProfileInt("Scanner Settings", "ForceOldCisFormat0", 1);
  ui.ReloadSettings();
  doc.RunPipeline();
  EXPECT_FALSE(doc.ScanData().TwinArray);
  EXPECT_FALSE(doc.ScanData().MirrorImage);
  EXPECT_FALSE(doc.ScanData().ReverseImage);
}

}  // namespace
}  // namespace tarvelo
