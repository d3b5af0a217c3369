// Whole conversions through the document: clean-up counts, where the outputs go, which are
// written, what a failed output does to the run, and the notes that come back from a roll
// of known holes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "SyntheticRoll.h"
#include "document/TarveloDoc.h"
#include "helpers/Environment.h"
#include "helpers/MidiCsv.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using testing::ExpectSoundMidiFile;
using testing::ReadBytes;
using testing::RecordingFrontEnd;
using testing::RecordsOfKind;
using testing::TempDir;
using testing::WriteBytes;

// Pins the credit date so that two runs write the same bytes.
struct FixedDate {
  testing::ScopedEnvironment date{"SOURCE_DATE_EPOCH", "1182556800"};
};

std::vector<std::string> ItemTexts(const KeywordList& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.Count(); ++i) texts.push_back(list.ItemText(i));
  return texts;
}

std::string SmallRoll() {
  synth::SyntheticRollSpec plan;
  plan.holes = {{60, 0.5, 0.3}, {64, 0.6, 0.3}};
  return synth::RenderSyntheticCis(plan);
}

TEST(Conversion, GlitchAndSpeckCountsBecomeKeywordItems) {
  TempDir dir;
  RecordingFrontEnd ui;
  ui.Store().WriteProfileString("Midi Gen Settings", "GlitchThresholdDistance", "0.05").Ignore();
  ui.ReloadSettings();
  synth::SyntheticRollSpec plan;
  plan.holes = {{60, 0.5, 0.3},
                {60, 0.82, 0.3},  // a 0.02 inch web inside one hole: merged
                {64, 0.5, 0.01},  // one scan line long: a speck
                {70, 0.5, 0.3}};
  WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(plan));
  TarveloDoc doc(ui, ui);
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  const auto items = ItemTexts(doc.Keywords());
  EXPECT_NE(std::find(items.begin(), items.end(), "/scan_glitches_merged: 1   "), items.end());
  EXPECT_NE(std::find(items.begin(), items.end(), "/specks_removed: 1   "), items.end());
  const ConversionSummary& summary = doc.Summary();
  EXPECT_EQ(summary.Lines, doc.ScanData().Lines.Size());
  EXPECT_EQ(summary.Holes, 4);
  EXPECT_EQ(summary.GlitchesMerged, 1);
  EXPECT_EQ(summary.SpecksRemoved, 1);
  EXPECT_EQ(summary.HolesKept, 2);
  EXPECT_EQ(summary.ScanImageEvents, 1 + 2 * 2);
  EXPECT_EQ(summary.ERollEvents, 1 + 2 * 2);
}

TEST(Conversion, HoleCleanUpUsesTheRunsThresholdsNotTheProfileText) {
  // A run reads the settings it is handed; a value in the profile that the front end has not
  // taken up into them does not steer the clean-up.
  TempDir dir;
  RecordingFrontEnd ui;
  synth::SyntheticRollSpec plan;
  plan.holes = {{60, 0.5, 0.3}, {60, 0.82, 0.3}};  // a 0.02 inch web inside one hole
  WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(plan));
  ui.Store().WriteProfileString("Midi Gen Settings", "GlitchThresholdDistance", "0.05").Ignore();
  TarveloDoc doc(ui, ui);
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  EXPECT_EQ(doc.Summary().GlitchesMerged, 0);  // the session still holds 0.01
  ui.settings.General.GlitchThresholdDistance = 0.05;
  doc.RunPipeline(ui.settings);
  EXPECT_EQ(doc.Summary().GlitchesMerged, 1);
}

