// convert --catalog: a row per input in input order, true to the scans (checksums, roll
// information, what the conversion used), duplicates named, failures kept, written whole.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "SyntheticRoll.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"
#include "support/Sha256.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;

using CsvRow = std::vector<std::string>;

// Parses RFC 4180 text: quoted fields may hold commas, doubled quotes and line breaks.
std::vector<CsvRow> ParseCsv(const std::string& text) {
  std::vector<CsvRow> rows;
  CsvRow row;
  std::string field;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(field);
      field.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      row.push_back(field);
      field.clear();
      rows.push_back(row);
      row.clear();
      ++i;
    } else {
      field += c;
    }
  }
  EXPECT_TRUE(field.empty() && row.empty()) << "the last line ends in CR LF";
  return rows;
}

// The rows as maps from the header's column names.
std::vector<std::map<std::string, std::string>> CsvRecords(const std::string& text) {
  const std::vector<CsvRow> rows = ParseCsv(text);
  std::vector<std::map<std::string, std::string>> records;
  if (rows.empty()) return records;
  for (size_t r = 1; r < rows.size(); ++r) {
    EXPECT_EQ(rows[r].size(), rows[0].size()) << "row " << r;
    std::map<std::string, std::string> record;
    for (size_t c = 0; c < rows[0].size() && c < rows[r].size(); ++c) record[rows[0][c]] = rows[r][c];
    records.push_back(record);
  }
  return records;
}

TEST(CliCatalog, RealScansGetARowEachInInputOrderWithDuplicatesAndFailuresMarked) {
  TARVELO_REQUIRE_REAL_CIS();
  testing::TempDir dir;
  fs::create_directories(dir.File("scans/b"));
  fs::copy_file(testing::RealCisDir() / "stepper_single.CIS", dir.File("scans/a.CIS"));
  // The same bytes under another name, in a folder found later.
  fs::copy_file(testing::RealCisDir() / "stepper_single.CIS", dir.File("scans/b/same, \"again\".CIS"));
  fs::copy_file(testing::RealCisDir() / "broken_data.CIS", dir.File("scans/b/broken.CIS"));
  testing::WriteBytes(dir.File("scans/picture.cis"), "\x89PNG\r\n\x1a\n not a scan");
  const auto run = RunCommand("cd " + ShellQuote(dir.Path().string()) + " && " + CliPath() +
                              " convert --profile p.ini --quiet --recursive --output-dir out --catalog cat.csv "
                              "--info 'composer=Scott Joplin' scans missing.cis");
  EXPECT_EQ(run.status, 1) << run.err;
  const std::string text = testing::ReadBytes(dir.File("cat.csv"));
  const auto rows = CsvRecords(text);
  ASSERT_EQ(rows.size(), 5u) << text;

  // Found in the order of their paths, the named missing file last.
  EXPECT_EQ(rows[0].at("path"), "scans/a.CIS");
  EXPECT_EQ(rows[1].at("path"), "scans/b/broken.CIS");
  EXPECT_EQ(rows[2].at("path"), "scans/b/same, \"again\".CIS");
  EXPECT_EQ(rows[3].at("path"), "scans/picture.cis");
  EXPECT_EQ(rows[4].at("path"), "missing.cis");

  const std::map<std::string, std::string>& roll = rows[0];
  EXPECT_EQ(roll.at("sha256"), Sha256Hex(testing::ReadBytes(dir.File("scans/a.CIS"))));
  EXPECT_EQ(roll.at("size_bytes"), std::to_string(fs::file_size(dir.File("scans/a.CIS"))));
  EXPECT_EQ(roll.at("duplicate_of"), "");
  EXPECT_EQ(roll.at("composer"), "Scott Joplin");
  // The shipped template's stand-ins are no facts about the roll.
  EXPECT_EQ(roll.at("scanned_by"), "");
  EXPECT_EQ(roll.at("owner"), "");
  EXPECT_EQ(roll.at("roll_tempo"), "90");
  EXPECT_EQ(roll.at("scanner_type"), "4 (no shaft encoder)");
  EXPECT_GT(std::stod(roll.at("dpi")), 0);
  // 59425 lines at 180 per inch: 27.5 feet, which tempo 90 plays in about three minutes.
  EXPECT_NEAR(std::stod(roll.at("length_feet")), 59425 / 180.0 / 12, 0.01);
  EXPECT_NEAR(std::stod(roll.at("playing_minutes")), 59425 / 180.0 / 12 / 9, 0.01);
  EXPECT_FALSE(roll.at("roll_type_used").empty());
  // The preset's DPI does not fit this scan: Auto-Tweak converted it with the measured values.
  EXPECT_EQ(roll.at("alignment").rfind("auto-tweaked: DPI 200, offset ", 0), 0u) << roll.at("alignment");
  const double on_track = std::stod(roll.at("holes_on_track_percent"));
  EXPECT_GE(on_track, 0);
  EXPECT_LE(on_track, 100);
  EXPECT_EQ(roll.at("placement"), on_track >= 90 ? "on track" : "off track");
  EXPECT_EQ(roll.at("status").rfind("converted", 0), 0u) << roll.at("status");
  EXPECT_EQ(roll.at("errors"), "0");
  EXPECT_NE(roll.at("outputs").find("a_eRollMIDI.mid"), std::string::npos) << roll.at("outputs");
  EXPECT_NE(roll.at("outputs").find("; "), std::string::npos) << "both MIDI files";

  const std::map<std::string, std::string>& copy = rows[2];
  EXPECT_EQ(copy.at("sha256"), roll.at("sha256"));
  EXPECT_EQ(copy.at("duplicate_of"), "scans/a.CIS");

  for (const size_t failed : {1u, 3u, 4u}) {
    EXPECT_EQ(rows[failed].at("status"), "failed") << rows[failed].at("path");
    EXPECT_NE(rows[failed].at("message"), "") << rows[failed].at("path");
    EXPECT_EQ(rows[failed].at("outputs"), "");
    EXPECT_EQ(rows[failed].at("placement"), "");
  }
  // A file that is read but refused is still known by its bytes; a missing one is not.
  EXPECT_EQ(rows[1].at("sha256"), Sha256Hex(testing::ReadBytes(dir.File("scans/b/broken.CIS"))));
  EXPECT_EQ(rows[3].at("sha256").size(), 64u);
  EXPECT_EQ(rows[4].at("sha256"), "");
  EXPECT_EQ(rows[4].at("size_bytes"), "");
}

