#include "align/FitTracks.h"

#include <algorithm>
#include <cmath>

namespace tarvelo {

namespace {

constexpr double kNarrowestHole = 0.02;  // inches across the roll
constexpr double kWidestHole = 0.2;
constexpr int kFewestLines = 2;
constexpr double kStretchStep = 0.001;  // a thousandth moves the far tracks by a tenth of a spacing
constexpr int kPhaseBins = 200;
constexpr int kRefinements = 6;
// Fits whose on-track counts differ by less than this share (or two holes) count as equally good.
constexpr double kNearlySameCount = 0.02;
constexpr double kNearlySameShare = 0.005;
// A fit whose holes lie this much less close to the centres than another's is the worse fit,
// whatever it counts: at twice the true DPI every hole of a roll lies a quarter spacing from a
// centre and counts (closeness 0.3), while the true DPI puts them on the centres (0.95 and more).
constexpr double kFarCloser = 0.75;

// Centres of the plausible holes, in increasing order (the measurement keeps them ordered).
std::vector<double> PlausibleCenters(const ScanMeasurement& scan, int dpi) {
  std::vector<double> centers;
  centers.reserve(scan.Holes.size());
  for (const MeasuredHole& hole : scan.Holes)
    if (IsPlausibleHole(hole, dpi)) centers.push_back(hole.Center);
  return centers;
}

// Counts holes on the tracks of a layout for a scale u (inches per pixel) and an offset.
class TrackCounter {
 public:
  TrackCounter(const std::vector<double>& centers, const TrackLayout& layout, double share)
      : centers_(centers), layout_(layout) {
    const double tolerance = share * layout.Spacing;
    const size_t n = layout.Centers.size();
    for (size_t k = 0; k < n; ++k) {
      const double c = layout.Centers[k];
      // Neighbouring windows never overlap, so a hole counts for one track at most.
      double low = c - tolerance, high = c + tolerance;
      if (k > 0) low = std::max(low, 0.5 * (c + layout.Centers[k - 1]));
      if (k + 1 < n) high = std::min(high, 0.5 * (c + layout.Centers[k + 1]));
      low_.push_back(low);
      high_.push_back(high);
    }
    // A running count of the centres over quarter pixels, for quick approximate counts.
    if (centers_.empty()) return;
    origin_ = std::floor(centers_.front());
    const auto bins = static_cast<size_t>((centers_.back() - origin_) * kBinsPerPixel) + 2;
    running_.assign(bins + 1, 0);
    for (const double x : centers_) ++running_[static_cast<size_t>((x - origin_) * kBinsPerPixel) + 1];
    for (size_t b = 1; b < running_.size(); ++b) running_[b] += running_[b - 1];
    for (size_t b = 1; b < running_.size(); ++b) {
      if (running_[b] != running_[b - 1])
        occupied_.push_back({origin_ + (b - 0.5) / kBinsPerPixel, running_[b] - running_[b - 1]});
    }
  }

  // Count to a quarter pixel: the search's workhorse. The windows rise: those wholly before
  // the first centre add nothing, and after the first wholly beyond the last none does.
  int QuickCount(double scale, double offset) const {
    if (running_.empty()) return 0;
    const double last = static_cast<double>(running_.size() - 1);
    const double* low = low_.data();
    const double* high = high_.data();
    const int* running = running_.data();
    const auto bin = [&](double y) { return ((y - offset) / scale - origin_) * kBinsPerPixel; };
    // The windows ending before the first bin come first (their ends rise): found by halving.
    size_t k = 0;
    for (size_t after = low_.size(); k < after;) {
      const size_t middle = k + (after - k) / 2;
      if (bin(high[middle]) <= 0) {
        k = middle + 1;
      } else {
        after = middle;
      }
    }
    int count = 0;
    for (; k < low_.size(); ++k) {
      const double from = bin(low[k]);
      if (from >= last) break;
      const double to = bin(high[k]);
      if (to <= 0) continue;
      count += running[static_cast<size_t>(std::min(to, last))] - running[static_cast<size_t>(std::max(from, 0.0))];
    }
    return count;
  }

  // The occupied quarter pixels: centre and number of holes.
  struct Bin {
    double Center;
    int Holes;
  };
  const std::vector<Bin>& OccupiedBins() const { return occupied_; }