TEST(Conversion, OutputsGoToTheChosenFolderAndSkipsCombineWithTheSwitches) {
  TempDir dir;
  RecordingFrontEnd ui;
  WriteBytes(dir.File("roll.cis"), SmallRoll());
  const fs::path out = dir.Path() / "out";
  fs::create_directory(out);

  TarveloDoc doc(ui, ui);
  doc.SetOutputFolder(out.string());  // no trailing separator
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  EXPECT_TRUE(fs::exists(out / "roll_ScanImageMIDI.mid"));
  EXPECT_TRUE(fs::exists(out / "roll_eRollMIDI.mid"));
  EXPECT_FALSE(fs::exists(dir.Path() / "roll_ScanImageMIDI.mid"));
  ASSERT_EQ(doc.Summary().Outputs.size(), 2u);
  EXPECT_EQ(doc.Summary().Outputs[0].Kind, "ScanImageMIDI");
  EXPECT_EQ(doc.Summary().Outputs[0].Path, (out / "roll_ScanImageMIDI.mid").string());
  EXPECT_EQ(doc.Summary().Outputs[1].Kind, "eRollMIDI");
  EXPECT_EQ(doc.Summary().Outputs[1].Path, (out / "roll_eRollMIDI.mid").string());
  EXPECT_EQ(ui.scan_image_written, 1);
  EXPECT_EQ(ui.eroll_written, 1);

  // Skipping the ScanImage file for a run; the profile turns the eRoll file off.
  fs::remove_all(out);
  doc.SetOutputFolder("");
  doc.SetScanImageMidiSkipped(true);
  doc.RunPipeline(ui.settings);
  EXPECT_FALSE(fs::exists(dir.Path() / "roll_ScanImageMIDI.mid"));
  EXPECT_TRUE(fs::exists(dir.Path() / "roll_eRollMIDI.mid"));
  EXPECT_EQ(ui.scan_image_written, 1);
  EXPECT_EQ(ui.eroll_written, 2);
  ui.Store().WriteProfileInt("OutputFiles", "eRollMidi", 0).Ignore();
  ui.ReloadSettings();
  doc.SetScanImageMidiSkipped(false);
  doc.SetERollMidiSkipped(false);
  doc.RunPipeline(ui.settings);
  ASSERT_EQ(doc.Summary().Outputs.size(), 1u);
  EXPECT_EQ(doc.Summary().Outputs[0].Kind, "ScanImageMIDI");
  EXPECT_EQ(doc.Summary().ERollEvents, 0);
  // Without the eRoll output the keyword list keeps the ScanImage items.
  EXPECT_EQ(doc.Keywords().ItemText(0), "/File_Type: ScanImageMIDI");
}

TEST(Conversion, ADocumentWithoutAFileWritesNoOutputs) {
  TempDir dir;
  RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  doc.SetOutputFolder(dir.Path().string());
  doc.RunPipeline(ui.settings);
  EXPECT_TRUE(fs::is_empty(dir.Path()));
  EXPECT_TRUE(doc.Summary().Outputs.empty());
  EXPECT_EQ(ui.scan_image_written + ui.eroll_written, 0);
  EXPECT_EQ(doc.Summary().ScanImageEvents, 1);  // the title event
}

TEST(Conversion, AStoppedRunWritesNoOutputs) {
  TempDir dir;
  RecordingFrontEnd ui;
  WriteBytes(dir.File("roll.cis"), SmallRoll());
  TarveloDoc doc(ui, ui);
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  fs::remove(dir.File("roll_ScanImageMIDI.mid"));
  fs::remove(dir.File("roll_eRollMIDI.mid"));
  EXPECT_EQ(doc.Summary().Status, ConversionStatus::kConverted);
  EXPECT_EQ(doc.Summary().DecidingMessage, "");
  ui.cancelled = true;  // the user pressed stop during a "Re-Process"
  doc.RunPipeline(ui.settings);
  EXPECT_TRUE(doc.Summary().Cancelled);
  EXPECT_EQ(doc.Summary().Status, ConversionStatus::kStopped);
  EXPECT_TRUE(doc.Summary().Outputs.empty());
  EXPECT_EQ(ui.statuses.back(), "Ready");

  // Stopped while the file is read: the part read is not the roll, and a later run does not
  // convert it either; the file must be opened again.
  EXPECT_EQ(doc.Load(dir.File("roll.cis"), ui.settings).kind(), Result::Kind::kCancelled);
  EXPECT_TRUE(doc.Summary().Cancelled);
  EXPECT_EQ(doc.Summary().Status, ConversionStatus::kStopped);
  ui.cancelled = false;
  doc.RunPipeline(ui.settings);
  EXPECT_TRUE(doc.Summary().Outputs.empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);  // only the roll
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  EXPECT_EQ(doc.Summary().Outputs.size(), 2u);
}

