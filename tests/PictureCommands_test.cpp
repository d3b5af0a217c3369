#include <gtest/gtest.h>

#include <filesystem>

#include "SyntheticRoll.h"
#include "helpers/PngReader.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;
using testing::TempDir;

constexpr uint32_t kRulerBackground = MakeColour(255, 255, 170);
constexpr uint32_t kRed = MakeColour(255, 0, 0);
constexpr uint32_t kBlue = MakeColour(0, 0, 255);

class PictureCommands : public ::testing::Test {
 protected:
  std::string Profile() const { return " --profile " + ShellQuote(dir_.File("profile.ini")); }
  TempDir dir_;
};

TEST_F(PictureCommands, RenderOfARealScanShowsTheFootTickAtTheTop) {
  TARVELO_REQUIRE_REAL_CIS();
  TARVELO_REQUIRE_PNG_READER();
  const std::string scan = (testing::RealCisDir() / "stepper_single.CIS").string();
  const std::string picture = dir_.File("single.png");
  const auto run = RunCommand(CliPath() + " render" + Profile() + " " + ShellQuote(scan) + " -o " +
                              ShellQuote(picture) + " --from 12 --zoom 5 --height 600");
  ASSERT_EQ(run.status, 0) << run.err;
  RgbImage image;
  std::string error;
  ASSERT_TRUE(testing::ReadPngWithPil(picture, image, error)) << error;
  // As wide as what it draws (the single array's 8.1 inches and Fail-Safe's upper roll edge)
  // with a margin, not the whole canvas: no dot in the last columns.
  EXPECT_GT(image.width, 600);
  EXPECT_LT(image.width, 1000);
  EXPECT_EQ(image.height, 600);
  for (int y = 45; y < image.height; ++y)
    for (int x = image.width - 8; x < image.width; ++x)
      ASSERT_NE(image.Pixel(x, y), MakeColour(8, 0, 0)) << x << "," << y;
  // Inch 12 at the top: the foot tick (blue, from column 7) is the first tick below the scales,
  // and there is no other foot tick in the 9.5 inches shown.
  std::vector<int> foot_rows, inch_rows;
  for (int y = 0; y < image.height; ++y) {
    if (image.Pixel(20, y) == kBlue) foot_rows.push_back(y);
    if (image.Pixel(20, y) == kRed) inch_rows.push_back(y);
  }
  ASSERT_EQ(foot_rows.size(), 1u);
  const int row = foot_rows[0];
  EXPECT_GE(row, 45);
  EXPECT_LT(row, 45 + 63 / 4) << "within a quarter inch of the top";
  EXPECT_EQ(image.Pixel(6, row), kRulerBackground);
  EXPECT_EQ(image.Pixel(7, row), kBlue);
  EXPECT_EQ(image.Pixel(43, row), kBlue);
  EXPECT_EQ(inch_rows.size(), 8u) << "inches 13 to 20";
  EXPECT_EQ(inch_rows[0], row + 63);
  // The histogram of the same scan.
  const std::string histogram = dir_.File("histogram.png");
  const auto drawn =
      RunCommand(CliPath() + " histogram" + Profile() + " " + ShellQuote(scan) + " -o " + ShellQuote(histogram));
  ASSERT_EQ(drawn.status, 0) << drawn.err;
  ASSERT_TRUE(testing::ReadPngWithPil(histogram, image, error)) << error;
  EXPECT_EQ(image.width, 850);
  EXPECT_EQ(image.Pixel(0, 0), MakeColour(230, 230, 210));
  EXPECT_EQ(image.Pixel(10 + 53, 30 + 300), MakeColour(230, 230, 230)) << "distances below 13 greyed";
}