  // The exact count. The windows rise and do not overlap, so each one's centres lie after the
  // previous one's.
  int Count(double scale, double offset) const {
    if (centers_.empty()) return 0;
    int count = 0;
    auto begin = centers_.begin();
    for (size_t k = 0; k < low_.size(); ++k) {
      const double from = (low_[k] - offset) / scale;
      if (from > centers_.back()) break;
      const double to = (high_[k] - offset) / scale;
      if (to < *begin) continue;
      const auto first = std::lower_bound(begin, centers_.end(), from);
      const auto after = std::upper_bound(first, centers_.end(), to);
      count += static_cast<int>(after - first);
      begin = after;
      if (begin == centers_.end()) break;
    }
    return count;
  }

  // The track whose window holds roll coordinate y, or -1.
  int TrackAt(double y) const {
    const auto it = std::upper_bound(low_.begin(), low_.end(), y);
    return TrackOfWindow(static_cast<size_t>(it - low_.begin()), y);
  }

  // As TrackAt, quicker for coordinates that rise from one call to the next: `next` (start
  // with 0) keeps the first window beginning beyond the coordinate before.
  int TrackAtRising(double y, size_t& next) const {
    if (next > low_.size() || (next > 0 && low_[next - 1] > y))
      next = static_cast<size_t>(std::upper_bound(low_.begin(), low_.end(), y) - low_.begin());
    while (next < low_.size() && low_[next] <= y) ++next;
    return TrackOfWindow(next, y);
  }

 private:
  // The track of the window before `after` (the first window beginning beyond y), if it holds y.
  int TrackOfWindow(size_t after, double y) const {
    if (after == 0) return -1;
    const size_t k = after - 1;
    return y <= high_[k] ? layout_.LowestTrack + static_cast<int>(k) : -1;
  }