TEST(Conversion, AnOutputThatFailsIsReportedAndTheRunGoesOn) {
  TempDir dir;
  RecordingFrontEnd ui;
  WriteBytes(dir.File("roll.cis"), SmallRoll());
  TarveloDoc doc(ui, ui);
  doc.SetOutputFolder(dir.File("no such folder"));
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.CountOf(MessageKind::kError), 2);
  EXPECT_EQ(doc.Summary().CountOf(MessageKind::kError), 2);
  EXPECT_NE(ui.messages[0].find("roll_ScanImageMIDI.mid"), std::string::npos);
  EXPECT_NE(ui.messages[1].find("roll_eRollMIDI.mid"), std::string::npos);
  EXPECT_EQ(ui.scan_image_written, 0);
  EXPECT_EQ(ui.eroll_written, 0);
  ASSERT_EQ(doc.Summary().Outputs.size(), 2u);
  for (const OutputFileRecord& record : doc.Summary().Outputs) {
    EXPECT_EQ(record.Outcome.kind(), Result::Kind::kIoError);
    EXPECT_FALSE(record.Outcome.message().empty());
  }
  EXPECT_EQ(ui.statuses.back(), "Ready");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);  // only the roll
}

TEST(Conversion, ReprocessingWritesTheSameFiles) {
  FixedDate date;
  TempDir dir;
  RecordingFrontEnd ui;
  synth::SyntheticRollSpec plan = synth::SampleRollSpec();
  WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(plan));
  TarveloDoc doc(ui, ui);
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  const std::string scan_image = ReadBytes(dir.File("roll_ScanImageMIDI.mid"));
  const std::string eroll = ReadBytes(dir.File("roll_eRollMIDI.mid"));
  const auto items = ItemTexts(doc.Keywords());
  doc.RunPipeline(ui.settings);
  EXPECT_EQ(ReadBytes(dir.File("roll_ScanImageMIDI.mid")), scan_image);
  EXPECT_EQ(ReadBytes(dir.File("roll_eRollMIDI.mid")), eroll);
  EXPECT_EQ(ItemTexts(doc.Keywords()), items);
}

// A note read back from a MIDI listing: channel, note and the ticks of its two ends.
struct ListedNote {
  int channel;
  int note;
  long on;
  long off;
};

std::vector<ListedNote> NotesOf(const testing::MidiCsvListing& listing) {
  std::vector<ListedNote> notes;
  std::map<std::pair<int, int>, long> open;
  for (const std::string& record : RecordsOfKind(listing, "Note_on_c")) {
    std::istringstream in(record);
    long track, time;
    int channel, note, velocity;
    char comma;
    std::string kind;
    in >> track >> comma >> time >> comma >> kind >> channel >> comma >> note >> comma >> velocity;
    if (velocity > 0) {
      open[{channel, note}] = time;
    } else if (auto it = open.find({channel, note}); it != open.end()) {
      notes.push_back({channel, note, it->second, time});
      open.erase(it);
    }
  }
  return notes;
}

