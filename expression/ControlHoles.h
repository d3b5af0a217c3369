#pragma once
// The control holes of a roll as the expression models read them: for each function, side and
// weight, the stretches of paper over which its valve is open.
//
// Positions are inches of the file's paper (RollTiming::InchesAtTick). Each control track's
// holes are first joined where the paper between two of them is shorter than the track's
// bridge gap (chain perforations, punched as a row of short holes, act as one long hole), then
// each is held open the tracker extension past its trailing edge, and finally the holes of the
// tracks that share a function, side and weight (the two half holes of a snakebite) are taken
// together. An open stretch starts at its hole's leading edge: a lock-and-cancel valve reads
// only that.

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <vector>

#include "expression/TrackFunctions.h"
#include "midi/RollTiming.h"
#include "rolltypes/ExpressionModel.h"

namespace tarvelo {

// One punched hole of a track, in file inches.
struct TrackHole {
  int Track = 0;
  double Start = 0;
  double End = 0;
};

// An open stretch, in file inches: from Start up to, not including, End.
struct Interval {
  double Start = 0;
  double End = 0;
};

// Note onsets of the bass (0) and treble (1) half, file inches, ascending; and a value for each.
using OnsetsByHalf = std::array<std::vector<double>, 2>;
using LevelsByHalf = std::array<std::vector<double>, 2>;

class ControlHoles {
 public:
  ControlHoles() = default;
  // The control tracks of `holes` (tracks whose role is neither a note nor unused), joined,
  // extended and grouped as described above with the figures of `model`. Holes may come in any
  // order.
  ControlHoles(const std::vector<TrackHole>& holes, const TrackRoles& roles, const ExpressionModel& model);

  // The open stretches of one function, side and weight, in order, never overlapping.
  const std::vector<Interval>& Of(TrackFunction function, Side side, int weight = 0) const;

 private:
  std::map<int, std::vector<Interval>> groups_;
};

// Whether `at` lies in one of `stretches` (ascending, apart).
bool IsOpenAt(const std::vector<Interval>& stretches, double at);

// The millisecond indexes a stretch covers when the file plays it: from round(1000 * seconds of
// Start) up to, not including, round(1000 * seconds of End).
struct MillisecondSpan {
  long long First = 0;
  long long Last = 0;  // one past the last
};
MillisecondSpan MillisecondsOf(const Interval& stretch, const RollTiming& timing);
// The millisecond index of a point of the file's paper: round(1000 * seconds).
long long MillisecondOf(double inches, const RollTiming& timing);

// Whether a group of stretches is open at millisecond k, asked for k rising (the models that
// work millisecond by millisecond).
class MillisecondCursor {
 public:
  static constexpr long long kNever = std::numeric_limits<long long>::max();

  MillisecondCursor(const std::vector<Interval>& stretches, const RollTiming& timing);
  bool IsOpen(long long k) {
    while (next_ < spans_.size() && spans_[next_].Last <= k) ++next_;
    return next_ < spans_.size() && spans_[next_].First <= k;
  }
  // The first millisecond after k at which IsOpen may answer otherwise than at k (kNever when the
  // group stays closed from k on); asked for k rising, as IsOpen.
  long long NextChange(long long k) {
    while (next_ < spans_.size() && spans_[next_].Last <= k) ++next_;
    if (next_ == spans_.size()) return kNever;
    return spans_[next_].First <= k ? spans_[next_].Last : spans_[next_].First;
  }

 private:
  std::vector<MillisecondSpan> spans_;
  size_t next_ = 0;
};

// The onsets of both halves answered in order as a model works millisecond by millisecond:
// each onset takes the value the model has at its millisecond.
class MillisecondAnswers {
 public:
  MillisecondAnswers(const OnsetsByHalf& onsets, const RollTiming& timing);
  long long Last() const { return last_; }  // the latest onset's millisecond (0 without onsets)
  // Whether an onset of either half waits for millisecond k's values (k rising): a model need
  // not work out the values it answers with at the other milliseconds.
  bool Wanted(long long k) const {
    for (size_t half = 0; half < 2; ++half)
      if (levels_[half].size() < milliseconds_[half].size() && milliseconds_[half][levels_[half].size()] <= k)
        return true;
    return false;
  }
  // The millisecond of the earliest onset still waiting for its values (Last() + 1 when none
  // waits): a model that answers at every millisecond Wanted asks for never leaves one waiting
  // behind its own millisecond.
  long long NextWanted() const {
    long long next = last_ + 1;
    for (size_t half = 0; half < 2; ++half)
      if (levels_[half].size() < milliseconds_[half].size())
        next = std::min(next, milliseconds_[half][levels_[half].size()]);
    return next;
  }
  // The values of both halves at millisecond k (k rising).
  void Answer(long long k, const double (&values)[2]);
  LevelsByHalf Take() { return std::move(levels_); }

 private:
  std::array<std::vector<long long>, 2> milliseconds_;
  long long last_ = 0;
  LevelsByHalf levels_;
};

}  // namespace tarvelo
