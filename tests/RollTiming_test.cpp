#include <gtest/gtest.h>

#include <cmath>

#include "midi/RollTiming.h"

namespace tarvelo {
namespace {

TEST(RollTiming, TicksSecondsAndInchesFollowTheTempoChanges) {
  // 80 beats per minute from the start, 160 from tick 960; the roll 500 ticks into the file.
  const RollTiming timing(480, {{0, 750000}, {960, 375000}}, 500);
  EXPECT_DOUBLE_EQ(timing.SecondsAtTick(480), 0.75);
  EXPECT_DOUBLE_EQ(timing.SecondsAtTick(960), 1.5);
  EXPECT_DOUBLE_EQ(timing.SecondsAtTick(1440), 1.875);
  for (const double seconds : {0.0, 0.3, 1.5, 1.7, 10.0})
    EXPECT_NEAR(timing.SecondsAtTick(timing.TickAtSeconds(seconds)), seconds, 1e-9) << seconds;
  // 400 ticks to the inch (480 to 1.2 inches), after the roll's offset.
  EXPECT_DOUBLE_EQ(timing.TickAtInch(0), 500);
  EXPECT_DOUBLE_EQ(timing.TickAtInch(1.0), 900);
  EXPECT_DOUBLE_EQ(timing.InchAtTick(1300), 2.0);
  EXPECT_NEAR(timing.InchAtSeconds(timing.SecondsAtInch(3.25)), 3.25, 1e-12);
  // Ahead of the file's start the first tempo holds: inch -1.25 is a second before the file.
  EXPECT_DOUBLE_EQ(timing.SecondsAtInch(-1.25), 0);
  EXPECT_DOUBLE_EQ(timing.SecondsAtTick(-480), -0.75);
  EXPECT_DOUBLE_EQ(timing.TickAtSeconds(-0.75), -480);
}

TEST(RollTiming, OddTempoMapsGiveTimesWithoutDividingByNothing) {
  // No tempo at all: 120 beats per minute, as in every MIDI file.
  EXPECT_DOUBLE_EQ(RollTiming().SecondsAtTick(480), 0.5);
  // Of several changes on one tick the last holds.
  EXPECT_DOUBLE_EQ(RollTiming(480, {{0, 1000000}, {0, 250000}}).SecondsAtTick(480), 0.25);
  // A tempo of 0 microseconds stops time until the next change.
  const RollTiming stopped(480, {{480, 0}, {960, 500000}});
  EXPECT_DOUBLE_EQ(stopped.SecondsAtTick(700), 0.5);
  EXPECT_DOUBLE_EQ(stopped.SecondsAtTick(1440), 1.0);
  EXPECT_DOUBLE_EQ(stopped.TickAtSeconds(1.0), 1440);
  EXPECT_TRUE(std::isfinite(stopped.TickAtSeconds(0.5)));
  // A division of 0 is taken as 480; a change listed out of order is put on the tick before it.
  EXPECT_DOUBLE_EQ(RollTiming(0, {}).SecondsAtTick(480), 0.5);
  const RollTiming backwards(480, {{960, 500000}, {480, 250000}});
  EXPECT_DOUBLE_EQ(backwards.SecondsAtTick(1440), 1.0 + 0.25);
}

TEST(RollTiming, OfMidiFileTakesTheFilesDivisionAndTempoEvents) {
  MidiFileContents file;
  file.Division = 96;
  MidiFileEvent tempo;
  tempo.Status = kTempoEventStatus;
  tempo.MicrosecondsPerQuarter = 1000000;
  tempo.Tick = 96;
  MidiFileEvent note;
  note.Status = 0x90;
  note.Data1 = 60;
  note.Data2 = 85;
  note.Tick = 48;
  file.Events = {note, tempo};
  const RollTiming timing = RollTiming::OfMidiFile(file, 40);
  EXPECT_DOUBLE_EQ(timing.SecondsAtTick(96), 0.5);
  EXPECT_DOUBLE_EQ(timing.SecondsAtTick(192), 1.5);
  EXPECT_EQ(timing.RollTickOffset(), 40);
}

}  // namespace
}  // namespace tarvelo
