// tarvelo-cli play ROLL.cis: the roll converted and played in real time, to an instrument on
// a MIDI port or through the software synthesizer to the audio output. Ctrl-C stops it and
// leaves the instrument silent with its pedals up.
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "audio/PlaybackClock.h"
#include "audio/SchedulePlayer.h"
#include "audio/SequencerPorts.h"
#include "audio/SoundFontFile.h"
#include "audio/Synthesizer.h"
#include "audio/SynthesizerOutput.h"
#include "cli/Commands.h"
#include "cli/ListenRun.h"
#include "cli/ProgressLine.h"
#include "cli/StopSignals.h"
#include "settings/AudioSettings.h"

namespace tarvelo::cli {

namespace {

int ListPorts() {
  std::vector<SequencerPort> ports;
  if (const Result listed = ListSequencerPorts(ports); !listed.ok()) {
    std::fprintf(stderr, "tarvelo-cli: %s\n", listed.message().c_str());
    return kExitFileFailed;
  }
  if (ports.empty()) {
    std::fprintf(stderr,
                 "tarvelo-cli: no MIDI port takes MIDI here; play without --port uses the software synthesizer\n");
  }
  for (const SequencerPort& port : ports)
    std::printf("%-8s %s:%s\n", port.Address().c_str(), port.ClientName.c_str(), port.PortName.c_str());
  return kExitOk;
}

// The instrument the roll is played to, opened before the conversion so that a missing one
// costs no conversion.
struct Instrument {
  std::unique_ptr<Synthesizer> Synth;
  std::unique_ptr<SynthesizerOutput> SynthOutput;
  std::unique_ptr<SequencerOutput> Port;
  std::string Description;

  MidiSink& Sink() { return Port ? static_cast<MidiSink&>(*Port) : *SynthOutput; }
};

int OpenInstrument(const PlayOptions& options, const AudioSettings& audio, Instrument& instrument) {
  const std::string port = options.port.empty() ? audio.MidiOutput : options.port;
  if (!port.empty()) {
    const Result opened = SequencerOutput::Open(port, instrument.Port);
    if (!opened.ok()) {
      std::fprintf(stderr, "tarvelo-cli: %s\n", opened.message().c_str());
      return opened.kind() == Result::Kind::kNotFound ? kExitUsage : kExitFileFailed;
    }
    const SequencerPort& destination = instrument.Port->Destination();
    instrument.Description =
        "MIDI port " + destination.Address() + " " + destination.ClientName + ":" + destination.PortName;
    return kExitOk;
  }
  const std::string soundfont = ChooseSoundFont(options.soundfont, audio.SoundFont);
  if (const Result made = Synthesizer::Create(soundfont, instrument.Synth); !made.ok()) {
    std::fprintf(stderr, "tarvelo-cli: %s\n", made.message().c_str());
    return kExitUsage;
  }
  if (const Result opened = SynthesizerOutput::Open(*instrument.Synth, instrument.SynthOutput); !opened.ok()) {
    std::fprintf(stderr,
                 "tarvelo-cli: %s; play --port NAME plays to a MIDI port, render-audio writes the roll into a sound "
                 "file\n",
                 opened.message().c_str());
    return kExitFileFailed;
  }
  instrument.Description = "the software synthesizer (" + instrument.SynthOutput->AudioSystem() + ")";
  return kExitOk;
}

}  // namespace

int RunPlay(const PlayOptions& options) {
  if (options.list_ports) return ListPorts();
  if (options.listen.file.empty()) {
    std::fprintf(stderr, "tarvelo-cli: play needs a CIS file (or --list-ports)\n");
    return kExitUsage;
  }
  auto profile = RunProfile::Open(options.listen.profile);
  if (!profile) return kExitUsage;
  Instrument instrument;
  if (const int status = OpenInstrument(options, AudioSettings(profile->Store()), instrument); status != kExitOk) {
    return status;
  }
  HeardRoll heard;
  if (const int status = ConvertForListening(options.listen, *profile, heard); status != kExitOk) return status;
  const double playing_time = heard.Schedule.EndSeconds();
  if (options.from > 0 && options.from >= playing_time) {
    std::fprintf(stderr, "tarvelo-cli: --from %g: the %s file of %s plays for %s only\n", options.from,
                 heard.Source.c_str(), options.listen.file.c_str(), FormatDuration(playing_time).c_str());
    return kExitUsage;
  }
  // A piano on a port has a soft pedal of its own; the software synthesizer has none.
  if (instrument.Synth) LowerVelocitiesUnderSoftPedal(heard.Schedule);

  ProgressLine progress_line(!options.quiet);
  const std::string what = "playing " + options.listen.file + " (" + heard.Source + ") on " + instrument.Description;
  if (!progress_line.Enabled() && !options.quiet) std::fprintf(stderr, "%s\n", what.c_str());
  double shown = -1;
  PlaybackControl control;
  control.StopRequested = [] { return StopSignal() != 0; };
  control.Position = [&](double seconds) {
    if (!progress_line.Enabled() || seconds - shown < 0.25) return;
    shown = seconds;
    progress_line.Show(
        FitToColumns(what + ": " + FormatDuration(seconds) + " of " + FormatDuration(playing_time) + ", Ctrl-C stops",
                     progress_line.Columns()));
  };
  SteadyPlaybackClock clock;
  PlaySchedule(heard.Schedule, options.from, instrument.Sink(), clock, control);
  progress_line.Clear();
  // The last notes' release, before the synthesizer's output closes.
  if (instrument.SynthOutput) std::this_thread::sleep_for(std::chrono::milliseconds(300));
  return heard.ConversionStatus;
}

}  // namespace tarvelo::cli
