#include "expression/ThemodistModel.h"

#include "expression/DuoArtModel.h"

namespace tarvelo {

LevelsByHalf ThemodistLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model) {
  LevelsByHalf levels;
  for (const Side side : {Side::kBass, Side::kTreble}) {
    const size_t half = side == Side::kBass ? 0 : 1;
    const std::vector<Interval> windows = AccentWindows(holes.Of(TrackFunction::kAccent, side), model.SnakebiteLead);
    for (const double onset : onsets[half])
      levels[half].push_back(IsOpenAt(windows, onset) ? model.ThemodistVelocities[1] : model.ThemodistVelocities[0]);
  }
  return levels;
}

}  // namespace tarvelo
