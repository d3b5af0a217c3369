#pragma once
// The clock of a roll's MIDI files: where a point of the roll lands in the file (its tick), when
// the file plays it (seconds from the file's start) and back. The eRoll, ScanImage and
// expression files, the expression models, a renderer, a player and the view's play line all
// read time through this one class, so that they agree to the tick.
//
// Roll to ticks. The files run 480 ticks per quarter note and one quarter note per 1.2 inches of
// roll: 400 ticks per inch. An event at roll position y (thousandths of an inch) has the roll
// tick trunc(y * 480 / 1200). A file starts the roll at its first playable event: that event
// sounds at StartTicks (the lead-in; with the eRoll file's PowerRoll start marker 200 ticks more:
// the marker's 100 ticks and 100 after it) and every later event its roll tick minus the first
// event's roll tick after that.
//
// Ticks to seconds. The file plays trunc(60000000 / tempo) microseconds per quarter note from
// tick 0. The take-up acceleration adds tempo events along the roll (TempoChange): each takes
// effect at the tick of its position, one lying before the first playable event at tick 0 (the
// file writes those before anything else).
//
// "Inches" below are inches of the file's paper: tick / 400, the roll's own inches shifted by
// where the file starts it. Lengths of paper (a hole, a gap, a lag) are the same in both.
//
// Copies are cheap to share between threads: a RollTiming is never changed after it is made.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvelo {

class RollTiming {
  // From `tick` on, until the next segment, `microseconds_per_quarter`; `seconds` at its start.
  struct Segment {
    double tick;
    double seconds;
    uint32_t microseconds_per_quarter;
  };

 public:
  static constexpr int kTicksPerQuarter = 480;
  static constexpr double kTicksPerInch = 400.0;  // 480 ticks per 1.2 inches

  // A tempo event of the take-up acceleration: from the tick of `Position` (thousandths of an
  // inch along the roll) on, the file plays `MicrosecondsPerQuarter`.
  struct TempoChange {
    uint32_t Position = 0;
    uint32_t MicrosecondsPerQuarter = 0;
  };

  // A file at `tempo` (quarter notes per minute; values below 4 cannot be written and are taken
  // as 100, as the outputs do) that plays the roll position `first_position` at `start_ticks`;
  // `changes` in any order. Without the last three: a roll that starts at tick 0 at one tempo.
  explicit RollTiming(int tempo, int64_t start_ticks = 0, uint32_t first_position = 0,
                      std::vector<TempoChange> changes = {});

  // The tick of roll position `y` (thousandths of an inch): StartTicks + roll tick(y) - roll
  // tick(first position). Positions before the first position give earlier ticks, never below 0.
  int64_t TickOfPosition(uint32_t y) const;

  // Seconds from the file's start at `tick` (fractions of a tick allowed; below 0 counts as 0).
  double SecondsAtTick(double tick) const;
  // The tick (with its fraction) the file reaches at `seconds`; the inverse of SecondsAtTick.
  double TickAtSeconds(double seconds) const;

  // The file's paper: inches = tick / 400, and the same with seconds.
  static double InchesAtTick(double tick) { return tick / kTicksPerInch; }
  double SecondsAtInches(double inches) const { return SecondsAtTick(inches * kTicksPerInch); }
  double InchesAtSeconds(double seconds) const { return TickAtSeconds(seconds) / kTicksPerInch; }
  // Paper speed (inches per second) at `seconds`: the tempo in force there.
  double InchesPerSecondAt(double seconds) const;
  // The tick of the first tempo change after `tick`, where the paper speed may change next
  // (infinity when no change follows).
  double NextTempoChangeTick(double tick) const;
  // The same paper speed for a model that asks at rising times millisecond by millisecond: the
  // segments are walked from the last answer instead of searched (any order of times gives the
  // same values as InchesPerSecondAt, rising ones in constant time).
  class SpeedCursor {
   public:
    explicit SpeedCursor(const RollTiming& timing) : segments_(timing.segments_) {}
    double InchesPerSecondAt(double seconds);

   private:
    const std::vector<Segment>& segments_;
    size_t by_seconds_ = 0;  // the segment the last time fell in
    size_t by_tick_ = 0;     // the segment that held the last time's tick
  };

  // Where the roll is under the tracker bar at `seconds`: inches from the roll's start (its
  // position 0), as the view measures the roll. Before the first event sounds, the roll is
  // drawn back by the lead-in (a negative value may result).
  double RollInchesAtSeconds(double seconds) const;

  // The tempo a file plays `tempo` at: below 4 (which a MIDI tempo cannot hold) 100.
  static int FileTempo(int tempo) { return tempo >= 4 ? tempo : 100; }

  int Tempo() const { return tempo_; }
  int64_t StartTicks() const { return start_ticks_; }
  // Microseconds per quarter note at tick 0.
  uint32_t InitialMicrosecondsPerQuarter() const { return segments_.front().microseconds_per_quarter; }

 private:
  // The segment that holds `tick` (the last one starting at or before it).
  const Segment& SegmentAtTick(double tick) const;
  // The tick `seconds` reaches in `segment`, and the paper speed while `segment` plays.
  static double TickIn(const Segment& segment, double seconds) {
    return segment.tick + (seconds - segment.seconds) * 1e6 * kTicksPerQuarter / segment.microseconds_per_quarter;
  }
  static double SpeedOf(const Segment& segment) {
    return 1e6 * kTicksPerQuarter / segment.microseconds_per_quarter / kTicksPerInch;
  }

  int tempo_;
  int64_t start_ticks_;
  int64_t first_roll_tick_;
  std::vector<Segment> segments_;  // by tick; the first at tick 0
};

}  // namespace tarvelo
