#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "document/TarveloDoc.h"
#include "geometry/TwinArrayMerge.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "helpers/TwinArrayRoll.h"

namespace tarvelo {
namespace {

using Transitions = std::vector<int32_t>;

// The merge pixel by pixel: the colour buffers of both halves, then the merged image laid
// out step by step, first-half pixel p to p and second-half pixel H+p to M-p.
Transitions PixelMerge(int w, int overlap, const Transitions& first, const Transitions& second) {
  const TwinArrayLayout layout = MakeTwinArrayLayout(w, overlap, 0);
  const int h = layout.Half, m = layout.MergedWidth, x = layout.Crossover;
  std::vector<int> a(static_cast<size_t>(h) + 1), b(static_cast<size_t>(w) + 1);
  int colour = 1, cursor = 0;
  for (const int t : first) {
    if (t > h) continue;
    for (int p = std::max(cursor, 0); p < t; ++p) a[static_cast<size_t>(p)] = colour;
    colour ^= 1;
    cursor = t;
  }
  for (int p = std::max(cursor, 0); p <= h; ++p) a[static_cast<size_t>(p)] = colour;  // left unset: current colour
  colour = 1;
  cursor = h;
  for (const int t : second) {
    if (t <= h) continue;
    for (int p = cursor; p < t && p <= w; ++p) b[static_cast<size_t>(p)] = colour;
    colour ^= 1;
    cursor = t;
  }
  for (int p = cursor; p <= w; ++p) b[static_cast<size_t>(p)] = colour;
  std::vector<int> merged(static_cast<size_t>(m) + 1, -1);
  for (int p = 0; p <= x; ++p) {
    merged[static_cast<size_t>(p)] = a[static_cast<size_t>(p)];
    merged[static_cast<size_t>(m - p)] = b[static_cast<size_t>(h + p)];
  }
  Transitions out;
  for (int p = 1; p <= m; ++p) {
    EXPECT_NE(merged[static_cast<size_t>(p)], -1) << "pixel " << p << " never written";
    if (merged[static_cast<size_t>(p)] != merged[static_cast<size_t>(p) - 1]) out.push_back(p);
  }
  return out;
}

Transitions MergeLine(int w, int overlap, const Transitions& first, const Transitions& second) {
  Transitions out = {-7};  // earlier lines' transitions before it stay as they are
  MergeTwinArrayLine(MakeTwinArrayLayout(w, overlap, 0), first, second, out);
  EXPECT_EQ(out.front(), -7);
  out.erase(out.begin());
  return out;
}

Transitions RandomLine(std::mt19937& random, int w, bool ends_at_half) {
  const int h = w / 2;
  Transitions t;
  std::uniform_int_distribution<int> count(0, 8), pixel(0, w + 2);
  for (int k = count(random); k > 0; --k) t.push_back(pixel(random));
  if (ends_at_half) t.push_back(h);
  if (random() % 2) t.push_back(w);
  std::sort(t.begin(), t.end());
  return t;
}

TEST(TwinArrayMerge, RunByRunMergeEqualsThePixelByPixelMerge) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 20000; ++round) {
    const int w = static_cast<int>(random() % 41);
    const int overlap = static_cast<int>(random() % static_cast<unsigned>(w + 1));
    const Transitions first = RandomLine(random, w, random() % 2 == 0);
    const Transitions second = RandomLine(random, w, random() % 2 == 0);
    ASSERT_EQ(MergeLine(w, overlap, first, second), PixelMerge(w, overlap, first, second))
        << "w " << w << " overlap " << overlap << " round " << round;
  }
}

TEST(TwinArrayMerge, LayoutHoldsTheOverlapToTheWidth) {
  EXPECT_EQ(MakeTwinArrayLayout(100, -7, 0).Overlap, 0);
  EXPECT_EQ(MakeTwinArrayLayout(100, 250, 0).Overlap, 100);
  EXPECT_EQ(MakeTwinArrayLayout(100, 250, 0).MergedWidth, 0);
  const TwinArrayLayout odd = MakeTwinArrayLayout(5200, 225, 600);
  EXPECT_EQ(odd.Half, 2600);
  EXPECT_EQ(odd.MergedWidth, 4975);
  EXPECT_EQ(odd.Crossover, 2600 - 112);
  EXPECT_EQ(odd.Separation, 600 * 0.001);
  EXPECT_EQ(MakeTwinArrayLayout(-4, 3, 0).MergedWidth, -4);
}

TEST(TwinArrayMerge, OverlapZeroTakesPixelHFromTheSecondArray) {
  // W = 20, H = 10: first array holes at 2..4; second array a hole at its pixels 11..12.
  const Transitions first = {2, 5, 10};
  const Transitions second = {11, 13, 20};
  // Second pixel H+p lands at 20-p: pixels 11 and 12 at 19 and 18, pixel H at 20. Merged
  // pixel 10 = H shows the second array's pixel 20, the colour in force after its last
  // transition.
  EXPECT_EQ(MergeLine(20, 0, first, second), (Transitions{2, 5, 10, 11, 18, 20}));
}

