#include "midi/RollTiming.h"

#include <algorithm>

namespace tarvelo {

RollTiming::RollTiming(int division, const std::vector<TempoChange>& changes, int64_t roll_tick_offset)
    : roll_tick_offset_(roll_tick_offset) {
  const double ticks_per_quarter = division >= 1 ? division : 480;
  const auto rate = [&](uint32_t microseconds) { return microseconds / 1e6 / ticks_per_quarter; };
  segments_.push_back(Segment{0, 0, rate(500000)});
  for (const TempoChange& change : changes) {
    const int64_t tick = std::max<int64_t>(change.Tick, segments_.back().Tick);
    Segment& last = segments_.back();
    if (tick == last.Tick) {
      last.SecondsPerTick = rate(change.MicrosecondsPerQuarter);
      continue;
    }
    const double seconds = last.Seconds + static_cast<double>(tick - last.Tick) * last.SecondsPerTick;
    segments_.push_back(Segment{tick, seconds, rate(change.MicrosecondsPerQuarter)});
  }
}

RollTiming RollTiming::OfMidiFile(const MidiFileContents& file, int64_t roll_tick_offset) {
  std::vector<TempoChange> changes;
  for (const MidiFileEvent& event : file.Events)
    if (event.IsTempo()) changes.push_back(TempoChange{event.Tick, event.MicrosecondsPerQuarter});
  return RollTiming(file.Division, changes, roll_tick_offset);
}

double RollTiming::SecondsAtTick(double tick) const {
  // The last segment starting at or before the tick (the first for a tick before 0).
  auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                [](double value, const Segment& segment) { return value < segment.Tick; });
  const Segment& segment = after == segments_.begin() ? segments_.front() : *(after - 1);
  return segment.Seconds + (tick - static_cast<double>(segment.Tick)) * segment.SecondsPerTick;
}

double RollTiming::TickAtSeconds(double seconds) const {
  auto after = std::upper_bound(segments_.begin(), segments_.end(), seconds,
                                [](double value, const Segment& segment) { return value < segment.Seconds; });
  // Segments of no length in time (a tempo of 0 microseconds) all start at one second; the
  // search lands after the last of them, which is the one that holds from then on.
  const Segment& segment = after == segments_.begin() ? segments_.front() : *(after - 1);
  if (segment.SecondsPerTick <= 0) return static_cast<double>(segment.Tick);
  return static_cast<double>(segment.Tick) + (seconds - segment.Seconds) / segment.SecondsPerTick;
}

}  // namespace tarvelo
