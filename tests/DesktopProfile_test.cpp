// The desktop's section of the profile: window geometry, last folder and recent files.
#include "app/DesktopProfile.h"

#include <gtest/gtest.h>

#include "helpers/TestPaths.h"
#include "settings/IniProfile.h"

namespace tarvelo::app {
namespace {

TEST(DesktopProfile, RecentFilesKeepSixDistinctEntriesMostRecentFirst) {
  RecentFiles recent;
  for (int index = 1; index <= 8; ++index) recent.Add("/rolls/" + std::to_string(index) + ".cis");
  recent.Add("/rolls/5.cis");  // opened again: to the front, not twice
  recent.Add("");
  const std::vector<std::string> expected = {"/rolls/5.cis", "/rolls/8.cis", "/rolls/7.cis",
                                             "/rolls/6.cis", "/rolls/4.cis", "/rolls/3.cis"};
  EXPECT_EQ(recent.Paths(), expected);
  recent.Remove("/rolls/7.cis");
  EXPECT_EQ(recent.Paths().size(), 5u);
}

TEST(DesktopProfile, EverythingReadsBackFromTheProfileFile) {
  testing::TempDir dir;
  const std::string path = dir.File("Tarvelo.ini");
  {
    IniProfile profile(path);
    DesktopProfile desktop(profile);
    EXPECT_FALSE(desktop.Geometry().has_value());  // first start: 1000 x 700
    EXPECT_EQ(desktop.LastFolder(), "");
    RecentFiles recent;
    recent.Add("/rolls/a b.cis");
    recent.Add("/rolls/Ä=\"x\".CIS");
    ASSERT_TRUE(desktop.SaveRecentFiles(recent).ok());
    ASSERT_TRUE(desktop.SaveGeometry({12, 34, 1100, 750, true}).ok());
    ASSERT_TRUE(desktop.SaveLastFolder("/rolls").ok());
  }
  IniProfile profile(path);
  EXPECT_TRUE(profile.Problems().empty());
  EXPECT_EQ(profile.GetProfileString("Desktop", "RecentFile1", ""), "/rolls/Ä=\"x\".CIS");
  const DesktopProfile desktop(profile);
  const std::vector<std::string> expected = {"/rolls/Ä=\"x\".CIS", "/rolls/a b.cis"};
  EXPECT_EQ(desktop.LoadRecentFiles().Paths(), expected);
  const std::optional<WindowGeometry> geometry = desktop.Geometry();
  ASSERT_TRUE(geometry.has_value());
  EXPECT_EQ(geometry->Left, 12);
  EXPECT_EQ(geometry->Top, 34);
  EXPECT_EQ(geometry->Width, 1100);
  EXPECT_EQ(geometry->Height, 750);
  EXPECT_TRUE(geometry->Maximized);
  EXPECT_EQ(desktop.LastFolder(), "/rolls");
}

TEST(DesktopProfile, AProfileThatCannotBeWrittenSaysWhy) {
  testing::TempDir dir;
  testing::WriteBytes(dir.File("not-a-folder"), "x");
  IniProfile profile(dir.File("not-a-folder/Tarvelo.ini"));
  DesktopProfile desktop(profile);
  const Result saved = desktop.SaveGeometry({0, 0, 1000, 700, false});
  EXPECT_FALSE(saved.ok());
  EXPECT_NE(saved.message().find("not-a-folder"), std::string::npos) << saved.message();
}

}  // namespace
}  // namespace tarvelo::app
