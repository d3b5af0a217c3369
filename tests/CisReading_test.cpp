// A CIS file read in pieces, as OpenCisFile reads it from the disk, must read exactly as the
// same bytes read whole: the same lines, messages, progress, outcome and checksum.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "cis/CisFile.h"
#include "cis/CisReader.h"
#include "helpers/CisBytes.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "support/Sha256.h"

namespace tarvelo {
namespace {

using testing::CisTestHeader;
using testing::CisTestLine;
using testing::MakeCisBytes;
using testing::RecordingFrontEnd;

// A front end whose user stops the work at the `stop_at`-th question whether to stop.
class StoppingFrontEnd : public RecordingFrontEnd {
 public:
  explicit StoppingFrontEnd(int stop_at = 0) : stop_at_(stop_at) {}
  bool IsCancelled() const override { return stop_at_ > 0 && ++asked_ >= stop_at_; }

 private:
  int stop_at_;
  mutable int asked_ = 0;
};

// Everything a reading leaves behind, to compare two readings whole.
struct Reading {
  Result::Kind kind = Result::Kind::kOk;
  std::string message;
  std::vector<std::vector<int32_t>> lines;
  std::vector<uint16_t> line_words;
  int32_t corrupt = 0;
  int32_t lines_read_plus_two = 0;
  uint32_t file_length = 0;
  std::vector<std::string> messages;
  std::vector<std::string> statuses;
  std::vector<int> progress;

