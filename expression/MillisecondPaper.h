#pragma once
// The paper that passes the tracker bar in each millisecond of a model that works millisecond by
// millisecond, and where that length may next change: the paper speed changes only at the tempo
// map's changes, so a model can take the length once for every stretch between them.

#include "midi/RollTiming.h"

namespace tarvelo {

class MillisecondPaper {
 public:
  explicit MillisecondPaper(const RollTiming& timing) : timing_(timing), speed_(timing) {}
  // Inches of paper in millisecond k: the paper speed at k milliseconds times one millisecond
  // (k rising).
  double At(long long k) { return speed_.InchesPerSecondAt(Seconds(k)) * kStep; }
  // The first millisecond after k whose paper may differ from k's (MillisecondCursor::kNever when
  // no tempo change follows); asked for k rising.
  long long NextChange(long long k);

 private:
  static constexpr double kStep = 0.001;  // seconds
  static double Seconds(long long k) { return static_cast<double>(k) * kStep; }
  // The tick the file reaches at millisecond k, as the paper speed is found for it.
  double TickAt(long long k) const { return timing_.TickAtSeconds(Seconds(k)); }

  const RollTiming& timing_;
  RollTiming::SpeedCursor speed_;
  long long change_ = 0;  // the answer of the last NextChange, good for every k before it
};

}  // namespace tarvelo
