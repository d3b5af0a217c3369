#pragma once
// The software synthesizer heard through the system's audio output: a MidiSink that plays
// what it is sent at once. Opening it tries the audio systems FluidSynth was built with, the
// sound servers first (PipeWire, PulseAudio), then ALSA's default device, then the others; a
// machine without any gives a failure that says so.

#include <memory>
#include <string>

#include "audio/MidiSink.h"
#include "audio/Synthesizer.h"
#include "support/Result.h"

typedef struct _fluid_audio_driver_t fluid_audio_driver_t;

namespace tarvelo {

class SynthesizerOutput : public MidiSink {
 public:
  ~SynthesizerOutput() override;
  SynthesizerOutput(const SynthesizerOutput&) = delete;
  SynthesizerOutput& operator=(const SynthesizerOutput&) = delete;

  // Starts `synthesizer` (which must outlive the output) on the audio output. kIoError
  // naming every audio system tried and why it failed when none can be opened.
  static Result Open(Synthesizer& synthesizer, std::unique_ptr<SynthesizerOutput>& output);

  void Send(const MidiMessage& message) override { synthesizer_.Send(message); }
  // The audio system in use ("pulseaudio", "alsa", ...).
  const std::string& AudioSystem() const { return audio_system_; }

 private:
  explicit SynthesizerOutput(Synthesizer& synthesizer) : synthesizer_(synthesizer) {}
  Synthesizer& synthesizer_;
  fluid_audio_driver_t* driver_ = nullptr;
  std::string audio_system_;
};

}  // namespace tarvelo
