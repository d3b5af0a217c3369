#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "helpers/MidiCsv.h"
#include "helpers/TestPaths.h"
#include "midi/MidiFileWriter.h"

namespace tarvelo {
namespace {

using testing::ExpectSoundMidiFile;
using testing::ReadBytes;
using testing::RecordsOfKind;
using testing::TempDir;

// Bytes from a list of values, for readable expectations.
std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

const std::string kTrackStart =
    Bytes({0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x59, 0x02, 0x00, 0x00});

// The track bytes between the writer's opening time and key signatures and the end of track.
std::string Written(const MidiFileWriter& writer) {
  const std::string file = writer.FileBytes();
  const size_t start = 14 + 8 + kTrackStart.size();
  return file.substr(start, file.size() - start - 4);
}

TEST(MidiFileWriter, EmptyFileIsExactlyHeaderAndSignatures) {
  TempDir dir;
  const std::string path = dir.File("empty.mid");
  const MidiFileWriter writer;
  const Result closed = writer.WriteFile(path);
  ASSERT_TRUE(closed.ok()) << closed.message();

  const std::string expected = "MThd" + Bytes({0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0}) + "MTrk" + Bytes({0, 0, 0, 0x12}) +
                               kTrackStart + Bytes({0x00, 0xFF, 0x2F, 0x00});
  EXPECT_EQ(ReadBytes(path), expected);
  TARVELO_REQUIRE_MIDICSV();
  const auto listing = ExpectSoundMidiFile(path);
  EXPECT_EQ(RecordsOfKind(listing, "Time_signature"), std::vector<std::string>{"1, 0, Time_signature, 4, 2, 24, 8"});
  EXPECT_EQ(RecordsOfKind(listing, "Key_signature"), std::vector<std::string>{"1, 0, Key_signature, 0, \"major\""});
}

TEST(MidiFileWriter, VariableLengthQuantities) {
  const auto vlq = [](uint32_t v) {
    std::string out;
    AppendVariableLength(out, v);
    return out;
  };
  EXPECT_EQ(vlq(0), Bytes({0x00}));
  EXPECT_EQ(vlq(127), Bytes({0x7F}));
  EXPECT_EQ(vlq(128), Bytes({0x81, 0x00}));
  EXPECT_EQ(vlq(480), Bytes({0x83, 0x60}));
  EXPECT_EQ(vlq(0x3FFF), Bytes({0xFF, 0x7F}));
  EXPECT_EQ(vlq(0x4000), Bytes({0x81, 0x80, 0x00}));
  EXPECT_EQ(vlq(0x0FFFFFFF), Bytes({0xFF, 0xFF, 0xFF, 0x7F}));
}

TEST(MidiFileWriter, VelocityAndControllerValuesOutsideRangeUseFallbacks) {
  MidiFileWriter writer;
  writer.AddNoteOn(0, 0, 60, 0);
  writer.AddNoteOn(0, 0, 60, 128);
  writer.AddNoteOn(0, 0, 60, 127);
  writer.AddNoteOn(0, 0, 60, -5);
  writer.AddController(0, 0, 64, 0);
  writer.AddController(0, 0, 64, 200);
  writer.AddController(0, 0, 64, 64);
  writer.AddNoteOff(128, 3, 61);
  EXPECT_EQ(Written(writer),
            Bytes({0x00, 0x90, 60, 70,   0x00, 0x90, 60, 70,   0x00, 0x90, 60, 127,  0x00, 0x90, 60, 70, 0x00,
                   0xB0, 64,   0,  0x00, 0xB0, 64,   0,  0x00, 0xB0, 64,   64, 0x81, 0x00, 0x93, 61, 0}));
  // Fallback values are the writer's rule, not a problem to report.
  EXPECT_FALSE(writer.AdjustmentCounts().Any());
}

TEST(MidiFileWriter, MetaEvents) {
  MidiFileWriter writer;
  writer.AddTempo(0, 750000);
  writer.AddTempo(0, 0x12345678);  // only the three low bytes fit
  writer.AddText(0, MetaText::kText, std::string(200, 'a'));
  writer.AddText(5, MetaText::kMarker, "");
  writer.AddText(5, MetaText::kTrackName, "Name");
  writer.AddText(5, MetaText::kLyric, "w");
  writer.AddProgramChange(5, 9, 5);
  writer.AddAllSoundOff(15);
  const std::string expected = Bytes({0x00, 0xFF, 0x51, 0x03, 0x0B, 0x71, 0xB0, 0x00, 0xFF, 0x51, 0x03, 0x34, 0x56,
                                      0x78, 0x00, 0xFF, 0x01, 0x81, 0x48}) +
                               std::string(200, 'a') + Bytes({0x05, 0xFF, 0x06, 0x00, 0x00, 0xFF, 0x03, 0x04}) +
                               "Name" + Bytes({0x00, 0xFF, 0x05, 0x01}) + "w" +
                               Bytes({0x00, 0xC9, 0x05, 0x0A, 0xB0, 0x78, 0x00});
  EXPECT_EQ(Written(writer), expected);
}

// A roll type with a channel above 15 or a note above 127 must not corrupt the file: those
// events are left out, every other event keeps its time, and the user is told once.
TEST(MidiFileWriter, OutOfRangeChannelEventsAreLeftOutKeepingOtherTimes) {
  TARVELO_REQUIRE_MIDICSV();
  TempDir dir;
  const std::string path = dir.File("range.mid");
  MidiFileWriter writer;
  writer.AddNoteOn(100, 0, 60, 64);
  writer.AddNoteOn(120, 16, 61, 64);  // channel 16
  writer.AddNoteOn(140, 0, 128, 64);  // note 128
  writer.AddController(160, -1, 64, 127);
  writer.AddController(180, 0, 200, 127);
  writer.AddProgramChange(180, 0, 130);
  writer.AddNoteOff(200, 0, 60);
  const Result closed = writer.WriteFile(path);
  ASSERT_TRUE(closed.ok()) << closed.message();

  EXPECT_EQ(writer.AdjustmentCounts().EventsLeftOut, 5);
  const std::string message = writer.ProblemText(path);
  EXPECT_NE(message.find(path), std::string::npos);
  EXPECT_NE(message.find("5 event(s) left out"), std::string::npos);
  EXPECT_NE(message.find("note 61 on channel 16"), std::string::npos);

  const auto listing = ExpectSoundMidiFile(path);
  EXPECT_EQ(RecordsOfKind(listing, "Note_on_c"),
            (std::vector<std::string>{"1, 100, Note_on_c, 0, 60, 64", "1, 200, Note_on_c, 0, 60, 0"}));
  EXPECT_TRUE(RecordsOfKind(listing, "Control_c").empty());
  EXPECT_TRUE(RecordsOfKind(listing, "Program_c").empty());
}

TEST(MidiFileWriter, EventsAreWrittenInTickOrderKeepingAppendOrderOnTies) {
  MidiFileWriter writer;
  writer.AddNoteOn(100, 0, 1, 1);
  writer.AddNoteOn(60, 0, 2, 1);    // written before the one at 100
  writer.AddNoteOn(60, 0, 3, 1);    // after note 2
  writer.AddNoteOn(100, 0, 4, 1);   // after note 1
  writer.AddNoteOn(-400, 0, 5, 1);  // before the start: tick 0
  EXPECT_EQ(Written(writer), Bytes({0x00, 0x90, 5, 1, 60, 0x90, 2, 1, 0, 0x90, 3, 1, 40, 0x90, 1, 1, 0, 0x90, 4, 1}));
  EXPECT_EQ(writer.AdjustmentCounts().TimesAdjusted, 1);
}

TEST(MidiFileWriter, GapsLongerThanADeltaCanHoldAreShortened) {
  MidiFileWriter writer;
  writer.AddNoteOn(0x10000000, 0, 60, 64);
  writer.AddNoteOff(0x10000000 + 480, 0, 60);
  EXPECT_EQ(Written(writer), Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 64, 0x83, 0x60, 0x90, 60, 0}));
  EXPECT_EQ(writer.AdjustmentCounts().TimesAdjusted, 1);
  EXPECT_NE(writer.ProblemText("x.mid").find("1 event time(s) moved"), std::string::npos);
  EXPECT_EQ(MidiFileWriter().ProblemText("x.mid"), "");
}