TEST(TwinArrayMerge, FirstHalfNotEndingAtTheJoinKeepsTheColourThatRunsPastIt) {
  // A hole touching the join: the first array's hole starts at 8 and runs past H = 10, so its
  // last transition at or below H is 8. Merged pixel 8 (X = 9 with an overlap of 2) is hole
  // colour like the run it belongs to.
  const Transitions first = {3, 8, 12};
  const Transitions second = {15, 20};
  EXPECT_EQ(MergeLine(20, 2, first, second), (Transitions{3, 8, 9, 14}));
}

CisScanData TwinData(int w, const std::vector<Transitions>& lines, double lpi) {
  CisScanData data;
  data.Run.ScanWidth = w;
  data.Run.TwinArray = true;
  for (size_t i = 0; i < lines.size(); ++i) {
    LineGeometry geometry;
    geometry.Position = static_cast<double>(i) / lpi;
    data.Lines.AppendLine(lines[i], static_cast<uint16_t>(i + 1), geometry);
  }
  return data;
}

// Line i: a first-half hole at i..i+2 and a second-half hole starting at 2*i+12 (W = 40).
std::vector<Transitions> NumberedLines(int n) {
  std::vector<Transitions> lines;
  for (int i = 0; i < n; ++i) lines.push_back({i, i + 2, 20, 2 * i + 22, 2 * i + 24, 40});
  return lines;
}

TEST(TwinArrayMerge, PartnerLineFollowsTheSeparation) {
  testing::RecordingFrontEnd ui;
  ui.settings.TwinArray.OverrideCISvalues = false;
  const std::vector<Transitions> source = NumberedLines(8);

  // Separation 0: every line is merged with itself.
  CisScanData same = TwinData(40, source, 100);
  same.Header.ArraySeparation = 0;
  same.Header.ChangeoverPixel = 4;
  MergeTwinArrays(same, ui.settings.TwinArray, ui.settings.Scanner, ui);
  ASSERT_EQ(same.Lines.Size(), 8);
  ASSERT_FALSE(ui.progress.empty());
  EXPECT_EQ(ui.progress.front().colour, kProgressTwinArray);
  EXPECT_EQ(ui.statuses.front(), "Merging Twin CIS Data Parts = 1");
  EXPECT_EQ(same.Run.ScanWidth, 36);
  EXPECT_EQ(same.Run.CrossoverPixel, 18);
  for (int i = 0; i < 8; ++i) {
    const auto merged = same.Lines.Transitions(i);
    EXPECT_EQ(Transitions(merged.begin(), merged.end()),
              MergeLine(40, 4, source[static_cast<size_t>(i)], source[static_cast<size_t>(i)]));
    EXPECT_EQ(same.Lines.LineWord(i), i + 1);  // line words and positions carried across
    EXPECT_EQ(same.Lines.Position(i), i / 100.0);
  }

  // Separation 30 thousandths = 3 lines; beyond the end the last line stands in.
  CisScanData later = TwinData(40, source, 100);
  later.Header.ArraySeparation = 30;
  later.Header.ChangeoverPixel = 4;
  MergeTwinArrays(later, ui.settings.TwinArray, ui.settings.Scanner, ui);
  for (int i = 0; i < 8; ++i) {
    const size_t q = static_cast<size_t>(std::min(i + 3, 7));
    const auto merged = later.Lines.Transitions(i);
    EXPECT_EQ(Transitions(merged.begin(), merged.end()), MergeLine(40, 4, source[static_cast<size_t>(i)], source[q]))
        << i;
  }
}

TEST(TwinArrayMerge, PartnerSearchShortcutMatchesTheWalk) {
  // Ascending positions with plateaus and uneven steps take the shortcut; descending ones
  // and a NaN take the plain walk, which a NaN ends.
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    ScanLineArray lines;
    double position = 0;
    const bool ascending = round % 3 != 0;
    for (int i = 0; i < 60; ++i) {
      LineGeometry geometry;
      const int step = static_cast<int>(random() % 4);
      position += ascending ? step * 0.003 : (step == 0 ? -0.01 : 0.004);
      geometry.Position = position;
      lines.AppendLine({}, 0, geometry);
    }
    const double separation = static_cast<int>(random() % 80) * 0.001 - (round % 7 == 0 ? 0.7 : 0.0);
    const std::vector<int32_t> partner = FindPartnerLines(lines, separation);
    for (int i = 0; i < lines.Size(); ++i) {
      const double target = lines.Position(i) + separation;
      double best = std::fabs(separation + 1.0);
      int q = i;
      for (int j = i; j < lines.Size(); ++j) {
        const double d = std::fabs(lines.Position(j) - target);
        if (d > best) break;
        best = d;
        q = j;
      }
      ASSERT_EQ(partner[static_cast<size_t>(i)], q) << "round " << round << " line " << i;
    }
  }
  ScanLineArray broken;
  for (int i = 0; i < 5; ++i) broken.AppendLine({}, 0, LineGeometry{i == 2 ? NAN : i * 0.01});
  EXPECT_EQ(FindPartnerLines(broken, 0.02), (std::vector<int32_t>{1, 1, 2, 4, 4}));
}

