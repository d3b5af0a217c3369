// Pictures of a synthetic roll in every format, bit depth, colour form and orientation read back
// into the roll's own scan lines; pictures that cannot be read refused with a message.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "cis/CisWriter.h"
#include "helpers/PictureWriting.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "images/PictureGeometry.h"
#include "images/ScanFile.h"
#include "tools/SyntheticRoll.h"

namespace tarvelo {
namespace {

using testing::PictureColour;
using testing::PictureSheet;
using testing::RecordingFrontEnd;

constexpr uint8_t kHoleGrey = 225;
constexpr uint8_t kPaperGrey = 95;

// A short roll at 56 pixels per inch (square pixels): eleven holes on tracks across the paper.
synth::SyntheticRollSpec PictureRoll() {
  synth::SyntheticRollSpec plan;
  plan.scan_width = 700;
  plan.dpi = 56;
  plan.lines_per_inch = 56;
  plan.offset = 1.0;
  for (int n = 0; n < 11; ++n) plan.holes.push_back({10 + 8 * n, 0.5 + 0.6 * n, 0.3 + 0.1 * (n % 3)});
  return plan;
}

// Which pixels of a line are holes: runs 0, 2, ... of the synthetic roll (holes and the space
// beyond the paper), or the runs `polarity` names.
std::vector<bool> HolePixels(std::span<const int32_t> transitions, bool even_runs_are_holes) {
  std::vector<bool> holes;
  int32_t start = 0;
  bool even = true;
  for (const int32_t end : transitions) {
    for (int32_t x = start; x < end; ++x) holes.push_back(even == even_runs_are_holes);
    start = end;
    even = !even;
  }
  return holes;
}

// The picture of `plan`: line 0 at the bottom row (unless `top_first`), holes light (or dark).
PictureSheet PictureOf(const synth::SyntheticRollSpec& plan, bool holes_light = true, bool top_first = false) {
  PictureSheet sheet;
  sheet.Width = plan.scan_width;
  sheet.Rows = synth::SyntheticLineCount(plan);
  sheet.Row = [plan, holes_light, top_first, rows = sheet.Rows](int row) {
    const int line = top_first ? row : rows - 1 - row;
    const std::vector<int32_t> transitions = synth::SyntheticLineTransitions(plan, line);
    std::vector<uint8_t> grey;
    for (const bool hole : HolePixels(transitions, true))
      grey.push_back((hole == holes_light) ? kHoleGrey : kPaperGrey);
    return grey;
  };
  return sheet;
}

// Share of the pixels of all lines whose hole or paper the picture's lines give as the roll does.
double AgreementWithRoll(const CisScanData& data, const synth::SyntheticRollSpec& plan) {
  int64_t same = 0;
  int64_t all = 0;
  const bool even_holes = data.Header.Picture.Polarity == HolePolarity::kEvenRuns;
  for (int line = 0; line < data.Lines.Size(); ++line) {
    const std::vector<bool> expected = HolePixels(synth::SyntheticLineTransitions(plan, line), true);
    const std::vector<bool> read = HolePixels(data.Lines.Transitions(line), even_holes);
    if (read.size() != expected.size()) return 0;
    for (size_t x = 0; x < read.size(); ++x) same += read[x] == expected[x];
    all += static_cast<int64_t>(read.size());
  }
  return all == 0 ? 0 : static_cast<double>(same) / static_cast<double>(all);
}

Result Open(const std::string& path, CisScanData& data, RecordingFrontEnd& ui, PictureSettings settings = {}) {
  ScanOpenOptions options;
  options.Picture = settings;
  return OpenScanFile(path, options, data, ui);
}

struct FormatCase {
  const char* Name;
  const char* File;
  PictureColour Colour;
  int Bits;
  bool Tiled;
  int Orientation;
};

TEST(PictureReader, EveryFormatGivesTheRollsLines) {
  const synth::SyntheticRollSpec plan = PictureRoll();
  const FormatCase cases[] = {
      {"PNG 8-bit grey", "roll.png", PictureColour::kGrey, 8, false, 1},
      {"PNG 16-bit grey", "roll16.PNG", PictureColour::kGrey, 16, false, 1},
      {"PNG RGB", "rgb.png", PictureColour::kRgb, 8, false, 1},
      {"PNG palette", "palette.png", PictureColour::kPalette, 8, false, 1},
      {"TIFF 8-bit grey strips", "roll.tif", PictureColour::kGrey, 8, false, 1},
      {"TIFF 16-bit grey tiles", "roll16.tiff", PictureColour::kGrey, 16, true, 1},
      {"TIFF RGB tiles", "rgb.tif", PictureColour::kRgb, 8, true, 1},
      {"TIFF palette", "palette.tif", PictureColour::kPalette, 8, false, 1},
      {"TIFF stored bottom row first", "bottom.tif", PictureColour::kGrey, 8, false, 4},
      {"TIFF stored mirrored", "mirrored.tif", PictureColour::kGrey, 8, true, 2},
      {"TIFF turned half a turn", "turned.tif", PictureColour::kGrey, 8, false, 3},
  };
  testing::TempDir dir;
  for (const FormatCase& format : cases) {
    SCOPED_TRACE(format.Name);
    PictureSheet sheet = PictureOf(plan);
    sheet.Colour = format.Colour;
    sheet.Bits = format.Bits;
    sheet.Tiled = format.Tiled;
    sheet.Orientation = format.Orientation;
    const int rows = sheet.Rows;
    const int width = sheet.Width;
    const testing::PictureRow upright = sheet.Row;
    // The file holds the picture as its orientation tag says it is stored.
    const bool rows_reversed = format.Orientation == 3 || format.Orientation == 4;
    const bool columns_reversed = format.Orientation == 2 || format.Orientation == 3;
    sheet.Row = [=](int row) {
      std::vector<uint8_t> grey = upright(rows_reversed ? rows - 1 - row : row);
      if (columns_reversed) std::reverse(grey.begin(), grey.end());
      return grey;
    };
    const std::string path = dir.File(format.File);
    const bool png = std::string(format.File).find(".png") != std::string::npos ||
                     std::string(format.File).find(".PNG") != std::string::npos;
    ASSERT_TRUE(png ? testing::WritePng(path, sheet) : testing::WriteTiff(path, sheet));
    CisScanData data;
    RecordingFrontEnd ui;
    ASSERT_TRUE(Open(path, data, ui).ok()) << (ui.messages.empty() ? "" : ui.messages.back());
    EXPECT_EQ(data.Lines.Size(), rows);
    EXPECT_EQ(data.Header.ScanWidth, width);
    EXPECT_TRUE(data.Header.Picture.HolesLight);
    EXPECT_EQ(AgreementWithRoll(data, plan), 1.0);
  }
}

TEST(PictureReader, JpegNoiseLeavesTheHoles) {
  const synth::SyntheticRollSpec plan = PictureRoll();
  testing::TempDir dir;
  for (const PictureColour colour : {PictureColour::kGrey, PictureColour::kRgb}) {
    PictureSheet sheet = PictureOf(plan);
    sheet.Colour = colour;
    sheet.Progressive = colour == PictureColour::kRgb;
    sheet.Quality = 60;
    const std::string path = dir.File("roll.jpg");
    ASSERT_TRUE(testing::WriteJpeg(path, sheet));
    CisScanData data;
    RecordingFrontEnd ui;
    ASSERT_TRUE(Open(path, data, ui).ok());
    EXPECT_GT(AgreementWithRoll(data, plan), 0.995);
    // The noise does not break the runs up: no more transitions than the roll has (each line
    // one more, its light margin's run after the empty dark run 0), give or take 2 %.
    size_t roll_transitions = 0;
    for (int line = 0; line < data.Lines.Size(); ++line)
      roll_transitions += synth::SyntheticLineTransitions(plan, line).size() + 1;
    EXPECT_LE(data.Lines.TotalTransitions(), roll_transitions * 102 / 100);
  }
}

TEST(PictureReader, HolesDarkOrLightAndTheStartRowFoundOrAsSet) {
  const synth::SyntheticRollSpec plan = PictureRoll();
  testing::TempDir dir;
  const std::string dark = dir.File("dark.png");
  ASSERT_TRUE(testing::WritePng(dark, PictureOf(plan, false)));
  CisScanData data;
  RecordingFrontEnd ui;
  ASSERT_TRUE(Open(dark, data, ui).ok());
  EXPECT_FALSE(data.Header.Picture.HolesLight);
  EXPECT_EQ(AgreementWithRoll(data, plan), 1.0);
  // Told wrongly, the paper is taken for holes.
  PictureSettings light;
  light.PictureHoles = PictureSettings::kHolesLight;
  ASSERT_TRUE(Open(dark, data, ui, light).ok());
  EXPECT_LT(AgreementWithRoll(data, plan), 0.5);

  const std::string top = dir.File("top.png");
  ASSERT_TRUE(testing::WritePng(top, PictureOf(plan, true, true)));
  PictureSettings from_top;
  from_top.PictureStart = PictureSettings::kStartTop;
  ASSERT_TRUE(Open(top, data, ui, from_top).ok());
  EXPECT_EQ(AgreementWithRoll(data, plan), 1.0);
  ASSERT_TRUE(Open(top, data, ui).ok());
  EXPECT_LT(AgreementWithRoll(data, plan), 1.0);
}

TEST(PictureReader, DpiStoredMeasuredOrRefusedAndTheLinesPerInchFollow) {
  const synth::SyntheticRollSpec plan = PictureRoll();
  testing::TempDir dir;
  CisScanData data;
  RecordingFrontEnd ui;
  // No DPI stored: the paper's 11.25 inch across 630 pixels give 56.
  const std::string plain = dir.File("plain.png");
  ASSERT_TRUE(testing::WritePng(plain, PictureOf(plan)));
  ASSERT_TRUE(Open(plain, data, ui).ok());
  EXPECT_EQ(data.Header.Picture.DpiSource, PictureDpiSource::kMeasured);
  EXPECT_NEAR(data.Header.Picture.Dpi, 56, 1);
  EXPECT_EQ(data.Header.LinesPerInch, data.Header.Picture.Dpi);
  // A DPI stored that fits the paper is taken as stored; one that does not is reported.
  PictureSheet stored = PictureOf(plan);
  stored.Dpi = 56;
  ASSERT_TRUE(testing::WriteTiff(dir.File("stored.tif"), stored));
  ASSERT_TRUE(Open(dir.File("stored.tif"), data, ui).ok());
  EXPECT_EQ(data.Header.Picture.DpiSource, PictureDpiSource::kStored);
  EXPECT_EQ(data.Header.Picture.Dpi, 56);
  stored.Dpi = 96;
  ASSERT_TRUE(testing::WriteJpeg(dir.File("wrong.jpg"), stored));
  ui.messages.clear();
  ui.kinds.clear();
  ASSERT_TRUE(Open(dir.File("wrong.jpg"), data, ui).ok());
  EXPECT_EQ(data.Header.Picture.DpiSource, PictureDpiSource::kMeasured);
  EXPECT_EQ(ui.CountOf(MessageKind::kWarning), 1);
  // Cut inside the paper, the picture shows no edge (and the ends of holes are none): the
  // preset's DPI, with a warning.
  PictureSheet cropped = PictureOf(plan);
  const testing::PictureRow whole = cropped.Row;
  cropped.Width = 600;
  cropped.Row = [whole](int row) {
    const std::vector<uint8_t> grey = whole(row);
    return std::vector<uint8_t>(grey.begin() + 45, grey.begin() + 645);
  };
  ASSERT_TRUE(testing::WritePng(dir.File("cropped.png"), cropped));
  ui.messages.clear();
  ui.kinds.clear();
  ScanOpenOptions options;
  options.PresetDpi = 240;
  ASSERT_TRUE(OpenScanFile(dir.File("cropped.png"), options, data, ui).ok());
  EXPECT_EQ(data.Header.Picture.DpiSource, PictureDpiSource::kNone);
  EXPECT_EQ(data.Header.Picture.Dpi, 240);
  EXPECT_EQ(ui.CountOf(MessageKind::kWarning), 1);
  // Rows per inch as set.
  PictureSettings lpi;
  lpi.PictureLinesPerInch = 100;
  ASSERT_TRUE(Open(plain, data, ui, lpi).ok());
  EXPECT_EQ(data.Header.LinesPerInch, 100);
}

TEST(PictureReader, SavedAsACisFileBesideThePictureNeverOverIt) {
  const synth::SyntheticRollSpec plan = PictureRoll();
  testing::TempDir dir;
  const std::string picture = dir.File("roll tempo75.png");
  ASSERT_TRUE(testing::WritePng(picture, PictureOf(plan)));
  CisScanData data;
  RecordingFrontEnd ui;
  ASSERT_TRUE(Open(picture, data, ui).ok());
  data.KeepAsRead();
  const std::string before = testing::ReadBytes(picture);
  EXPECT_EQ(WriteCisFile(data, picture).kind(), Result::Kind::kInvalid);
  EXPECT_EQ(WriteCisFile(data, dir.File("roll.JPG")).kind(), Result::Kind::kInvalid);
  EXPECT_EQ(testing::ReadBytes(picture), before);

  const std::string saved = dir.File("roll.cis");
  ASSERT_TRUE(WriteCisFile(data, saved).ok());
  CisScanData again;
  ASSERT_TRUE(OpenCisFile(saved, false, again, ui).ok());
  EXPECT_EQ(again.Lines.Size(), data.Lines.Size());
  EXPECT_EQ(again.Header.LinesPerInch, data.Header.LinesPerInch);
  EXPECT_EQ(again.Header.HorizontalDpi, data.Header.Picture.Dpi);
  EXPECT_EQ(again.Header.Tempo, 75);
  for (int line = 0; line < data.Lines.Size(); line += 37) {
    const auto read = again.Lines.Transitions(line);
    const auto kept = data.Lines.Transitions(line);
    EXPECT_TRUE(std::equal(read.begin(), read.end(), kept.begin(), kept.end())) << "line " << line;
  }
}

TEST(PictureReader, TempoFromTheAnnFileTheNameOrTheDefault) {
  EXPECT_EQ(TempoInText("Welte Licensee 75205 Songs From Queen High tempo90"), 90);
  EXPECT_EQ(TempoInText("roll Tempo: 75"), 75);
  EXPECT_EQ(TempoInText("TEMPO_120 x"), 120);
  EXPECT_EQ(TempoInText("contemporary 1925"), 0);
  EXPECT_EQ(TempoInText("tempo9000"), 0);
  EXPECT_EQ(TempoInText("tempo 5"), 0);

  const synth::SyntheticRollSpec plan = PictureRoll();
  testing::TempDir dir;
  CisScanData data;
  RecordingFrontEnd ui;
  const std::string named = dir.File("march tempo85.png");
  ASSERT_TRUE(testing::WritePng(named, PictureOf(plan)));
  ASSERT_TRUE(Open(named, data, ui).ok());
  EXPECT_EQ(data.Header.Tempo, 85);
  EXPECT_EQ(data.Header.Picture.TempoSource, "file name");
  testing::WriteBytes(dir.File("march tempo85.ann"), "/roll_tempo: 70\r");
  ASSERT_TRUE(Open(named, data, ui).ok());
  EXPECT_EQ(data.Header.Tempo, 70);
  EXPECT_EQ(data.Header.Picture.TempoSource, "ANN file");
  const std::string plain = dir.File("march.png");
  ASSERT_TRUE(testing::WritePng(plain, PictureOf(plan)));
  ASSERT_TRUE(Open(plain, data, ui).ok());
  EXPECT_EQ(data.Header.Tempo, 100);
}

TEST(PictureReader, BadPicturesAreRefusedWithAMessage) {
  const synth::SyntheticRollSpec plan = PictureRoll();
  testing::TempDir dir;
  const std::string good = dir.File("good.png");
  ASSERT_TRUE(testing::WritePng(good, PictureOf(plan)));
  const std::string bytes = testing::ReadBytes(good);

  std::vector<std::pair<std::string, std::string>> bad;
  bad.emplace_back("truncated.png", bytes.substr(0, bytes.size() / 2));
  std::string corrupt = bytes;
  for (size_t i = 200; i < corrupt.size(); i += 97) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5a);
  bad.emplace_back("corrupt.png", corrupt);
  bad.emplace_back("empty.png", "");
  bad.emplace_back("text.jpg", "not a picture at all");
  bad.emplace_back("header.tif", bytes.substr(0, 8));
  for (const auto& [name, content] : bad) testing::WriteBytes(dir.File(name), content);

