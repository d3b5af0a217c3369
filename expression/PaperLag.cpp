#include "expression/PaperLag.h"

#include <cmath>

namespace tarvelo {

namespace {

// `level` after `distance` inches of paper towards `target`.
double Approach(double level, double target, double distance, double lag) {
  if (lag <= 0 || distance <= 0) return lag <= 0 ? target : level;
  return target + (level - target) * std::exp(-distance / lag);
}

}  // namespace

std::vector<double> LaggedLevels(const std::vector<TargetStep>& steps, double initial, double lag, double delay,
                                 const std::vector<double>& at) {
  std::vector<double> levels;
  levels.reserve(at.size());
  double level = initial;
  double target = initial;
  double position = at.empty() ? 0 : at.front();  // where `level` holds; no step before it matters
  if (!steps.empty() && steps.front().At + delay < position) position = steps.front().At + delay;
  size_t next = 0;
  for (const double point : at) {
    // The steps the regulator has reached by `point`, each `delay` after its hole.
    for (; next < steps.size() && steps[next].At + delay <= point; ++next) {
      const double reached = steps[next].At + delay;
      level = Approach(level, target, reached - position, lag);
      position = reached;
      target = steps[next].Value;
    }
    level = Approach(level, target, point - position, lag);
    position = point;
    levels.push_back(level);
  }
  return levels;
}

void LagStep::Over(double paper) {
  if (paper == paper_) return;
  paper_ = paper;
  // Approach's arithmetic, the exponential taken once for every level of the step.
  if (lag_ > 0 && !(paper <= 0)) remaining_ = std::exp(-paper / lag_);
}

}  // namespace tarvelo
