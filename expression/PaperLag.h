#pragma once
// The response of an expression regulator: the level follows its target after a pure delay,
// with a first-order lag, both lengths of paper (a player reads its expression holes as the
// paper moves, so its response is a fixed length of roll, not a fixed time). Along the paper x:
//   level'(x) = (target(x - delay) - level(x)) / lag,
// and with lag 0 the level is the delayed target itself.

#include <vector>

namespace tarvelo {

// A target that changes stepwise: from At (file inches) on, Value.
struct TargetStep {
  double At = 0;
  double Value = 0;
};

// The level at each point of `at` (ascending) for a target that is `initial` before the first
// of `steps` (ascending by At), solved exactly between the steps.
std::vector<double> LaggedLevels(const std::vector<TargetStep>& steps, double initial, double lag, double delay,
                                 const std::vector<double>& at);

// The same lag for a model that works out its levels time step by time step: set to each step's
// paper, it moves each level (both halves alike) towards its target.
class LagStep {
 public:
  explicit LagStep(double lag) : lag_(lag) {}
  // The next step moves `paper` inches. The paper's speed changes only at the tempo map's steps,
  // so the exponential is taken again only when the paper differs from the last step's.
  void Over(double paper);
  // The level after the step's paper, from `level` towards `target`.
  double operator()(double level, double target) const {
    if (lag_ <= 0) return target;  // no lag: the level is its target at once
    if (paper_ <= 0) return level;  // no paper moved: the level stays
    return target + (level - target) * remaining_;
  }

 private:
  double lag_;
  double paper_ = 0;
  double remaining_ = 1;  // the share of the distance to the target left after the step
};

}  // namespace tarvelo
