// tarvelo-cli stopped by a signal or by the file-size limit: no temporary file is left, every
// finished output is whole, and the exit status says what happened.
// POSIX only: signals, process ids and the shell's file-size limit.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "SyntheticRoll.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;

// The files below `folder` whose names hold ".tmp-", the mark of a temporary file.
std::vector<std::string> TemporaryFiles(const std::string& folder) {
  std::vector<std::string> found;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->path().filename().string().find(".tmp-") != std::string::npos) found.push_back(it->path().string());
  return found;
}

// A MIDI file as the writer finishes it: the header first, the end-of-track event last.
bool IsWholeMidiFile(const std::string& path) {
  const std::string bytes = testing::ReadBytes(path);
  return bytes.rfind("MThd", 0) == 0 && bytes.size() > 3 && bytes.compare(bytes.size() - 3, 3, "\xFF\x2F\x00", 3) == 0;
}

TEST(CliStop, ASignalDuringABatchLeavesNoTemporaryFileAndKeepsTheFinishedOutputs) {
  TARVELO_REQUIRE_REAL_CIS();
  for (const int signal_number : {SIGINT, SIGTERM}) {
    testing::TempDir dir;
    // Eighty names for one copy of a real scan (hard links, so the copies cost no room).
    const std::string first = dir.File("roll00.CIS");
    fs::copy_file(testing::RealCisDir() / "stepper_bicolor.CIS", first);
    std::vector<std::string> argv = {TARVELO_CLI_PATH,
                                     "convert",
                                     "--jobs",
                                     "2",
                                     "--profile",
                                     dir.File("p.ini"),
                                     "--output-dir",
                                     dir.File("out"),
                                     "--catalog",
                                     dir.File("catalogue.csv"),
                                     first};
    for (int i = 1; i < 80; ++i) {
      argv.push_back(dir.File("roll" + std::to_string(i) + ".CIS"));
      fs::create_hard_link(first, argv.back());
    }
    const pid_t pid = testing::StartProcess(argv, dir.File("stdout"), dir.File("stderr"));
    ASSERT_GT(pid, 0);
    // Once the first outputs are there, the batch is well under way.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(dir.File("out/roll00_eRollMIDI.mid")) && std::chrono::steady_clock::now() < give_up)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ::kill(pid, signal_number);
    const int status = testing::WaitProcess(pid);
    const std::string err = testing::ReadBytes(dir.File("stderr"));

    EXPECT_EQ(status, 128 + signal_number) << err;
    EXPECT_TRUE(TemporaryFiles(dir.Path().string()).empty());
    int whole = 0;
    for (const auto& entry : fs::directory_iterator(dir.File("out"))) {
      EXPECT_TRUE(IsWholeMidiFile(entry.path().string())) << entry.path();
      ++whole;
    }
    EXPECT_GE(whole, 2);
    EXPECT_LT(whole, 160) << "the batch ended before the signal came";
    EXPECT_NE(err.find(signal_number == SIGINT ? "Stopped by SIGINT: " : "Stopped by SIGTERM: "), std::string::npos)
        << err;
    // The catalogue holds the files done: the header line and a row for each file started.
    const std::string catalogue = testing::ReadBytes(dir.File("catalogue.csv"));
    const auto rows = std::count(catalogue.begin(), catalogue.end(), '\n') - 1;
    EXPECT_GE(rows, whole / 2) << catalogue;
    EXPECT_LT(rows, 80) << catalogue;
    EXPECT_NE(catalogue.find("roll00.CIS,"), std::string::npos) << catalogue;
  }
}

TEST(CliStop, AWritePastTheFileSizeLimitIsAnOrdinaryWriteError) {
  testing::TempDir dir;
  // A roll with enough holes for MIDI files larger than the limit below, while the JSON
  // report stays under it.
  synth::SyntheticRollSpec plan;
  for (int i = 0; i < 400; ++i) plan.holes.push_back({20 + i % 60, 0.2 + i * 0.05, 0.03});
  testing::WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(plan));
  // sh counts the limit in blocks of 512 bytes: 3 KB.
  const auto result = RunCommand("cd " + ShellQuote(dir.Path().string()) + " && (ulimit -f 6; exec " + CliPath() +
                                 " convert --json --profile p.ini --output-dir out roll.cis)");
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_NE(result.err.find("roll.cis: The MIDI file out/roll_ScanImageMIDI.mid could not be written"),
            std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("File too large"), std::string::npos) << result.err;
  EXPECT_EQ(result.out.rfind("{\"success\":false,", 0), 0u) << result.out;
  EXPECT_TRUE(TemporaryFiles(dir.Path().string()).empty());
  EXPECT_FALSE(fs::exists(dir.File("out/roll_ScanImageMIDI.mid")));

  // The profile is written the same way: a refused write leaves the old one and no temporary file.
  const std::string profile = "; " + std::string(2000, 'x') + "\n[Midi Gen Settings]\nScanMidiLeadInTime=3\n";
  testing::WriteBytes(dir.File("p.ini"), profile);
  const auto saved = RunCommand("cd " + ShellQuote(dir.Path().string()) + " && (ulimit -f 1; exec " + CliPath() +
                                " settings --profile p.ini set 'Midi Gen Settings/ScanMidiLeadInTime=4')");
  EXPECT_EQ(saved.status, 1) << saved.err;
  EXPECT_NE(saved.err.find("File too large"), std::string::npos) << saved.err;
  EXPECT_EQ(testing::ReadBytes(dir.File("p.ini")), profile);
  EXPECT_TRUE(TemporaryFiles(dir.Path().string()).empty());
}

}  // namespace
}  // namespace tarvelo
#endif  // _WIN32
