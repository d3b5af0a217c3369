#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "midi/PlaybackSchedule.h"

namespace tarvelo {
namespace {

MidiFileEvent Event(int64_t tick, uint8_t status, uint8_t data1, uint8_t data2 = 0) {
  MidiFileEvent event;
  event.Tick = tick;
  event.Status = status;
  event.Data1 = data1;
  event.Data2 = data2;
  return event;
}

// At 60 beats per minute, one second per 480 ticks; a second channel from tick 960.
MidiFileContents TwoChannelFile() {
  MidiFileContents file;
  MidiFileEvent tempo;
  tempo.Status = kTempoEventStatus;
  tempo.MicrosecondsPerQuarter = 1000000;
  file.Events = {tempo,
                 Event(0, 0xC0, 0),
                 Event(0, 0xB0, 7, 100),
                 Event(240, 0x90, 60, 80),
                 Event(480, 0xB0, 64, 127),
                 Event(480, 0xB0, 67, 127),
                 Event(600, 0x90, 62, 80),
                 Event(700, 0x90, 60, 0),
                 Event(720, 0xE0, 0, 72),
                 Event(720, 0xB0, 123, 0),
                 Event(960, 0xC1, 19),
                 Event(960, 0x91, 48, 100),
                 Event(1200, 0xB0, 67, 0),
                 Event(1300, 0x90, 64, 10)};
  file.EndTick = 1440;
  return file;
}

TEST(PlaybackSchedule, TimesEveryChannelMessageByTheFilesTempo) {
  const PlaybackSchedule schedule = PlaybackSchedule::OfMidiFile(TwoChannelFile(), RollTiming(60));
  ASSERT_EQ(schedule.Messages().size(), 13u) << "the tempo change is not a message";
  EXPECT_DOUBLE_EQ(schedule.Messages()[2].Seconds, 0.5);
  EXPECT_EQ(schedule.Messages()[2].Message, (MidiMessage{0x90, 60, 80}));
  EXPECT_DOUBLE_EQ(schedule.EndSeconds(), 3.0);
  EXPECT_EQ(schedule.FirstAt(1.0), 3u) << "messages at the second itself are still to come";
  EXPECT_EQ(schedule.FirstAt(99), schedule.Messages().size());
}

TEST(PlaybackSchedule, StartingLateSetsTheChannelsAsTheFileHasSetThemButSoundsNoNote) {
  const PlaybackSchedule schedule = PlaybackSchedule::OfMidiFile(TwoChannelFile(), RollTiming(60));
  EXPECT_TRUE(schedule.StateAt(0).empty());
  // At 2.2 s: channel 0 has its program, volume, pedals and pitch bend (the all-notes-off is a
  // channel mode message, left out); channel 1 its program; no note-on.
  const std::vector<MidiMessage> expected = {{0xC0, 0, 0},    {0xB0, 7, 100}, {0xB0, 64, 127},
                                             {0xB0, 67, 127}, {0xE0, 0, 72},  {0xC1, 19, 0}};
  EXPECT_EQ(schedule.StateAt(2.2), expected);
  // Later the soft pedal has come up again.
  EXPECT_EQ(schedule.StateAt(2.6)[3], (MidiMessage{0xB0, 67, 0}));
}

TEST(PlaybackSchedule, NotesUnderTheSoftPedalPlaySofterForASynthesizerWithoutOne) {
  PlaybackSchedule schedule = PlaybackSchedule::OfMidiFile(TwoChannelFile(), RollTiming(60));
  LowerVelocitiesUnderSoftPedal(schedule);
  const auto velocity_at = [&](double seconds, int channel) {
    for (const ScheduledMessage& scheduled : schedule.Messages())
      if (std::abs(scheduled.Seconds - seconds) < 1e-9 && scheduled.Message.IsNoteOn() &&
          scheduled.Message.Channel() == channel)
        return static_cast<int>(scheduled.Message.Data2);
    return -1;
  };
  EXPECT_EQ(velocity_at(0.5, 0), 80) << "before the soft pedal";
  EXPECT_EQ(velocity_at(1.25, 0), 72) << "under it";
  EXPECT_EQ(velocity_at(2.0, 1), 100) << "another channel's soft pedal is up";
  EXPECT_EQ(velocity_at(1300.0 / 480, 0), 10) << "after it came up";
  // A quiet note never becomes silent (velocity 0 would end a note instead).
  PlaybackSchedule quiet;
  quiet.Messages() = {{0, {0xB0, 67, 100}}, {1, {0x90, 30, 5}}, {2, {0x90, 30, 0}}};
  LowerVelocitiesUnderSoftPedal(quiet);
  EXPECT_EQ(quiet.Messages()[1].Message.Data2, 1);
  EXPECT_EQ(quiet.Messages()[2].Message.Data2, 0);
}

TEST(SoundingNotes, SilencingEndsEveryNoteStillSoundingAndLiftsThePedalsOfEveryChannelUsed) {
  SoundingNotes notes;
  for (const MidiMessage& message : std::vector<MidiMessage>{
           {0x90, 60, 80}, {0x90, 64, 80}, {0x80, 60, 0}, {0x93, 30, 50}, {0xB3, 64, 127}, {0x95, 70, 0}})
    notes.Note(message);
  const std::vector<MidiMessage> expected = {{0x80, 64, 0},  {0x83, 30, 0},  {0xB0, 123, 0}, {0xB0, 64, 0},
                                             {0xB0, 67, 0},  {0xB3, 123, 0}, {0xB3, 64, 0},  {0xB3, 67, 0},
                                             {0xB5, 123, 0}, {0xB5, 64, 0},  {0xB5, 67, 0}};
  EXPECT_EQ(notes.SilencingMessages(), expected);
  notes.Note({0xB3, 123, 0});
  EXPECT_EQ(notes.SilencingMessages().size(), 10u) << "all notes off ended the note of channel 3";
  notes.Clear();
  EXPECT_TRUE(notes.SilencingMessages().empty());
}

}  // namespace
}  // namespace tarvelo
