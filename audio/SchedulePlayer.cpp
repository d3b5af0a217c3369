#include "audio/SchedulePlayer.h"

#include <algorithm>

namespace tarvelo {

namespace {

// The longest the player waits without looking at a stop request or telling its position.
constexpr double kPollSeconds = 0.02;

// Sends to the sink and keeps account of the notes sounding.
class TrackedSink {
 public:
  explicit TrackedSink(MidiSink& sink) : sink_(sink) {}
  void Send(const MidiMessage& message) {
    sounding_.Note(message);
    sink_.Send(message);
  }
  void Silence() {
    for (const MidiMessage& message : sounding_.SilencingMessages()) sink_.Send(message);
    sounding_.Clear();
  }

 private:
  MidiSink& sink_;
  SoundingNotes sounding_;
};

}  // namespace

PlaybackEnd PlaySchedule(const PlaybackSchedule& schedule, double from_seconds, MidiSink& sink, PlaybackClock& clock,
                         const PlaybackControl& control) {
  const auto stop_requested = [&] { return control.StopRequested && control.StopRequested(); };
  const auto tell = [&](double seconds) {
    if (control.Position) control.Position(seconds);
  };
  const double from = std::max(0.0, from_seconds);
  TrackedSink tracked(sink);
  for (const MidiMessage& message : schedule.StateAt(from)) tracked.Send(message);
  // Times are compared on the clock, as start + a schedule second: a wait until such a time
  // then always reaches it, however the sum rounds.
  const double start = clock.Now() - from;  // the clock's time of the schedule's second 0
  const double end_time = start + schedule.EndSeconds();
  const std::vector<ScheduledMessage>& messages = schedule.Messages();
  size_t next = schedule.FirstAt(from);
  PlaybackEnd end = PlaybackEnd::kFinished;
  while (true) {
    if (stop_requested()) {
      end = PlaybackEnd::kStopped;
      break;
    }
    const double now = clock.Now();
    for (; next < messages.size() && start + messages[next].Seconds <= now; ++next)
      tracked.Send(messages[next].Message);
    tell(std::min(now - start, schedule.EndSeconds()));
    if (next >= messages.size() && now >= end_time) break;
    const double due = next < messages.size() ? start + messages[next].Seconds : end_time;
    clock.WaitUntil(std::min(due, now + kPollSeconds));
  }
  tracked.Silence();
  return end;
}

}  // namespace tarvelo
