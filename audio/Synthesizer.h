#pragma once
// The software synthesizer: FluidSynth at 44.1 kHz with one SoundFont loaded. It renders into
// files (audio/AudioFileRenderer.h) or plays through the system's audio output
// (audio/SynthesizerOutput.h). FluidSynth's own messages are kept, not printed: the last one
// completes the message of a failure.
//
// Threads: one thread creates and destroys it; Send may be called from any thread while an
// audio output plays it (FluidSynth serialises its calls).

#include <memory>
#include <string>

#include "midi/PlaybackSchedule.h"
#include "support/Result.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

namespace tarvelo {
struct FluidSynthLibrary;
}

namespace tarvelo {

inline constexpr int kAudioSampleRate = 44100;

class Synthesizer {
 public:
  ~Synthesizer();
  Synthesizer(const Synthesizer&) = delete;
  Synthesizer& operator=(const Synthesizer&) = delete;

  // Creates the synthesizer with `soundfont` loaded (checked with CheckSoundFont first).
  // Failures name the file and FluidSynth's reason; `synthesizer` is then empty.
  static Result Create(const std::string& soundfont, std::unique_ptr<Synthesizer>& synthesizer);

  void Send(const MidiMessage& message);
  // Every note cut off and every controller back to its default, on all channels.
  void Reset();

  fluid_synth_t* Handle() const { return synth_; }
  fluid_settings_t* Settings() const { return settings_; }
  // The library's functions, for the renderer and the audio output that drive this synthesizer.
  const FluidSynthLibrary& Library() const { return fluid_; }

 private:
  explicit Synthesizer(const FluidSynthLibrary& fluid) : fluid_(fluid) {}
  const FluidSynthLibrary& fluid_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
};

// FluidSynth's last message on this thread ("" when it gave none), for failure messages.
std::string LastSynthesizerMessage();

}  // namespace tarvelo