  bool operator==(const Reading&) const = default;
};

// What a failed comparison shows: the outcome, the counts and every message.
void PrintTo(const Reading& r, std::ostream* out) {
  *out << "kind " << static_cast<int>(r.kind) << " \"" << r.message << "\", " << r.lines.size() << " lines, "
       << r.corrupt << " corrupt, length " << r.file_length << ", " << r.progress.size() << " progress reports, "
       << r.statuses.size() << " statuses; messages:";
  for (const std::string& message : r.messages) *out << " [" << message << "]";
}

Reading Outcome(const Result& result, const CisScanData& data, const RecordingFrontEnd& ui) {
  Reading r;
  r.kind = result.kind();
  r.message = result.message();
  for (int i = 0; i < data.Lines.Size(); ++i) {
    const auto transitions = data.Lines.Transitions(i);
    r.lines.emplace_back(transitions.begin(), transitions.end());
    r.line_words.push_back(data.Lines.LineWord(i));
  }
  r.corrupt = data.Header.CorruptLineCount;
  r.lines_read_plus_two = data.Header.LinesReadPlusTwo;
  r.file_length = data.Header.FileLength;
  r.messages = ui.messages;
  r.statuses = ui.statuses;
  for (const auto& step : ui.progress) r.progress.push_back(step.position);
  return r;
}

CisScanData Named() {
  CisScanData data;
  data.Header.Names.Name = "roll";
  data.Header.Names.Extension = "cis";
  return data;
}

Reading ReadWhole(const std::string& bytes, int stop_at = 0) {
  StoppingFrontEnd ui(stop_at);
  CisScanData data = Named();
  const Result result = ReadCisFile({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, false, data, ui);
  return Outcome(result, data, ui);
}

// The same bytes taken in pieces of the sizes `pieces` gives in turn (the last size repeated).
Reading ReadInPieces(const std::string& bytes, const std::vector<size_t>& pieces, int stop_at = 0) {
  StoppingFrontEnd ui(stop_at);
  CisScanData data = Named();
  CisReading reading(bytes.size(), false, data, ui);
  const auto* all = reinterpret_cast<const uint8_t*>(bytes.data());
  for (size_t at = 0, piece = 0; at < bytes.size(); ++piece) {
    const size_t size = std::min(pieces[std::min(piece, pieces.size() - 1)], bytes.size() - at);
    reading.Take({all + at, size});
    at += size;
  }
  const Result result = reading.Finish();
  return Outcome(result, data, ui);
}

// A small roll with a damaged line and a file that ends inside its last line.
std::string SmallRoll() {
  std::vector<CisTestLine> lines;
  for (uint16_t i = 0; i < 40; ++i) lines.push_back({{10, i, static_cast<uint16_t>(90 - i)}, i});
  lines[17].runs = {60, 60};  // overruns the width
  CisTestHeader header;
  header.line_count = 41;
  return MakeCisBytes(header, lines);
}

TEST(CisReading, PiecesOfAnySizeReadAsTheWholeFile) {
  const std::string roll = SmallRoll();
  // Cut short at every byte of its last two lines, so that the file ends inside a run, between
  // a run and its line word, and inside the header.
  std::vector<std::string> files = {roll, roll.substr(0, 30), roll.substr(0, 52), roll.substr(0, 53)};
  for (size_t cut = roll.size() - 20; cut < roll.size(); ++cut) files.push_back(roll.substr(0, cut));
  for (const std::string& file : files) {
    const Reading whole = ReadWhole(file);
    for (const std::vector<size_t>& pieces :
         std::vector<std::vector<size_t>>{{1}, {3}, {2}, {51}, {53, 1}, {52, 7}, {5, 64, 1}, {file.size()}}) {
      EXPECT_EQ(ReadInPieces(file, pieces), whole) << file.size() << " bytes, first piece " << pieces[0];
    }
  }
  const Reading whole = ReadWhole(roll);
  EXPECT_EQ(whole.kind, Result::Kind::kOk);
  EXPECT_EQ(whole.corrupt, 1);
  EXPECT_EQ(whole.lines.size(), 40u);
  EXPECT_EQ(whole.messages.size(), 3u);  // the damaged line, the count of them, the early end
}

TEST(CisReading, RefusedHeaderAndStopsEndTheReadingWhereTheWholeFileWould) {
  const std::string roll = SmallRoll();
  CisTestHeader no_width;
  no_width.width = 0;
  const std::string refused = MakeCisBytes(no_width, {{{10}, 0}});
  EXPECT_EQ(ReadInPieces(refused, {7}), ReadWhole(refused));
  EXPECT_EQ(ReadWhole(refused).kind, Result::Kind::kCorrupt);
  // A stop at each of the progress reports, the last where the file ends.
  const size_t reports = ReadWhole(roll).progress.size();
  ASSERT_GT(reports, 3u);
  for (int stop_at = 1; stop_at <= static_cast<int>(reports); ++stop_at) {
    const Reading whole = ReadWhole(roll, stop_at);
    EXPECT_EQ(whole.kind, Result::Kind::kCancelled) << stop_at;
    EXPECT_EQ(ReadInPieces(roll, {3}, stop_at), whole) << stop_at;
    EXPECT_EQ(ReadInPieces(roll, {1}, stop_at), whole) << stop_at;
  }
}

// OpenCisFile reads from the disk in pieces of 256 KB: a file several pieces long, with lines
// across every piece boundary and an odd number of bytes, opens as its bytes read whole.
TEST(CisReading, FileOpenedFromDiskReadsAsItsBytes) {
  std::vector<CisTestLine> lines;
  for (int i = 0; i < 80000; ++i)
    lines.push_back(
        {{static_cast<uint16_t>(i % 7), 3, 5, static_cast<uint16_t>(1001 - i % 7)}, static_cast<uint16_t>(i)});
  CisTestHeader header;
  header.width = 1009;
  std::string roll = MakeCisBytes(header, lines) + "\x01";  // and half a word
  const testing::TempDir dir;
  const std::string path = dir.File("roll.cis");
  testing::WriteBytes(path, roll);
  ASSERT_GT(roll.size(), 3u * 256 * 1024);

  RecordingFrontEnd ui;
  CisScanData data;
  const Result opened = OpenCisFile(path, false, data, ui);
  const Reading whole = ReadWhole(roll);
  EXPECT_EQ(Outcome(opened, data, ui).lines, whole.lines);
  EXPECT_EQ(Outcome(opened, data, ui).messages, whole.messages);
  EXPECT_EQ(data.Header.FileLength, roll.size());
  EXPECT_EQ(data.Header.FileSha256, Sha256Hex(roll));
  EXPECT_TRUE(opened.ok()) << opened.message();

  // A header refused still leaves the checksum of the whole file, which the catalogue cites.
  header.line_count = 0;
  roll = MakeCisBytes(header, lines);
  testing::WriteBytes(path, roll);
  EXPECT_EQ(OpenCisFile(path, false, data, ui).kind(), Result::Kind::kCorrupt);
  EXPECT_EQ(data.Header.FileSha256, Sha256Hex(roll));
  EXPECT_TRUE(data.Lines.Empty());
}

TEST(CisReading, RealScanOpenedFromDiskReadsAsItsBytes) {
  TARVELO_REQUIRE_REAL_CIS();
  const std::string path = (testing::RealCisDir() / "stepper_bicolor.CIS").string();
  const std::string bytes = testing::ReadBytes(path);
  RecordingFrontEnd ui;
  CisScanData data;
  const Result opened = OpenCisFile(path, false, data, ui);
  ASSERT_TRUE(opened.ok()) << opened.message();
  data.Header.Names.Name = "roll";
  data.Header.Names.Extension = "cis";
  EXPECT_EQ(Outcome(opened, data, ui).lines, ReadWhole(bytes).lines);
  EXPECT_EQ(data.Header.FileSha256, Sha256Hex(bytes));
}

}  // namespace
}  // namespace tarvelo
