// What tarvelo-cli shows a person at a terminal: the progress line fitted to the terminal,
// the version, the help pages and the manual page made from them, and bash completion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "SyntheticRoll.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;
using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;

const char* const kCommands[] = {"info",         "convert", "align", "roll-types", "edit", "render", "histogram",
#ifdef TARVELO_HAVE_AUDIO
                                 "render-audio", "play",
#endif
                                 "settings"};

// What a terminal shows of `received` (its lines end in "\r\n"): every piece of a line ended
// by a bare "\r" (a progress line drawn over) and the text that stays.
std::vector<std::string> DrawnPieces(const std::string& received) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (start < received.size()) {
    size_t end = received.find("\r\n", start);
    if (end == std::string::npos) end = received.size();
    const std::string line = received.substr(start, end - start);
    size_t piece = 0;
    for (size_t cut = line.find('\r'); cut != std::string::npos; cut = line.find('\r', piece)) {
      pieces.push_back(line.substr(piece, cut - piece));
      piece = cut + 1;
    }
    pieces.push_back(line.substr(piece));
    start = end + 2;
  }
  return pieces;
}

std::string InPty(int columns, const std::string& arguments) {
  return "python3 " + ShellQuote(std::string(TARVELO_SOURCE_DIR) + "/tests/helpers/run_in_pty.py") + " " +
         std::to_string(columns) + " " + CliPath() + " " + arguments;
}

TEST(CliTerminal, NoLineOfABatchIsWiderThanA60Or80ColumnTerminal) {
#ifdef _WIN32
  GTEST_SKIP() << "a pseudo-terminal is a POSIX device";
#endif
  TARVELO_REQUIRE_REAL_CIS();
  testing::TempDir dir;
  // A file whose warning is long, one that fails, and a file with a 150-character name below
  // a folder, beside another file of the same name in another folder.
  const fs::path scans = dir.Path() / "scans";
  const std::string long_name = std::string(146, 'L') + ".cis";
  fs::create_directories(scans / "box1");
  fs::create_directories(scans / "box2");
  fs::copy_file(testing::RealCisDir() / "stepper_single.CIS", scans / "stepper_single.CIS");
  fs::copy_file(testing::RealCisDir() / "broken_data.CIS", scans / "broken_data.CIS");
  fs::copy_file(testing::RealCisDir() / "stepper_twin.CIS", scans / "box1" / long_name);
  fs::copy_file(testing::RealCisDir() / "stepper_twin.CIS", scans / "box2" / "twin.cis");
  for (const int columns : {60, 80}) {
    const auto result = RunCommand("cd " + ShellQuote(dir.Path().string()) + " && " +
                                   InPty(columns, "convert --jobs 1 --recursive --profile p.ini --output-dir out" +
                                                      std::to_string(columns) + " scans"));
    EXPECT_EQ(result.status, 1) << result.out;
    bool long_name_shown = false;
    for (const std::string& piece : DrawnPieces(result.out)) {
      EXPECT_LE(piece.size(), static_cast<size_t>(columns)) << "\"" << piece << "\"";
      // The progress line names the file by its path from the named folder, its middle left out.
      if (piece.find(" elapsed, ") != std::string::npos && piece.find("  scans/bo") != std::string::npos &&
          piece.find("...LLL") != std::string::npos && piece.find("LLL.cis  ") != std::string::npos)
        long_name_shown = true;
    }
    EXPECT_TRUE(long_name_shown) << result.out;
    // The summary: every file that was not simply converted, its message below it.
    EXPECT_NE(result.out.find("scans/broken_data.CIS  failed\r\n    *** Invalid Scanner Width in File ***"),
              std::string::npos)
        << result.out;
    // The other scans are converted right by Auto-Tweak (the twin array scans with the header's
    // twin values, which join their halves): none is listed.
    EXPECT_EQ(result.out.find("  converted with warnings\r\n"), std::string::npos) << result.out;
  }
}

