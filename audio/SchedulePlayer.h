#pragma once
// Plays a schedule in real time: each message is sent to the sink when its second comes, by
// the clock given. However the playing ends (the end of the schedule, or a stop request), the
// instrument is left silent with its pedals up: every note still sounding gets its note-off,
// then each channel used gets all notes off and the sustain and soft pedal up.
//
// Threads: runs on the calling thread and returns when playing ends; another thread may ask it
// to stop (the request is polled at least every 20 ms) and follow the position.

#include <functional>

#include "audio/MidiSink.h"
#include "audio/PlaybackClock.h"
#include "midi/PlaybackSchedule.h"

namespace tarvelo {

struct PlaybackControl {
  // Polled while playing; true ends the playing.
  std::function<bool()> StopRequested;
  // Told the second of the schedule being played, at least every 20 ms.
  std::function<void(double seconds)> Position;
};

enum class PlaybackEnd { kFinished, kStopped };

// Plays `schedule` from `from_seconds` to its end (first setting the channels as the schedule
// has them by then, PlaybackSchedule::StateAt).
PlaybackEnd PlaySchedule(const PlaybackSchedule& schedule, double from_seconds, MidiSink& sink, PlaybackClock& clock,
                         const PlaybackControl& control);

}  // namespace tarvelo
