#include "align/TrackUsage.h"

#include <algorithm>
#include <cmath>

#include "align/FitTracks.h"

namespace tarvelo {

namespace {

// A placed hole, before the per-track figures are made.
struct PlacedHole {
  int Index;  // into TrackUsage::Tracks
  double Start;
  double End;
  double Width;  // inches
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// Chains, punches and hole shapes of one track from its holes (ordered by start).
void SumUpTrack(TrackStats& stats, const std::vector<PlacedHole>& holes, double note_width) {
  double chain_end = -1e9;
  for (const PlacedHole& hole : holes) {
    if (hole.Start - chain_end < kChainWeb) {
      ++stats.Chained;
    } else {
      stats.Punches.push_back(hole.Start);
      stats.PunchLengths.push_back(0);
    }
    chain_end = std::max(chain_end, hole.End);
    stats.PunchLengths.back() = chain_end - stats.Punches.back();
    if (note_width <= 0 || (hole.Width >= 0.5 * note_width && hole.Width <= 1.7 * note_width)) ++stats.Shaped;
  }
  stats.PunchLength = Median(stats.PunchLengths);
}

}  // namespace

const TrackStats& TrackUsage::At(int track) const {
  static const TrackStats kNone;
  const int index = track - FirstTrack;
  if (index < 0 || index >= static_cast<int>(Tracks.size())) return kNone;
  return Tracks[static_cast<size_t>(index)];
}

TrackUsage MeasureTrackUsage(const ScanMeasurement& scan, const TrackLayout& layout, const ScannerSetting& setting,
                             int extension, double on_track_share) {
  TrackUsage usage;
  usage.RollLength = scan.RollLength;
  if (!layout.IsUsable() || setting.Dpi < 1 || !(setting.Stretch > 0)) return usage;
  bool uniform = true;
  for (size_t k = 0; k < layout.Centers.size(); ++k) {
    if (std::abs(layout.Centers[k] - (layout.Centers[0] + static_cast<double>(k) * layout.Spacing)) >
        0.05 * layout.Spacing)
      uniform = false;
  }
  if (!uniform) extension = 0;
  usage.FirstTrack = layout.LowestTrack - extension;
  const int count = layout.TrackCount() + 2 * extension;
  usage.Tracks.assign(static_cast<size_t>(count), TrackStats{});
  const double scale = setting.Stretch / setting.Dpi;
  const double tolerance = on_track_share * layout.Spacing;
  const double near_end = 0.85 * scan.RollLength;
  // A track is seen when its band, wherever the paper wandered, lies on the image.
  const double reach = 0.5 * layout.Spacing / scale + 0.5 * scan.WanderSpan + 2;
  for (int index = 0; index < count; ++index) {
    const double center =
        uniform ? layout.Centers[0] + (index - extension) * layout.Spacing : layout.Centers[static_cast<size_t>(index)];
    const double pixel = (center - setting.Offset) / scale;
    usage.Tracks[static_cast<size_t>(index)].Visible =
        pixel - reach >= scan.ImageFirst && pixel + reach <= scan.ImageLast;
  }

  std::vector<PlacedHole> placed;
  placed.reserve(scan.Holes.size());
  for (const MeasuredHole& hole : scan.Holes) {
    if (!IsPlausibleHole(hole, setting.Dpi)) continue;
    const double y = scale * hole.Center + setting.Offset;
    int index = -1;
    double center = 0;
    if (uniform) {
      const auto step = static_cast<int>(std::lround((y - layout.Centers[0]) / layout.Spacing));
      index = step + extension;
      center = layout.Centers[0] + step * layout.Spacing;
    } else {
      const auto it = std::lower_bound(layout.Centers.begin(), layout.Centers.end(), y);
      size_t k = static_cast<size_t>(it - layout.Centers.begin());
      if (k == layout.Centers.size() || (k > 0 && y - layout.Centers[k - 1] < layout.Centers[k] - y)) --k;
      index = static_cast<int>(k);
      center = layout.Centers[k];
    }
    if (index < 0 || index >= count || std::abs(y - center) > tolerance) continue;
    TrackStats& stats = usage.Tracks[static_cast<size_t>(index)];
    ++stats.Holes;
    if (hole.Start >= near_end) ++stats.HolesNearEnd;
    stats.Length += hole.Length();
    stats.Width += hole.Width * scale;
    stats.Offset += (y - center) / layout.Spacing;
    ++usage.TotalHoles;
    placed.push_back({index, hole.Start, hole.End, hole.Width * scale});
  }
  for (TrackStats& stats : usage.Tracks) {
    if (stats.Holes == 0) continue;
    stats.Width /= stats.Holes;
    stats.Offset /= stats.Holes;
  }

  // The middle half of the span stands for the note tracks.
  const int quarter = layout.TrackCount() / 4;
  int holes = 0, tracks = 0;
  double length = 0, width = 0;
  for (int k = extension + quarter; k < extension + layout.TrackCount() - quarter; ++k) {
    const TrackStats& stats = usage.Tracks[static_cast<size_t>(k)];
    holes += stats.Holes;
    length += stats.Length;
    width += stats.Width * stats.Holes;
    ++tracks;
  }
  if (tracks > 0) usage.NoteHoles = static_cast<double>(holes) / tracks;
  if (holes > 0) {
    usage.NoteLength = length / holes;
    usage.NoteWidth = width / holes;
  }

  // Chains and punches, track by track, along the roll: the holes gathered by track (in their
  // order), then each track's put in order along the roll.
  std::vector<size_t> starts(static_cast<size_t>(count) + 1, 0);
  for (const PlacedHole& hole : placed) ++starts[static_cast<size_t>(hole.Index) + 1];
  for (size_t k = 1; k < starts.size(); ++k) starts[k] += starts[k - 1];
  std::vector<PlacedHole> by_track(placed.size());
  {
    std::vector<size_t> next(starts.begin(), starts.end() - 1);
    for (const PlacedHole& hole : placed) by_track[next[static_cast<size_t>(hole.Index)]++] = hole;
  }
  std::vector<PlacedHole> track_holes;
  for (int index = 0; index < count; ++index) {
    const auto begin = by_track.begin() + static_cast<std::ptrdiff_t>(starts[static_cast<size_t>(index)]);
    const auto end = by_track.begin() + static_cast<std::ptrdiff_t>(starts[static_cast<size_t>(index) + 1]);
    if (begin == end) continue;
    track_holes.assign(begin, end);
    std::stable_sort(track_holes.begin(), track_holes.end(),
                     [](const PlacedHole& a, const PlacedHole& b) { return a.Start < b.Start; });
    SumUpTrack(usage.Tracks[static_cast<size_t>(index)], track_holes, usage.NoteWidth);
  }
  int punches = 0;
  std::vector<double> note_lengths;
  for (int k = extension + quarter; k < extension + layout.TrackCount() - quarter; ++k) {
    const TrackStats& stats = usage.Tracks[static_cast<size_t>(k)];
    punches += static_cast<int>(stats.Punches.size());
    note_lengths.insert(note_lengths.end(), stats.PunchLengths.begin(), stats.PunchLengths.end());
  }
  if (tracks > 0) usage.NotePunches = static_cast<double>(punches) / tracks;
  usage.NotePunchLength = Median(std::move(note_lengths));
  return usage;
}

}  // namespace tarvelo
