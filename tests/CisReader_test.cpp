#include <gtest/gtest.h>

#include <algorithm>

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
  r.data.Header.Names.Name = "roll";
  r.data.Header.Names.Extension = "cis";
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
  EXPECT_EQ(r.data.Header.LinesReadPlusTwo, 62);
  EXPECT_EQ(r.data.Lines.Line(7).Transitions(), (std::vector<int32_t>{10, 17, 100}));
  EXPECT_EQ(r.data.Lines.LineWord(59), 59);
  EXPECT_EQ(r.data.Header.Title, "Test Roll");
  EXPECT_EQ(ui.statuses.front(), "Reading CIS file ");
  ASSERT_FALSE(ui.progress.empty());
  EXPECT_EQ(ui.progress.front().colour, 1);
  EXPECT_GE(ui.progress.back().position, 96);
  EXPECT_LE(ui.progress.size(), 27u);  // every 2/50 of the file
  EXPECT_EQ(SummarizeHeader(r.data.Header).HeaderLineCount, 60);
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
    EXPECT_EQ(r.data.Header.Tempo, 100);
    EXPECT_EQ(r.data.Header.LinesPerInch, 100);
    EXPECT_EQ(r.data.Header.RawLinesPerInch, 0);
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
    EXPECT_EQ(r.data.Header.ScanWidth, 3000);
    EXPECT_TRUE(r.data.Header.TwinArray);
    EXPECT_TRUE(r.data.Header.MirrorImage);
    EXPECT_EQ(r.data.Header.ArraySeparation, 200);
    ASSERT_EQ(r.data.Lines.Size(), 1);
    EXPECT_EQ(r.data.Lines.Line(0).Transitions(), (std::vector<int32_t>{1000, 1500, 3000}));
  }
  {
    RecordingFrontEnd ui;
    const Read r = ReadBytes(file, ui, /*old_format_forced=*/true);
    EXPECT_EQ(r.data.Header.ScanWidth, 1500);
    EXPECT_FALSE(r.data.Header.TwinArray);
    EXPECT_FALSE(r.data.Header.MirrorImage);
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
    EXPECT_EQ(r.data.Header.ScanWidth, 6000);
    EXPECT_TRUE(r.data.Header.ReverseImage);
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
  EXPECT_EQ(r.data.Header.CorruptLineCount, 1);
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

TEST(CisReader, FewerOrMoreLinesThanStatedAreReadAndReported) {
  std::string file = EncodeCisHeader(Header(100, 3));
  AppendCisLine(file, {40, 60}, 0);
  AppendCisLine(file, {40, 60}, 0);
  file += std::string("\x28\x00\x3c", 3);  // a run, then half a word
  {
    RecordingFrontEnd ui;
    const Read r = ReadBytes(file, ui);
    EXPECT_TRUE(r.result.ok());  // what was read is still converted
    EXPECT_EQ(r.data.Lines.Size(), 2);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"The file ends after 2 of 3 scan lines"});
    EXPECT_EQ(ui.kinds, std::vector<MessageKind>{MessageKind::kWarning});
  }
  {
    // A line whose closing word is missing is dropped too.
    RecordingFrontEnd ui;
    std::string no_word = EncodeCisHeader(Header(100, 1));
    no_word += std::string("\x64\x00", 2);
    EXPECT_EQ(ReadBytes(no_word, ui).data.Lines.Size(), 0);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"The file ends after 0 of 1 scan lines"});
  }
  {
    // A file longer than its header says is read to its end.
    RecordingFrontEnd ui;
    std::string longer = EncodeCisHeader(Header(100, 1));
    AppendCisLine(longer, {100}, 0);
    AppendCisLine(longer, {100}, 0);
    EXPECT_EQ(ReadBytes(longer, ui).data.Lines.Size(), 2);
    ASSERT_EQ(ui.kinds, std::vector<MessageKind>{MessageKind::kWarning});
    EXPECT_NE(ui.messages[0].find("2 scan lines, more than the 1"), std::string::npos) << ui.messages[0];
  }
}

TEST(CisReader, HugeStatedLineCountDoesNotReserveBeyondTheFile) {
  RecordingFrontEnd ui;
  std::string file = EncodeCisHeader(Header(100, 2000000000));
  AppendCisLine(file, {100}, 0);
  const Read r = ReadBytes(file, ui);
  EXPECT_EQ(r.data.Lines.Size(), 1);
  EXPECT_LT(r.data.Lines.MemoryBytes(), 1000u);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"The file ends after 1 of 2000000000 scan lines"});
}

