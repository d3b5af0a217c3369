#include "align/PaperEdges.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvelo {

namespace {

constexpr float kNotFound = std::numeric_limits<float>::quiet_NaN();
constexpr int32_t kNoEdge = -1;
constexpr double kWindowInches = 0.5;     // roll length over which the edge medians are taken
constexpr double kZoneSearchShare = 0.3;  // an edge zone must begin in the outer 30 % of the image
constexpr double kZoneCore = 0.8;         // share of lines open in the zone's core
constexpr double kZoneBorder = 0.5;       // share of lines open where the zone is taken to end
constexpr int kProfileStride = 4;         // of the lines traced
constexpr double kBandShare = 0.02;       // most share of lines open anywhere in a blank band

// Calls visit(first, last) for every hole-colour run of a line, clipped to [lo, hi).
template <typename Visit>
void ForEachHoleRun(std::span<const int32_t> transitions, HolePolarity polarity, int32_t lo, int32_t hi,
                    Visit&& visit) {
  int32_t previous = 0;
  bool hole = FirstRunIsHole(polarity);
  for (const int32_t t : transitions) {
    if (hole) {
      const int32_t a = std::max(previous, lo);
      const int32_t b = std::min(t, hi);
      if (b > a) visit(a, b);
    }
    previous = t;
    hole = !hole;
    if (previous >= hi) break;
  }
}

float Median(std::vector<float>& values) {
  const size_t middle = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle), values.end());
  return values[middle];
}

// The median of the found edges (pixels first .. first + counts.size() - 1, by count).
double MedianPixel(const std::vector<int32_t>& counts, int32_t first, int64_t total) {
  int64_t seen = 0;
  for (size_t x = 0; x < counts.size(); ++x) {
    seen += counts[x];
    if (2 * seen > total) return first + static_cast<double>(x);
  }
  return first;
}

}  // namespace

float WanderAt(const std::vector<WanderPoint>& path, double position, size_t& next) {
  if (path.empty()) return 0.0f;
  // `next` is the first point at or beyond the position asked before; a position further back
  // starts from the first point.
  if (next > path.size() || (next > 0 && path[next - 1].Position >= position)) next = 0;
  while (next < path.size() && path[next].Position < position) ++next;
  if (next == 0) return path.front().Shift;
  if (next == path.size()) return path.back().Shift;
  const WanderPoint& before = path[next - 1];
  const WanderPoint& after = path[next];
  const double span = after.Position - before.Position;
  const double t = span > 0 ? (position - before.Position) / span : 0.0;
  return static_cast<float>(before.Shift + t * (after.Shift - before.Shift));
}

double PaperWidth(const PaperEdges& edges, int32_t image_first, int32_t image_last) {
  return edges.LowerFound && edges.UpperFound ? edges.Upper - edges.Lower : 0.93 * (image_last - image_first);
}

int32_t MarginGap(double paper_width) { return static_cast<int32_t>(std::max(2.0, paper_width / 400)); }

