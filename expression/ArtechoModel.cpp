#include "expression/ArtechoModel.h"

#include <algorithm>

#include "expression/IntensityLatches.h"
#include "expression/PaperLag.h"
#include "expression/VacuumCurve.h"

namespace tarvelo {

LevelsByHalf ArtechoLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model,
                           const RollTiming& timing) {
  using enum TrackFunction;
  constexpr double kStep = 0.001;  // seconds
  MillisecondAnswers answers(onsets, timing);
  const Side sides[2] = {Side::kBass, Side::kTreble};
  IntensityLatches latches[2] = {IntensityLatches(holes, sides[0], timing), IntensityLatches(holes, sides[1], timing)};
  MillisecondCursor crescendo[2] = {MillisecondCursor(holes.Of(kArtechoCrescendo, sides[0]), timing),
                                    MillisecondCursor(holes.Of(kArtechoCrescendo, sides[1]), timing)};
  MillisecondCursor decrescendo[2] = {MillisecondCursor(holes.Of(kArtechoDecrescendo, sides[0]), timing),
                                      MillisecondCursor(holes.Of(kArtechoDecrescendo, sides[1]), timing)};
  MillisecondCursor rail_hole[2] = {MillisecondCursor(holes.Of(kHammerRail, sides[0]), timing),
                                    MillisecondCursor(holes.Of(kHammerRail, sides[1]), timing)};
  MillisecondCursor pianissimo_hole(holes.Of(kPianissimo, Side::kBoth), timing);
  MillisecondCursor general_cancel(holes.Of(kGeneralCancel, Side::kBoth), timing);
  const auto vacuum_of = [&](int set, double position, bool pianissimo) {
    const double low = model.IntensityVacuum[static_cast<size_t>(2 * set)];
    const double high = model.IntensityVacuum[static_cast<size_t>(2 * set + 1)];
    return low + position * (high - low) - (pianissimo ? model.PianissimoDrop : 0);
  };
  const auto velocity_of = [&](double vacuum, bool rail) {
    const int velocity = VelocityOfVacuum(vacuum);
    return rail ? static_cast<double>(static_cast<int>(velocity * model.HammerRailFactor)) : velocity;
  };
  double position[2] = {0, 0};
  bool rail[2] = {false, false};
  bool pianissimo = false;
  double level[2] = {vacuum_of(0, 0, false), vacuum_of(0, 0, false)};
  double velocity[2] = {velocity_of(level[0], false), velocity_of(level[1], false)};
  answers.Answer(0, velocity);
  LagStep lag(model.Lag);
  RollTiming::SpeedCursor speed(timing);
  for (long long k = 1; k <= answers.Last(); ++k) {
    if (general_cancel.IsOpen(k)) rail[0] = rail[1] = pianissimo = false;
    if (pianissimo_hole.IsOpen(k)) pianissimo = true;
    lag.Over(speed.InchesPerSecondAt(static_cast<double>(k) * kStep) * kStep);
    for (size_t half = 0; half < 2; ++half) {
      const int set = latches[half].Update(k);
      if (rail_hole[half].IsOpen(k)) rail[half] = true;
      const double travel = kStep / model.CrescendoTime;
      if (crescendo[half].IsOpen(k)) position[half] += travel;
      if (decrescendo[half].IsOpen(k)) position[half] -= travel;
      position[half] = std::clamp(position[half], 0.0, 1.0);
      level[half] = lag(level[half], vacuum_of(set, position[half], pianissimo));
    }
    if (!answers.Wanted(k)) continue;
    for (size_t half = 0; half < 2; ++half) velocity[half] = velocity_of(level[half], rail[half]);
    answers.Answer(k, velocity);
  }
  return answers.Take();
}

}  // namespace tarvelo
