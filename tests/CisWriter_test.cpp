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
#include "helpers/RecordingUi.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using testing::CisTestHeader;
using testing::CisTestLine;
using testing::MakeCisBytes;
using testing::ReadBytes;
using testing::RecordingUi;
using testing::TempDir;
using testing::WriteBytes;

// Reads bytes as the document does (the copies of the values as read included).
CisReadResult Read(const std::string& bytes, CisScanData& data, RecordingUi& ui) {
  std::string error;
  const CisReadResult result =
      ReadCisFile({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, data, ui, error);
  data.LinesAsRead = data.Lines;
  data.SavedScanWidth = data.ScanWidth;
  data.SavedTwinArray = data.TwinArray;
  data.SavedReverseImage = data.ReverseImage;
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
void ExpectSavedUnchanged(const std::string& original, RecordingUi& ui, const std::string& what,
                          bool dropped_tail = false) {
  CisScanData data;
  ASSERT_EQ(Read(original, data, ui), CisReadResult::kRead) << what;
  std::string saved, error;
  ASSERT_TRUE(EncodeCisFile(data, saved, error)) << what << ": " << error;
  if (dropped_tail) {
    ASSERT_LE(saved.size(), original.size()) << what;
    ASSERT_LE(original.size() - saved.size(), 2u * static_cast<size_t>(data.ScanWidth) + 2) << what;
    EXPECT_TRUE(original.compare(32, saved.size() - 32, saved, 32, std::string::npos) == 0)
        << what << ": bytes after the title area differ";
    return;
  }
  ASSERT_EQ(saved.size(), original.size()) << what;
  EXPECT_EQ(saved.substr(0, 32), TitleArea(data.Title)) << what;
  EXPECT_TRUE(saved.compare(32, std::string::npos, original, 32, std::string::npos) == 0)
      << what << ": bytes after the title area differ";
}

TEST(CisWriter, RealFilesSaveUnchangedButForTheTitleArea) {
  TARVELO_REQUIRE_REAL_CIS();
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(testing::RealCisDir())) {
    if (entry.path().extension() != ".CIS" && entry.path().extension() != ".cis") continue;
    const std::string original = ReadBytes(entry.path().string());
    RecordingUi ui;
    CisScanData data;
    if (Read(original, data, ui) == CisReadResult::kRefused) {
      // A refused header: nothing was read, so nothing may be saved.
      std::string saved, error;
      EXPECT_FALSE(EncodeCisFile(data, saved, error)) << entry.path();
      continue;
    }
    ExpectSavedUnchanged(original, ui, entry.path().string());
    // Read with the old format forced, the records split elsewhere but save back the same.
    RecordingUi old_format;
    old_format.Store().WriteProfileInt("Scanner Settings", "ForceOldCisFormat0", 1);
    old_format.ReloadSettings();
    ExpectSavedUnchanged(original, old_format, entry.path().string() + " (old format)", true);
    ++files;
  }
  EXPECT_GT(files, 0);
}

TEST(CisWriter, HandMadeFilesSaveUnchanged) {
  RecordingUi ui;
  CisTestHeader header;
  header.title = "Short";
  header.width = 10;
  header.type_byte = 0x22;  // twin array: lines of 20
  header.separation = 200;
  header.changeover = 7;
  // A first run of 0, a line word with the encoder bit, a line that overruns the width.
  const std::vector<CisTestLine> lines = {{{0, 5, 15}, 0x0080}, {{20}, 1}, {{12, 13}, 2}, {{19, 1}, 3}};
  ExpectSavedUnchanged(MakeCisBytes(header, lines), ui, "twin array");

  header.type_byte = 0x62;  // both bits: lines of 40
  ExpectSavedUnchanged(MakeCisBytes(header, {{{40}, 0}, {{1, 39}, 0}}), ui, "both bits");

  // A 40-byte title with no zero byte (old format): the area is rewritten, 32..39 kept.
  RecordingUi old_format;
  old_format.Store().WriteProfileInt("Scanner Settings", "ForceOldCisFormat0", 1);
  old_format.ReloadSettings();
  header.title = std::string(40, 'T');
  CisScanData data;
  const std::string original = MakeCisBytes(header, {{{10}, 0}});
  ASSERT_EQ(Read(original, data, old_format), CisReadResult::kRead);
  EXPECT_EQ(data.Title, header.title);
  std::string saved, error;
  ASSERT_TRUE(EncodeCisFile(data, saved, error));
  EXPECT_EQ(saved, original);
}

TEST(CisWriter, LinesThatWouldReadBackDifferentlyAreRefused) {
  RecordingUi ui;
  CisTestHeader header;
  header.width = 10;
  CisScanData data;
  ASSERT_EQ(Read(MakeCisBytes(header, {{{10}, 0}}), data, ui), CisReadResult::kRead);
  const auto refused = [&](std::vector<int32_t> transitions) {
    CisScanData copy = data;
    copy.LinesAsRead.AppendLine(transitions, 0);
    std::string bytes, error;
    const bool ok = EncodeCisFile(copy, bytes, error);
    if (!ok) {
      EXPECT_NE(error.find("line 1"), std::string::npos) << error;
    }
    return !ok;
  };
  EXPECT_TRUE(refused({}));                  // no run at all
  EXPECT_TRUE(refused({4}));                 // ends short of the width
  EXPECT_TRUE(refused({10, 10}));            // the record would end at the first
  EXPECT_TRUE(refused({6, 3, 10}));          // a run below zero
  EXPECT_TRUE(refused({70000}));             // a run longer than 16 bits
  EXPECT_FALSE(refused({0, 0, 10}));         // zero-length runs are fine
}

TEST(CisWriter, DualFileSavesLinesAndWidthAsReadAfterAPipelineRun) {
  TempDir dir;
  CisTestHeader header;
  header.width = 10;
  header.type_byte = 0x20;
  const std::string original = MakeCisBytes(header, {{{5, 15}, 0}, {{20}, 0}});
  WriteBytes(dir.File("dual.cis"), original);
  RecordingUi ui;
  TarveloDoc doc(ui);
  ASSERT_EQ(doc.Load(dir.File("dual.cis")), LoadStatus::kLoaded);
  // What a merge of the two arrays does to the working lines.
  CisScanData& scan = doc.ScanData();
  scan.Lines.Clear();
  scan.Lines.AppendLine(std::vector<int32_t>{3, 17}, 0);
  scan.ScanWidth = 17;
  scan.TwinArray = false;
  std::string error;
  ASSERT_TRUE(WriteCisFile(scan, dir.File("saved.cis"), error)) << error;
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
    Read(ReadBytes(file), data, ui);
    return data;
  }
  TempDir dir;
  RecordingUi ui;
  std::string original;
  std::string path;
};

