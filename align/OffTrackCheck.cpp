#include "align/OffTrackCheck.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>
#include <vector>

#include "align/HoleLinker.h"
#include "support/Prefetch.h"
#include "support/SafeTruncate.h"

namespace tarvelo {

namespace {

constexpr double kSampleSpacing = 0.02;  // inches of roll between the lines looked at
constexpr double kNarrowestHole = 0.02;  // inches across

// The distinct holes of the lines looked at, placed as the per-line pass placed them, with the
// lines looked at and the correction each was placed with.
struct PlacedHoles {
  std::vector<MeasuredHole> Holes;
  std::vector<int> Sampled;
  std::vector<int64_t> Shifts;
};

PlacedHoles MeasurePlacedHoles(const CisScanData& data, const TrackLookupMap& map) {
  PlacedHoles placed;
  const ScanLineArray& lines = data.Lines;
  if (lines.Empty() || map.EntryCount() == 0 || !(map.PixelsPerInch > 0)) return placed;

  // The lines looked at, and the correction the pass placed each with: the one in force before
  // the loop update that closed the line's interval (the recorded offset includes that update).
  std::vector<int>& sampled = placed.Sampled;
  std::vector<int64_t>& shifts = placed.Shifts;
  double used = 0, recorded = 0, next_position = -1;
  for (int i = 0; i < lines.Size(); ++i) {
    const double offset = lines.TrackingOffset(i);
    if (i > 0 && offset != recorded) used = recorded;
    recorded = offset;
    if (lines.Position(i) < next_position) continue;
    next_position = lines.Position(i) + kSampleSpacing;
    sampled.push_back(i);
    shifts.push_back(TruncToInt32(used * map.Dpi));
  }

  std::vector<MeasuredHole>& holes = placed.Holes;
  holes.reserve(lines.TotalTransitions() / 8);
  const auto sample_count = static_cast<int>(sampled.size());
  HoleLinker linker(
      sample_count, [&](int sample) { return lines.Position(sampled[static_cast<size_t>(sample)]); }, holes);
  const double widest = 1.3 * map.TrackSpacingPixels;  // wider runs are holes side by side
  std::vector<std::pair<int32_t, int32_t>> runs;
  // Lines a few samples ahead are requested from memory while this one is worked on: the
  // first sample asks for the first kAhead + 1 lines, every later one for the line kAhead on.
  constexpr int kAhead = 4;
  for (int s = 0; s < sample_count; ++s) {
    for (int ahead = s == 0 ? 0 : kAhead; ahead <= kAhead && s + ahead < sample_count; ++ahead) {
      const std::span<const int32_t> line = lines.Transitions(sampled[static_cast<size_t>(s + ahead)]);
      PrefetchForRead(line.data(), line.size_bytes());
    }
    runs.clear();
    const int64_t shift = shifts[static_cast<size_t>(s)];
    const PaperSpan paper = data.Run.PaperOn(sampled[static_cast<size_t>(s)]);
    int64_t previous = 0;
    bool hole = FirstRunIsHole(data.Run.Polarity);
    for (const int32_t t : lines.Transitions(sampled[static_cast<size_t>(s)])) {
      const int64_t a = previous + shift, b = t + shift;
      if (a > map.LastPixel) break;  // the rest of the line lies beyond the tracks
      const int64_t center = (a + b) / 2;
      // The runs the per-line pass took for holes: on the paper, in the tracked span.
      if (hole && IsOnPaper(paper, previous, t) && b - a >= linking::kNarrowestRun && b - a <= widest &&
          map.IsInTrackedSpan(center) && a >= INT32_MIN && b <= INT32_MAX)
        runs.emplace_back(static_cast<int32_t>(a), static_cast<int32_t>(b));
      previous = t;
      hole = !hole;
    }
    linker.AddLine(s, runs, 0.0f);
  }
  linker.Finish();
  return placed;
}

// Calls `counted(hole, off_track)` for each hole of a hole's width.
template <typename Counted>
void ClassifyHoles(const PlacedHoles& placed, const TrackLookupMap& map, const RollTypeDefinition& roll,
                   double on_track_share, Counted counted) {
  const double tolerance = on_track_share * roll.DefaultTrackCenterSpacing;
  const double narrowest = kNarrowestHole * map.PixelsPerInch;
  for (const MeasuredHole& hole : placed.Holes) {
    if (hole.Width < narrowest) continue;
    const auto pixel = static_cast<int64_t>(std::floor(hole.Center));
    const int track = map.ClosestTrackAt(pixel);
    const double across = hole.Center / map.PixelsPerInch + map.OffsetInches;
    counted(hole, std::abs(across - roll.TrackCenter[static_cast<size_t>(track)]) > tolerance);
  }
}

}  // namespace

OffTrackCount CountOffTrackHoles(const CisScanData& data, const TrackLookupMap& map, const RollTypeDefinition& roll,
                                 double on_track_share) {
  OffTrackCount count;
  ClassifyHoles(MeasurePlacedHoles(data, map), map, roll, on_track_share, [&](const MeasuredHole&, bool off_track) {
    ++count.Holes;
    if (off_track) ++count.OffTrack;
  });
  return count;
}

std::vector<OffTrackHole> ListOffTrackHoles(const CisScanData& data, const TrackLookupMap& map,
                                            const RollTypeDefinition& roll, double on_track_share) {
  std::vector<OffTrackHole> found;
  const PlacedHoles placed = MeasurePlacedHoles(data, map);
  const ScanLineArray& lines = data.Lines;
  ClassifyHoles(placed, map, roll, on_track_share, [&](const MeasuredHole& hole, bool off_track) {
    if (!off_track) return;
    // The first line looked at of the hole, and the correction it was placed with there.
    const auto sample = std::partition_point(placed.Sampled.begin(), placed.Sampled.end(),
                                             [&](int line) { return lines.Position(line) < hole.Start; });
    const size_t index = sample == placed.Sampled.end() ? placed.Sampled.size() - 1
                                                        : static_cast<size_t>(sample - placed.Sampled.begin());
    const auto shift = static_cast<double>(placed.Shifts[index]);
    found.push_back({hole.Start, hole.End, hole.Center - hole.Width / 2 - shift, hole.Center + hole.Width / 2 - shift,
                     placed.Sampled[index]});
  });
  std::stable_sort(found.begin(), found.end(),
                   [](const OffTrackHole& a, const OffTrackHole& b) { return a.Start < b.Start; });
  return found;
}

}  // namespace tarvelo
