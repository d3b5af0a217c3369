// A synthetic roll converted from its CIS file and from a picture of the same lines gives the
// same notes: the picture's geometry (DPI, offset of its paper, lines per inch, its start at the
// bottom row) places every hole where the CIS file's header and the preset place it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "document/TarveloDoc.h"
#include "helpers/PictureWriting.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "tools/SyntheticRoll.h"

namespace tarvelo {
namespace {

std::vector<TrackEvent> NoteOns(const TarveloDoc& doc) {
  std::vector<TrackEvent> notes;
  for (const TrackEvent& event : doc.ScanImageEvents())
    if (event.Kind == EventKind::kNoteOn) notes.push_back(event);
  return notes;
}

// How many of `notes` `other` holds on the same track within 0.01 inch (one scan line).
int Matched(const std::vector<TrackEvent>& notes, const std::vector<TrackEvent>& other) {
  std::multimap<int32_t, uint32_t> by_track;
  for (const TrackEvent& event : other) by_track.emplace(event.Track, event.YPosition);
  int matched = 0;
  for (const TrackEvent& event : notes) {
    const auto [first, last] = by_track.equal_range(event.Track);
    for (auto it = first; it != last; ++it) {
      if (std::abs(static_cast<int64_t>(it->second) - static_cast<int64_t>(event.YPosition)) <= 10) {
        ++matched;
        break;
      }
    }
  }
  return matched;
}

TEST(PictureConversion, APictureOfASyntheticRollGivesItsCisFilesNotes) {
  synth::SyntheticRollSpec plan;  // 3648 pixels at 300 DPI, 100 lines per inch, paper 1.6 to 12.85 inch
  for (int n = 0; n < 90; ++n) plan.holes.push_back({15 + n, 0.5 + 0.13 * n, 0.1 + 0.05 * (n % 7)});
  testing::TempDir dir;
  testing::WriteBytes(dir.File("roll.cis"), synth::RenderSyntheticCis(plan));
  testing::PictureSheet sheet;
  sheet.Width = plan.scan_width;
  sheet.Rows = synth::SyntheticLineCount(plan);
  sheet.Dpi = plan.dpi;
  sheet.Row = [&plan, rows = sheet.Rows](int row) {
    std::vector<uint8_t> grey;
    int32_t start = 0;
    bool hole = true;  // runs 0, 2, ... are holes and the space beside the paper
    for (const int32_t end : synth::SyntheticLineTransitions(plan, rows - 1 - row)) {
      grey.insert(grey.end(), static_cast<size_t>(end - start), hole ? 240 : 110);
      start = end;
      hole = !hole;
    }
    return grey;
  };
  ASSERT_TRUE(testing::WritePng(dir.File("roll.png"), sheet));

  testing::RecordingFrontEnd ui;
  TarveloDoc cis(ui, ui);
  cis.SetOutputFolder(dir.File("cis"));
  ASSERT_TRUE(cis.Load(dir.File("roll.cis"), ui.settings).ok());
  RunSettings settings = ui.settings;
  settings.Picture.PictureLinesPerInch = plan.lines_per_inch;  // the rows are not square pixels
  TarveloDoc picture(ui, ui);
  picture.SetOutputFolder(dir.File("picture"));
  ASSERT_TRUE(picture.Load(dir.File("roll.png"), settings).ok());

  const std::vector<TrackEvent> from_cis = NoteOns(cis);
  const std::vector<TrackEvent> from_picture = NoteOns(picture);
  ASSERT_GE(from_cis.size(), plan.holes.size());
  EXPECT_EQ(from_picture.size(), from_cis.size());
  EXPECT_EQ(Matched(from_cis, from_picture), static_cast<int>(from_cis.size()));
  EXPECT_EQ(Matched(from_picture, from_cis), static_cast<int>(from_picture.size()));
  // The picture's items name what it was.
  const KeywordList& keywords = picture.Keywords();
  ASSERT_GE(keywords.FindKey("/picture_geometry:"), 0);
  EXPECT_NE(keywords.Items()[static_cast<size_t>(keywords.FindKey("/picture_geometry:"))].Value.find(
                "DPI 300 as the file states it"),
            std::string::npos);
  EXPECT_EQ(cis.Keywords().FindKey("/picture_geometry:"), -1);
}

}  // namespace
}  // namespace tarvelo