PaperEdgeTrace TracePaperEdges(const ScanForAlignment& scan, std::span<const int> traced) {
  PaperEdgeTrace trace;
  if (scan.Lines == nullptr || scan.ImageLast <= scan.ImageFirst) return trace;
  const ScanLineArray& lines = *scan.Lines;
  const auto line_count = static_cast<int>(traced.size());
  const int32_t first = scan.ImageFirst;
  const int32_t last = scan.ImageLast;
  const int32_t width = last - first;
  trace.Wander.assign(static_cast<size_t>(line_count), 0.0f);
  trace.LowerBound.assign(static_cast<size_t>(line_count), first - 1);
  trace.UpperBound.assign(static_cast<size_t>(line_count), last);
  trace.Positions.resize(static_cast<size_t>(line_count));
  for (size_t k = 0; k < traced.size(); ++k) trace.Positions[k] = lines.Position(traced[k]);
  if (line_count == 0) return trace;
  // Line number and position of the k-th line traced.
  auto line_at = [&](int k) { return traced[static_cast<size_t>(k)]; };
  auto position_at = [&](int k) { return trace.Positions[static_cast<size_t>(k)]; };

  // How many lines show hole colour at each pixel (every fourth line traced tells it well enough).
  std::vector<int32_t> open(static_cast<size_t>(width) + 1, 0);
  int sampled = 0;
  for (int k = 0; k < line_count; k += kProfileStride, ++sampled) {
    ForEachHoleRun(lines.Transitions(line_at(k)), scan.Polarity, first, last, [&](int32_t a, int32_t b) {
      ++open[static_cast<size_t>(a - first)];
      --open[static_cast<size_t>(b - first)];
    });
  }
  for (int32_t x = 1; x <= width; ++x) open[static_cast<size_t>(x)] += open[static_cast<size_t>(x - 1)];
  auto share = [&](int32_t pixel) { return static_cast<double>(open[static_cast<size_t>(pixel - first)]) / sampled; };

  // The always-open zones beyond the edges.
  const auto search = static_cast<int32_t>(kZoneSearchShare * width);
  double zone_lower = -1, zone_upper = -1;
  // A zone must be wider than a column or two of sensor pixels that are always dark.
  const int32_t narrowest_zone = std::max(3, width / 500);
  // Beyond the paper a strip of the scanner's own (a dark band on the glass or the backing)
  // may read as paper: it shows no hole on any line and is followed, before the paper, by more
  // of the open zone. Such a strip, up to a twenty-fifth of the image wide, is passed over; the
  // paper's margin next to its edge always shows a few holes or torn fibres.
  const auto widest_band = std::max<int32_t>(narrowest_zone, width / 25);
  // (A pixel or two of blur at either side of the band are left out.)
  auto blank = [&](int32_t from, int32_t to) {
    if (to - from < narrowest_zone) return false;
    for (int32_t x = from + 2; x < to - 2; ++x)
      if (share(x) > kBandShare) return false;
    return true;
  };
  for (int32_t x = first; x < first + search; ++x) {
    if (share(x) < kZoneCore) continue;
    int32_t end = x;
    while (end < last && share(end) >= kZoneBorder) ++end;
    if (end - x < narrowest_zone) {
      x = end;
      continue;
    }
    // Past blank bands to the open zone's true end.
    for (;;) {
      int32_t next = end;
      while (next < end + widest_band && next < first + search && share(next) < kZoneCore) ++next;
      if (next >= end + widest_band || next >= first + search || !blank(end, next)) break;
      int32_t beyond = next;
      while (beyond < last && share(beyond) >= kZoneBorder) ++beyond;
      if (beyond - next < narrowest_zone) break;
      end = beyond;
    }
    zone_lower = end;
    break;
  }
  for (int32_t x = last - 1; x >= last - search; --x) {
    if (share(x) < kZoneCore) continue;
    int32_t begin = x;
    while (begin > first && share(begin - 1) >= kZoneBorder) --begin;
    if (x + 1 - begin < narrowest_zone) {
      x = begin;
      continue;
    }
    for (;;) {
      int32_t next = begin;  // the band lies below `next`
      while (next > begin - widest_band && next > last - search && share(next - 1) < kZoneCore) --next;
      if (next <= begin - widest_band || next <= last - search || !blank(next, begin)) break;
      int32_t beyond = next;
      while (beyond > first && share(beyond - 1) >= kZoneBorder) --beyond;
      if (next - beyond < narrowest_zone) break;
      begin = beyond;
    }
    zone_upper = begin;
    break;
  }
  if (zone_lower >= 0 && zone_upper >= 0 && zone_upper - zone_lower < 0.4 * width) {
    zone_lower = -1;  // zones that leave no room for a roll: not edges
    zone_upper = -1;
  }
  const bool has_lower = zone_lower >= 0;
  const bool has_upper = zone_upper >= 0;
  if (!has_lower && !has_upper) return trace;

  // On each line, the transition into paper nearest to the lower zone's end and the one out of
  // paper nearest to the upper zone's start, within a capture distance well beyond any wander.
  const double paper_width = has_lower && has_upper ? zone_upper - zone_lower : 0.93 * width;
  const double capture = std::max(4.0, 0.015 * paper_width);
  std::vector<int32_t> lower_edge(static_cast<size_t>(line_count), kNoEdge);
  std::vector<int32_t> upper_edge(static_cast<size_t>(line_count), kNoEdge);
  std::vector<int32_t> lower_counts(static_cast<size_t>(width), 0), upper_counts(static_cast<size_t>(width), 0);
  int64_t lower_total = 0, upper_total = 0;
  // The farthest transitions within reach of each zone (transitions are whole pixels).
  const auto lower_reach = static_cast<int32_t>(std::floor(zone_lower + capture));
  const auto upper_reach = static_cast<int32_t>(std::floor(zone_upper + capture));
  for (int i = 0; i < line_count; ++i) {
    const std::span<const int32_t> transitions = lines.Transitions(line_at(i));
    const auto count = static_cast<int>(transitions.size());
    // Transition k ends run k, which is a hole run when k is even for even hole runs.
    auto ends_hole = [&](int k) { return IsHoleRun(scan.Polarity, k); };
    if (has_lower) {
      double best = capture + 1;
      for (int k = 0; k < count && transitions[static_cast<size_t>(k)] <= lower_reach; ++k) {
        const int32_t t = transitions[static_cast<size_t>(k)];
        if (!ends_hole(k) || t <= first || t >= last || std::abs(t - zone_lower) >= best) continue;
        best = std::abs(t - zone_lower);
        lower_edge[static_cast<size_t>(i)] = t;
      }
      if (lower_edge[static_cast<size_t>(i)] != kNoEdge) {
        ++lower_counts[static_cast<size_t>(lower_edge[static_cast<size_t>(i)] - first)];
        ++lower_total;
      }
    }
    if (has_upper) {
      double best = capture + 1;
      // Start at the last transition within reach (a bi-colour line goes on with its ink channel).
      const auto reach = std::upper_bound(transitions.begin(), transitions.end(), upper_reach);
      for (int k = static_cast<int>(reach - transitions.begin()) - 1;
           k >= 0 && transitions[static_cast<size_t>(k)] >= zone_upper - capture; --k) {
        // Transition k starts run k + 1: a hole run when run k is paper.
        const int32_t t = transitions[static_cast<size_t>(k)];
        if (ends_hole(k) || t <= first || t >= last || std::abs(t - zone_upper) > best) continue;
        best = std::abs(t - zone_upper);
        upper_edge[static_cast<size_t>(i)] = t;
      }
      if (upper_edge[static_cast<size_t>(i)] != kNoEdge) {
        ++upper_counts[static_cast<size_t>(upper_edge[static_cast<size_t>(i)] - first)];
        ++upper_total;
      }
    }
  }

  // Edge medians per half inch of roll; the paper's sideways place is their mean.
  struct Window {
    double Position;
    float Lower, Upper;
  };
  std::vector<Window> windows;
  std::vector<float> lowers, uppers;
  int window_start = 0;
  // The half inch of roll each line lies in.
  std::vector<double> window_of(static_cast<size_t>(line_count));
  for (int i = 0; i < line_count; ++i) window_of[static_cast<size_t>(i)] = std::floor(position_at(i) / kWindowInches);
  for (int i = 0; i <= line_count; ++i) {
    const bool close =
        i == line_count || window_of[static_cast<size_t>(i)] != window_of[static_cast<size_t>(window_start)];
    if (!close) continue;
    lowers.clear();
    uppers.clear();
    for (int k = window_start; k < i; ++k) {
      if (lower_edge[static_cast<size_t>(k)] != kNoEdge)
        lowers.push_back(static_cast<float>(lower_edge[static_cast<size_t>(k)]));
      if (upper_edge[static_cast<size_t>(k)] != kNoEdge)
        uppers.push_back(static_cast<float>(upper_edge[static_cast<size_t>(k)]));
    }
    const size_t needed = std::max<size_t>(3, static_cast<size_t>(i - window_start) / 5);
    Window window{0.5 * (position_at(window_start) + position_at(i - 1)), kNotFound, kNotFound};
    if (lowers.size() >= needed) window.Lower = Median(lowers);
    if (uppers.size() >= needed) window.Upper = Median(uppers);
    windows.push_back(window);
    window_start = i;
  }
  PaperEdges& edges = trace.Edges;
  edges.LowerLineShare = static_cast<double>(lower_total) / line_count;
  edges.UpperLineShare = static_cast<double>(upper_total) / line_count;
  // An edge seen on fewer than a fifth of the lines is not trusted.
  edges.LowerFound = edges.LowerLineShare >= 0.2;
  edges.UpperFound = edges.UpperLineShare >= 0.2;
  if (edges.LowerFound) edges.Lower = MedianPixel(lower_counts, first, lower_total);
  if (edges.UpperFound) edges.Upper = MedianPixel(upper_counts, first, upper_total);

  // Sideways shift per window: the mean deviation of the edges found from their medians.
  std::vector<WanderPoint>& path = trace.WanderPath;
  for (const Window& window : windows) {
    double sum = 0;
    int count = 0;
    if (edges.LowerFound && !std::isnan(window.Lower)) {
      sum += window.Lower - edges.Lower;
      ++count;
    }
    if (edges.UpperFound && !std::isnan(window.Upper)) {
      sum += window.Upper - edges.Upper;
      ++count;
    }
    if (count == 0) continue;
    path.push_back({window.Position, static_cast<float>(sum / count)});
  }
  if (!path.empty()) {
    std::vector<float> sorted;
    sorted.reserve(path.size());
    for (const WanderPoint& point : path) sorted.push_back(point.Shift);
    const float middle = Median(sorted);
    for (WanderPoint& point : path) point.Shift -= middle;
    const auto [low, high] = std::minmax_element(
        path.begin(), path.end(), [](const WanderPoint& a, const WanderPoint& b) { return a.Shift < b.Shift; });
    trace.WanderSpan = high->Shift - low->Shift;
    // Every traced line's shift, interpolated between window centres.
    size_t next = 0;
    for (int i = 0; i < line_count; ++i) trace.Wander[static_cast<size_t>(i)] = WanderAt(path, position_at(i), next);
  }

  // Where holes may lie on each traced line: inside the edges seen on it, or the expected edges.
  for (int i = 0; i < line_count; ++i) {
    const auto index = static_cast<size_t>(i);
    if (edges.LowerFound) {
      trace.LowerBound[index] = lower_edge[index] != kNoEdge
                                    ? lower_edge[index]
                                    : static_cast<int32_t>(std::floor(edges.Lower + trace.Wander[index] + 0.5));
    }
    if (edges.UpperFound) {
      trace.UpperBound[index] = upper_edge[index] != kNoEdge
                                    ? upper_edge[index]
                                    : static_cast<int32_t>(std::floor(edges.Upper + trace.Wander[index] + 0.5));
    }
  }
  return trace;
}

}  // namespace tarvelo
