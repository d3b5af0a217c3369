#pragma once
// Renders a playback schedule into a sound file offline, with FluidSynth's own file renderer:
// no audio device, as fast as the processor allows, and the same bytes for the same schedule
// and SoundFont on every run. 44.1 kHz, 16-bit, stereo; WAV or FLAC.
//
// The file appears whole or not at all: FluidSynth writes into a scratch folder of its own and
// the finished file is put in place by WriteFileAtomically (support/AtomicFile.h).

#include <functional>
#include <string>

#include "audio/Synthesizer.h"
#include "midi/PlaybackSchedule.h"
#include "support/Result.h"

namespace tarvelo {

enum class AudioFileFormat { kWav, kFlac };

struct AudioRenderRequest {
  std::string Path;  // the file to write
  AudioFileFormat Format = AudioFileFormat::kWav;
  double FromSeconds = 0;     // the second of the schedule the sound file starts at
  double LengthSeconds = -1;  // how much to render; below 0: to the end of the schedule
};

// Told the seconds rendered so far and the seconds to render, about once per second of sound
// and at the end; returns false to stop the render (the file is then not written).
using RenderProgress = std::function<bool(double rendered, double total)>;

// The seconds of sound `request` asks for from `schedule`: from FromSeconds to the end, or
// LengthSeconds of it when that ends sooner; 0 when FromSeconds lies at or after the end.
double RenderedSeconds(const PlaybackSchedule& schedule, const AudioRenderRequest& request);

// Plays `schedule` into `synthesizer` (which should be fresh: its state is changed) and writes
// the file. Starting after 0 s, the channels are first set as the schedule has set them by
// then (PlaybackSchedule::StateAt). kCancelled when `progress` stopped it; kIoError, naming the
// file and the reason, when it could not be written; no file is left in either case.
Result RenderAudioFile(Synthesizer& synthesizer, const PlaybackSchedule& schedule, const AudioRenderRequest& request,
                       const RenderProgress& progress = nullptr);

}  // namespace tarvelo