TEST(TwinArrayMerge, DisabledMergeLeavesTheLinesAndTheCrossover) {
  testing::RecordingFrontEnd ui;
  ui.settings.TwinArray.DisableTwinArrayProcessing = true;
  CisScanData data = TwinData(40, NumberedLines(3), 100);
  data.Run.CrossoverPixel = 77;
  MergeTwinArrays(data, ui.settings.TwinArray, ui.settings.Scanner, ui);
  EXPECT_EQ(data.Run.ScanWidth, 40);
  EXPECT_EQ(data.Run.CrossoverPixel, 77);
  EXPECT_EQ(data.Lines.TransitionCount(2), 6);
}

TEST(ReverseScanLines, MirrorsEveryLineAndStartsAtZeroForALineEndingAtTheWidth) {
  CisScanData data;
  data.Run.ScanWidth = 100;
  data.Lines.AppendLine(Transitions{10, 25, 100}, 0);
  data.Lines.AppendLine(Transitions{}, 0);
  data.Lines.AppendLine(Transitions{0, 0, 130}, 0);  // a damaged line: 16-bit pixel columns wrap
  ReverseScanLines(data);
  EXPECT_TRUE(data.Run.ImageMirrored);
  auto line = data.Lines.Transitions(0);
  EXPECT_EQ(Transitions(line.begin(), line.end()), (Transitions{0, 75, 90}));
  EXPECT_EQ(data.Lines.TransitionCount(1), 0);
  line = data.Lines.Transitions(2);
  EXPECT_EQ(Transitions(line.begin(), line.end()), (Transitions{65506, 100, 100}));
}

// A synthetic roll rendered as a twin-array scan merges back into the single-array lines,
// holes and all, except the last lines, whose partners lie beyond the end of the roll.
void ExpectTwinMergesBack(int single_width, const testing::TwinArrayOptions& twin, bool preset_values) {
  synth::SyntheticRollSpec plan;
  plan.scan_width = single_width;
  plan.length_inch = 6;
  for (int k = 0; k < 30; ++k) plan.holes.push_back({20 + (k * 13) % 90, 0.3 + k * 0.18, 0.25 + (k % 3) * 0.1});
  testing::TempDir dir;
  testing::WriteBytes(dir.File("single.cis"), synth::RenderSyntheticCis(plan));
  testing::WriteBytes(dir.File("twin.cis"), testing::RenderTwinArrayCis(plan, twin));

  testing::RecordingFrontEnd single_ui, twin_ui;
  twin_ui.settings.TwinArray.OverrideCISvalues = preset_values;
  if (preset_values) {
    twin_ui.settings.Scanner.TwinArrayOverlap = (twin.overlap + 0.5) / 300.0;
    twin_ui.settings.Scanner.TwinArrayVertOffset = twin.separation_lines / 100.0;
  }
  TarveloDoc single(single_ui, single_ui), merged(twin_ui, twin_ui);
  ASSERT_TRUE(single.Load(dir.File("single.cis"), single_ui.settings).ok());
  ASSERT_TRUE(merged.Load(dir.File("twin.cis"), twin_ui.settings).ok());
  EXPECT_TRUE(twin_ui.messages.empty());
  const ScanLineArray& a = single.ScanData().Lines;
  const ScanLineArray& b = merged.ScanData().Lines;
  ASSERT_EQ(merged.ScanData().Run.ScanWidth, single_width);
  ASSERT_EQ(a.Size(), b.Size());
  const int compared = a.Size() - twin.separation_lines;
  for (int i = 0; i < compared; ++i) {
    auto expected = a.Transitions(i);
    // The single line's closing transition at its width has no counterpart: the merged line's
    // last pixel shows the space off the paper, as its neighbour does.
    ASSERT_EQ(expected.back(), single_width);
    expected = expected.first(expected.size() - 1);
    const auto got = b.Transitions(i);
    ASSERT_EQ(Transitions(got.begin(), got.end()), Transitions(expected.begin(), expected.end())) << "line " << i;
  }
  const auto& holes = single.Holes();
  const auto& merged_holes = merged.Holes();
  ASSERT_EQ(holes.size(), 30u);
  ASSERT_EQ(merged_holes.size(), holes.size());
  for (size_t k = 0; k < holes.size(); ++k) {
    EXPECT_EQ(merged_holes[k].Track, holes[k].Track);
    EXPECT_EQ(merged_holes[k].StartPosition, holes[k].StartPosition);
    EXPECT_EQ(merged_holes[k].EndPosition, holes[k].EndPosition);
  }
  const int crossover_item = merged.Keywords().FindKey("/Twin_Array_Crossover_Track:");
  ASSERT_GE(crossover_item, 0);
}

TEST(TwinArrayMerge, SyntheticTwinRollMergesBackWithTheHeaderValues) { ExpectTwinMergesBack(3648, {224, 10}, false); }

TEST(TwinArrayMerge, SyntheticTwinRollMergesBackWithAnOddPresetOverlap) { ExpectTwinMergesBack(3647, {225, 12}, true); }

}  // namespace
}  // namespace tarvelo