TEST(CliCatalog, JsonLinesHoldTheSameRowsWithNumbersAndTheRecognisedRollType) {
  testing::TempDir dir;
  synth::SyntheticRollSpec plan;
  plan.holes = {{60, 0.5, 0.3}, {64, 1.0, 0.3}};
  testing::WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(plan));
  const auto run = RunCommand(CliPath() + " convert --profile " + ShellQuote(dir.File("p.ini")) +
                              " --quiet --roll-type auto --catalog " + ShellQuote(dir.File("Cat.JSONL")) + " " +
                              ShellQuote(dir.File("roll.cis")) + " " + ShellQuote(dir.File("roll.cis")));
  EXPECT_NE(run.status, 2) << run.err;
  const std::string text = testing::ReadBytes(dir.File("Cat.JSONL"));
  ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << "a file named twice is taken once: " << text;
  const nlohmann::json row = nlohmann::json::parse(text.substr(0, text.find('\n')));
  EXPECT_EQ(row["path"], dir.File("roll.cis"));
  EXPECT_TRUE(row["size_bytes"].is_number());
  EXPECT_TRUE(row["length_feet"].is_number());
  EXPECT_TRUE(row["duplicate_of"].is_null());
  EXPECT_TRUE(row["outputs"].is_array());
  EXPECT_FALSE(row["roll_type_recognised"].is_null()) << "recognised, or undecided";
  EXPECT_EQ(row["alignment"].get<std::string>().rfind("aligned: DPI ", 0), 0u) << row["alignment"];
}

TEST(CliCatalog, AnUnusableCatalogueNameIsRefusedBeforeAnythingIsConverted) {
  testing::TempDir dir;
  synth::SyntheticRollSpec plan;
  plan.holes = {{60, 0.5, 0.3}};
  testing::WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(plan));
  fs::create_directories(dir.File("x.csv"));
  for (const std::string& name : {dir.File("cat.txt"), dir.File("no/such/folder/cat.csv"), dir.File("x.csv")}) {
    const auto run = RunCommand(CliPath() + " convert --profile " + ShellQuote(dir.File("p.ini")) + " --catalog " +
                                ShellQuote(name) + " " + ShellQuote(dir.File("roll.cis")));
    EXPECT_EQ(run.status, 2) << name << run.err;
    EXPECT_NE(run.err.find("--catalog"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir.File("roll_eRollMIDI.mid"))) << name;
  }
}

#ifndef _WIN32
TEST(CliCatalog, AFifoNamedAsAScanIsCataloguedAsFailedWithoutBeingRead) {
  testing::TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("pipe.cis").c_str(), 0600), 0);
  // Reading the FIFO for its checksum would wait for a writer for ever.
  const auto run = RunCommand("timeout 60 " + CliPath() + " convert -q --profile " + ShellQuote(dir.File("p.ini")) +
                              " --catalog " + ShellQuote(dir.File("cat.csv")) + " " + ShellQuote(dir.File("pipe.cis")));
  EXPECT_EQ(run.status, 1) << run.err;
  const auto rows = CsvRecords(testing::ReadBytes(dir.File("cat.csv")));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("status"), "failed");
  EXPECT_EQ(rows[0].at("sha256"), "");
}
#endif

}  // namespace
}  // namespace tarvelo