TEST(CliTerminal, TheProgressLineIsNeverWiderThanTheTerminal) {
#ifdef _WIN32
  GTEST_SKIP() << "a pseudo-terminal is a POSIX device";
#endif
  testing::TempDir dir;
  synth::SyntheticRollSpec plan;
  plan.holes = {{60, 0.5, 0.3}};
  const std::string roll = synth::RenderSyntheticCis(plan);
  // Names far longer than the terminal is wide.
  const std::string long_name(90, 'n');
  std::vector<std::string> files;
  for (int i = 0; i < 12; ++i) {
    files.push_back(dir.File(long_name + std::to_string(i) + ".cis"));
    testing::WriteBytes(files.back(), roll);
  }
  std::string command = "python3 " + ShellQuote(std::string(TARVELO_SOURCE_DIR) + "/tests/helpers/run_in_pty.py") +
                        " 60 " + CliPath() + " convert --jobs 1 --profile " + ShellQuote(dir.File("p.ini")) +
                        " --output-dir " + ShellQuote(dir.File("out"));
  for (const std::string& file : files) command += " " + ShellQuote(file);
  const auto result = RunCommand(command);
  ASSERT_EQ(result.status, 0) << result.out << result.err;

  // The terminal's lines end in "\r\n"; within a line, the progress line is every piece
  // ended by a bare "\r" (the last piece is text that stays).
  int progress_lines = 0;
  size_t start = 0;
  while (start < result.out.size()) {
    size_t end = result.out.find("\r\n", start);
    if (end == std::string::npos) end = result.out.size();
    const std::string line = result.out.substr(start, end - start);
    size_t piece = 0;
    for (size_t cut = line.find('\r'); cut != std::string::npos; cut = line.find('\r', piece)) {
      const std::string drawn = line.substr(piece, cut - piece);
      EXPECT_LE(drawn.size(), 60u) << "\"" << drawn << "\"";
      if (drawn.find(" elapsed, ") != std::string::npos) ++progress_lines;
      piece = cut + 1;
    }
    start = end + 2;
  }
  EXPECT_GT(progress_lines, 0) << result.out;
  EXPECT_NE(result.out.find("12 files: 12 converted, 0 converted with warnings, 0 failed"), std::string::npos)
      << result.out;
}

TEST(CliTerminal, VersionHelpPagesAndTheManualPage) {
  const auto version = RunCommand(CliPath() + " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("tarvelo-cli 1.0\nbuild: ", 0), 0u) << version.out;
  EXPECT_EQ(version.out.find("Beta"), std::string::npos) << version.out;

  std::vector<std::string> pages = {""};
  for (const char* command : kCommands) pages.push_back(std::string(" ") + command);
  for (const std::string& page : pages) {
    const auto help = RunCommand(CliPath() + page + " --help");
    EXPECT_EQ(help.status, 0) << page;
    for (const char* part : {"Usage: tarvelo-cli", "Examples:\n  tarvelo-cli", "Exit statuses:", "TARVELO_PROFILE",
                             "XDG_CONFIG_HOME", "SOURCE_DATE_EPOCH", "tarvelo-cli settings list"})
      EXPECT_NE(help.out.find(part), std::string::npos) << "page" << page << " lacks " << part;
  }
  EXPECT_NE(RunCommand(CliPath() + " convert --help").out.find("composer, lyricist"), std::string::npos);

#ifndef _WIN32
  // The usage line names the program as it was invoked.
  testing::TempDir dir;
  fs::create_symlink(TARVELO_CLI_PATH, dir.File("rollconv"));
  EXPECT_NE(RunCommand(ShellQuote(dir.File("rollconv")) + " --help").out.find("Usage: rollconv"), std::string::npos);

  const std::string man = testing::ReadBytes(TARVELO_MAN_PAGE);
  EXPECT_EQ(man.rfind(".TH TARVELO\\-CLI 1", 0), 0u);
  for (const std::string command : kCommands) {
    std::string heading;
    for (const char c : command)
      heading += c == '-' ? std::string("\\-") : std::string(1, static_cast<char>(std::toupper(c)));
    EXPECT_NE(man.find("\n.SH " + heading + "\n"), std::string::npos) << command;
  }
  EXPECT_NE(man.find("\\-\\-no\\-clobber"), std::string::npos);
#endif
}

// Lines of `text` (ending in "\n") wider than `columns` characters (UTF-8 sequences count once).
std::vector<std::string> WiderLines(const std::string& text, size_t columns) {
  std::vector<std::string> wide;
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    const std::string line = text.substr(start, end - start);
    const size_t width = std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; });
    if (width > columns) wide.push_back(line);
    start = end + 1;
  }
  return wide;
}