TEST(CisReader, TitleStopsAtZeroByteAndIsTrimmed) {
  RecordingFrontEnd ui;
  auto h = Header(10, 1);
  h.title = "  " + std::string(28, 'T') + "\t ";
  std::string file = EncodeCisHeader(h);
  AppendCisLine(file, {10}, 0);
  EXPECT_EQ(ReadBytes(file, ui).data.Header.Title, std::string(28, 'T'));
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
    EXPECT_EQ(r.data.Header.ScanWidth, f.width) << f.name;
    EXPECT_EQ(r.data.Lines.Size(), f.lines) << f.name;
    EXPECT_EQ(r.data.Header.HeaderLineCount, f.lines) << f.name;
    EXPECT_TRUE(ui.messages.empty()) << f.name;
    // Every line of a sound file ends exactly at the scan width.
    for (int i = 0; i < r.data.Lines.Size(); i += 997) EXPECT_EQ(r.data.Lines.Transitions(i).back(), f.width);
  }
  RecordingFrontEnd ui;
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile((testing::RealCisDir() / "broken_data.CIS").string(), bytes).ok());
  EXPECT_EQ(ReadBytes(bytes, ui).result.kind(), Result::Kind::kCorrupt);
}

// Copies of a real scan cut inside its body, as an interrupted copy leaves them: each reads the
// whole lines before the cut and says how far the file got.
TEST(CisReader, RealScanCutShortReportsHowFarItGot) {
  TARVELO_REQUIRE_REAL_CIS();
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile((testing::RealCisDir() / "stepper_twin.CIS").string(), bytes).ok());
  RecordingFrontEnd whole_ui;
  const Read whole = ReadBytes(bytes, whole_ui);
  ASSERT_EQ(whole.data.Lines.Size(), 63661);
  for (const size_t cut : {size_t{52}, size_t{4000}, size_t{105620}, bytes.size() / 2, bytes.size() - 1}) {
    RecordingFrontEnd ui;
    const Read r = ReadBytes(bytes.substr(0, cut), ui);
    EXPECT_TRUE(r.result.ok()) << cut;
    const int read = r.data.Lines.Size();
    EXPECT_LT(read, 63661) << cut;
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"The file ends after " + std::to_string(read) + " of 63661 scan lines"})
        << cut;
    EXPECT_EQ(ui.kinds, std::vector<MessageKind>{MessageKind::kWarning}) << cut;
    // The lines before the cut are the file's own lines.
    if (read > 0) {
      EXPECT_TRUE(std::ranges::equal(r.data.Lines.Transitions(read - 1), whole.data.Lines.Transitions(read - 1)));
    }
  }
}

// Damaged header fields that make a real scan read as far fewer lines: a huge line count, every
// type bit set (four times the width), the twin bit with an extreme separation.
TEST(CisReader, RealScanWithDamagedHeaderIsReported) {
  TARVELO_REQUIRE_REAL_CIS();
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile((testing::RealCisDir() / "stepper_single.CIS").string(), bytes).ok());
  auto damaged = [&bytes](size_t offset, std::string_view replacement) {
    std::string copy = bytes;
    copy.replace(offset, replacement.size(), replacement);
    return copy;
  };
  const struct {
    const char* what;
    std::string bytes;
    int32_t stated;
  } cases[] = {
      {"line count 0x7FFFFFFF", damaged(48, std::string("\xFF\xFF\xFF\x7F", 4)), 0x7FFFFFFF},
      {"type byte 0xFF", damaged(34, "\xFF"), 59425},
      {"twin bit, separation 32767", damaged(34, std::string("\x24\x00\xFF\x7F", 4)), 59425},
      {"twin bit, separation -32767", damaged(34, std::string("\x24\x00\x01\x80", 4)), 59425},
  };
  for (const auto& c : cases) {
    RecordingFrontEnd ui;
    const Read r = ReadBytes(c.bytes, ui);
    EXPECT_TRUE(r.result.ok()) << c.what;
    EXPECT_LE(r.data.Lines.Size(), 59425) << c.what;
    const std::string expected = "The file ends after " + std::to_string(r.data.Lines.Size()) + " of " +
                                 std::to_string(c.stated) + " scan lines";
    EXPECT_NE(std::find(ui.messages.begin(), ui.messages.end(), expected), ui.messages.end()) << c.what;
    EXPECT_EQ(ui.CountOf(MessageKind::kError), 0) << c.what;
  }
}

}  // namespace
}  // namespace tarvelo
