#include <gtest/gtest.h>

#include "SyntheticRoll.h"
#include "cis/CisReader.h"
#include "cis/HeaderSummary.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "support/AtomicFile.h"

namespace tarvelo {
namespace {

using synth::AppendCisLine;
using synth::CisHeaderFields;
using synth::EncodeCisHeader;
using testing::RecordingFrontEnd;

struct Read {
  Result result;
  CisScanData data;
};

Read ReadBytes(const std::string& bytes, RecordingFrontEnd& ui, bool old_format_forced = false) {
  Read r;
  r.data.FileName = "roll";
  r.data.FileExtension = "cis";
  r.result = ReadCisFile({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, old_format_forced, r.data, ui);
  return r;
}

CisHeaderFields Header(int16_t width, int32_t lines) {
  CisHeaderFields h;
  h.title = "Test Roll";
  h.width = width;
  h.line_count = lines;
  return h;
}

TEST(CisReader, WellFormedFileReadsEveryLineWithoutMessages) {
  RecordingFrontEnd ui;
  std::string file = EncodeCisHeader(Header(100, 60));
  for (int i = 0; i < 60; ++i)
    AppendCisLine(file, {10, static_cast<uint32_t>(i), 90 - static_cast<uint32_t>(i)}, static_cast<uint16_t>(i));
  const Read r = ReadBytes(file, ui);
  ASSERT_TRUE(r.result.ok()) << r.result.message();
  EXPECT_TRUE(ui.messages.empty());
  ASSERT_EQ(r.data.Lines.Size(), 60);
  EXPECT_EQ(r.data.LinesReadPlusTwo, 62);
  EXPECT_EQ(r.data.Lines.Line(7).Transitions(), (std::vector<int32_t>{10, 17, 100}));
  EXPECT_EQ(r.data.Lines.LineWord(59), 59);
  EXPECT_EQ(r.data.Title, "Test Roll");
  EXPECT_EQ(ui.statuses.front(), "Reading CIS file ");
  ASSERT_FALSE(ui.progress.empty());
  EXPECT_EQ(ui.progress.front().colour, 1);
  EXPECT_GE(ui.progress.back().position, 96);
  EXPECT_LE(ui.progress.size(), 27u);  // every 2/50 of the file
  EXPECT_EQ(SummarizeHeader(r.data).HeaderLineCount, 60);
}

TEST(CisReader, HeaderCorrections) {
  RecordingFrontEnd ui;
  for (int16_t tempo : {5, 600}) {
    auto h = Header(10, 1);
    h.tempo = tempo;
    h.lines_per_inch = 0;
    std::string file = EncodeCisHeader(h);
    AppendCisLine(file, {10}, 0);
    const Read r = ReadBytes(file, ui);
    EXPECT_EQ(r.data.Tempo, 100);
    EXPECT_EQ(r.data.LinesPerInch, 100);
    EXPECT_EQ(r.data.RawLinesPerInch, 0);
  }
}

TEST(CisReader, TypeBitsDoubleTheWidthUnlessTheOldFormatIsForced) {
  auto h = Header(1500, 1);
  h.type_byte = 0x20;
  h.separation = 200;
  h.encoder_byte = 0x10;
  std::string file = EncodeCisHeader(h);
  AppendCisLine(file, {1000, 500, 1500}, 0);
  {
    RecordingFrontEnd ui;
    const Read r = ReadBytes(file, ui);
    EXPECT_EQ(r.data.ScanWidth, 3000);
    EXPECT_TRUE(r.data.TwinArray);
    EXPECT_TRUE(r.data.MirrorImage);
    EXPECT_EQ(r.data.ArraySeparation, 200);
    ASSERT_EQ(r.data.Lines.Size(), 1);
    EXPECT_EQ(r.data.Lines.Line(0).Transitions(), (std::vector<int32_t>{1000, 1500, 3000}));
  }
  {
    RecordingFrontEnd ui;
    const Read r = ReadBytes(file, ui, /*old_format_forced=*/true);
    EXPECT_EQ(r.data.ScanWidth, 1500);
    EXPECT_FALSE(r.data.TwinArray);
    EXPECT_FALSE(r.data.MirrorImage);
    // The same bytes now close a line at 1500, whose line word is the next run.
    ASSERT_EQ(r.data.Lines.Size(), 1);
    EXPECT_EQ(r.data.Lines.Line(0).Transitions(), (std::vector<int32_t>{1000, 1500}));
    EXPECT_EQ(r.data.Lines.LineWord(0), 1500);
  }
  {
    h.type_byte = 0x60;
    std::string both = EncodeCisHeader(h);
    AppendCisLine(both, {6000}, 0);
    RecordingFrontEnd ui;
    const Read r = ReadBytes(both, ui);
    EXPECT_EQ(r.data.ScanWidth, 6000);
    EXPECT_TRUE(r.data.ReverseImage);
    EXPECT_EQ(r.data.Lines.Size(), 1);
  }
}

TEST(CisReader, OverrunningLineIsReportedAndKept) {
  RecordingFrontEnd ui;
  std::string file = EncodeCisHeader(Header(100, 3));
  AppendCisLine(file, {100}, 0);
  AppendCisLine(file, {50, 55}, 0);  // 105: overruns by 5
  AppendCisLine(file, {0, 100}, 0);
  const Read r = ReadBytes(file, ui);
  ASSERT_EQ(r.data.Lines.Size(), 3);
  EXPECT_EQ(r.data.Lines.Line(1).Transitions(), (std::vector<int32_t>{50, 105}));
  EXPECT_EQ(r.data.Lines.Line(2).Transitions(), (std::vector<int32_t>{0, 100}));
  EXPECT_EQ(r.data.CorruptLineCount, 1);
  EXPECT_TRUE(r.result.ok());  // damaged lines are warnings: the file is still converted
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.kinds, (std::vector<MessageKind>{MessageKind::kWarning, MessageKind::kWarning}));
  EXPECT_EQ(ui.messages[0],
            "\n *** File : roll.cis\n *** Invalid Scan Line Data In File - width exceeded *** \n\n WidthCounter = 105"
            "\n Sensor Width  = 100\n First Error Occurred At Line  = 1\n First Error At File Byte Number  = 58");
  EXPECT_EQ(ui.messages[1],
            " *** Invalid Scan Line Data In File  *** \n\n *** File : roll.cis\n Total number of corrupt lines = 1"
            "\n Lines read from file  = 3");
}

TEST(CisReader, TruncatedRecordIsDroppedQuietly) {
  RecordingFrontEnd ui;
  std::string file = EncodeCisHeader(Header(100, 3));
  AppendCisLine(file, {40, 60}, 0);
  AppendCisLine(file, {40, 60}, 0);
  file += std::string("\x28\x00\x3c", 3);  // a run, then half a word
  const Read r = ReadBytes(file, ui);
  EXPECT_EQ(r.data.Lines.Size(), 2);
  EXPECT_TRUE(ui.messages.empty());
  // A line whose closing word is missing is dropped too.
  std::string no_word = EncodeCisHeader(Header(100, 1));
  no_word += std::string("\x64\x00", 2);
  EXPECT_EQ(ReadBytes(no_word, ui).data.Lines.Size(), 0);
}

TEST(CisReader, HugeStatedLineCountDoesNotReserveBeyondTheFile) {
  RecordingFrontEnd ui;
  std::string file = EncodeCisHeader(Header(100, 2000000000));
  AppendCisLine(file, {100}, 0);
  const Read r = ReadBytes(file, ui);
  EXPECT_EQ(r.data.Lines.Size(), 1);
  EXPECT_LT(r.data.Lines.MemoryBytes(), 1000u);
}

TEST(CisReader, TitleStopsAtZeroByteAndIsTrimmed) {
  RecordingFrontEnd ui;
  auto h = Header(10, 1);
  h.title = "  " + std::string(28, 'T') + "\t ";
  std::string file = EncodeCisHeader(h);
  AppendCisLine(file, {10}, 0);
  EXPECT_EQ(ReadBytes(file, ui).data.Title, std::string(28, 'T'));
}

TEST(CisReader, RefusedHeadersAndShortFiles) {
  RecordingFrontEnd ui;
  std::string zero_width = EncodeCisHeader(Header(0, 5));
  AppendCisLine(zero_width, {10}, 0);
  Read r = ReadBytes(zero_width, ui);
  EXPECT_EQ(r.result.kind(), Result::Kind::kCorrupt);
  EXPECT_EQ(r.result.message(), "*** Invalid Scanner Width in File *** ");
  EXPECT_EQ(ui.messages.back(), "*** Invalid Scanner Width in File *** ");
  EXPECT_EQ(ui.kinds.back(), MessageKind::kError);
  EXPECT_TRUE(r.data.Lines.Empty());

  r = ReadBytes(EncodeCisHeader(Header(100, 0)), ui);
  EXPECT_EQ(r.result.kind(), Result::Kind::kCorrupt);
  EXPECT_EQ(r.result.message(), "*** Invalid Scan Line Count in File *** ");
  EXPECT_EQ(ui.CountOf(MessageKind::kError), 2);

  r = ReadBytes(std::string(51, '\x01'), ui);
  EXPECT_EQ(r.result.kind(), Result::Kind::kCorrupt);
  EXPECT_NE(r.result.message().find("too short"), std::string::npos);
}

TEST(CisReader, RealScansReadTheirHeaderLineCounts) {
  TARVELO_REQUIRE_REAL_CIS();
  const struct {
    const char* name;
    int width;
    int lines;
  } files[] = {{"stepper_single.CIS", 2432, 59425},
               {"stepper_twin.CIS", 5200, 63661},
               {"stepper_bicolor.CIS", 7296, 116858},
               {"clocked_single.CIS", 3648, 34128},
               {"no_encoder_signal.CIS", 3648, 86514}};
  for (const auto& f : files) {
    RecordingFrontEnd ui;
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile((testing::RealCisDir() / f.name).string(), bytes).ok());
    const Read r = ReadBytes(bytes, ui);
    EXPECT_EQ(r.data.ScanWidth, f.width) << f.name;
    EXPECT_EQ(r.data.Lines.Size(), f.lines) << f.name;
    EXPECT_EQ(r.data.HeaderLineCount, f.lines) << f.name;
    EXPECT_TRUE(ui.messages.empty()) << f.name;
    // Every line of a sound file ends exactly at the scan width.
    for (int i = 0; i < r.data.Lines.Size(); i += 997) EXPECT_EQ(r.data.Lines.Transitions(i).back(), f.width);
  }
  RecordingFrontEnd ui;
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile((testing::RealCisDir() / "broken_data.CIS").string(), bytes).ok());
  EXPECT_EQ(ReadBytes(bytes, ui).result.kind(), Result::Kind::kCorrupt);
}

}  // namespace
}  // namespace tarvelo
