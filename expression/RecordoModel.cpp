#include "expression/RecordoModel.h"

#include <algorithm>
#include <map>
#include <span>

#include "expression/PaperLag.h"
#include "expression/VacuumCurve.h"

namespace tarvelo {

namespace {

// The open ports (bits p 1, mf 2, f 4, ff 8) and the hammer rail, wherever any changes.
struct PortState {
  int Ports = 0;
  bool Rail = false;
};

double VacuumOf(const PortState& state, const ExpressionModel& model) {
  const bool binary = model.System == ExpressionSystem::kRecordoA;
  std::span<const double> levels =
      binary ? std::span<const double>(model.RecordoBinaryLevels) : std::span<const double>(model.RecordoLevels);
  size_t level = 0;
  if (binary) {
    level = std::min<size_t>(static_cast<size_t>(state.Ports), levels.size() - 1);
  } else {
    for (size_t port = 0; port < 4; ++port)
      if ((state.Ports >> port & 1) != 0) level = port + 1;
  }
  if (!state.Rail) return levels[level];
  return level == 0 ? model.HammerRailFloor : (levels[level] + levels[level - 1]) / 2;
}

}  // namespace

LevelsByHalf RecordoLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model) {
  // Every change of a port or of a half's rail, with what it changes.
  std::map<double, std::array<int, 3>> changes;  // ports, bass rail, treble rail (+1 / -1)
  for (const int weight : {1, 2, 4, 8}) {
    for (const Interval& stretch : holes.Of(TrackFunction::kLevel, Side::kBoth, weight)) {
      changes[stretch.Start][0] += weight;
      changes[stretch.End][0] -= weight;
    }
  }
  for (size_t half = 0; half < 2; ++half) {
    for (const Interval& stretch : holes.Of(TrackFunction::kHammerRail, half == 0 ? Side::kBass : Side::kTreble)) {
      changes[stretch.Start][half + 1] += 1;
      changes[stretch.End][half + 1] -= 1;
    }
  }
  LevelsByHalf levels;
  for (size_t half = 0; half < 2; ++half) {
    std::vector<TargetStep> steps;
    int ports = 0;
    int rail = 0;
    for (const auto& [at, change] : changes) {
      ports += change[0];
      rail += change[half + 1];
      steps.push_back({at, VacuumOf({ports, rail > 0}, model)});
    }
    const std::vector<double> vacuum = LaggedLevels(steps, VacuumOf({}, model), model.Lag, 0, onsets[half]);
    for (const double v : vacuum) levels[half].push_back(VelocityOfVacuum(v));
  }
  return levels;
}

}  // namespace tarvelo
