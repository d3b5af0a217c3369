// The statuses and exit statuses of tarvelo-cli convert on a real scan and its damaged copies,
// read from the JSON report and the exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "SyntheticRoll.h"
#include "helpers/Environment.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using nlohmann::json;
using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;

class CliStatus : public ::testing::Test {
 protected:
  void SetUp() override {
    profile_ = dir_.File("profile.ini");
    out_ = dir_.File("out");
  }
  // Runs convert --json on `files` with `options`; the report is parsed into `report`.
  testing::CommandResult Convert(const std::string& options, const std::vector<std::string>& files) {
    std::string command = CliPath() + " convert --json --profile " + ShellQuote(profile_) + " --output-dir " +
                          ShellQuote(out_) + " " + options;
    for (const std::string& file : files) command += " " + ShellQuote(file);
    const auto result = RunCommand(command);
    report_ = json::parse(result.out, nullptr, false);
    return result;
  }
  // The status the report gives the file at `index`.
  std::string StatusOf(size_t index) { return report_["files"][index]["status"].get<std::string>(); }
  bool HasMessageOfKind(size_t index, const std::string& kind) {
    for (const json& message : report_["files"][index]["messages"])
      if (message["kind"] == kind) return true;
    return false;
  }
  size_t FilesIn(const std::string& folder) {
    std::error_code error;
    size_t count = 0;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; ++it) ++count;
    return count;
  }

  testing::ScopedEnvironment date_{"SOURCE_DATE_EPOCH", "1700000000"};
  testing::TempDir dir_;
  std::string profile_;
  std::string out_;
  json report_;
};

// Aligns every file and takes the roll type its holes show, so that a sound scan converts
// without a warning.
const std::string kFitting = "--roll-type auto";

// A real scan with some run lengths in its middle overwritten, so that a few lines overrun
// the sensor width while the others stay well formed.
std::string WithDamagedLines(std::string bytes) {
  for (size_t at = bytes.size() / 2; at < bytes.size() / 2 + 40; at += 2) bytes[at] = bytes[at + 1] = '\xFF';
  return bytes;
}

// The header of `bytes` followed by `size` bytes of noise.
std::string WithGarbageBody(const std::string& bytes, size_t size) {
  std::string garbage = bytes.substr(0, 52);
  uint32_t state = 12345;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    garbage += static_cast<char>(state >> 24);
  }
  return garbage;
}

TEST_F(CliStatus, EachStatusOnARealScanAndItsDamagedCopies) {
  TARVELO_REQUIRE_REAL_CIS();
  const std::string scan = testing::ReadBytes((testing::RealCisDir() / "stepper_single.CIS").string());
  const std::string good = dir_.File("good.CIS"), truncated = dir_.File("truncated.CIS"), text = dir_.File("notes.cis"),
                    garbage = dir_.File("garbage.CIS"), damaged = dir_.File("damaged.CIS");
  testing::WriteBytes(good, scan);
  testing::WriteBytes(truncated, scan.substr(0, 100000));
  testing::WriteBytes(text, "Roll scans for the club archive, box 14, to be read next week.\n");
  testing::WriteBytes(garbage, WithGarbageBody(scan, 200000));
  testing::WriteBytes(damaged, WithDamagedLines(scan));

  // One at a time: each file's own exit status. Each is converted with the settings that fit
  // its holes (the preset's put many off their tracks, which is a warning).
  auto result = Convert(kFitting, {good});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(StatusOf(0), "converted");
  EXPECT_FALSE(HasMessageOfKind(0, "warning") || HasMessageOfKind(0, "error")) << result.err;
  EXPECT_EQ(report_["success"], true);

  result = Convert(kFitting, {damaged});
  EXPECT_EQ(result.status, 3) << result.err;
  EXPECT_EQ(StatusOf(0), "converted with warnings");
  EXPECT_TRUE(HasMessageOfKind(0, "warning"));
  EXPECT_EQ(report_["files"][0]["outputs"].size(), 2u);
  EXPECT_EQ(Convert(kFitting + " --strict", {damaged}).status, 1);

  for (const std::string& refused : {text, garbage}) {
    result = Convert(kFitting, {refused});
    EXPECT_EQ(result.status, 1) << refused << "\n" << result.err;
    EXPECT_EQ(StatusOf(0), "failed") << refused;
    EXPECT_TRUE(HasMessageOfKind(0, "error")) << refused;
    EXPECT_TRUE(report_["files"][0]["outputs"].empty()) << refused;
    EXPECT_EQ(report_["success"], false);
  }
  EXPECT_NE(result.err.find("garbage.CIS: This is not a CIS scan: "), std::string::npos) << result.err;

  // A cut copy keeps what was read; its status follows the kinds of its messages.
  result = Convert(kFitting, {truncated});
  const bool warned = HasMessageOfKind(0, "warning");
  EXPECT_EQ(StatusOf(0), warned ? "converted with warnings" : "converted");
  EXPECT_EQ(result.status, warned ? 3 : 0);
  EXPECT_EQ(report_["files"][0]["outputs"].size(), 2u);

  // Together: the worst status wins, and the report keeps the input order.
  std::filesystem::remove_all(out_);
  result = Convert(kFitting + " --jobs 2", {good, damaged, text, garbage});
  EXPECT_EQ(result.status, 1);
  ASSERT_EQ(report_["files"].size(), 4u);
  EXPECT_EQ(report_["files"][1]["input"], damaged);
  EXPECT_EQ(report_["summary"]["converted"], 1);
  EXPECT_EQ(report_["summary"]["converted_with_warnings"], 1);
  EXPECT_EQ(report_["summary"]["failed"], 2);
  EXPECT_EQ(report_["exit_status"], 1);
  // No outputs for the files that are not scans: only good and damaged wrote theirs.
  EXPECT_EQ(FilesIn(out_), 4u);
}

