#pragma once
// Where a player sends its messages: the software synthesizer, a sequencer port, or a test's
// recorder.

#include "midi/PlaybackSchedule.h"

namespace tarvelo {

class MidiSink {
 public:
  virtual ~MidiSink() = default;
  // Sends one message at once.
  virtual void Send(const MidiMessage& message) = 0;
};

}  // namespace tarvelo
