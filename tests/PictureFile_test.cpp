#include <gtest/gtest.h>

#include <filesystem>

#include "helpers/PngReader.h"
#include "helpers/TestPaths.h"
#include "pictures/LabelFont.h"
#include "pictures/PictureFile.h"
#include "pictures/PngFile.h"

namespace tarvelo {
namespace {

using testing::TempDir;

constexpr uint32_t kWhite = MakeColour(255, 255, 255);

// The names in a folder.
std::vector<std::string> Listing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  return names;
}

TEST(PngFile, WrittenPixelsReadBackByAnotherDecoder) {
  TARVELO_REQUIRE_PNG_READER();
  TempDir dir;
  RgbImage image(7, 3, MakeColour(1, 2, 3));
  image.SetPixel(6, 2, MakeColour(200, 100, 50));
  const std::string path = dir.File("small.png");
  ASSERT_TRUE(WritePngFile(path, image));
  RgbImage read;
  std::string error;
  ASSERT_TRUE(testing::ReadPngWithPil(path, read, error)) << error;
  EXPECT_EQ(read.width, 7);
  EXPECT_EQ(read.height, 3);
  EXPECT_EQ(read.pixels, image.pixels);
  EXPECT_EQ(Listing(dir.Path()).size(), 1u) << "no temporary file left";
}

TEST(PngFile, FailuresNameThePathAndLeaveNoFile) {
  TempDir dir;
  const RgbImage image(4, 4, kWhite);
  const std::string missing_folder = dir.File("no/such/folder/view.png");
  Result result = WritePngFile(missing_folder, image);
  EXPECT_EQ(result.kind(), Result::Kind::kIoError);
  EXPECT_NE(result.message().find(missing_folder), std::string::npos) << result.message();
  // A folder in the way: the rename fails, the temporary file goes.
  std::filesystem::create_directory(dir.File("taken.png"));
  result = WritePngFile(dir.File("taken.png"), image);
  EXPECT_FALSE(result);
  EXPECT_NE(result.message().find("taken.png"), std::string::npos) << result.message();
  EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"taken.png"});
  // An old picture stays as it was when the new one cannot be made.
  const std::string old_picture = dir.File("old.png");
  testing::WriteBytes(old_picture, "old");
  result = WritePngFile(old_picture, RgbImage());
  EXPECT_EQ(result.kind(), Result::Kind::kInvalid);
  EXPECT_NE(result.message().find("0 x 0"), std::string::npos) << result.message();
  EXPECT_EQ(testing::ReadBytes(old_picture), "old");
}

TEST(LabelFont, MissingOrBrokenFontIsReported) {
  TempDir dir;
  LabelFont font;
  Result result = font.Load(dir.File("none.ttf"));
  EXPECT_EQ(result.kind(), Result::Kind::kNotFound);
  EXPECT_NE(result.message().find("none.ttf"), std::string::npos) << result.message();
  testing::WriteBytes(dir.File("bad.ttf"), "not a font");
  result = font.Load(dir.File("bad.ttf"));
  EXPECT_EQ(result.kind(), Result::Kind::kCorrupt);
  EXPECT_FALSE(font.IsLoaded());
  // Without a font the labels are left out, nothing else happens.
  RgbImage image(20, 20, kWhite);
  font.Draw({0, 0, "x"}, image);
  EXPECT_EQ(image.Pixel(5, 5), kWhite);
}

TEST(LabelFont, TextIsWrittenInsideItsCell) {
  std::string path;
  if (!FindLabelFont(path)) GTEST_SKIP() << "no font installed";
  LabelFont font;
  ASSERT_TRUE(font.Load(path));
  Picture picture;
  picture.Image = RgbImage(80, 40, kWhite);
  picture.Labels.push_back({10, 5, "1 feet", MakeColour(0, 0, 255)});
  picture.Labels.push_back({70, 30, "13\"\xE9", MakeColour(0, 0, 0)});  // clipped; a Latin-1 byte
  font.DrawAll(picture);
  int inked = 0, bluish = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 80; ++x) {
      const uint32_t colour = picture.Image.Pixel(x, y);
      if (colour == kWhite) continue;
      if (y < 30) {
        EXPECT_GE(x, 10) << "nothing left of the label's cell";
        EXPECT_GE(y, 5) << "nothing above it";
        EXPECT_LT(y, 5 + 16) << "within one line of text";
        ++inked;
        bluish += ColourBlue(colour) == 255;
      }
    }
  EXPECT_GT(inked, 20);
  EXPECT_EQ(bluish, inked) << "blue text smoothed against white keeps full blue";
}

}  // namespace
}  // namespace tarvelo
