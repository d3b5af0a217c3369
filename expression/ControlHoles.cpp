#include "expression/ControlHoles.h"

#include <algorithm>
#include <cmath>

namespace tarvelo {

namespace {

int GroupKey(TrackFunction function, Side side, int weight) {
  return (static_cast<int>(function) * 4 + static_cast<int>(side)) * 256 + weight;
}

bool ByStart(const Interval& a, const Interval& b) { return a.Start < b.Start; }

}  // namespace

ControlHoles::ControlHoles(const std::vector<TrackHole>& holes, const TrackRoles& roles, const ExpressionModel& model) {
  std::array<std::vector<Interval>, kFunctionTracks> tracks;
  for (const TrackHole& hole : holes) {
    if (hole.Track < 0 || hole.Track >= kFunctionTracks) continue;
    const TrackFunction function = roles[static_cast<size_t>(hole.Track)].Function;
    if (function == TrackFunction::kUnused || function == TrackFunction::kNote) continue;
    tracks[static_cast<size_t>(hole.Track)].push_back({hole.Start, std::max(hole.End, hole.Start)});
  }
  for (int track = 0; track < kFunctionTracks; ++track) {
    std::vector<Interval>& own = tracks[static_cast<size_t>(track)];
    if (own.empty()) continue;
    std::sort(own.begin(), own.end(), ByStart);
    // Chain perforations: a gap of paper shorter than the bridge gap does not close the valve.
    const double gap = model.BridgeGapOf(track);
    std::vector<Interval> joined;
    for (const Interval& hole : own) {
      if (!joined.empty() && hole.Start - joined.back().End < gap) {
        joined.back().End = std::max(joined.back().End, hole.End);
      } else {
        joined.push_back(hole);
      }
    }
    const TrackRole& role = roles[static_cast<size_t>(track)];
    std::vector<Interval>& group = groups_[GroupKey(role.Function, role.Half, role.Weight)];
    for (Interval& hole : joined) {
      hole.End += model.TrackerExtension;
      group.push_back(hole);
    }
  }
  // Holes of several tracks, and holes a tracker extension reaches past the next: one stretch.
  for (auto& [key, group] : groups_) {
    std::sort(group.begin(), group.end(), ByStart);
    std::vector<Interval> merged;
    for (const Interval& hole : group) {
      if (!merged.empty() && hole.Start <= merged.back().End) {
        merged.back().End = std::max(merged.back().End, hole.End);
      } else {
        merged.push_back(hole);
      }
    }
    group = std::move(merged);
  }
}

const std::vector<Interval>& ControlHoles::Of(TrackFunction function, Side side, int weight) const {
  static const std::vector<Interval> kNone;
  const auto found = groups_.find(GroupKey(function, side, weight));
  return found == groups_.end() ? kNone : found->second;
}

bool IsOpenAt(const std::vector<Interval>& stretches, double at) {
  const auto after = std::upper_bound(stretches.begin(), stretches.end(), at,
                                      [](double value, const Interval& stretch) { return value < stretch.Start; });
  return after != stretches.begin() && at < (after - 1)->End;
}

long long MillisecondOf(double inches, const RollTiming& timing) {
  return std::llround(1000.0 * timing.SecondsAtInches(inches));
}

MillisecondCursor::MillisecondCursor(const std::vector<Interval>& stretches, const RollTiming& timing) {
  for (const Interval& stretch : stretches) {
    const MillisecondSpan span = MillisecondsOf(stretch, timing);
    if (span.Last > span.First) spans_.push_back(span);
  }
}

MillisecondAnswers::MillisecondAnswers(const OnsetsByHalf& onsets, const RollTiming& timing) {
  for (size_t half = 0; half < 2; ++half) {
    for (const double onset : onsets[half]) {
      milliseconds_[half].push_back(std::max(0LL, MillisecondOf(onset, timing)));
      last_ = std::max(last_, milliseconds_[half].back());
    }
    levels_[half].reserve(onsets[half].size());
  }
}

void MillisecondAnswers::Answer(long long k, const double (&values)[2]) {
  for (size_t half = 0; half < 2; ++half) {
    const std::vector<long long>& of = milliseconds_[half];
    while (levels_[half].size() < of.size() && of[levels_[half].size()] <= k) levels_[half].push_back(values[half]);
  }
}

MillisecondSpan MillisecondsOf(const Interval& stretch, const RollTiming& timing) {
  return {MillisecondOf(stretch.Start, timing), MillisecondOf(stretch.End, timing)};
}

}  // namespace tarvelo
