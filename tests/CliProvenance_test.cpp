// What the MIDI files of a conversion claim about themselves, read back with midicsv: the
// scan's checksum, the program, the settings and the roll type that made them, and none of
// the template's stand-ins; with OutputFiles/LiteralRollInfo the texts as they always were.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "helpers/MidiCsv.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"
#include "support/ProgramVersion.h"
#include "support/Sha256.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;

// The texts of every text event of a MIDI file.
std::vector<std::string> TextEvents(const std::string& path) {
  std::vector<std::string> texts;
  for (const std::string& line : testing::ExpectSoundMidiFile(path).lines) {
    const size_t quote = line.find('"');
    if (quote != std::string::npos && line.find("_t, ") != std::string::npos)
      texts.push_back(line.substr(quote + 1, line.size() - quote - 2));
  }
  return texts;
}

// The value of the text "<key> <value>", "" when there is none.
std::string ItemValue(const std::vector<std::string>& texts, const std::string& key) {
  for (const std::string& text : texts)
    if (text.rfind(key + " ", 0) == 0) return text.substr(key.size() + 1);
  return "";
}

class CliProvenance : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef _WIN32
    GTEST_SKIP() << "runs through the POSIX shell";
#endif
    TARVELO_REQUIRE_REAL_CIS();
    TARVELO_REQUIRE_MIDICSV();
    scan_ = dir_.File("stepper_single.CIS");
    fs::copy_file(testing::RealCisDir() / "stepper_single.CIS", scan_);
  }
  // Converts the scan into `folder` below the test folder; the two outputs' text events.
  std::pair<std::vector<std::string>, std::vector<std::string>> Convert(const std::string& folder,
                                                                        const std::string& options = "") {
    const auto run = RunCommand("SOURCE_DATE_EPOCH=1700000000 " + CliPath() + " convert --quiet --profile " +
                                ShellQuote(dir_.File("p.ini")) + " --output-dir " + ShellQuote(dir_.File(folder)) +
                                " " + options + " " + ShellQuote(scan_));
    EXPECT_NE(run.status, 1) << run.err;
    return {TextEvents(dir_.File(folder + "/stepper_single_ScanImageMIDI.mid")),
            TextEvents(dir_.File(folder + "/stepper_single_eRollMIDI.mid"))};
  }
  testing::TempDir dir_;
  std::string scan_;
};

TEST_F(CliProvenance, BothFilesCiteTheScanProgramSettingsAndRollTypeAndNoStandIns) {
  const auto [scan_image, eroll] = Convert("out");
  const std::string sha256 = Sha256Hex(testing::ReadBytes(scan_));
  for (const auto* texts : {&scan_image, &eroll}) {
    EXPECT_EQ(ItemValue(*texts, "/source_file_sha256:"), sha256);
    EXPECT_EQ(ItemValue(*texts, "/converter_version:"), ProgramVersionLine());
    EXPECT_EQ(ItemValue(*texts, "/roll_type_used:"), "Fail-Safe");
    EXPECT_EQ(ItemValue(*texts, "/settings_digest:").size(), 16u);
    for (const std::string& text : *texts) {
      for (const char* stand_in : {"Your Name Here", "Today's Date", "Name Of Roll Owner", "Type Of Scanning System",
                                   "copyright info here", "example.org", "Beta Version"})
        EXPECT_EQ(text.find(stand_in), std::string::npos) << text;
    }
  }
  EXPECT_EQ(ItemValue(scan_image, "/settings_digest:"), ItemValue(eroll, "/settings_digest:"));

  // The same settings give the same digest; another value another one; a roll type of its own.
  const auto again = Convert("again");
  EXPECT_EQ(ItemValue(again.first, "/settings_digest:"), ItemValue(scan_image, "/settings_digest:"));
  const auto other = Convert("other", "--roll-type 88-Note --set 'Midi Gen Settings/ScanMidiLeadInTime=3'");
  EXPECT_NE(ItemValue(other.first, "/settings_digest:"), ItemValue(scan_image, "/settings_digest:"));
  EXPECT_EQ(ItemValue(other.second, "/roll_type_used:"), "88-Note");

  // Real entries are written, whoever gave them.
  const auto given = Convert("given", "--info 'scanned_by=A. Archivist' --info 'owner=Rolls Society'");
  EXPECT_EQ(ItemValue(given.first, "/scanned_by:"), "A. Archivist");
  EXPECT_EQ(ItemValue(given.second, "/owner:"), "Rolls Society");
}

TEST_F(CliProvenance, TheLiteralSwitchWritesTheTextsAsTheyWere) {
  const auto [scan_image, eroll] = Convert("literal", "--set OutputFiles/LiteralRollInfo=1");
  for (const auto* texts : {&scan_image, &eroll}) {
    for (const char* key : {"/source_file_sha256:", "/converter_version:", "/settings_digest:", "/roll_type_used:"})
      EXPECT_EQ(std::count_if(texts->begin(), texts->end(),
                              [key](const std::string& text) { return text.rfind(key, 0) == 0; }),
                0)
          << key;
    EXPECT_EQ(ItemValue(*texts, "/scanned_by:"), "Your Name Here");
    EXPECT_NE(std::find(texts->begin(), texts->end(), "copyright info here"), texts->end());
    EXPECT_NE(std::find(texts->begin(), texts->end(), "CIS to ScanImageMIDI converter - Beta Version - June. 23, 2007"),
              texts->end());
  }
}

}  // namespace
}  // namespace tarvelo
