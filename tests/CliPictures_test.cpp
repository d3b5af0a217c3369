// tarvelo-cli on pictures of rolls: folders give them with --images only, a damaged picture
// fails the file with exit status 1 and writes nothing, info reports a picture's lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "SyntheticRoll.h"
#include "helpers/PictureWriting.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using nlohmann::json;
using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;

// 300 rows of 400 pixels: light margins and holes in three columns on grey paper.
testing::PictureSheet SmallRoll() {
  testing::PictureSheet sheet;
  sheet.Width = 400;
  sheet.Rows = 300;
  sheet.Row = [](int row) {
    std::vector<uint8_t> grey(400, 100);
    for (int x = 0; x < 20; ++x) grey[static_cast<size_t>(x)] = grey[399 - static_cast<size_t>(x)] = 240;
    for (int column = 0; column < 3; ++column)
      if ((row / 30 + column) % 2 == 0)
        for (int x = 80 + 100 * column; x < 88 + 100 * column; ++x) grey[static_cast<size_t>(x)] = 240;
    return grey;
  };
  return sheet;
}

class CliPictures : public ::testing::Test {
 protected:
  testing::CommandResult Run(const std::string& arguments) {
    return RunCommand(CliPath() + " " + arguments + " --profile " + ShellQuote(dir_.File("profile.ini")));
  }
  testing::TempDir dir_;
};

TEST_F(CliPictures, FoldersGivePicturesWithImagesOnly) {
  const std::filesystem::path rolls = dir_.Path() / "rolls";
  std::filesystem::create_directory(rolls);
  synth::SyntheticRollSpec plan;
  plan.holes = {{20, 0.5, 0.4}};
  testing::WriteBytes((rolls / "a.cis").string(), synth::RenderSyntheticCis(plan));
  ASSERT_TRUE(testing::WritePng((rolls / "b.PNG").string(), SmallRoll()));
  ASSERT_TRUE(testing::WriteJpeg((rolls / "c.jpeg").string(), SmallRoll()));
  testing::WriteBytes((rolls / "notes.txt").string(), "not a scan");

  const auto without = Run("convert --json --no-eroll-midi " + ShellQuote(rolls.string()));
  EXPECT_EQ(json::parse(without.out)["files"].size(), 1u) << without.out;
  const auto with = Run("convert --json --images --no-eroll-midi " + ShellQuote(rolls.string()));
  const json report = json::parse(with.out);
  ASSERT_EQ(report["files"].size(), 3u) << with.out;
  EXPECT_NE(with.status, 1) << with.err;
  EXPECT_TRUE(std::filesystem::exists(rolls / "b_ScanImageMIDI.mid"));
  EXPECT_TRUE(std::filesystem::exists(rolls / "c_ScanImageMIDI.mid"));

  const auto info = Run("info --json " + ShellQuote((rolls / "b.PNG").string()));
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(json::parse(info.out)["files"][0]["lines_read"], 300);
}

TEST_F(CliPictures, ADamagedPictureFailsAndWritesNothing) {
  const std::string good = dir_.File("roll.tif");
  ASSERT_TRUE(testing::WriteTiff(good, SmallRoll()));
  const std::string bytes = testing::ReadBytes(good);
  const std::string cut = dir_.File("cut.tif");
  testing::WriteBytes(cut, bytes.substr(0, bytes.size() / 2));
  for (const std::string& command :
       {"convert " + ShellQuote(cut), "align " + ShellQuote(cut), "info " + ShellQuote(cut),
        "render -o " + ShellQuote(dir_.File("cut_view.png")) + " " + ShellQuote(cut)}) {
    SCOPED_TRACE(command);
    const auto result = Run(command);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cut.tif"), std::string::npos) << result.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.File("cut_ScanImageMIDI.mid")));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("cut_view.png")));
  // Told the wrong hole colour, the picture still converts, as the user asked.
  const auto dark = Run("convert --image-holes dark --image-start top --image-lpi 120 " + ShellQuote(good));
  EXPECT_NE(dark.status, 1) << dark.err;
  EXPECT_NE(dark.err.find("holes dark"), std::string::npos) << dark.err;
  EXPECT_NE(dark.err.find("120 lines per inch; played from its top row"), std::string::npos) << dark.err;
}

}  // namespace
}  // namespace tarvelo
