#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "audio/SchedulePlayer.h"

namespace tarvelo {
namespace {

// A clock that moves only when the player waits on it.
class StepClock : public PlaybackClock {
 public:
  double Now() override { return now; }
  void WaitUntil(double seconds) override {
    if (seconds > now) now = seconds;
  }
  double now = 1000;
};

// What the instrument received, and when (seconds after the start).
class RecordingSink : public MidiSink {
 public:
  explicit RecordingSink(StepClock& clock) : clock_(clock), start_(clock.now) {}
  void Send(const MidiMessage& message) override { sent.emplace_back(clock_.now - start_, message); }
  std::vector<std::pair<double, MidiMessage>> sent;

 private:
  StepClock& clock_;
  double start_;
};

PlaybackSchedule Piece() {
  PlaybackSchedule schedule;
  schedule.Messages() = {{0.0, {0xC0, 0, 0}},  {0.5, {0x90, 60, 80}}, {0.5, {0x90, 64, 80}}, {1.0, {0xB0, 64, 127}},
                         {1.5, {0x90, 60, 0}}, {1.8, {0x90, 64, 0}},  {1.9, {0xB0, 64, 0}}};
  schedule.SetEndSeconds(2.0);
  return schedule;
}

const std::vector<MidiMessage> kPedalsUp = {{0xB0, 123, 0}, {0xB0, 64, 0}, {0xB0, 67, 0}};

TEST(SchedulePlayer, SendsEachMessageAtItsSecondAndLeavesThePedalsUp) {
  StepClock clock;
  RecordingSink sink(clock);
  std::vector<double> positions;
  PlaybackControl control;
  control.Position = [&](double seconds) { positions.push_back(seconds); };
  EXPECT_EQ(PlaySchedule(Piece(), 0, sink, clock, control), PlaybackEnd::kFinished);
  const PlaybackSchedule piece = Piece();
  ASSERT_EQ(sink.sent.size(), piece.Messages().size() + kPedalsUp.size());
  for (size_t i = 0; i < piece.Messages().size(); ++i) {
    EXPECT_NEAR(sink.sent[i].first, piece.Messages()[i].Seconds, 1e-9) << i;
    EXPECT_EQ(sink.sent[i].second, piece.Messages()[i].Message) << i;
  }
  for (size_t i = 0; i < kPedalsUp.size(); ++i) {
    EXPECT_EQ(sink.sent[piece.Messages().size() + i].second, kPedalsUp[i]);
    EXPECT_NEAR(sink.sent[piece.Messages().size() + i].first, 2.0, 1e-9) << "after the end, not before";
  }
  // The position moves on at least every 20 ms and ends at the end.
  ASSERT_FALSE(positions.empty());
  for (size_t i = 1; i < positions.size(); ++i) EXPECT_LE(positions[i] - positions[i - 1], 0.02 + 1e-9);
  EXPECT_NEAR(positions.back(), 2.0, 1e-9);
}

TEST(SchedulePlayer, AStopSilencesTheNotesSoundingAndSendsNothingMore) {
  StepClock clock;
  RecordingSink sink(clock);
  PlaybackControl control;
  control.StopRequested = [&] { return clock.now - 1000 >= 1.2; };
  EXPECT_EQ(PlaySchedule(Piece(), 0, sink, clock, control), PlaybackEnd::kStopped);
  // Up to the sustain pedal at 1.0 s, then within 20 ms of the stop: both notes off (they
  // were sounding), all notes off and the pedals up.
  ASSERT_EQ(sink.sent.size(), 4u + 2u + kPedalsUp.size());
  EXPECT_EQ(sink.sent[4].second, (MidiMessage{0x80, 60, 0}));
  EXPECT_EQ(sink.sent[5].second, (MidiMessage{0x80, 64, 0}));
  EXPECT_EQ(sink.sent[6].second, kPedalsUp[0]);
  EXPECT_EQ(sink.sent.back().second, kPedalsUp.back());
  EXPECT_GE(sink.sent[4].first, 1.2);
  EXPECT_LT(sink.sent[4].first, 1.2 + 0.02 + 1e-9);
}

TEST(SchedulePlayer, StartingLaterSetsTheInstrumentFirstAndKeepsTheSchedulesTimes) {
  StepClock clock;
  RecordingSink sink(clock);
  EXPECT_EQ(PlaySchedule(Piece(), 1.2, sink, clock, PlaybackControl{}), PlaybackEnd::kFinished);
  // At once: the program and the sustain pedal held since 1.0 s; no note of before.
  ASSERT_GE(sink.sent.size(), 5u);
  EXPECT_EQ(sink.sent[0], std::make_pair(0.0, MidiMessage{0xC0, 0, 0}));
  EXPECT_EQ(sink.sent[1], std::make_pair(0.0, MidiMessage{0xB0, 64, 127}));
  EXPECT_NEAR(sink.sent[2].first, 1.5 - 1.2, 1e-9);
  EXPECT_EQ(sink.sent[2].second, (MidiMessage{0x90, 60, 0}));
  EXPECT_NEAR(sink.sent[4].first, 1.9 - 1.2, 1e-9);
  EXPECT_EQ(sink.sent.size(), 5u + kPedalsUp.size());
}

}  // namespace
}  // namespace tarvelo