TEST_F(CisHeaderEditing, LongTitleKeepsItsFirst32BytesAndTheRestOfTheFile) {
  const std::string forty = "0123456789abcdefghijABCDEFGHIJ!?klmnopqr";
  const CisEditResult result = EditCisHeader(path, {forty, {}, {}}, dir.File("out.cis"), ui);
  ASSERT_TRUE(result.Written) << (result.Problems.empty() ? "" : result.Problems[0]);
  ASSERT_EQ(result.Notes.size(), 1u);
  const std::string saved = ReadBytes(dir.File("out.cis"));
  EXPECT_EQ(saved.substr(0, 32), forty.substr(0, 32));
  EXPECT_EQ(saved.substr(32), original.substr(32));
  EXPECT_EQ(ReadBack(dir.File("out.cis")).Title, forty.substr(0, 32));
  EXPECT_EQ(ReadBytes(path), original);  // the input is untouched
}

TEST_F(CisHeaderEditing, ShortTitleIsBlankPaddedAndReadsBackTrimmed) {
  const CisEditResult result = EditCisHeader(path, {"Waltz", {}, {}}, "", ui);
  ASSERT_TRUE(result.Written);
  EXPECT_TRUE(result.Notes.empty());
  const std::string saved = ReadBytes(path);  // replaced in place
  EXPECT_EQ(saved.substr(0, 32), "Waltz" + std::string(27, ' '));
  EXPECT_EQ(ReadBack(path).Title, "Waltz");
  // Only the file itself remains in the folder: no temporary file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator{}), 1);
}

