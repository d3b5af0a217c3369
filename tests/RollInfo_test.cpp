#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cis/CisScanData.h"
#include "cis/RollInfo.h"
#include "document/TarveloDoc.h"
#include "helpers/CisBytes.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using testing::CisTestHeader;
using testing::MakeCisBytes;
using testing::RecordingFrontEnd;
using testing::TempDir;
using testing::WriteBytes;

TEST(RollInfo, NewFileKeepsTemplateEntriesAndClearsTheRest) {
  IniProfile profile;
  RollInfo info(profile);
  info.ScannedBy = "edited for the first file";
  info.Composer = "Chopin";
  info.MiscInfo = "misc";
  info.RollType = "88-Note";
  info.SaveAsTemplate = true;
  CisScanData scan;
  scan.Header.Title = "Second Roll";
  scan.Header.Tempo = 75;
  info.ResetForNewFile(scan.Header);
  EXPECT_EQ(info.ScannedBy, "edited for the first file");
  EXPECT_EQ(info.Composer, "");
  EXPECT_EQ(info.MiscInfo, "");
  EXPECT_EQ(info.RollType, "");
  EXPECT_FALSE(info.SaveAsTemplate);
  EXPECT_EQ(info.Title, "Second Roll");
  EXPECT_EQ(info.RollTempo, "75");
}

TEST(RollInfo, AnnLinesSetEntriesByKeyword) {
  RollInfo info;
  info.ReadAnnText(
      "/Composer : Chopin\r"
      "/printed_image_capture: yes\r"
      "  /TITLE:  A: B  \r"    // only the first colon splits; blanks trimmed
      "/roll_type: ignored\r"  // the roll type cannot be set from a file
      "/unknown: x\r"
      "no colon here\r"
      "x\r"  // too short
      "/misc_info: first\r"
      "/misc_info: second\r"  // a later line wins
      "/roll_number:42");     // the last line needs no carriage return
  EXPECT_EQ(info.Composer, "Chopin");
  EXPECT_EQ(info.PrintedImageCapture, "yes");
  EXPECT_EQ(info.Title, "A: B");
  EXPECT_EQ(info.RollType, "");
  EXPECT_EQ(info.MiscInfo, "second");
  EXPECT_EQ(info.RollNumber, "42");
}

TEST(RollInfo, AnnKeywordsAndValuesAreTrimmedOfSpacesOnly) {
  RollInfo info;
  info.ReadAnnText(
      "/composer\t: Tab Before Colon\r"  // the tab stays in the keyword: not recognised
      "\t/title: Leading Tab\r"
      "/performer: \tTabbed Value\t \r");
  EXPECT_EQ(info.Composer, "");
  EXPECT_EQ(info.Title, "");
  EXPECT_EQ(info.Performer, "\tTabbed Value\t");
}

TEST(RollInfo, AnnFileWithLineFeedsOnlyIsOneLine) {
  RollInfo info;
  info.ReadAnnText("/composer: Chopin\n/title: Waltz\n");
  EXPECT_EQ(info.Composer, "Chopin/title: Waltz");
  EXPECT_EQ(info.Title, "");
  // Carriage return + line feed endings are ordinary lines.
  info.ReadAnnText("/composer: Liszt\r\n/title: Waltz\r\n");
  EXPECT_EQ(info.Composer, "Liszt");
  EXPECT_EQ(info.Title, "Waltz");
}

TEST(RollInfo, AnnFileIsFoundWhateverTheCaseOfItsExtension) {
  TempDir dir;
  WriteBytes(dir.File("Roll.ANN"), "/composer: Upper\r");
  RollInfo info;
  EXPECT_TRUE(info.ReadAnnFile(dir.File("Roll.ann")));
  EXPECT_EQ(info.Composer, "Upper");
  EXPECT_FALSE(info.ReadAnnFile(dir.File("missing.ann")));
  EXPECT_FALSE(info.ReadAnnFile(dir.File("no-folder/Roll.ann")));
  EXPECT_EQ(info.Composer, "Upper");  // a file not found changes nothing
  // A folder that ignores letter case (as on Windows) holds one file for all these names.
  if (std::filesystem::exists(dir.File("Roll.ann"))) return;

  // An exact name wins over a case variant; a variant with the same stem wins over others.
  WriteBytes(dir.File("Roll.ann"), "/composer: Exact\r");
  EXPECT_TRUE(info.ReadAnnFile(dir.File("Roll.ann")));
  EXPECT_EQ(info.Composer, "Exact");
  WriteBytes(dir.File("other.Ann"), "/composer: Stem\r");
  WriteBytes(dir.File("OTHER.ann"), "/composer: Variant\r");
  EXPECT_TRUE(info.ReadAnnFile(dir.File("other.ann")));
  EXPECT_EQ(info.Composer, "Stem");
}

TEST(RollInfo, EmbeddedTextsAreTrimmedAndKeepEmptyEntries) {
  RollInfo info;
  std::vector<std::string> texts = info.EmbeddedTexts();
  ASSERT_EQ(texts.size(), 24u);
  EXPECT_EQ(texts[1], "/title: ");
  EXPECT_EQ(texts[23], "");
  EXPECT_TRUE(info.SetEntry("/Title:", "  Waltz \t"));
  EXPECT_TRUE(info.SetEntry("misc_info", " note "));
  EXPECT_FALSE(info.SetEntry("nonsense", "x"));
  texts = info.EmbeddedTexts();
  EXPECT_EQ(texts[1], "/title: Waltz");
  EXPECT_EQ(texts[23], "note");
}

