#include "expression/ArtechoModel.h"

#include <algorithm>

#include "expression/IntensityLatches.h"
#include "expression/MillisecondPaper.h"
#include "expression/MillisecondStretches.h"
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
  MillisecondPaper paper(timing);
  const double travel = kStep / model.CrescendoTime;
  // What the holes set: each half's latched set and whether its crescendo and decrescendo move it.
  int set[2] = {0, 0};
  bool rising[2] = {false, false};
  bool falling[2] = {false, false};
  const auto take_holes = [&](long long k) {
    if (general_cancel.IsOpen(k)) rail[0] = rail[1] = pianissimo = false;
    if (pianissimo_hole.IsOpen(k)) pianissimo = true;
    lag.Over(paper.At(k));
    long long next = std::min({paper.NextChange(k), general_cancel.NextChange(k), pianissimo_hole.NextChange(k)});
    for (size_t half = 0; half < 2; ++half) {
      set[half] = latches[half].Update(k);
      if (rail_hole[half].IsOpen(k)) rail[half] = true;
      rising[half] = crescendo[half].IsOpen(k);
      falling[half] = decrescendo[half].IsOpen(k);
      next = std::min({next, latches[half].NextChange(k), rail_hole[half].NextChange(k), crescendo[half].NextChange(k),
                       decrescendo[half].NextChange(k)});
    }
    return next;
  };
  const auto steps = [&](long long count) {
    // The state in locals for the run of steps, the lag as the holes' millisecond set it.
    const LagStep lagged = lag;
    double now_position[2] = {position[0], position[1]};
    double now_level[2] = {level[0], level[1]};
    bool settled = false;
    for (long long n = 0; n < count && !settled; ++n) {
      bool changed = false;
      for (size_t half = 0; half < 2; ++half) {
        double moved = now_position[half];
        if (rising[half]) moved += travel;
        if (falling[half]) moved -= travel;
        moved = std::clamp(moved, 0.0, 1.0);
        const double next = lagged(now_level[half], vacuum_of(set[half], moved, pianissimo));
        changed = changed || moved != now_position[half] || next != now_level[half];
        now_position[half] = moved, now_level[half] = next;
      }
      settled = !changed;
    }
    for (size_t half = 0; half < 2; ++half) position[half] = now_position[half], level[half] = now_level[half];
    return settled;
  };
  const auto answer = [&](long long k) {
    for (size_t half = 0; half < 2; ++half) velocity[half] = velocity_of(level[half], rail[half]);
    answers.Answer(k, velocity);
  };
  WalkMilliseconds(answers, take_holes, steps, answer);
  return answers.Take();
}

}  // namespace tarvelo