TEST_F(CisHeaderEditing, TempoLosesItsFractionAndZeroLinesPerInchIsSavedAs100) {
  ASSERT_TRUE(EditCisHeader(path, {{}, 72.9, 0}, dir.File("out.cis"), ui).Written);
  const std::string saved = ReadBytes(dir.File("out.cis"));
  EXPECT_EQ(saved.substr(44, 4), std::string("\x48\x00\x64\x00", 4));
  EXPECT_EQ(saved.substr(48), original.substr(48));
}

TEST_F(CisHeaderEditing, ValuesOutsideTheDialogRangesWriteNothing) {
  const std::vector<CisHeaderEdit> edits = {
      {std::string(51, 'x'), {}, {}}, {{}, 10000.5, {}}, {{}, -1.0, {}}, {{}, std::nan(""), {}},
      {{}, {}, -1},                   {{}, {}, 40000},  // beyond the 16-bit field of the file
  };
  for (const CisHeaderEdit& edit : edits) {
    const CisEditResult result = EditCisHeader(path, edit, "", ui);
    EXPECT_FALSE(result.Written);
    EXPECT_EQ(result.Problems.size(), 1u);
  }
  EXPECT_TRUE(EditCisHeader(path, {std::string(50, 'x'), 10000.0, 32767}, dir.File("edge.cis"), ui).Written);
  EXPECT_EQ(ReadBytes(path), original);
}

TEST_F(CisHeaderEditing, RefusedUnreadableOrUnwritableFilesChangeNothing) {
  CisTestHeader refused;
  refused.width = 0;
  const std::string zero_width = MakeCisBytes(refused, {{{10}, 0}});
  WriteBytes(dir.File("zero.cis"), zero_width);
  CisEditResult result = EditCisHeader(dir.File("zero.cis"), {"New", {}, {}}, "", ui);
  EXPECT_FALSE(result.Written);
  ASSERT_EQ(result.Problems.size(), 1u);
  EXPECT_NE(result.Problems[0].find("Invalid Scanner Width"), std::string::npos);
  EXPECT_EQ(ReadBytes(dir.File("zero.cis")), zero_width);

  WriteBytes(dir.File("short.cis"), "tiny");
  EXPECT_FALSE(EditCisHeader(dir.File("short.cis"), {}, "", ui).Written);
  EXPECT_FALSE(EditCisHeader(dir.File("missing.cis"), {}, "", ui).Written);
  EXPECT_FALSE(EditCisHeader(dir.File("roll.txt"), {}, "", ui).Written);

  const std::string target = dir.File("no-folder/out.cis");
  result = EditCisHeader(path, {"New", {}, {}}, target, ui);
  EXPECT_FALSE(result.Written);
  ASSERT_EQ(result.Problems.size(), 1u);
  EXPECT_NE(result.Problems[0].find(target), std::string::npos);
}

TEST_F(CisHeaderEditing, NotesTellWhatTheSavedFileChanges) {
  CisTestHeader header;
  header.width = 10;
  header.tempo = 5;           // corrected to 100 on reading
  header.lines_per_inch = 0;  // corrected to 100 on reading
  std::string bytes = MakeCisBytes(header, {{{10}, 0}});
  bytes += std::string("\x03\x00\x04", 3);  // a record cut short, and an odd byte
  WriteBytes(dir.File("odd.cis"), bytes);
  const CisEditResult result = EditCisHeader(dir.File("odd.cis"), {}, dir.File("out.cis"), ui);
  ASSERT_TRUE(result.Written);
  ASSERT_EQ(result.Notes.size(), 3u);
  EXPECT_NE(result.Notes[0].find("tempo 5"), std::string::npos);
  EXPECT_NE(result.Notes[1].find("lines per inch 0"), std::string::npos);
  EXPECT_NE(result.Notes[2].find("3 byte(s)"), std::string::npos);
}

}  // namespace
}  // namespace tarvelo