TEST_F(PictureCommands, UnwritablePictureAndBadOptionsFailClearly) {
  const std::string roll = dir_.File("roll.cis");
  synth::SyntheticRollSpec plan;
  plan.holes = {{60, 0.5, 0.3}};
  testing::WriteBytes(roll, synth::RenderSyntheticCis(plan));
  const std::string nowhere = dir_.File("missing/roll.png");
  auto run = RunCommand(CliPath() + " render" + Profile() + " " + ShellQuote(roll) + " -o " + ShellQuote(nowhere));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(nowhere), std::string::npos) << run.err;
  run = RunCommand(CliPath() + " histogram" + Profile() + " " + ShellQuote(roll) + " -o " + ShellQuote(nowhere));
  EXPECT_EQ(run.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("missing")));

  const std::string picture = dir_.File("roll.png");
  run = RunCommand(CliPath() + " render" + Profile() + " " + ShellQuote(roll) + " -o " + ShellQuote(picture) +
                   " --from 99");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("--from 99: the roll ends at"), std::string::npos) << run.err;
  run = RunCommand(CliPath() + " render" + Profile() + " " + ShellQuote(roll) + " -o " + ShellQuote(picture) +
                   " --zoom 10");
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(std::filesystem::exists(picture));
  // A file that is not a scan: the reader's message, no picture.
  run = RunCommand(CliPath() + " render" + Profile() + " " + ShellQuote(dir_.File("notes.txt")) + " -o " +
                   ShellQuote(picture));
  EXPECT_EQ(run.status, 1);
  EXPECT_FALSE(std::filesystem::exists(picture));
  run = RunCommand(CliPath() + " render" + Profile() + " " + ShellQuote(roll) + " -o " + ShellQuote(picture));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::filesystem::exists(picture));
}

TEST_F(PictureCommands, OverviewOfARealScanDrawsTheWholeRollWithALegibleRuler) {
  TARVELO_REQUIRE_REAL_CIS();
  TARVELO_REQUIRE_PNG_READER();
  const std::string scan = (testing::RealCisDir() / "stepper_single.CIS").string();
  const std::string picture = dir_.File("overview.png");
  const auto run = RunCommand(CliPath() + " render" + Profile() + " " + ShellQuote(scan) +
                              " --overview --width 300 -o " + ShellQuote(picture));
  ASSERT_EQ(run.status, 0) << run.err;
  RgbImage image;
  std::string error;
  ASSERT_TRUE(testing::ReadPngWithPil(picture, image, error)) << error;
  // 27.5 feet of roll on 11.25 inches of Fail-Safe paper: fitted into the 2000 rows allowed.
  EXPECT_EQ(image.width, 300);
  EXPECT_EQ(image.height, 2000);
  int holes = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 64; x < image.width; ++x) holes += image.Pixel(x, y) == MakeColour(8, 0, 0);
  EXPECT_GT(holes, 1000);
  // The ruler's labels: runs of rows with text in the band left of the foot ticks, each a
  // label's height at most, with blank rows between them.
  std::vector<std::pair<int, int>> texts;  // first row, rows
  for (int y = 0; y < image.height; ++y) {
    bool text = false;
    for (int x = 0; x < 48 && !text; ++x)
      text = image.Pixel(x, y) != kRulerBackground && image.Pixel(x, y) != MakeColour(255, 255, 255);
    if (!text) continue;
    if (!texts.empty() && texts.back().first + texts.back().second == y) {
      ++texts.back().second;
    } else {
      texts.emplace_back(y, 1);
    }
  }
  EXPECT_GE(texts.size(), 5u) << "a label every few feet of 27";
  for (const auto& [first, rows] : texts) EXPECT_LE(rows, 16) << "labels run together at row " << first;
  // Options of the roll view do not mix with the overview.
  const auto mixed = RunCommand(CliPath() + " render" + Profile() + " " + ShellQuote(scan) +
                                " --overview --zoom 3 -o " + ShellQuote(dir_.File("mixed.png")));
  EXPECT_EQ(mixed.status, 2);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("mixed.png")));
}

}  // namespace
}  // namespace tarvelo
