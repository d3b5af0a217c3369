#include "expression/DuoArtModel.h"

#include <algorithm>
#include <map>

#include "expression/PaperLag.h"
#include "expression/VacuumCurve.h"

namespace tarvelo {

namespace {

// The regulator's step (0..15) along the paper as the power holes of `side` open and close.
std::vector<std::pair<double, int>> PowerSteps(const ControlHoles& holes, Side side) {
  std::map<double, int> changes;
  for (const int weight : {1, 2, 4, 8}) {
    for (const Interval& stretch : holes.Of(TrackFunction::kPower, side, weight)) {
      changes[stretch.Start] += weight;
      changes[stretch.End] -= weight;
    }
  }
  std::vector<std::pair<double, int>> steps;
  int power = 0;
  for (const auto& [at, change] : changes) {
    power += change;
    steps.emplace_back(at, power);
  }
  return steps;
}

std::vector<TargetStep> VacuumSteps(const std::vector<std::pair<double, int>>& steps,
                                    double (*vacuum)(int, const ExpressionModel&), const ExpressionModel& model) {
  std::vector<TargetStep> targets;
  for (const auto& [at, power] : steps) targets.push_back({at, vacuum(power, model)});
  return targets;
}

double AccompanimentVacuum(int step, const ExpressionModel& model) {
  const auto& range = model.AccompanimentVacuum;
  return range[0] + (range[1] - range[0]) * step / 15.0;
}

double ThemeVacuum(int step, const ExpressionModel& model) {
  if (step >= 15) return model.CrashVacuum;
  const auto& range = model.ThemeVacuum;
  return range[0] + (range[1] - range[0]) * step / 15.0;
}

}  // namespace

std::vector<Interval> AccentWindows(const std::vector<Interval>& stretches, double lead) {
  std::vector<Interval> windows;
  for (const Interval& stretch : stretches) {
    const Interval window{stretch.Start - lead, stretch.End};
    if (!windows.empty() && window.Start <= windows.back().End)
      windows.back().End = std::max(windows.back().End, window.End);
    else
      windows.push_back(window);
  }
  return windows;
}

LevelsByHalf DuoArtLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model) {
  const std::vector<TargetStep> accompaniment = VacuumSteps(PowerSteps(holes, Side::kBass), AccompanimentVacuum, model);
  const std::vector<TargetStep> theme = VacuumSteps(PowerSteps(holes, Side::kTreble), ThemeVacuum, model);
  LevelsByHalf levels;
  for (const Side side : {Side::kBass, Side::kTreble}) {
    const size_t half = side == Side::kBass ? 0 : 1;
    const std::vector<double>& at = onsets[half];
    const std::vector<double> low =
        LaggedLevels(accompaniment, AccompanimentVacuum(0, model), model.Lag, model.Delay, at);
    const std::vector<double> high = LaggedLevels(theme, ThemeVacuum(0, model), model.Lag, model.Delay, at);
    const std::vector<Interval> windows = AccentWindows(holes.Of(TrackFunction::kAccent, side), model.SnakebiteLead);
    for (size_t i = 0; i < at.size(); ++i) {
      const double theme_vacuum = high[i] < low[i] ? low[i] + model.ThemeFloor : high[i];
      const double vacuum = IsOpenAt(windows, at[i]) ? theme_vacuum : low[i];
      levels[half].push_back(VelocityOfVacuum(vacuum));
    }
  }
  return levels;
}

}  // namespace tarvelo