  PictureSheet narrow = PictureOf(plan);
  narrow.Width = 1;
  narrow.Row = [](int) { return std::vector<uint8_t>{200}; };
  ASSERT_TRUE(testing::WritePng(dir.File("narrow.png"), narrow));
  bad.emplace_back("narrow.png", "");
  // A header that states a thousand million rows, of which a few follow.
  PictureSheet bomb = PictureOf(plan);
  bomb.Rows = 20;
  bomb.StatedRows = 1000000000;
  ASSERT_TRUE(testing::WritePng(dir.File("bomb.png"), bomb));
  bad.emplace_back("bomb.png", "");
  PictureSheet cut = PictureOf(plan);
  ASSERT_TRUE(testing::WriteJpeg(dir.File("cut.jpg"), cut));
  const std::string jpeg = testing::ReadBytes(dir.File("cut.jpg"));
  testing::WriteBytes(dir.File("cut.jpg"), jpeg.substr(0, jpeg.size() * 2 / 3));
  bad.emplace_back("cut.jpg", "");
  PictureSheet no_rows = PictureOf(plan);
  no_rows.Rows = 0;
  if (testing::WriteTiff(dir.File("norows.tif"), no_rows)) bad.emplace_back("norows.tif", "");

  for (const auto& entry : bad) {
    SCOPED_TRACE(entry.first);
    CisScanData data;
    RecordingFrontEnd ui;
    const Result opened = Open(dir.File(entry.first), data, ui);
    EXPECT_FALSE(opened.ok());
    ASSERT_EQ(ui.CountOf(MessageKind::kError), 1);
    EXPECT_NE(ui.messages.back().find(entry.first), std::string::npos) << ui.messages.back();
    EXPECT_TRUE(data.Lines.Empty());
    EXPECT_FALSE(data.Header.Picture.IsPicture);
  }
}

}  // namespace
}  // namespace tarvelo