TEST(RollInfo, SavedTemplateIsTheDefaultOfTheNextStart) {
  IniProfile profile;
  profile.WriteProfileString(RollInfo::kSection, "RollOwner", "Collector").Ignore();
  RollInfo info(profile);
  EXPECT_EQ(info.Owner, "Collector");
  info.ScannedBy = "Me";
  info.Composer = "Grieg";  // not a template entry
  ASSERT_TRUE(info.SaveTemplate(profile).ok());
  const RollInfo next(profile);
  EXPECT_EQ(next.ScannedBy, "Me");
  EXPECT_EQ(next.Owner, "Collector");
  EXPECT_EQ(next.Composer, "");
}

// The document's load: reset, roll type, ANN file only when enabled, the dialog only when
// embedding is on, nothing when the header is refused.
class RollInfoLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    CisTestHeader header;
    header.title = "Loaded Roll";
    header.tempo = 80;
    header.width = 10;
    WriteBytes(dir.File("roll.cis"), MakeCisBytes(header, {{{4, 6}, 0}, {{10}, 0}}));
    WriteBytes(dir.File("roll.ANN"), "/composer: From Ann\r");
  }
  TempDir dir;
};

TEST_F(RollInfoLoad, AnnFileIsReadOnlyWhenEnabled) {
  RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  doc.RollInformation().Composer = "left over";
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  EXPECT_EQ(doc.RollInformation().Composer, "");
  EXPECT_EQ(doc.RollInformation().Title, "Loaded Roll");
  EXPECT_EQ(doc.RollInformation().RollTempo, "80");
  EXPECT_EQ(doc.RollInformation().RollType, doc.RollTypeName());
  EXPECT_EQ(ui.roll_info_dialogs, 1);

  ui.Store().WriteProfileInt("Diagnostic Settings", "UseAnnFile", 1).Ignore();
  ui.ReloadSettings();
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  EXPECT_EQ(doc.RollInformation().Composer, "From Ann");
  EXPECT_EQ(ui.roll_info_dialogs, 2);
}

TEST_F(RollInfoLoad, DialogOkTakesTheEntriesCancelChangesNothing) {
  RecordingFrontEnd ui;
  ui.Store().WriteProfileString(RollInfo::kSection, "RollOwner", "Collector").Ignore();
  TarveloDoc doc(ui, ui, RollInfo(ui.Store()));
  ui.edit_roll_info = [](RollInfo& edited) {
    edited.ScannedBy = "Me";
    edited.Composer = "Grieg";
    return false;  // Cancel
  };
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  EXPECT_EQ(doc.RollInformation().Owner, "Collector");  // the template entries carry over
  EXPECT_EQ(doc.RollInformation().ScannedBy, "Your Name Here");
  EXPECT_EQ(doc.RollInformation().Composer, "");
  EXPECT_EQ(ui.reprocess_pending, std::vector<bool>{false});  // only the end of the run

  ui.reprocess_pending.clear();
  ui.edit_roll_info = [](RollInfo& edited) {
    edited.ScannedBy = "Me";
    edited.Composer = "Grieg";
    edited.SaveAsTemplate = true;
    return true;
  };
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  EXPECT_EQ(doc.RollInformation().Composer, "Grieg");
  EXPECT_EQ(doc.RollInformation().ScannedBy, "Me");
  EXPECT_EQ(ui.reprocess_pending, (std::vector<bool>{true, false}));
  // Storing the template is the front end's part; the document leaves the profile alone.
  EXPECT_FALSE(ui.Store().Find(RollInfo::kSection, "ScannedBy").has_value());
}

TEST_F(RollInfoLoad, NoDialogWhenEmbeddingIsOffAndNothingForARefusedHeader) {
  RecordingFrontEnd ui;
  ui.Store().WriteProfileInt("OutputFiles", "EmbedRollKeywordData", 0).Ignore();
  ui.Store().WriteProfileInt("Diagnostic Settings", "UseAnnFile", 1).Ignore();
  ui.ReloadSettings();
  TarveloDoc doc(ui, ui);
  ASSERT_TRUE(doc.Load(dir.File("roll.cis"), ui.settings).ok());
  EXPECT_EQ(ui.roll_info_dialogs, 0);
  EXPECT_EQ(doc.RollInformation().Composer, "");  // the ANN file is read only for the dialog
  EXPECT_EQ(doc.RollInformation().Title, "Loaded Roll");

  CisTestHeader refused;
  refused.title = "Refused";
  refused.width = 0;
  WriteBytes(dir.File("refused.cis"), MakeCisBytes(refused, {}));
  EXPECT_EQ(doc.Load(dir.File("refused.cis"), ui.settings).kind(), Result::Kind::kCorrupt);
  EXPECT_EQ(doc.RollInformation().Title, "Loaded Roll");
}

}  // namespace
}  // namespace tarvelo
