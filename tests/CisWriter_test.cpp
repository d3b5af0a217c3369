#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "cis/CisHeaderEdit.h"
#include "cis/CisReader.h"
#include "cis/CisWriter.h"
#include "document/TarveloDoc.h"
#include "helpers/CisBytes.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using testing::CisTestHeader;
using testing::CisTestLine;
using testing::MakeCisBytes;
using testing::ReadBytes;
using testing::RecordingFrontEnd;
using testing::TempDir;
using testing::WriteBytes;

// Reads bytes as the document does (the copies of the values as read included).
Result Read(const std::string& bytes, CisScanData& data, bool old_format_forced = false) {
  RecordingFrontEnd reporter;
  Result result =
      ReadCisFile({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, old_format_forced, data, reporter);
  data.KeepAsRead();
  return result;
}

// The title area as the writer fills it: the trimmed title, blank padded to 32 bytes.
std::string TitleArea(const std::string& title) {
  std::string area = title.substr(0, 32);
  area.resize(32, ' ');
  return area;
}

// `dropped_tail`: the file was read at a width its records do not follow, so its last
// record may be cut short by the end of the file and is not saved.
void ExpectSavedUnchanged(const std::string& original, bool old_format_forced, const std::string& what,
                          bool dropped_tail = false) {
  CisScanData data;
  ASSERT_TRUE(Read(original, data, old_format_forced).ok()) << what;
  std::string saved;
  const Result encoded = EncodeCisFile(data, saved);
  ASSERT_TRUE(encoded.ok()) << what << ": " << encoded.message();
  if (dropped_tail) {
    ASSERT_LE(saved.size(), original.size()) << what;
    ASSERT_LE(original.size() - saved.size(), 2u * static_cast<size_t>(data.Header.ScanWidth) + 2) << what;
    EXPECT_TRUE(original.compare(32, saved.size() - 32, saved, 32, std::string::npos) == 0)
        << what << ": bytes after the title area differ";
    return;
  }
  ASSERT_EQ(saved.size(), original.size()) << what;
  EXPECT_EQ(saved.substr(0, 32), TitleArea(data.Header.Title)) << what;
  EXPECT_TRUE(saved.compare(32, std::string::npos, original, 32, std::string::npos) == 0)
      << what << ": bytes after the title area differ";
}

TEST(CisWriter, RealFilesSaveUnchangedButForTheTitleArea) {
  TARVELO_REQUIRE_REAL_CIS();
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(testing::RealCisDir())) {
    if (entry.path().extension() != ".CIS" && entry.path().extension() != ".cis") continue;
    const std::string original = ReadBytes(entry.path().string());
    CisScanData data;
    if (Read(original, data).kind() == Result::Kind::kCorrupt) {
      // A refused header: nothing was read, so nothing may be saved.
      std::string saved;
      EXPECT_EQ(EncodeCisFile(data, saved).kind(), Result::Kind::kInvalid) << entry.path();
      continue;
    }
    ExpectSavedUnchanged(original, false, entry.path().string());
    // Read with the old format forced, the records split elsewhere but save back the same.
    ExpectSavedUnchanged(original, true, entry.path().string() + " (old format)", true);
    ++files;
  }
  EXPECT_GT(files, 0);
}

TEST(CisWriter, HandMadeFilesSaveUnchanged) {
  CisTestHeader header;
  header.title = "Short";
  header.width = 10;
  header.type_byte = 0x22;  // twin array: lines of 20
  header.separation = 200;
  header.changeover = 7;
  // A first run of 0, a line word with the encoder bit, a line that overruns the width.
  const std::vector<CisTestLine> lines = {{{0, 5, 15}, 0x0080}, {{20}, 1}, {{12, 13}, 2}, {{19, 1}, 3}};
  ExpectSavedUnchanged(MakeCisBytes(header, lines), false, "twin array");

  header.type_byte = 0x62;  // both bits: lines of 40
  ExpectSavedUnchanged(MakeCisBytes(header, {{{40}, 0}, {{1, 39}, 0}}), false, "both bits");

  // A 40-byte title with no zero byte (old format): the area is rewritten, 32..39 kept.
  header.title = std::string(40, 'T');
  CisScanData data;
  const std::string original = MakeCisBytes(header, {{{10}, 0}});
  ASSERT_TRUE(Read(original, data, /*old_format_forced=*/true).ok());
  EXPECT_EQ(data.Header.Title, header.title);
  std::string saved;
  ASSERT_TRUE(EncodeCisFile(data, saved).ok());
  EXPECT_EQ(saved, original);
}

