#include "expression/AmpicoModel.h"

#include <algorithm>
#include <utility>

#include "expression/IntensityLatches.h"
#include "expression/PaperLag.h"
#include "expression/VacuumCurve.h"

namespace tarvelo {

namespace {

using enum TrackFunction;
constexpr double kStep = 0.001;  // seconds

double Between(const std::array<double, 16>& table, int set, double position) {
  const double low = table[static_cast<size_t>(2 * set)];
  const double high = table[static_cast<size_t>(2 * set + 1)];
  return low + position * (high - low);
}

}  // namespace

LevelsByHalf AmpicoALevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model,
                           const RollTiming& timing) {
  MillisecondAnswers answers(onsets, timing);
  const Side sides[2] = {Side::kBass, Side::kTreble};
  IntensityLatches latches[2] = {IntensityLatches(holes, Side::kBass, timing),
                                 IntensityLatches(holes, Side::kTreble, timing)};
  MillisecondCursor slow[2] = {MillisecondCursor(holes.Of(kSlowCrescendo, sides[0]), timing),
                               MillisecondCursor(holes.Of(kSlowCrescendo, sides[1]), timing)};
  MillisecondCursor fast[2] = {MillisecondCursor(holes.Of(kFastCrescendo, sides[0]), timing),
                               MillisecondCursor(holes.Of(kFastCrescendo, sides[1]), timing)};
  const double bottom = model.CrescendoVacuum[0];
  const double top = model.CrescendoVacuum[1];
  double amplifier = 0;
  double crescendo[2] = {bottom, bottom};
  double vacuum[2];
  double level[2];
  for (size_t half = 0; half < 2; ++half) {
    vacuum[half] = std::min(top, crescendo[half] + Between(model.IntensityVacuum, 0, 0) - bottom);
    level[half] = vacuum[half];
  }
  double velocity[2] = {static_cast<double>(VelocityOfVacuum(level[0])),
                        static_cast<double>(VelocityOfVacuum(level[1]))};
  answers.Answer(0, velocity);
  LagStep lag(model.Lag);
  RollTiming::SpeedCursor speed(timing);
  for (long long k = 1; k <= answers.Last(); ++k) {
    int set[2];
    double target = 0;
    for (size_t half = 0; half < 2; ++half) {
      set[half] = latches[half].Update(k);
      const bool two = (set[half] & 1) != 0, four = (set[half] & 2) != 0, six = (set[half] & 4) != 0;
      if (four && six)
        target = std::max(target, model.AmplifierTargets[0]);
      else if (two && six)
        target = std::max(target, model.AmplifierTargets[1]);
      else if (six)
        target = std::max(target, model.AmplifierTargets[2]);
    }
    target = std::max(target, (std::max(vacuum[0], vacuum[1]) - 15) / 15);
    const double travel = model.AmplifierRate * kStep;
    amplifier = std::clamp(amplifier + std::clamp(target - amplifier, -travel, travel), 0.0, 1.0);
    lag.Over(speed.InchesPerSecondAt(static_cast<double>(k) * kStep) * kStep);
    for (size_t half = 0; half < 2; ++half) {
      const double rate =
          fast[half].IsOpen(k) ? model.FastCrescendoRate : model.CrescendoRates[static_cast<size_t>(set[half])];
      const double direction = slow[half].IsOpen(k) ? 1 : -1;
      crescendo[half] = std::clamp(crescendo[half] + direction * rate * kStep, bottom, top);
      vacuum[half] = std::min(top, crescendo[half] + Between(model.IntensityVacuum, set[half], amplifier) - bottom);
      level[half] = lag(level[half], vacuum[half]);
    }
    if (!answers.Wanted(k)) continue;
    for (size_t half = 0; half < 2; ++half) velocity[half] = VelocityOfVacuum(level[half]);
    answers.Answer(k, velocity);
  }
  return answers.Take();
}

LevelsByHalf AmpicoBLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model,
                           const RollTiming& timing) {
  MillisecondAnswers answers(onsets, timing);
  IntensityLatches latches[2] = {IntensityLatches(holes, Side::kBass, timing),
                                 IntensityLatches(holes, Side::kTreble, timing)};
  MillisecondCursor slow(holes.Of(kSlowCrescendo, Side::kBoth), timing);
  MillisecondCursor fast(holes.Of(kFastCrescendo, Side::kBoth), timing);
  MillisecondCursor amplifier_hole(holes.Of(kAmplifier, Side::kBoth), timing);
  MillisecondCursor sub_hole(holes.Of(kSubIntensity, Side::kBoth), timing);
  const double first_bound = model.AmplifierBounds[0];
  const double second_bound = model.AmplifierBounds[1];
  double position = 0;
  double low = 0, high = 1;  // where the amplifiers hold the position
  bool amplifier_was_open = false;
  bool sub[2] = {false, false};
  double level[2] = {Between(model.IntensityVacuum, 0, 0), Between(model.IntensityVacuum, 0, 0)};
  double velocity[2] = {static_cast<double>(VelocityOfVacuum(level[0])),
                        static_cast<double>(VelocityOfVacuum(level[1]))};
  answers.Answer(0, velocity);
  LagStep lag(model.Lag);
  RollTiming::SpeedCursor speed(timing);
  for (long long k = 1; k <= answers.Last(); ++k) {
    const bool amplifier_open = amplifier_hole.IsOpen(k);
    if (amplifier_open && !amplifier_was_open) {
      low = 0, high = 1;
    } else if (!amplifier_open && amplifier_was_open) {
      if (position > first_bound && position < second_bound)
        low = first_bound, high = second_bound;
      else if (position > second_bound)
        low = second_bound, high = 1;
      else
        low = 0, high = 1;
    }
    amplifier_was_open = amplifier_open;
    const double travel_time = fast.IsOpen(k) || amplifier_open ? model.CrescendoTimes[1] : model.CrescendoTimes[0];
    const double direction = slow.IsOpen(k) ? 1 : -1;
    position = std::clamp(position + direction * kStep / travel_time, low, high);
    const bool sub_open = sub_hole.IsOpen(k);
    lag.Over(speed.InchesPerSecondAt(static_cast<double>(k) * kStep) * kStep);
    for (size_t half = 0; half < 2; ++half) {
      bool cancelled = false;
      const int set = latches[half].Update(k, &cancelled);
      if (cancelled) sub[half] = false;
      if (sub_open) sub[half] = true;
      const double vacuum = Between(sub[half] ? model.SubIntensityVacuum : model.IntensityVacuum, set, position);
      level[half] = lag(level[half], vacuum);
    }
    if (!answers.Wanted(k)) continue;
    for (size_t half = 0; half < 2; ++half) velocity[half] = VelocityOfVacuum(level[half]);
    answers.Answer(k, velocity);
  }
  return answers.Take();
}

}  // namespace tarvelo
