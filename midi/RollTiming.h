#pragma once
// The one mapping between the three clocks of a roll's MIDI output: its ticks, the seconds at
// which they play, and the inches of roll they stand for. The audio renderer and the player
// time the file's events with it, and the desktop's play line turns the time played back into
// the inch of roll under the tracker bar.
//
// Ticks to seconds follow the file's tempo changes (120 beats per minute until the first, as
// in any Standard MIDI File), so the take-up spool's acceleration, which the eRoll output
// writes as a rising tempo, is part of it. Inches to ticks follow the outputs' time base: 480
// ticks per quarter note and one quarter note per 1.2 inches of roll, so 400 ticks per inch;
// an output puts the roll's events `RollTickOffset` ticks later than their position alone
// would (the lead-in and the PowerRoll marker, less the roll before the first event).

#include <cstdint>
#include <vector>

#include "midi/MidiFileReader.h"

namespace tarvelo {

struct TempoChange {
  int64_t Tick = 0;
  uint32_t MicrosecondsPerQuarter = 500000;
};

class RollTiming {
 public:
  static constexpr double kTicksPerInch = 400;

  // `changes` in tick order (of several on one tick the last holds); a division below 1 is
  // taken as 480.
  explicit RollTiming(int division = 480, const std::vector<TempoChange>& changes = {}, int64_t roll_tick_offset = 0);
  // The tempo changes and division of a file read by ReadMidiFile.
  static RollTiming OfMidiFile(const MidiFileContents& file, int64_t roll_tick_offset = 0);

  // Before tick 0 the file's first tempo holds, so that a roll position ahead of the lead-in
  // still has a time (a negative one).
  double SecondsAtTick(double tick) const;
  double TickAtSeconds(double seconds) const;
  double TickAtInch(double inch) const { return inch * kTicksPerInch + static_cast<double>(roll_tick_offset_); }
  double InchAtTick(double tick) const { return (tick - static_cast<double>(roll_tick_offset_)) / kTicksPerInch; }
  double SecondsAtInch(double inch) const { return SecondsAtTick(TickAtInch(inch)); }
  double InchAtSeconds(double seconds) const { return InchAtTick(TickAtSeconds(seconds)); }

  int64_t RollTickOffset() const { return roll_tick_offset_; }

 private:
  struct Segment {
    int64_t Tick;            // where the tempo starts
    double Seconds;          // when it starts
    double SecondsPerTick;   // while it holds
  };
  std::vector<Segment> segments_;  // never empty; the first starts at tick 0
  int64_t roll_tick_offset_;
};

}  // namespace tarvelo