TEST(Conversion, EveryHoleOfASyntheticRollComesBackAsOneNote) {
  TARVELO_REQUIRE_MIDICSV();
  // A roll of holes on tracks 15..113 (the tracks inside the paper edges of the default
  // geometry), of varied lengths, spaced so that no two holes of a track touch, and a paper
  // drifting slowly sideways.
  synth::SyntheticRollSpec plan;
  plan.drift = [](double y) { return 0.02 * y / 30.0; };
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % range;
  };
  std::map<int, double> track_free;      // where the next hole of a track may start
  plan.holes.push_back({60, 0.5, 0.2});  // a reference hole starting right on a scan line
  track_free[60] = 0.8;
  for (int i = 0; i < 400; ++i) {
    const int track = 15 + static_cast<int>(next(99));
    const double earliest = std::max(0.5, track_free.count(track) ? track_free[track] : 0.0);
    const double start = earliest + next(300) / 100.0;
    const double length = 0.05 + next(60) / 100.0;
    plan.holes.push_back({track, start, length});
    track_free[track] = start + length + 0.1;
  }

  TempDir dir;
  RecordingFrontEnd ui;
  WriteBytes(dir.File("synthetic.cis"), synth::RenderSyntheticCis(plan));
  TarveloDoc doc(ui, ui);
  ASSERT_TRUE(doc.Load(dir.File("synthetic.cis"), ui.settings).ok());
  EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
  EXPECT_EQ(doc.Summary().GlitchesMerged, 0);
  EXPECT_EQ(doc.Summary().SpecksRemoved, 0);
  // The open space beyond the upper paper edge (12.85 inches, track 115) may be read as holes
  // of the tracks there; every other note must be a generated hole.
  std::vector<ListedNote> notes;
  for (const ListedNote& note : NotesOf(ExpectSoundMidiFile(dir.File("synthetic_ScanImageMIDI.mid")))) {
    if (note.note <= 114)
      notes.push_back(note);
    else
      EXPECT_GE(note.note, 116) << "a note beside the paper edge";
  }
  ASSERT_EQ(notes.size(), plan.holes.size());

  // Times are compared with the reference hole, which starts right on a scan line (the file
  // starts its first event after the lead-in, whatever its position). One scan line is
  // 0.01 inch = 4 ticks, and each position is truncated to a whole tick.
  long reference = -1;
  for (const ListedNote& note : notes)
    if (note.note == 60 && (reference < 0 || note.on < reference)) reference = note.on;
  auto hole_order = plan.holes;
  std::sort(hole_order.begin(), hole_order.end(), [](const auto& a, const auto& b) {
    return a.track != b.track ? a.track < b.track : a.start_inch < b.start_inch;
  });
  std::sort(notes.begin(), notes.end(),
            [](const ListedNote& a, const ListedNote& b) { return a.note != b.note ? a.note < b.note : a.on < b.on; });
  for (size_t i = 0; i < notes.size(); ++i) {
    const auto& hole = hole_order[i];
    const ListedNote& note = notes[i];
    SCOPED_TRACE("hole " + std::to_string(i) + " on track " + std::to_string(hole.track) + " at " +
                 std::to_string(hole.start_inch));
    EXPECT_EQ(note.note, hole.track);
    EXPECT_EQ(note.channel, 0);
    const double on = reference + (hole.start_inch - 0.5) * 400;
    const double off = reference + (hole.start_inch + hole.length_inch - 0.5) * 400;
    EXPECT_NEAR(static_cast<double>(note.on), on, 5.0);
    EXPECT_NEAR(static_cast<double>(note.off), off, 5.0);
  }

  // The eRoll file plays the same notes (no edge shifts, no webs this short), between the
  // PowerRoll markers (notes 1 and 0).
  size_t eroll_notes = 0;
  for (const ListedNote& note : NotesOf(ExpectSoundMidiFile(dir.File("synthetic_eRollMIDI.mid"))))
    if (note.note <= 1 || (note.note >= 15 && note.note <= 114)) ++eroll_notes;
  EXPECT_EQ(eroll_notes, plan.holes.size() + 2);
}

TEST(Conversion, RealScansConvertToSoundFiles) {
  TARVELO_REQUIRE_REAL_CIS();
  TARVELO_REQUIRE_MIDICSV();
  TempDir dir;
  RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  doc.SetOutputFolder(dir.Path().string());
  ASSERT_TRUE(doc.Load((testing::RealCisDir() / "stepper_single.CIS").string(), ui.settings).ok());
  ASSERT_EQ(doc.Summary().Outputs.size(), 2u);
  for (const OutputFileRecord& record : doc.Summary().Outputs) {
    ASSERT_TRUE(record.Outcome.ok()) << record.Outcome.message();
    const auto notes = NotesOf(ExpectSoundMidiFile(record.Path));
    EXPECT_GT(notes.size(), 1000u) << record.Path;
  }
  EXPECT_GT(doc.Summary().HolesKept, 1000);
}

}  // namespace
}  // namespace tarvelo