TEST(CisWriter, LinesThatWouldReadBackDifferentlyAreRefused) {
  CisTestHeader header;
  header.width = 10;
  CisScanData data;
  ASSERT_TRUE(Read(MakeCisBytes(header, {{{10}, 0}}), data).ok());
  const auto refused = [&](std::vector<int32_t> transitions) {
    CisScanData copy = data;
    copy.LinesAsRead.AppendLine(transitions, 0);
    std::string bytes;
    const Result encoded = EncodeCisFile(copy, bytes);
    if (!encoded.ok()) {
      EXPECT_EQ(encoded.kind(), Result::Kind::kInvalid);
      EXPECT_NE(encoded.message().find("line 1"), std::string::npos) << encoded.message();
    }
    return !encoded.ok();
  };
  EXPECT_TRUE(refused({}));           // no run at all
  EXPECT_TRUE(refused({4}));          // ends short of the width
  EXPECT_TRUE(refused({10, 10}));     // the record would end at the first
  EXPECT_TRUE(refused({6, 3, 10}));   // a run below zero
  EXPECT_TRUE(refused({70000}));      // a run longer than 16 bits
  EXPECT_FALSE(refused({0, 0, 10}));  // zero-length runs are fine
}

TEST(CisWriter, DualFileSavesLinesAndWidthAsReadAfterAPipelineRun) {
  TempDir dir;
  CisTestHeader header;
  header.width = 10;
  header.type_byte = 0x20;
  const std::string original = MakeCisBytes(header, {{{5, 15}, 0}, {{20}, 0}});
  WriteBytes(dir.File("dual.cis"), original);
  RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  ASSERT_TRUE(doc.Load(dir.File("dual.cis"), ui.settings).ok());
  // What a merge of the two arrays does to the working lines.
  CisScanData& scan = doc.ScanData();
  scan.Lines.Clear();
  scan.Lines.AppendLine(std::vector<int32_t>{3, 17}, 0);
  scan.Run.ScanWidth = 17;
  scan.Run.TwinArray = false;
  const Result written = WriteCisFile(scan, dir.File("saved.cis"));
  ASSERT_TRUE(written.ok()) << written.message();
  const std::string saved = ReadBytes(dir.File("saved.cis"));
  EXPECT_EQ(saved.substr(32), original.substr(32));
}

class CisHeaderEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    CisTestHeader header;
    header.title = "Original Title";
    header.width = 10;
    header.tempo = 90;
    header.lines_per_inch = 200;
    original = MakeCisBytes(header, {{{3, 10}, 0}, {{10}, 0x80}});
    path = dir.File("roll.CIS");
    WriteBytes(path, original);
  }
  CisScanData ReadBack(const std::string& file) {
    CisScanData data;
    Read(ReadBytes(file), data).Ignore();
    return data;
  }
  // Edits `file`; the notes go to `notes`.
  Result Edit(const std::string& file, const CisHeaderEdit& edit, const std::string& output) {
    notes.clear();
    return EditCisHeader(file, edit, output, false, ui, notes);
  }
  TempDir dir;
  RecordingFrontEnd ui;
  std::vector<std::string> notes;
  std::string original;
  std::string path;
};

TEST_F(CisHeaderEditing, LongTitleKeepsItsFirst32BytesAndTheRestOfTheFile) {
  const std::string forty = "0123456789abcdefghijABCDEFGHIJ!?klmnopqr";
  const Result result = Edit(path, {forty, {}, {}}, dir.File("out.cis"));
  ASSERT_TRUE(result.ok()) << result.message();
  ASSERT_EQ(notes.size(), 1u);
  const std::string saved = ReadBytes(dir.File("out.cis"));
  EXPECT_EQ(saved.substr(0, 32), forty.substr(0, 32));
  EXPECT_EQ(saved.substr(32), original.substr(32));
  EXPECT_EQ(ReadBack(dir.File("out.cis")).Header.Title, forty.substr(0, 32));
  EXPECT_EQ(ReadBytes(path), original);  // the input is untouched
}

TEST_F(CisHeaderEditing, ShortTitleIsBlankPaddedAndReadsBackTrimmed) {
  ASSERT_TRUE(Edit(path, {"Waltz", {}, {}}, "").ok());
  EXPECT_TRUE(notes.empty());
  const std::string saved = ReadBytes(path);  // replaced in place
  EXPECT_EQ(saved.substr(0, 32), "Waltz" + std::string(27, ' '));
  EXPECT_EQ(ReadBack(path).Header.Title, "Waltz");
  // Only the file itself remains in the folder: no temporary file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator{}), 1);
}

