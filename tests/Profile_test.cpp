#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdlib>
#include <filesystem>

#include "helpers/Environment.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"
#include "settings/IniProfile.h"
#include "settings/OverlayProfile.h"
#include "settings/UserProfile.h"

namespace tarvelo {
namespace {

using testing::CliPath;
using testing::ReadBytes;
using testing::RunCommand;
using testing::ShellQuote;
using testing::TempDir;
using testing::WriteBytes;

#ifndef _WIN32
unsigned FileMode(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}
#endif

TEST(IniProfile, AnyStringRoundTripsThroughTheFile) {
  TempDir dir;
  const std::string path = dir.File("sub/Tarvelo.ini");  // the folder is created on save
  const std::string texts[] = {"  leading and trailing  ",
                               "a=b=c",
                               "; not a comment",
                               "# nor this",
                               "Ch\xC3\xB4pin \xE2\x99\xAB",
                               "\"quoted\" \\ back",
                               "two\nlines\r\tand tab",
                               std::string("nul\0byte", 8),
                               ""};
  {
    IniProfile profile(path);
    int n = 0;
    for (const auto& text : texts)
      EXPECT_TRUE(profile.WriteProfileString("Embedded Roll Info Settings", "Key" + std::to_string(n++), text));
  }
  IniProfile again(path);
  EXPECT_TRUE(again.Problems().empty());
  int n = 0;
  for (const auto& text : texts)
    EXPECT_EQ(again.GetProfileString("Embedded Roll Info Settings", "Key" + std::to_string(n++), "x"), text);
}

TEST(IniProfile, NamesCompareCaseInsensitivelyAndIntegersFallBackToDefault) {
  IniProfile profile;
  profile.WriteProfileInt("Scanner Settings", "ScannerDPI0", 600).Ignore();
  EXPECT_EQ(profile.GetProfileInt("scanner settings", "SCANNERDPI0", 1), 600);
  profile.WriteProfileString("Scanner Settings", "scannerdpi0", "not a number").Ignore();
  EXPECT_EQ(profile.GetProfileInt("Scanner Settings", "ScannerDPI0", 300), 300);
  EXPECT_EQ(profile.GetProfileString("Scanner Settings", "Missing", "dflt"), "dflt");
  // One entry only: the second write replaced the first whatever its spelling.
  EXPECT_EQ(profile.Entries().size(), 1u);
}

TEST(IniProfile, DamagedLinesAreReportedAndKeptOnSave) {
  TempDir dir;
  const std::string path = dir.File("Tarvelo.ini");
  WriteBytes(path,
             "; my notes\n[Scanner Settings]\nScannerDPI0=400\nthis line is junk\n[broken\n[ \t]\nKey=\"unclosed\n"
             "ScannerOffset0=\"1.25\"\n");
  IniProfile profile(path);
  EXPECT_EQ(profile.Problems().size(), 4u);
  EXPECT_EQ(profile.GetProfileInt("Scanner Settings", "ScannerDPI0", 0), 400);
  EXPECT_EQ(profile.GetProfileString("Scanner Settings", "ScannerOffset0", ""), "1.25");
  ASSERT_TRUE(profile.WriteProfileInt("Scanner Settings", "ScannerDPI0", 500));
  const std::string saved = ReadBytes(path);
  EXPECT_NE(saved.find("; my notes"), std::string::npos);
  EXPECT_NE(saved.find("this line is junk"), std::string::npos);
  EXPECT_NE(saved.find("Key=\"unclosed"), std::string::npos);
  EXPECT_NE(saved.find("ScannerDPI0=500"), std::string::npos);
  // Nothing but the profile and its lock file is left in the folder (the temporary file was renamed).
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
  EXPECT_TRUE(std::filesystem::exists(path + ".lock"));
}

TEST(IniProfile, ByteOrderMarksStartingALineAreNotPartOfIt) {
  // Two marks (an editor added one to a file that had one), a mark in the middle (two files
  // joined), and a mark that a save would bring to the start of the file (the key lines before
  // it are replaced by later ones and left out): each must read, save and read back alike.
  const std::string bom = "\xEF\xBB\xBF";
  const std::string texts[] = {bom + "[Scanner Settings]\nScannerDPI0=400\n",
                               bom + bom + "[Scanner Settings]\nScannerDPI0=400\n",
                               "[Other]\nA=1\n" + bom + "[Scanner Settings]\nScannerDPI0=400\n",
                               "A=1\n" + bom + "[Scanner Settings]\nA=2\nScannerDPI0=400\n"};
  for (const std::string& text : texts) {
    IniProfile profile;
    profile.LoadFromText(text);
    EXPECT_EQ(profile.GetProfileInt("Scanner Settings", "ScannerDPI0", 0), 400);
    IniProfile again;
    again.LoadFromText(profile.ToText());
    const auto before = profile.Entries();
    const auto after = again.Entries();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
      EXPECT_EQ(after[i].section + "/" + after[i].key + "=" + after[i].value,
                before[i].section + "/" + before[i].key + "=" + before[i].value);
  }
}

TEST(IniProfile, UnwritableProfileReportsAndKeepsValuesInMemory) {
  TempDir dir;
  WriteBytes(dir.File("plain-file"), "x");
  // Not even root can create a file inside a regular file.
  IniProfile profile(dir.File("plain-file/Tarvelo.ini"));
  const Result written = profile.WriteProfileInt("S", "K", 1);
  EXPECT_EQ(written.kind(), Result::Kind::kIoError);
  EXPECT_NE(written.message().find("Tarvelo.ini"), std::string::npos) << written.message();
  EXPECT_EQ(profile.GetProfileInt("S", "K", 0), 1);
  EXPECT_FALSE(profile.Problems().empty());
}

TEST(IniProfile, SaveFailureLeavesTheOldFileIntact) {
  TempDir dir;
  const std::string path = dir.File("Tarvelo.ini");
  {
    IniProfile profile(path);
    profile.WriteProfileInt("S", "K", 1).Ignore();
  }
  // A folder in the profile's place cannot be replaced by a file.
  const std::string blocked = dir.File("blocked.ini");
  std::filesystem::create_directory(blocked);
  IniProfile profile(blocked);
  EXPECT_FALSE(profile.WriteProfileInt("S", "K", 2));
  EXPECT_TRUE(std::filesystem::is_directory(blocked));
  EXPECT_EQ(IniProfile(path).GetProfileInt("S", "K", 0), 1);
}

#ifndef _WIN32
TEST(IniProfile, AReadOnlyProfileIsNeverReplaced) {
  TempDir dir;
  const std::string path = dir.File("p.ini");
  WriteBytes(path, "[S]\nK=1\n");
  ::chmod(path.c_str(), 0444);
  IniProfile profile(path);
  const Result written = profile.WriteProfileInt("S", "K", 2);
  EXPECT_EQ(written.kind(), Result::Kind::kIoError);
  EXPECT_EQ(written.message(),
            "the profile " + path + " could not be saved: cannot replace " + path + ": the file is read-only");
  EXPECT_EQ(ReadBytes(path), "[S]\nK=1\n");
  EXPECT_EQ(FileMode(path), 0444u);
  EXPECT_EQ(profile.GetProfileInt("S", "K", 0), 2);  // the session goes on with the new value
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);  // the file and its lock
}

TEST(IniProfile, ReplacementKeepsTheFileMode) {
  TempDir dir;
  const std::string path = dir.File("p.ini");
  for (const unsigned mode : {0600u, 0640u, 0664u}) {
    WriteBytes(path, "[S]\nK=1\n");
    ::chmod(path.c_str(), mode);
    ASSERT_TRUE(IniProfile(path).WriteProfileInt("S", "K", 2).ok());
    EXPECT_EQ(FileMode(path), mode);
    EXPECT_EQ(IniProfile(path).GetProfileInt("S", "K", 0), 2);
  }
}

#endif  // _WIN32

// A write starts from the file as it is now, not as this profile read it.
TEST(IniProfile, AWriteKeepsWhatAnotherWriterSavedMeanwhile) {
  TempDir dir;
  const std::string path = dir.File("p.ini");
  IniProfile first(path);
  IniProfile second(path);
  ASSERT_TRUE(first.WriteProfileInt("S", "A", 1).ok());
  ASSERT_TRUE(second.WriteProfileInt("S", "B", 2).ok());
  const IniProfile stored(path);
  EXPECT_EQ(stored.GetProfileInt("S", "A", 0), 1);
  EXPECT_EQ(stored.GetProfileInt("S", "B", 0), 2);
  EXPECT_EQ(second.GetProfileInt("S", "A", 0), 1);
}

#ifndef _WIN32
// Two command lines that change different keys of one profile at the same moment, 50 times
// over: both changes are kept every time.
TEST(IniProfile, ConcurrentCommandLinesSettingDifferentKeysBothKeepTheirChange) {
  TempDir dir;
  const std::string profile = dir.File("p.ini");
  const std::string set = CliPath() + " settings --profile " + ShellQuote(profile) + " set ";
  const std::string script = "lost=0; for i in $(seq 1 50); do " + set +
                             "\"Midi Gen Settings/MidiCopyrightInfoString=A$i\" & " + set +
                             "\"Midi eRoll Settings/eRollMidiFileSuffix=_B$i\" & wait; "
                             "grep -qx \"MidiCopyrightInfoString=\\\"A$i\\\"\" " +
                             ShellQuote(profile) +
                             " || lost=$((lost+1)); "
                             "grep -qx \"eRollMidiFileSuffix=\\\"_B$i\\\"\" " +
                             ShellQuote(profile) +
                             " || lost=$((lost+1)); "
                             "done; echo $lost";
  const auto result = RunCommand("sh -c " + ShellQuote(script));
  EXPECT_EQ(result.out, "0\n") << result.err;
}

#endif  // _WIN32

TEST(IniProfile, DefaultPathFollowsEnvironment) {
  using testing::ScopedEnvironment;
  {
    const ScopedEnvironment profile("TARVELO_PROFILE", "/tmp/elsewhere.ini");
    EXPECT_EQ(DefaultProfilePath(), "/tmp/elsewhere.ini");
  }
  const ScopedEnvironment no_profile("TARVELO_PROFILE", std::nullopt);
  {
    const ScopedEnvironment config("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(DefaultProfilePath(), "/cfg/Quenby_Software/Tarvelo.ini");
  }
  const ScopedEnvironment no_config("XDG_CONFIG_HOME", std::nullopt);
  const ScopedEnvironment home("HOME", "/home/archivist");
  EXPECT_EQ(DefaultProfilePath(), "/home/archivist/.config/Quenby_Software/Tarvelo.ini");
}

// Every front end opens its profile through OpenProfile: a named file first, then the file
// TARVELO_PROFILE names (on every system), then the user's default profile.
TEST(UserProfile, ANamedFileOrTarveloProfileIsTheIniFileUsed) {
  TempDir dir;
  const testing::ScopedEnvironment file("TARVELO_PROFILE", dir.File("from-environment.ini"));
  OpenedProfile opened = OpenDefaultProfile();
  EXPECT_EQ(opened.Location, dir.File("from-environment.ini"));
  ASSERT_TRUE(opened.Store->WriteProfileInt("Midi Gen Settings", "ScanMidiLeadInTime", 4));
  EXPECT_EQ(IniProfile(dir.File("from-environment.ini")).GetProfileInt("Midi Gen Settings", "ScanMidiLeadInTime", 0),
            4);

  WriteBytes(dir.File("named.ini"), "[Midi Gen Settings]\nScanMidiLeadInTime=6\nbroken line\n");
  opened = OpenProfile(dir.File("named.ini"));
  EXPECT_EQ(opened.Location, dir.File("named.ini"));
  EXPECT_EQ(opened.Store->GetProfileInt("Midi Gen Settings", "ScanMidiLeadInTime", 0), 6);
  ASSERT_EQ(opened.Problems.size(), 1u);
  EXPECT_NE(opened.Problems[0].find("line 3"), std::string::npos);
}

TEST(OverlayProfile, OverridesWinAndHeldWritesNeverReachTheBase) {
  IniProfile base;
  base.WriteProfileInt("S", "A", 1).Ignore();
  base.WriteProfileInt("S", "B", 2).Ignore();
  OverlayProfile held(base, OverlayProfile::Writes::kHeld);
  held.Override("s", "a", "10");
  EXPECT_EQ(held.GetProfileInt("S", "A", 0), 10);
  EXPECT_EQ(held.GetProfileInt("S", "B", 0), 2);
  held.WriteProfileInt("S", "B", 20).Ignore();
  EXPECT_EQ(held.GetProfileInt("S", "B", 0), 20);
  EXPECT_EQ(base.GetProfileInt("S", "B", 0), 2);

  OverlayProfile through(base);
  through.Override("S", "A", "10");
  through.WriteProfileInt("S", "A", 11).Ignore();
  EXPECT_EQ(through.GetProfileInt("S", "A", 0), 11);
  EXPECT_EQ(base.GetProfileInt("S", "A", 0), 11);
}

}  // namespace
}  // namespace tarvelo