TEST(MidiFileWriter, FailureToWriteNamesPathAndReasonAndLeavesNoFile) {
  TempDir dir;
  const std::string kept = dir.File("keep.mid");
  testing::WriteBytes(kept, "old contents");
  {
    MidiFileWriter writer;  // destroyed without WriteFile: nothing reaches the disk
    writer.AddNoteOn(0, 0, 60, 64);
  }
  EXPECT_EQ(ReadBytes(kept), "old contents");
  // A missing folder, and a destination that is a folder.
  const std::string missing = dir.File("no-such-folder/out.mid");
  std::filesystem::create_directory(dir.File("occupied.mid"));
  for (const std::string& path : {missing, dir.File("occupied.mid")}) {
    const MidiFileWriter writer;
    const Result closed = writer.WriteFile(path);
    EXPECT_EQ(closed.kind(), Result::Kind::kIoError);
    EXPECT_NE(closed.message().find(path), std::string::npos) << closed.message();
    EXPECT_NE(closed.message().find("("), std::string::npos) << "a reason is given: " << closed.message();
  }
  // Only the two entries made above remain: no temporary or partial file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator{}), 2);

  const Result closed = MidiFileWriter().WriteFile("");
  EXPECT_FALSE(closed.ok());
  EXPECT_FALSE(closed.message().empty());
}