TEST_F(CisHeaderEditing, TempoLosesItsFractionAndZeroLinesPerInchIsSavedAs100) {
  ASSERT_TRUE(Edit(path, {{}, 72.9, 0}, dir.File("out.cis")).ok());
  const std::string saved = ReadBytes(dir.File("out.cis"));
  EXPECT_EQ(saved.substr(44, 4), std::string("\x48\x00\x64\x00", 4));
  EXPECT_EQ(saved.substr(48), original.substr(48));
}

TEST_F(CisHeaderEditing, ValuesOutsideTheDialogRangesWriteNothing) {
  const std::vector<CisHeaderEdit> edits = {
      {std::string(51, 'x'), {}, {}}, {{}, 10000.5, {}}, {{}, -1.0, {}},
      {{}, std::nan(""), {}},         {{}, {}, -1},      {{}, {}, 40000},  // beyond the 16-bit field of the file
  };
  for (const CisHeaderEdit& edit : edits) {
    const Result result = Edit(path, edit, "");
    EXPECT_EQ(result.kind(), Result::Kind::kInvalid);
    EXPECT_FALSE(result.message().empty());
  }
  // The first field refused is the one named.
  EXPECT_NE(Edit(path, {std::string(51, 'x'), -1.0, {}}, "").message().find("Title"), std::string::npos);
  EXPECT_TRUE(Edit(path, {std::string(50, 'x'), 10000.0, 32767}, dir.File("edge.cis")).ok());
  EXPECT_EQ(ReadBytes(path), original);
}

TEST_F(CisHeaderEditing, RefusedUnreadableOrUnwritableFilesChangeNothing) {
  CisTestHeader refused;
  refused.width = 0;
  const std::string zero_width = MakeCisBytes(refused, {{{10}, 0}});
  WriteBytes(dir.File("zero.cis"), zero_width);
  Result result = Edit(dir.File("zero.cis"), {"New", {}, {}}, "");
  EXPECT_EQ(result.kind(), Result::Kind::kCorrupt);
  EXPECT_NE(result.message().find("Invalid Scanner Width"), std::string::npos);
  EXPECT_EQ(ui.kinds, std::vector<MessageKind>{MessageKind::kError});  // the refused header
  EXPECT_EQ(ReadBytes(dir.File("zero.cis")), zero_width);

  WriteBytes(dir.File("short.cis"), "tiny");
  EXPECT_EQ(Edit(dir.File("short.cis"), {}, "").kind(), Result::Kind::kCorrupt);
  EXPECT_EQ(Edit(dir.File("missing.cis"), {}, "").kind(), Result::Kind::kNotFound);
  EXPECT_EQ(Edit(dir.File("roll.txt"), {}, "").kind(), Result::Kind::kInvalid);
  EXPECT_EQ(ReadBytes(dir.File("short.cis")), "tiny");

  // Stopped while reading: the part read is never saved over the file.
  ui.cancelled = true;
  EXPECT_EQ(Edit(path, {"New", {}, {}}, "").kind(), Result::Kind::kCancelled);
  ui.cancelled = false;
  EXPECT_EQ(ReadBytes(path), original);

  const std::string target = dir.File("no-folder/out.cis");
  result = Edit(path, {"New", {}, {}}, target);
  EXPECT_EQ(result.kind(), Result::Kind::kIoError);
  EXPECT_NE(result.message().find(target), std::string::npos);
  EXPECT_EQ(ReadBytes(path), original);
}

TEST_F(CisHeaderEditing, NotesTellWhatTheSavedFileChanges) {
  CisTestHeader header;
  header.width = 10;
  header.tempo = 5;           // corrected to 100 on reading
  header.lines_per_inch = 0;  // corrected to 100 on reading
  std::string bytes = MakeCisBytes(header, {{{10}, 0}});
  bytes += std::string("\x03\x00\x04", 3);  // a record cut short, and an odd byte
  WriteBytes(dir.File("odd.cis"), bytes);
  ASSERT_TRUE(Edit(dir.File("odd.cis"), {}, dir.File("out.cis")).ok());
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_NE(notes[0].find("tempo 5"), std::string::npos);
  EXPECT_NE(notes[1].find("lines per inch 0"), std::string::npos);
  EXPECT_NE(notes[2].find("3 byte(s)"), std::string::npos);
}

}  // namespace
}  // namespace tarvelo
