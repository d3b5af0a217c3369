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

// One step of the same lag for a model that works out its level time step by time step: the
// level after `paper` inches more towards `target`.
double LagStep(double level, double target, double paper, double lag);

}  // namespace tarvelo
