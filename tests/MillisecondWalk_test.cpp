// The millisecond walk of the Ampico models: the hole cursors and the paper tell exactly where
// their answers may change, and the models' values do not depend on where the walk reads the
// holes, answers onsets or stops stepping a settled state.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "expression/ControlHoles.h"
#include "expression/MillisecondPaper.h"
#include "expression/PerformExpression.h"
#include "expression/TrackFunctions.h"
#include "midi/RollTiming.h"
#include "rolltypes/ExpressionModel.h"

namespace tarvelo {
namespace {

// For each millisecond 0 ... last - 1, the first later one whose value differs (last if none).
template <typename Value>
std::vector<long long> NextDifferent(const std::vector<Value>& values) {
  const auto last = static_cast<long long>(values.size());
  std::vector<long long> next(values.size(), last);
  for (long long k = last - 2; k >= 0; --k) {
    const auto at = static_cast<size_t>(k);
    next[at] = values[at + 1] != values[at] ? k + 1 : next[at + 1];
  }
  return next;
}

// Stretches that touch, one too short to cover a millisecond, one from the roll's start.
TEST(MillisecondWalk, CursorsTellWhereTheirAnswersChange) {
  const RollTiming timing(80);
  const std::vector<Interval> stretches = {{0.0, 0.02}, {0.02, 0.0201}, {0.5, 1.0}, {1.0, 1.0004}, {1.2, 1.6}};
  constexpr long long kLast = 1500;  // beyond the last stretch (1.6 in = 1 s at tempo 80)
  std::vector<bool> open;
  MillisecondCursor walker(stretches, timing);
  for (long long k = 0; k < kLast; ++k) open.push_back(walker.IsOpen(k));
  const std::vector<long long> next = NextDifferent(open);
  for (const long long every : {1, 7}) {
    MillisecondCursor cursor(stretches, timing);
    for (long long k = 0; k < kLast; k += every) {
      const long long change = cursor.NextChange(k);
      const long long expected = next[static_cast<size_t>(k)];
      if (expected == kLast && !open[static_cast<size_t>(k)])
        EXPECT_EQ(change, MillisecondCursor::kNever) << k;
      else
        EXPECT_EQ(change, expected) << k;
      EXPECT_EQ(cursor.IsOpen(k), open[static_cast<size_t>(k)]) << k;
    }
  }
  EXPECT_EQ(MillisecondCursor({}, timing).NextChange(0), MillisecondCursor::kNever);
}

// Tempo changes every 37 thousandths of an inch, each to another tempo, the first before the
// file's start: the paper of each millisecond as the speed search gives it, and its changes
// found exactly, for milliseconds asked one by one or far apart.
TEST(MillisecondWalk, PaperChangesWhereTheTempoDoes) {
  std::vector<RollTiming::TempoChange> changes;
  for (uint32_t i = 0; i <= 200; ++i) changes.push_back({900 + 37 * i, 600000 - 900 * i});
  const RollTiming timing(72, 1380, 1000, changes);
  constexpr long long kLast = 40000;
  std::vector<double> paper_of;
  MillisecondPaper walker(timing);
  for (long long k = 0; k < kLast; ++k) {
    paper_of.push_back(walker.At(k));
    ASSERT_EQ(paper_of.back(), timing.InchesPerSecondAt(static_cast<double>(k) * 0.001) * 0.001) << k;
  }
  const std::vector<long long> next = NextDifferent(paper_of);
  for (const long long every : {1, 13, 997}) {
    MillisecondPaper paper(timing);
    for (long long k = 0; k < kLast; k += every) {
      const long long expected = next[static_cast<size_t>(k)];
      // After the last change (near 5 s) the paper keeps its speed.
      EXPECT_EQ(paper.NextChange(k), expected == kLast ? MillisecondCursor::kNever : expected) << k;
    }
  }
  const RollTiming one_tempo(80);
  MillisecondPaper steady(one_tempo);
  EXPECT_EQ(steady.NextChange(0), MillisecondCursor::kNever);
}

// A busy Ampico roll: intensities latched and cancelled on both sides, crescendos slow and
// fast, the B amplifier and sub-intensity, the lag and tracker extension of the shipped models.
std::vector<TrackHole> BusyAmpicoHoles() {
  std::vector<TrackHole> holes;
  const auto hole = [&](int track, double from, double to) { holes.push_back({track, from, to}); };
  for (int bar = 0; bar < 8; ++bar) {
    const double at = 2.0 * bar;
    hole(bar % 2 == 0 ? 17 : 21, at + 0.1, at + 0.15);
    hole(bar % 3 == 0 ? 19 : 112, at + 0.4, at + 0.45);
    hole(108, at + 0.9, at + 0.95);
    hole(bar % 2 == 0 ? 22 : 107, at + 1.7, at + 1.75);
    hole(16, at + 0.2, at + 1.3);
    hole(113, at + 0.3, at + 1.6);
    hole(bar % 2 == 0 ? 20 : 109, at + 0.6, at + 0.9);
    hole(15, at + 1.0, at + 1.2 + 0.1 * (bar % 3));
    if (bar % 4 == 1) hole(114, at + 0.5, at + 0.55);
  }
  return holes;
}

LevelsByHalf LevelsAt(ExpressionSystem system, const RollTiming& timing, const OnsetsByHalf& onsets) {
  const ExpressionModel model = DefaultExpressionModel(system);
  const ControlHoles holes(BusyAmpicoHoles(), RolesOfSystem(system, model.FirstTreble()), model);
  return ModelLevels(holes, onsets, model, timing);
}

// The values of onsets every 0.25 thousandth of an inch (an answer at every millisecond)
// against those of a few of them (the walk skips the steps of a settled state between them), at
// one tempo and with the tempo rising every 0.3 in: equal to the bit.
TEST(MillisecondWalk, AmpicoValuesDoNotDependOnWhereTheWalkStops) {
  std::vector<RollTiming::TempoChange> rising;
  for (uint32_t i = 0; i < 60; ++i) rising.push_back({300 * i + 17, 750000 - 2000 * i});
  OnsetsByHalf dense;
  OnsetsByHalf sparse;
  std::array<std::vector<size_t>, 2> dense_index;  // where each sparse onset lies among the dense
  for (int n = 0; n < 80000; ++n) {
    const auto half = static_cast<size_t>(n % 2);
    dense[half].push_back(0.00025 * n);
    if (n % 997 != 0) continue;
    sparse[half].push_back(dense[half].back());
    dense_index[half].push_back(dense[half].size() - 1);
  }
  for (const RollTiming& timing : {RollTiming(80), RollTiming(80, 0, 0, rising)}) {
    for (const ExpressionSystem system : {ExpressionSystem::kAmpicoA, ExpressionSystem::kAmpicoB}) {
      const LevelsByHalf all = LevelsAt(system, timing, dense);
      const LevelsByHalf few = LevelsAt(system, timing, sparse);
      for (size_t half = 0; half < 2; ++half) {
        ASSERT_EQ(all[half].size(), dense[half].size());
        ASSERT_EQ(few[half].size(), sparse[half].size());
        for (size_t i = 0; i < sparse[half].size(); ++i)
          EXPECT_EQ(few[half][i], all[half][dense_index[half][i]]) << static_cast<int>(system) << " " << i;
      }
      // The roll's holes make the values move.
      EXPECT_NE(*std::min_element(all[1].begin(), all[1].end()), *std::max_element(all[1].begin(), all[1].end()));
    }
  }
}

}  // namespace
}  // namespace tarvelo
