// The program's text is UTF-8 on every system; file names, the system's calls and the
// replacement of files must work the same on POSIX systems and on Windows.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SyntheticRoll.h"
#include "document/TarveloDoc.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"
#include "support/AtomicFile.h"
#include "support/Console.h"
#include "support/ProcessEnvironment.h"
#include "support/TextEncoding.h"
#include "support/Utf8Path.h"

namespace tarvelo {
namespace {

using testing::TempDir;

TEST(TextEncoding, Utf8AndUtf16RoundTripEveryPlane) {
  // ASCII, Latin-1, the Basic Multilingual Plane and a supplementary-plane character (a
  // surrogate pair in UTF-16), with an embedded NUL.
  const std::string text = std::string("Chopin \xC3\x89tude \xE2\x99\xAA \xF0\x9D\x84\x9E") + '\0' + "end";
  const std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, std::u16string(u"Chopin \u00C9tude \u266A \U0001D11E") + u'\0' + u"end");
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(TextEncoding, MalformedSequencesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");                              // cut short
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");                      // overlong '/'
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");            // an encoded surrogate
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // past U+10FFFF
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
}

TEST(Utf8Path, NamesRoundTripThroughTheSystemsPaths) {
  const std::string name = "Rolls/Chopin \xC3\x89tude.cis";
  const std::filesystem::path path = PathFromUtf8(name);
  EXPECT_EQ(Utf8FromPath(path.filename()), "Chopin \xC3\x89tude.cis");
  EXPECT_EQ(Utf8FromPath(path.stem()), "Chopin \xC3\x89tude");
  EXPECT_EQ(Utf8FromPath(path.parent_path()), "Rolls");
}

// "Chopin Étude.cis" opens, and its outputs carry the name, from the core and from the
// command line.
TEST(Utf8Path, ARollWithAnAccentedNameConvertsUnderItsName) {
  TempDir dir;
  const std::string roll = dir.File("Chopin \xC3\x89tude.cis");
  testing::WriteBytes(roll, synth::RenderSyntheticCis(synth::SampleRollSpec()));

  testing::RecordingFrontEnd ui;
  TarveloDoc doc(ui, ui);
  ASSERT_TRUE(doc.Load(roll, ui.settings).ok()) << testing::ReadBytes(roll).size();
  EXPECT_TRUE(std::filesystem::is_regular_file(PathFromUtf8(dir.File("Chopin \xC3\x89tude_ScanImageMIDI.mid"))));
  EXPECT_TRUE(std::filesystem::is_regular_file(PathFromUtf8(dir.File("Chopin \xC3\x89tude_eRollMIDI.mid"))));

  const std::string out = dir.File(
      "\xC3\x9C"
      "bersicht");
  const auto run = testing::RunCommand(testing::CliPath() + " convert --quiet --profile " +
                                       testing::ShellQuote(dir.File("profile.ini")) + " --output-dir " +
                                       testing::ShellQuote(out) + " " + testing::ShellQuote(roll));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::filesystem::is_regular_file(PathFromUtf8(out) / PathFromUtf8("Chopin \xC3\x89tude_eRollMIDI.mid")))
      << run.err;
}

TEST(AtomicFile, ReplacesAnExistingFileAndLeavesNoTemporaryFile) {
  TempDir dir;
  const std::string path = dir.File(
      "Pr\xC3\xA9"
      "f\xC3\xA9rences.ini");
  ASSERT_TRUE(WriteFileAtomically(path, "first\n").ok());
  ASSERT_TRUE(WriteFileAtomically(path, std::string("second\r\n\0\x1A", 10), Flush::kNo).ok());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes).ok());
  EXPECT_EQ(bytes, std::string("second\r\n\0\x1A", 10));  // binary: no line ending or end-of-file changes
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    ++files;
    EXPECT_EQ(Utf8FromPath(entry.path().filename()),
              "Pr\xC3\xA9"
              "f\xC3\xA9rences.ini");
  }
  EXPECT_EQ(files, 1);

  EXPECT_EQ(ReadWholeFile(dir.File("gone.cis"), bytes).kind(), Result::Kind::kNotFound);
  EXPECT_EQ(ReadWholeFile(Utf8FromPath(dir.Path()), bytes).kind(), Result::Kind::kIoError);  // a folder
  // A file in a folder that does not exist cannot be written; nothing is left behind.
  const Result refused = WriteFileAtomically(dir.File("nowhere/roll.mid"), "x");
  EXPECT_EQ(refused.kind(), Result::Kind::kIoError);
  EXPECT_NE(refused.message().find("roll.mid"), std::string::npos);
}

TEST(ProcessEnvironment, NamesTheProgramAndItsFolders) {
  const std::string program = ExecutableFilePath();
  ASSERT_FALSE(program.empty());
  EXPECT_TRUE(std::filesystem::is_regular_file(PathFromUtf8(program))) << program;
  EXPECT_TRUE(std::filesystem::is_directory(PathFromUtf8(WorkingFolderPath())));
  EXPECT_FALSE(EnvironmentValue("TARVELO_SURELY_UNSET_VARIABLE").has_value());
  // A file is no terminal: progress lines are drawn only on one.
  TempDir dir;
  std::FILE* file = std::fopen(dir.File("log").c_str(), "w");
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(IsTerminal(file));
  std::fclose(file);
}

}  // namespace
}  // namespace tarvelo