// A file with every kind of event, as the outputs write them, read back by midicsv.
TEST(MidiFileWriter, CompleteFileListsTheExpectedEvents) {
  TARVELO_REQUIRE_MIDICSV();
  TempDir dir;
  const std::string path = dir.File("full.mid");
  MidiFileWriter writer(480);
  writer.AddTempo(0, 750000);
  writer.AddText(0, MetaText::kTrackName, "Title - Maker A # 123");
  writer.AddText(0, MetaText::kCopyright, "(c) someone");
  writer.AddText(0, MetaText::kText, "/title: Title");
  writer.AddText(0, MetaText::kInstrumentName, "88-Note Roll Type Scan Image");
  writer.AddProgramChange(0, 0, 0);
  writer.AddNoteOn(1280, 2, 40, 64);
  writer.AddController(1280, 2, 64, 127);
  writer.AddNoteOff(1760, 2, 40);
  writer.AddController(1760, 2, 64, 0);
  writer.AddText(1763, MetaText::kMarker, "m");
  writer.AddAllSoundOff(3043);
  EXPECT_EQ(writer.LastTick(), 3043);
  const Result closed = writer.WriteFile(path);
  ASSERT_TRUE(closed.ok()) << closed.message();
  EXPECT_FALSE(writer.AdjustmentCounts().Any());

  const auto listing = ExpectSoundMidiFile(path);
  const std::vector<std::string> expected = {
      "0, 0, Header, 0, 1, 480",
      "1, 0, Start_track",
      "1, 0, Time_signature, 4, 2, 24, 8",
      "1, 0, Key_signature, 0, \"major\"",
      "1, 0, Tempo, 750000",
      "1, 0, Title_t, \"Title - Maker A # 123\"",
      "1, 0, Copyright_t, \"(c) someone\"",
      "1, 0, Text_t, \"/title: Title\"",
      "1, 0, Instrument_name_t, \"88-Note Roll Type Scan Image\"",
      "1, 0, Program_c, 0, 0",
      "1, 1280, Note_on_c, 2, 40, 64",
      "1, 1280, Control_c, 2, 64, 127",
      "1, 1760, Note_on_c, 2, 40, 0",
      "1, 1760, Control_c, 2, 64, 0",
      "1, 1763, Marker_t, \"m\"",
      "1, 3043, Control_c, 0, 120, 0",
      "1, 3043, End_track",
      "0, 0, End_of_file",
  };
  EXPECT_EQ(listing.lines, expected);
}

}  // namespace
}  // namespace tarvelo

namespace tarvelo {
namespace {

// The independent check itself must notice damaged files, or every check above proves nothing.
TEST(MidiCsvCheck, NoticesDataBytesWithTopBitAndWrongChunkLength) {
  TARVELO_REQUIRE_MIDICSV();
  TempDir dir;
  const std::string header = "MThd" + Bytes({0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0}) + "MTrk";
  const std::string end = Bytes({0x00, 0xFF, 0x2F, 0x00});
  testing::WriteBytes(dir.File("high.mid"),
                      header + Bytes({0, 0, 0, 0x16}) + kTrackStart + Bytes({0x00, 0x90, 0x80, 0x00}) + end);
  testing::WriteBytes(dir.File("short.mid"), header + Bytes({0, 0, 0, 0x13}) + kTrackStart + end);
  testing::WriteBytes(dir.File("good.mid"), header + Bytes({0, 0, 0, 0x12}) + kTrackStart + end);
  EXPECT_FALSE(testing::RunMidiCsv(dir.File("high.mid")).problems.empty());
  EXPECT_FALSE(testing::RunMidiCsv(dir.File("short.mid")).problems.empty());
  EXPECT_TRUE(testing::RunMidiCsv(dir.File("good.mid")).problems.empty());
}

}  // namespace
}  // namespace tarvelo

namespace tarvelo {
namespace {

TEST(MidiFileWriter, DivisionGoesIntoTheHeaderAndOneOutsideItsRangeIsRefused) {
  EXPECT_EQ(MidiFileWriter(96).FileBytes().substr(12, 2), Bytes({0x00, 0x60}));
  const MidiFileWriter refused(0x8000);  // would mean SMPTE time
  EXPECT_EQ(refused.Division(), 480);
  EXPECT_EQ(refused.FileBytes().substr(12, 2), Bytes({0x01, 0xE0}));
  EXPECT_EQ(refused.AdjustmentCounts().DivisionsRefused, 1);
  EXPECT_NE(refused.ProblemText("d.mid").find("480 was kept"), std::string::npos);
}

}  // namespace
}  // namespace tarvelo
