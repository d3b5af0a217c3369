#include "expression/AmpicoModel.h"

#include <algorithm>
#include <utility>

#include "expression/IntensityLatches.h"
#include "expression/MillisecondPaper.h"
#include "expression/MillisecondStretches.h"
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
  const double travel = model.AmplifierRate * kStep;
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
  MillisecondPaper paper(timing);
  // What the holes set: the latched sets, the amplifier target they give, each half's crescendo
  // move per millisecond.
  int set[2] = {0, 0};
  double latched_target = 0;
  double crescendo_step[2] = {0, 0};
  const auto take_holes = [&](long long k) {
    latched_target = 0;
    for (size_t half = 0; half < 2; ++half) {
      set[half] = latches[half].Update(k);
      const bool two = (set[half] & 1) != 0, four = (set[half] & 2) != 0, six = (set[half] & 4) != 0;
      if (four && six)
        latched_target = std::max(latched_target, model.AmplifierTargets[0]);
      else if (two && six)
        latched_target = std::max(latched_target, model.AmplifierTargets[1]);
      else if (six)
        latched_target = std::max(latched_target, model.AmplifierTargets[2]);
    }
    lag.Over(paper.At(k));
    long long next = paper.NextChange(k);
    for (size_t half = 0; half < 2; ++half) {
      const double rate =
          fast[half].IsOpen(k) ? model.FastCrescendoRate : model.CrescendoRates[static_cast<size_t>(set[half])];
      const double direction = slow[half].IsOpen(k) ? 1 : -1;
      crescendo_step[half] = direction * rate * kStep;
      next = std::min({next, latches[half].NextChange(k), fast[half].NextChange(k), slow[half].NextChange(k)});
    }
    return next;
  };
  const auto steps = [&](long long count) {
    // The state in locals for the run of steps, the lag as the holes' millisecond set it.
    const LagStep lagged = lag;
    const bool can_hold = travel >= 0;
    double now_amplifier = amplifier;
    double now_crescendo[2] = {crescendo[0], crescendo[1]};
    double now_vacuum[2] = {vacuum[0], vacuum[1]};
    double now_level[2] = {level[0], level[1]};
    bool settled = false;
    for (long long n = 0; n < count && !settled; ++n) {
      // The louder half raises the target only above 15 in: at or below, (vacuum - 15) / 15 is
      // at most 0, which no latched target lies below.
      const double louder = std::max(now_vacuum[0], now_vacuum[1]);
      const double target = louder <= 15 ? latched_target : std::max(latched_target, (louder - 15) / 15);
      // At its target the amplifier moves by 0 and stays where it is.
      const double moved =
          can_hold && target == now_amplifier
              ? now_amplifier
              : std::clamp(now_amplifier + std::clamp(target - now_amplifier, -travel, travel), 0.0, 1.0);
      bool changed = moved != now_amplifier;
      now_amplifier = moved;
      for (size_t half = 0; half < 2; ++half) {
        const double rise = std::clamp(now_crescendo[half] + crescendo_step[half], bottom, top);
        const double half_vacuum =
            std::min(top, rise + Between(model.IntensityVacuum, set[half], now_amplifier) - bottom);
        const double next = lagged(now_level[half], half_vacuum);
        changed = changed || rise != now_crescendo[half] || half_vacuum != now_vacuum[half] || next != now_level[half];
        now_crescendo[half] = rise, now_vacuum[half] = half_vacuum, now_level[half] = next;
      }
      settled = !changed;
    }
    amplifier = now_amplifier;
    for (size_t half = 0; half < 2; ++half)
      crescendo[half] = now_crescendo[half], vacuum[half] = now_vacuum[half], level[half] = now_level[half];
    return settled;
  };
  const auto answer = [&](long long k) {
    for (size_t half = 0; half < 2; ++half) velocity[half] = VelocityOfVacuum(level[half]);
    answers.Answer(k, velocity);
  };
  WalkMilliseconds(answers, take_holes, steps, answer);
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
  MillisecondPaper paper(timing);
  // What the holes set: the position's move per millisecond, each half's latched set and table.
  double position_step = 0;
  int set[2] = {0, 0};
  const std::array<double, 16>* table[2] = {&model.IntensityVacuum, &model.IntensityVacuum};
  const auto take_holes = [&](long long k) {
    const bool amplifier_open = amplifier_hole.IsOpen(k);
    if (amplifier_open && !amplifier_was_open) {
      low = 0, high = 1;
    } else if (!amplifier_open && amplifier_was_open) {
      // The amplifier holds the position where the previous millisecond left it.
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
    position_step = direction * kStep / travel_time;
    const bool sub_open = sub_hole.IsOpen(k);
    lag.Over(paper.At(k));
    long long next = std::min({paper.NextChange(k), amplifier_hole.NextChange(k), fast.NextChange(k),
                               slow.NextChange(k), sub_hole.NextChange(k)});
    for (size_t half = 0; half < 2; ++half) {
      bool cancelled = false;
      set[half] = latches[half].Update(k, &cancelled);
      if (cancelled) sub[half] = false;
      if (sub_open) sub[half] = true;
      table[half] = sub[half] ? &model.SubIntensityVacuum : &model.IntensityVacuum;
      next = std::min(next, latches[half].NextChange(k));
    }
    return next;
  };
  const auto steps = [&](long long count) {
    // The state in locals for the run of steps, the lag as the holes' millisecond set it.
    const LagStep lagged = lag;
    double now_position = position;
    double now_level[2] = {level[0], level[1]};
    bool settled = false;
    for (long long n = 0; n < count && !settled; ++n) {
      const double moved = std::clamp(now_position + position_step, low, high);
      bool changed = moved != now_position;
      now_position = moved;
      for (size_t half = 0; half < 2; ++half) {
        const double next = lagged(now_level[half], Between(*table[half], set[half], now_position));
        changed = changed || next != now_level[half];
        now_level[half] = next;
      }
      settled = !changed;
    }
    position = now_position;
    level[0] = now_level[0], level[1] = now_level[1];
    return settled;
  };
  const auto answer = [&](long long k) {
    for (size_t half = 0; half < 2; ++half) velocity[half] = VelocityOfVacuum(level[half]);
    answers.Answer(k, velocity);
  };
  WalkMilliseconds(answers, take_holes, steps, answer);
  return answers.Take();
}

}  // namespace tarvelo
