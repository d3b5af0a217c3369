#include "midi/RollTiming.h"

#include <algorithm>
#include <limits>

namespace tarvelo {

namespace {

// A quarter note is 1.2 inches of roll: the roll tick of a position in thousandths of an inch.
int64_t RollTick(uint32_t y) { return static_cast<int64_t>(y) * 480 / 1200; }

}  // namespace

RollTiming::RollTiming(int tempo, int64_t start_ticks, uint32_t first_position, std::vector<TempoChange> changes)
    : tempo_(FileTempo(tempo)),
      start_ticks_(std::max<int64_t>(start_ticks, 0)),
      first_roll_tick_(RollTick(first_position)) {
  segments_.push_back({0.0, 0.0, static_cast<uint32_t>(60000000 / tempo_)});
  // The file's order: by position, so that of several changes on one tick the last one written wins.
  std::stable_sort(changes.begin(), changes.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.Position < b.Position; });
  for (const TempoChange& change : changes) {
    if (change.MicrosecondsPerQuarter == 0) continue;
    const double tick = change.Position < first_position ? 0.0 : static_cast<double>(TickOfPosition(change.Position));
    Segment& last = segments_.back();
    if (tick <= last.tick) {
      last.microseconds_per_quarter = change.MicrosecondsPerQuarter;
      continue;
    }
    const double seconds = last.seconds + (tick - last.tick) * last.microseconds_per_quarter / (1e6 * kTicksPerQuarter);
    segments_.push_back({tick, seconds, change.MicrosecondsPerQuarter});
  }
}

int64_t RollTiming::TickOfPosition(uint32_t y) const {
  return std::max<int64_t>(start_ticks_ + RollTick(y) - first_roll_tick_, 0);
}

const RollTiming::Segment& RollTiming::SegmentAtTick(double tick) const {
  const auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                      [](double value, const Segment& segment) { return value < segment.tick; });
  return after == segments_.begin() ? segments_.front() : *(after - 1);
}

double RollTiming::SecondsAtTick(double tick) const {
  tick = std::max(tick, 0.0);
  const Segment& segment = SegmentAtTick(tick);
  return segment.seconds + (tick - segment.tick) * segment.microseconds_per_quarter / (1e6 * kTicksPerQuarter);
}

double RollTiming::TickAtSeconds(double seconds) const {
  seconds = std::max(seconds, 0.0);
  const auto after = std::upper_bound(segments_.begin(), segments_.end(), seconds,
                                      [](double value, const Segment& segment) { return value < segment.seconds; });
  const Segment& segment = after == segments_.begin() ? segments_.front() : *(after - 1);
  return TickIn(segment, seconds);
}

double RollTiming::InchesPerSecondAt(double seconds) const { return SpeedOf(SegmentAtTick(TickAtSeconds(seconds))); }

double RollTiming::NextTempoChangeTick(double tick) const {
  const auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                      [](double value, const Segment& segment) { return value < segment.tick; });
  return after == segments_.end() ? std::numeric_limits<double>::infinity() : after->tick;
}

double RollTiming::SpeedCursor::InchesPerSecondAt(double seconds) {
  seconds = std::max(seconds, 0.0);
  // The last segment starting at or before `seconds`, as TickAtSeconds finds it ...
  while (by_seconds_ > 0 && segments_[by_seconds_].seconds > seconds) --by_seconds_;
  while (by_seconds_ + 1 < segments_.size() && segments_[by_seconds_ + 1].seconds <= seconds) ++by_seconds_;
  const double tick = TickIn(segments_[by_seconds_], seconds);
  // ... and the last one starting at or before its tick, as SegmentAtTick finds it.
  while (by_tick_ > 0 && segments_[by_tick_].tick > tick) --by_tick_;
  while (by_tick_ + 1 < segments_.size() && segments_[by_tick_ + 1].tick <= tick) ++by_tick_;
  return SpeedOf(segments_[by_tick_]);
}

double RollTiming::RollInchesAtSeconds(double seconds) const {
  const double tick = TickAtSeconds(seconds);
  return (static_cast<double>(first_roll_tick_) + tick - static_cast<double>(start_ticks_)) / kTicksPerInch;
}

}  // namespace tarvelo