TEST(CliTerminal, TheManualPageReadsCleanlyWithinEightyColumns) {
#ifdef _WIN32
  GTEST_SKIP() << "no manual pages on Windows";
#endif
  if (RunCommand("man --version").status != 0) GTEST_SKIP() << "no man (Debian: man-db)";
  // In parentheses: the redirections RunCommand adds are the pipeline's, not col's alone.
  const auto shown = RunCommand("(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l " +
                                ShellQuote(TARVELO_MAN_PAGE) + " | col -b)");
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(shown.err, "") << "groff's warnings";
  EXPECT_EQ(WiderLines(shown.out, 80), std::vector<std::string>{});
  for (const char* section : {"NAME\n", "SYNOPSIS\n", "DESCRIPTION\n", "CONVERT\n", "EXIT STATUS\n", "ENVIRONMENT\n",
                              "FILES\n", "EXAMPLES\n"})
    EXPECT_NE(shown.out.find(std::string("\n") + section), std::string::npos) << section;
  // The exit statuses once, not on every command's page.
  size_t statuses = 0;
  for (size_t at = shown.out.find("(SIGINT)"); at != std::string::npos; at = shown.out.find("(SIGINT)", at + 1))
    ++statuses;
  EXPECT_EQ(statuses, 1u);
  // A long example is continued, not cut.
  EXPECT_NE(shown.out.find("--output-dir midi \\\n"), std::string::npos) << shown.out;
}

// The words bash completion offers for a command line whose last word is being completed.
std::vector<std::string> Completions(const std::string& words) {
  const std::string script = std::string(TARVELO_SOURCE_DIR) + "/cli/tarvelo-cli.bash";
  const auto result =
      RunCommand("bash -c " + ShellQuote("source " + ShellQuote(script) + "; COMP_WORDS=(" + CliPath() + " " + words +
                                         "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _tarvelo_cli; "
                                         "printf '%s\\n' \"${COMPREPLY[@]}\""));
  std::vector<std::string> offered;
  size_t start = 0;
  for (size_t end = result.out.find('\n'); end != std::string::npos; end = result.out.find('\n', start)) {
    offered.push_back(result.out.substr(start, end - start));
    start = end + 1;
  }
  return offered;
}

bool Offers(const std::vector<std::string>& offered, const std::string& word) {
  return std::find(offered.begin(), offered.end(), word) != offered.end();
}

TEST(CliTerminal, BashCompletionOffersCommandsOptionsRollTypesAndSettings) {
#ifdef _WIN32
  GTEST_SKIP() << "bash completion is for POSIX shells";
#endif
  if (RunCommand("bash -c true").status != 0) GTEST_SKIP() << "no bash";
  EXPECT_TRUE(Offers(Completions("con"), "convert"));
  EXPECT_TRUE(Offers(Completions("convert --no"), "--no-clobber"));
  const auto roll_types = Completions("convert --roll-type ''");
  EXPECT_TRUE(Offers(roll_types, "Duo-Art"));
  EXPECT_TRUE(Offers(roll_types, "Ampico\\ B"));
  EXPECT_TRUE(Offers(Completions("convert --roll-type Du"), "Duo-Art"));
  for (const char* command : {"convert", "align", "render", "histogram"})
    EXPECT_TRUE(Offers(Completions(std::string(command) + " --roll-type a"), "auto")) << command;
  EXPECT_TRUE(Offers(Completions("convert --preset 1"), "15"));
  EXPECT_TRUE(Offers(Completions("align --write-preset ''"), "0"));
  EXPECT_FALSE(Offers(Completions("align --write-preset ''"), "16"));
  EXPECT_TRUE(Offers(Completions("render --zoom ''"), "9"));
  EXPECT_TRUE(Offers(Completions("settings get 'Scanner Settings/ScannerDPI1'"), "Scanner\\ Settings/ScannerDPI15"));
  EXPECT_TRUE(Offers(Completions("convert --set Midi"), "Midi\\ Gen\\ Settings/ScanMidiLeadInTime="));
  EXPECT_TRUE(Offers(Completions("render-a"), "render-audio"));
  EXPECT_TRUE(Offers(Completions("render-audio --source s"), "scanimage"));
  EXPECT_TRUE(Offers(Completions("render-audio --format f"), "flac"));
  EXPECT_TRUE(Offers(Completions("play --list"), "--list-ports"));
}

}  // namespace
}  // namespace tarvelo
