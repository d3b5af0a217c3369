#include "expression/WelteModel.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace tarvelo {

namespace {

constexpr double kEpsilon = 0.0001;

enum Flag { kM, kS, kC, kD, kFlags };

// A change of one flag at a millisecond: held holes count up and down, locks set and clear.
struct FlagChange {
  long long Millisecond;
  int Flag;
  int Kind;  // held: +1 / -1; lock: 2 cancel, 3 set (a cancel on the same millisecond first)
};

constexpr int kLockCancel = 2;
constexpr int kLockSet = 3;

void AddHeld(std::vector<FlagChange>& changes, const std::vector<Interval>& stretches, int flag,
             const RollTiming& timing) {
  for (const Interval& stretch : stretches) {
    const MillisecondSpan span = MillisecondsOf(stretch, timing);
    if (span.Last <= span.First) continue;
    changes.push_back({span.First, flag, +1});
    changes.push_back({span.Last, flag, -1});
  }
}

void AddLock(std::vector<FlagChange>& changes, const std::vector<Interval>& on, const std::vector<Interval>& off,
             int flag, const RollTiming& timing) {
  for (const Interval& hole : off) changes.push_back({MillisecondOf(hole.Start, timing), flag, kLockCancel});
  for (const Interval& hole : on) changes.push_back({MillisecondOf(hole.Start, timing), flag, kLockSet});
}

std::vector<double> HalfLevels(const ControlHoles& holes, Side side, const std::vector<double>& onsets,
                               const ExpressionModel& model, const RollTiming& timing) {
  using enum TrackFunction;
  std::vector<FlagChange> changes;
  if (model.System == ExpressionSystem::kWelteGreen) {
    AddHeld(changes, holes.Of(kMezzoforte, side), kM, timing);
    AddHeld(changes, holes.Of(kCrescendo, side), kS, timing);
  } else {
    AddLock(changes, holes.Of(kMezzoforteOn, side), holes.Of(kMezzoforteOff, side), kM, timing);
    AddLock(changes, holes.Of(kCrescendoOn, side), holes.Of(kCrescendoOff, side), kS, timing);
  }
  AddHeld(changes, holes.Of(kForzandoForte, side), kC, timing);
  AddHeld(changes, holes.Of(kForzandoPiano, side), kD, timing);
  std::stable_sort(changes.begin(), changes.end(), [](const FlagChange& a, const FlagChange& b) {
    return a.Millisecond != b.Millisecond ? a.Millisecond < b.Millisecond : a.Kind < b.Kind;
  });

  const double piano = model.WelteLevels[0];
  const double mezzoforte = model.WelteLevels[1];
  const double loud = model.WelteLevels[2];
  const double forte = model.WelteLevels[3];
  const double slow = (mezzoforte - piano) / model.WelteTimes[0];
  const double fast = (mezzoforte - piano) / model.WelteTimes[1];
  const double decrescendo = model.WelteDecrescendoSpan / model.WelteTimes[2];

  std::vector<double> levels;
  levels.reserve(onsets.size());
  int count[kFlags] = {};
  size_t next_change = 0;
  size_t next_onset = 0;
  double level = piano;
  const auto apply_changes_to = [&](long long millisecond) {
    for (; next_change < changes.size() && changes[next_change].Millisecond <= millisecond; ++next_change) {
      const FlagChange& change = changes[next_change];
      int& flag = count[change.Flag];
      if (change.Kind == kLockSet)
        flag = 1;
      else if (change.Kind == kLockCancel)
        flag = 0;
      else
        flag += change.Kind;
    }
  };
  // The onsets' milliseconds, found once: the loop below asks for the next one at every millisecond.
  std::vector<long long> onset_milliseconds;
  onset_milliseconds.reserve(onsets.size());
  for (const double onset : onsets) onset_milliseconds.push_back(MillisecondOf(onset, timing));
  const auto answer_onsets_at = [&](long long millisecond) {
    for (; next_onset < onsets.size() && onset_milliseconds[next_onset] <= millisecond; ++next_onset)
      levels.push_back(level);
  };

  apply_changes_to(0);
  answer_onsets_at(0);
  for (long long k = 1; next_onset < onsets.size(); ++k) {
    apply_changes_to(k);
    const bool m = count[kM] > 0, s = count[kS] > 0, c = count[kC] > 0, d = count[kD] > 0;
    const double step = !s && !c && !d ? -slow : (s ? slow : 0) + (c ? fast : 0) - (d ? decrescendo : 0);
    double u = level + step;
    if (m) {
      if (level > mezzoforte)
        u = std::clamp(u, mezzoforte + kEpsilon, forte);
      else if (level < mezzoforte)
        u = std::clamp(u, piano, mezzoforte - kEpsilon);
      else
        u = level;
    } else if (s && !c && level < loud) {
      u = std::min(u, loud - kEpsilon);
    }
    const double before = level;
    level = std::clamp(u, piano, forte);
    answer_onsets_at(k);
    if (level != before) continue;
    // The step left the level where it was, and the flags hold until the next change: so does
    // every millisecond before that change and before the next onset, which need no stepping.
    const long long next_change_at =
        next_change < changes.size() ? changes[next_change].Millisecond : std::numeric_limits<long long>::max();
    const long long next_onset_at =
        next_onset < onsets.size() ? onset_milliseconds[next_onset] : std::numeric_limits<long long>::max();
    k = std::max(k, std::min(next_change_at, next_onset_at) - 1);
  }
  return levels;
}

}  // namespace

LevelsByHalf WelteLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model,
                         const RollTiming& timing) {
  return {HalfLevels(holes, Side::kBass, onsets[0], model, timing),
          HalfLevels(holes, Side::kTreble, onsets[1], model, timing)};
}

}  // namespace tarvelo