TEST_F(CliStatus, RollTypeProblemsAndSettingsRefusedBeforeAnyFileIsTouched) {
  const std::string roll = dir_.File("roll.cis");
  testing::WriteBytes(roll, synth::RenderSyntheticCis(synth::SyntheticRollSpec{}));
  EXPECT_EQ(Convert("--roll-type Nonesuch", {roll}).status, 2);
  EXPECT_EQ(Convert("--roll-types " + ShellQuote(dir_.File("nonexistent.xml")), {roll}).status, 2);
  const std::string broken = dir_.File("broken.xml");
  testing::WriteBytes(broken, "<RollTypeDefinitions><RollType Name=\"x\">");
  EXPECT_EQ(Convert("--roll-types " + ShellQuote(broken), {roll}).status, 2);
  EXPECT_EQ(Convert("--jobs 0", {roll}).status, 2);
  EXPECT_EQ(FilesIn(out_), 0u);

  // An unknown roll type in the profile fails every file, which is left unconverted.
  testing::WriteBytes(profile_, "[Roll Settings]\nActiveRollTypeName=\"Nonesuch\"\n");
  const auto result = Convert("", {roll, dir_.File("other.cis")});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(StatusOf(0), "failed");
  EXPECT_NE(result.err.find("roll.cis: ERROR - Requested Roll Type Not Found : Nonesuch"), std::string::npos)
      << result.err;
  EXPECT_EQ(FilesIn(out_), 0u);
}

TEST_F(CliStatus, AnIllegalScannerModeOrAnUnwrittenOutputFailsTheFile) {
  const std::string roll = dir_.File("roll.cis");
  testing::WriteBytes(roll, synth::RenderSyntheticCis(synth::SyntheticRollSpec{}));
  auto result = Convert("--set 'Scanner Settings/ScannerModeType0=Mode9'", {roll});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(StatusOf(0), "failed");

  // A folder where the ScanImage file should go: that output cannot be written.
  std::filesystem::remove(out_ + "/roll_ScanImageMIDI.mid");
  std::filesystem::create_directories(out_ + "/roll_ScanImageMIDI.mid");
  result = Convert("", {roll});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(StatusOf(0), "failed");
  EXPECT_EQ(report_["success"], false);
  EXPECT_EQ(report_["files"][0]["outputs"][0]["written"], false);
  // The eRoll file it wrote is not kept: a failed file leaves no outputs.
  EXPECT_EQ(report_["files"][0]["outputs"][1]["written"], false);
  EXPECT_FALSE(std::filesystem::exists(out_ + "/roll_eRollMIDI.mid"));
}

TEST_F(CliStatus, TheKeywordItemRecordsTheScannerDpiTheConversionUsed) {
  const std::string roll = dir_.File("roll.cis");
  testing::WriteBytes(roll, synth::RenderSyntheticCis(synth::SyntheticRollSpec{}));
  testing::WriteBytes(profile_, "[Scanner Settings]\nScannerDPI0=-5\n");
  const auto result = Convert("", {roll});
  EXPECT_EQ(result.status, 3) << result.err;
  bool found = false;
  for (const json& keyword : report_["files"][0]["keywords"]) {
    EXPECT_EQ(keyword.get<std::string>().find("/scanner_horizontal_DPI: -5"), std::string::npos);
    found = found || keyword.get<std::string>().rfind("/scanner_horizontal_DPI: 300", 0) == 0;
  }
  EXPECT_TRUE(found) << report_["files"][0]["keywords"].dump();
}

}  // namespace
}  // namespace tarvelo
