// The shared pictures of real rolls: two pictures of scans that are also CIS files give the CIS
// files' notes, and the Welte Licensee picture is placed on its tracks with its tempo from its
// name. Skipped when ../shared is absent.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "document/TarveloDoc.h"
#include "helpers/AlignmentRolls.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

std::filesystem::path RollImagesDir() {
  const std::filesystem::path real = testing::RealCisDir();
  if (real.empty()) return {};
  const std::filesystem::path images = real.parent_path() / "roll-images";
  return std::filesystem::is_directory(images) ? images : std::filesystem::path{};
}

#define TARVELO_REQUIRE_ROLL_IMAGES()                                                         \
  do {                                                                                        \
    if (RollImagesDir().empty()) GTEST_SKIP() << "no ../shared/data/roll-images or real-cis"; \
  } while (0)

struct Converted {
  std::vector<TrackEvent> Notes;  // the ScanImage note ons
  std::string RollType;
  RollTypeRanking Ranking;
  ConversionSummary Summary;
  int Tempo = 0;
  std::string TempoFrom;
};

// A conversion aligned to the scan, the roll type recognised among the shipped ones.
Converted ConvertAligned(const std::filesystem::path& path, const std::filesystem::path& out) {
  testing::RecordingFrontEnd front_end;
  TarveloDoc doc(front_end, front_end);
  doc.SetOutputFolder(out.string());
  AlignmentOptions alignment;
  alignment.Align = true;
  alignment.RecogniseRollType = true;
  alignment.Library = testing::ShippedRollTypes();
  doc.SetAlignment(alignment);
  Converted converted;
  EXPECT_TRUE(doc.Load(path.string(), front_end.settings).ok());
  for (const TrackEvent& event : doc.ScanImageEvents())
    if (event.Kind == EventKind::kNoteOn) converted.Notes.push_back(event);
  converted.RollType = doc.RollTypeName();
  converted.Ranking = doc.Alignment().Ranking;
  converted.Summary = doc.Summary();
  converted.Tempo = doc.ScanData().Header.Tempo;
  const int item = doc.Keywords().FindKey("/play_tempo_from:");
  if (item >= 0) converted.TempoFrom = doc.Keywords().Items()[static_cast<size_t>(item)].Value;
  return converted;
}

// The share of `notes` that `other` holds on the same track within 0.05 inch.
double MatchedShare(const std::vector<TrackEvent>& notes, const std::vector<TrackEvent>& other) {
  std::multimap<int32_t, uint32_t> by_track;
  for (const TrackEvent& event : other) by_track.emplace(event.Track, event.YPosition);
  int matched = 0;
  for (const TrackEvent& event : notes) {
    const auto [first, last] = by_track.equal_range(event.Track);
    for (auto it = first; it != last; ++it) {
      if (std::abs(static_cast<int64_t>(it->second) - static_cast<int64_t>(event.YPosition)) <= 50) {
        ++matched;
        break;
      }
    }
  }
  return notes.empty() ? 0 : static_cast<double>(matched) / static_cast<double>(notes.size());
}

TEST(PictureRealRolls, APictureOfAScanGivesTheScansNotes) {
  TARVELO_REQUIRE_ROLL_IMAGES();
  testing::TempDir out;
  for (const char* name : {"stepper_single", "stepper_bicolor"}) {
    SCOPED_TRACE(name);
    const Converted cis = ConvertAligned(testing::RealCisDir() / (std::string(name) + ".CIS"), out.Path());
    const Converted picture = ConvertAligned(RollImagesDir() / (std::string(name) + ".png"), out.Path());
    ASSERT_GT(cis.Notes.size(), 500u);
    EXPECT_EQ(picture.RollType, cis.RollType);
    EXPECT_TRUE(picture.Ranking.Decided);
    EXPECT_EQ(picture.RollType, std::string(name) == "stepper_single" ? "Duo-Art" : "Ampico B");
    EXPECT_GE(MatchedShare(cis.Notes, picture.Notes), 0.95);
    EXPECT_GE(MatchedShare(picture.Notes, cis.Notes), 0.95);
  }
}

TEST(PictureRealRolls, TheWeltePictureIsPlacedOnItsTracksWithItsTempo) {
  TARVELO_REQUIRE_ROLL_IMAGES();
  testing::TempDir out;
  const Converted welte =
      ConvertAligned(RollImagesDir() / "Welte Licensee 75205 Songs From Queen High tempo90.png", out.Path());
  EXPECT_EQ(welte.Tempo, 90);
  EXPECT_EQ(welte.TempoFrom, "file name");
  ASSERT_GT(welte.Summary.HolesMeasured, 1000);
  EXPECT_LE(welte.Summary.HolesOffTrack, 0.05 * welte.Summary.HolesMeasured);
  // Recognised from its holes at 150 pixels per inch, with a clear lead over Ampico A, whose
  // tracks nearly coincide with the Licensee's: its lock and cancel holes are single short
  // punches where an Ampico roll holds its pedals.
  EXPECT_TRUE(welte.Ranking.Decided);
  EXPECT_EQ(welte.RollType, "Welte Licensee");
  ASSERT_GE(welte.Ranking.Ranked.size(), 2u);
  EXPECT_EQ(welte.Ranking.Ranked[0].Name, "Welte Licensee");
  EXPECT_GT(welte.Ranking.Ranked[0].Score - welte.Ranking.Ranked[1].Score, 0.08);
}

}  // namespace
}  // namespace tarvelo