  static constexpr double kBinsPerPixel = 4;
  const std::vector<double>& centers_;
  const TrackLayout& layout_;
  std::vector<double> low_, high_;
  double origin_ = 0;
  std::vector<int> running_;  // running_[b]: centres in the bins before b
  std::vector<Bin> occupied_;
};

bool IsUniform(const TrackLayout& layout) {
  for (size_t k = 0; k < layout.Centers.size(); ++k) {
    const double expected = layout.Centers[0] + static_cast<double>(k) * layout.Spacing;
    if (std::abs(layout.Centers[k] - expected) > 0.05 * layout.Spacing) return false;
  }
  return true;
}

struct Candidate {
  double Scale = 0;
  double Offset = 0;
  int Count = -1;
};

// Offsets worth counting at one scale: for a uniform layout, the phase against the spacing
// that the most holes share, repeated every spacing; otherwise a tenth of a spacing apart.
std::vector<double> CandidateOffsets(const TrackCounter& counter, const TrackLayout& layout, double scale,
                                     const FitOptions& options, bool uniform) {
  std::vector<double> offsets;
  const double spacing = layout.Spacing;
  double phase = 0;
  double step = 0.1 * spacing;
  if (uniform) {
    std::vector<int> bins(kPhaseBins, 0);
    for (const TrackCounter::Bin& occupied : counter.OccupiedBins()) {
      const double q = (layout.Centers[0] - scale * occupied.Center) / spacing;
      const int bin = static_cast<int>((q - std::floor(q)) * kPhaseBins) % kPhaseBins;
      bins[static_cast<size_t>(bin)] += occupied.Holes;
    }
    const int half = static_cast<int>(std::lround(options.OnTrackShare * kPhaseBins));
    int window = 0;
    for (int b = -half; b <= half; ++b) window += bins[static_cast<size_t>((b + kPhaseBins) % kPhaseBins)];
    int best = window, best_bin = 0;
    for (int b = 1; b < kPhaseBins; ++b) {
      window += bins[static_cast<size_t>((b + half) % kPhaseBins)] -
                bins[static_cast<size_t>((b - half - 1 + kPhaseBins) % kPhaseBins)];
      if (window > best) {
        best = window;
        best_bin = b;
      }
    }
    phase = (best_bin + 0.5) / kPhaseBins * spacing;
    step = spacing;
  }
  const double first = phase + std::ceil((options.MinOffset - phase) / step) * step;
  for (double offset = first; offset <= options.MaxOffset; offset += step) offsets.push_back(offset);
  return offsets;
}

// Least squares on the holes a fit puts on track: each hole's track centre against its pixel.
Candidate Refine(const std::vector<double>& centers, const TrackLayout& layout, const TrackCounter& counter,
                 Candidate fit, double dpi, const FitOptions& options) {
  for (int round = 0; round < kRefinements; ++round) {
    // The later rounds look only at holes near their centres, so that off-centre columns
    // (half-width accent holes, wide slots) pull less.
    const double tolerance = (round < 2 ? options.OnTrackShare : 0.6 * options.OnTrackShare) * layout.Spacing;
    double n = 0, sx = 0, sc = 0, sxx = 0, sxc = 0;
    size_t window = 0;  // the centres rise, and so does y
    for (const double x : centers) {
      const double y = fit.Scale * x + fit.Offset;
      const int track = counter.TrackAtRising(y, window);
      if (track < 0) continue;
      const double c = layout.Center(track);
      if (std::abs(y - c) > tolerance) continue;
      n += 1;
      sx += x;
      sc += c;
      sxx += x * x;
      sxc += x * c;
    }
    if (n < 3) break;
    const double variance = sxx - sx * sx / n;
    double scale = fit.Scale;
    if (variance > 0) scale = (sxc - sx * sc / n) / variance;
    scale = std::clamp(scale, options.MinStretch / dpi, options.MaxStretch / dpi);
    const double offset = (sc - scale * sx) / n;
    if (!(offset >= options.MinOffset && offset <= options.MaxOffset)) break;
    fit.Scale = scale;
    fit.Offset = offset;
  }
  fit.Count = counter.Count(fit.Scale, fit.Offset);
  return fit;
}

TrackFit FitAtDpi(const ScanMeasurement& scan, const TrackLayout& layout, int dpi, const FitOptions& options) {
  TrackFit result;
  const std::vector<double> centers = PlausibleCenters(scan, dpi);
  if (centers.empty()) return result;
  const TrackCounter counter(centers, layout, options.OnTrackShare);
  const bool uniform = IsUniform(layout);

  Candidate best;
  double best_stretch = 1.0;
  auto try_stretch = [&](double stretch) {
    const double scale = stretch / dpi;
    for (const double offset : CandidateOffsets(counter, layout, scale, options, uniform)) {
      const int count = counter.QuickCount(scale, offset);
      if (count > best.Count) {
        best = Candidate{scale, offset, count};
        best_stretch = stretch;
      }
    }
  };
  // Every other step first, then the steps beside the best.
  const int steps = static_cast<int>(std::lround((options.MaxStretch - options.MinStretch) / kStretchStep));
  for (int step = 0; step <= steps; step += 2) try_stretch(options.MinStretch + step * kStretchStep);
  const double coarse_best = best_stretch;
  for (const double side : {-kStretchStep, kStretchStep}) {
    const double stretch = coarse_best + side;
    if (stretch >= options.MinStretch && stretch <= options.MaxStretch) try_stretch(stretch);
  }
  if (best.Count <= 0) return result;
  best = Refine(centers, layout, counter, best, dpi, options);

  // Whole spacings away: nearly as many holes on track means the paper edge decides. (For a
  // layout that is not uniform the spacing is only approximately a track's step.)
  const PaperEdges& edges = scan.Edges;
  struct Shift {
    int Tracks;
    Candidate Fit;
  };
  std::vector<Shift> shifts;
  int most = 0;
  const int reach = static_cast<int>((options.MaxOffset - options.MinOffset) / layout.Spacing) + 1;
  for (int tracks = -reach; tracks <= reach; ++tracks) {
    Candidate moved = best;
    moved.Offset = best.Offset + tracks * layout.Spacing;
    if (moved.Offset < options.MinOffset || moved.Offset > options.MaxOffset) continue;
    moved.Count = tracks == 0 ? best.Count : counter.Count(moved.Scale, moved.Offset);
    most = std::max(most, moved.Count);
    shifts.push_back({tracks, moved});
  }
  const int margin = std::max(2, static_cast<int>(kNearlySameCount * most));
  const Shift* chosen = nullptr;
  int most_tracks = 0;
  for (const Shift& shift : shifts) {
    if (shift.Fit.Count == most && (chosen == nullptr || std::abs(shift.Tracks) < std::abs(most_tracks))) {
      chosen = &shift;
      most_tracks = shift.Tracks;
    }
  }
  if (edges.LowerFound || edges.UpperFound) {
    auto edge_miss = [&](const Candidate& fit) {
      return edges.LowerFound ? std::abs(fit.Scale * edges.Lower + fit.Offset - layout.LowerEdge)
                              : std::abs(fit.Scale * edges.Upper + fit.Offset - layout.UpperEdge);
    };
    for (const Shift& shift : shifts) {
      if (shift.Fit.Count < most - margin) continue;
      if (edge_miss(shift.Fit) < edge_miss(chosen->Fit)) chosen = &shift;
    }
  }
  best = chosen->Fit;
  result.EdgeDecided = chosen->Tracks - most_tracks;

  result.Found = true;
  result.Setting = ScannerSetting{dpi, best.Offset, best.Scale * dpi};
  result.Count = OnTrackCount{best.Count, static_cast<int>(centers.size())};
  double squares = 0, closeness = 0;
  const double tolerance = options.OnTrackShare * layout.Spacing;
  size_t window = 0;
  for (const double x : centers) {
    const double y = best.Scale * x + best.Offset;
    const int track = counter.TrackAtRising(y, window);
    if (track < 0) continue;
    const double miss = y - layout.Center(track);
    squares += miss * miss;
    closeness += std::max(0.0, 1.0 - miss * miss / (tolerance * tolerance));
  }
  result.Rms = best.Count > 0 ? std::sqrt(squares / best.Count) : 0.0;
  result.Closeness = closeness / static_cast<double>(centers.size());
  result.LowerEdgeFound = edges.LowerFound;
  result.UpperEdgeFound = edges.UpperFound;
  if (edges.LowerFound) result.LowerEdge = best.Scale * edges.Lower + best.Offset;
  if (edges.UpperFound) result.UpperEdge = best.Scale * edges.Upper + best.Offset;
  return result;
}

}  // namespace

bool IsPlausibleHole(const MeasuredHole& hole, int dpi) {
  const double width = hole.Width / dpi;
  // A run seen on one line only is a speck, a fibre or a glimpse of the margin.
  return hole.Lines >= kFewestLines && width >= kNarrowestHole && width <= kWidestHole;
}

OnTrackCount CountOnTrack(const ScanMeasurement& scan, const TrackLayout& layout, const ScannerSetting& setting,
                          const FitOptions& options) {
  if (!layout.IsUsable() || setting.Dpi < 1 || !(setting.Stretch > 0)) return {};
  const std::vector<double> centers = PlausibleCenters(scan, setting.Dpi);
  const TrackCounter counter(centers, layout, options.OnTrackShare);
  return OnTrackCount{counter.Count(setting.Stretch / setting.Dpi, setting.Offset), static_cast<int>(centers.size())};
}

std::vector<int> AssignTracks(const ScanMeasurement& scan, const TrackLayout& layout, const ScannerSetting& setting,
                              const FitOptions& options) {
  std::vector<int> tracks(scan.Holes.size(), -1);
  if (!layout.IsUsable() || setting.Dpi < 1 || !(setting.Stretch > 0)) return tracks;
  const std::vector<double> none;
  const TrackCounter counter(none, layout, options.OnTrackShare);
  const double scale = setting.Stretch / setting.Dpi;
  for (size_t k = 0; k < scan.Holes.size(); ++k) {
    const MeasuredHole& hole = scan.Holes[k];
    if (IsPlausibleHole(hole, setting.Dpi)) tracks[k] = counter.TrackAt(scale * hole.Center + setting.Offset);
  }
  return tracks;
}

TrackFit FitLayout(const ScanMeasurement& scan, const TrackLayout& layout, std::span<const int> dpis,
                   const FitOptions& options) {
  TrackFit best;
  if (!layout.IsUsable()) return best;
  for (const int dpi : dpis) {
    if (dpi < 1) continue;
    const TrackFit fit = FitAtDpi(scan, layout, dpi, options);
    if (!fit.Found) continue;
    if (!best.Found) {
      best = fit;
      continue;
    }
    if (fit.Closeness < kFarCloser * best.Closeness) continue;
    if (best.Closeness < kFarCloser * fit.Closeness) {
      best = fit;
      continue;
    }
    const double gain = fit.Count.Share() - best.Count.Share();
    const bool nearer_one = std::abs(fit.Setting.Stretch - 1.0) < std::abs(best.Setting.Stretch - 1.0);
    if (gain > kNearlySameShare || (gain > -kNearlySameShare && nearer_one)) best = fit;
  }
  return best;
}

}  // namespace tarvelo
