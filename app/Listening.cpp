#include "app/Listening.h"

#include "audio/SequencerPorts.h"
#include "audio/SoundFontFile.h"
#include "audio/Synthesizer.h"
#include "audio/SynthesizerOutput.h"

namespace tarvelo::app {

namespace {

// The software synthesizer and its audio output, closed output first.
class SynthesizerSink : public MidiSink {
 public:
  SynthesizerSink(std::unique_ptr<Synthesizer> synthesizer, std::unique_ptr<SynthesizerOutput> output)
      : synthesizer_(std::move(synthesizer)), output_(std::move(output)) {}
  ~SynthesizerSink() override { output_.reset(); }
  void Send(const MidiMessage& message) override { output_->Send(message); }

 private:
  std::unique_ptr<Synthesizer> synthesizer_;
  std::unique_ptr<SynthesizerOutput> output_;
};

// What the last notes of the software synthesizer need to die away.
constexpr double kSynthesizerRelease = 0.3;

}  // namespace

bool CanPlay() { return true; }

Result OpenPlaybackInstrument(const AudioSettings& audio, PlaybackInstrument& instrument) {
  instrument = PlaybackInstrument{};
  if (!audio.MidiOutput.empty()) {
    std::unique_ptr<SequencerOutput> port;
    if (Result opened = SequencerOutput::Open(audio.MidiOutput, port); !opened.ok()) return opened;
    const SequencerPort& destination = port->Destination();
    instrument.Description =
        "MIDI port " + destination.Address() + " " + destination.ClientName + ":" + destination.PortName;
    instrument.HasSoftPedal = true;
    instrument.Sink = std::move(port);
    return Result::Ok();
  }
  std::unique_ptr<Synthesizer> synthesizer;
  if (Result made = Synthesizer::Create(ChooseSoundFont("", audio.SoundFont), synthesizer); !made.ok()) return made;
  std::unique_ptr<SynthesizerOutput> output;
  if (Result opened = SynthesizerOutput::Open(*synthesizer, output); !opened.ok()) return opened;
  instrument.Description = "the software synthesizer (" + output->AudioSystem() + ")";
  instrument.ReleaseSeconds = kSynthesizerRelease;
  instrument.Sink = std::make_unique<SynthesizerSink>(std::move(synthesizer), std::move(output));
  return Result::Ok();
}

Result CheckSoundFontChoice(const std::string& path) { return CheckSoundFont(ChooseSoundFont("", path)); }

std::string InstalledSoundFontPath() { return kInstalledSoundFont; }

std::vector<PortChoice> PlaybackPorts() {
  std::vector<SequencerPort> ports;
  std::vector<PortChoice> choices;
  if (!ListSequencerPorts(ports).ok()) return choices;
  for (const SequencerPort& port : ports) choices.push_back({port.Address(), port.ClientName + ":" + port.PortName});
  return choices;
}

PlaybackEnd PlayOn(const PlaybackSchedule& schedule, double from_seconds, MidiSink& sink, PlaybackClock& clock,
                   const PlaybackControl& control) {
  return PlaySchedule(schedule, from_seconds, sink, clock, control);
}

}  // namespace tarvelo::app
