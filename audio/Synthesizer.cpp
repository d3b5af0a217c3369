#include "audio/Synthesizer.h"

#include <mutex>

#include "audio/FluidSynthLibrary.h"
#include "audio/SoundFontFile.h"

namespace tarvelo {

namespace {

thread_local std::string last_message;

void KeepMessage(int level, const char* message, void*) {
  if (level <= FLUID_WARN && message != nullptr) last_message = message;
}

// FluidSynth writes its messages to standard error unless told otherwise; the programs show
// them inside their own messages instead.
void KeepSynthesizerMessages(const FluidSynthLibrary& fluid) {
  static std::once_flag once;
  std::call_once(once, [&fluid] {
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN}) fluid.SetLogFunction(level, KeepMessage, nullptr);
    for (const int level : {FLUID_INFO, FLUID_DBG}) fluid.SetLogFunction(level, nullptr, nullptr);
  });
}

std::string Reason() {
  const std::string message = LastSynthesizerMessage();
  return message.empty() ? "" : " (" + message + ")";
}

}  // namespace

std::string LastSynthesizerMessage() { return last_message; }

Result Synthesizer::Create(const std::string& soundfont, std::unique_ptr<Synthesizer>& synthesizer) {
  synthesizer.reset();
  if (Result checked = CheckSoundFont(soundfont); !checked.ok()) return checked;
  std::string reason;
  const FluidSynthLibrary* fluid = LoadFluidSynth(reason);
  if (fluid == nullptr) return Result::IoError("the software synthesizer (FluidSynth) cannot be loaded: " + reason);
  KeepSynthesizerMessages(*fluid);
  last_message.clear();
  std::unique_ptr<Synthesizer> made(new Synthesizer(*fluid));
  made->settings_ = fluid->NewSettings();
  if (made->settings_ == nullptr) return Result::IoError("the software synthesizer cannot be set up" + Reason());
  fluid->SettingsSetNum(made->settings_, "synth.sample-rate", kAudioSampleRate);
  // One core: a render is the same, sample for sample, wherever it runs.
  fluid->SettingsSetInt(made->settings_, "synth.cpu-cores", 1);
  fluid->SettingsSetInt(made->settings_, "synth.lock-memory", 0);
  // FluidSynth's default gain (0.2) leaves a roll's loudest chords at a tenth of the 16 bits;
  // 0.6 puts them near a third, with room for a dense passage under the sustain pedal.
  fluid->SettingsSetNum(made->settings_, "synth.gain", 0.6);
  made->synth_ = fluid->NewSynth(made->settings_);
  if (made->synth_ == nullptr) return Result::IoError("the software synthesizer cannot be started" + Reason());
  if (fluid->SynthSfLoad(made->synth_, soundfont.c_str(), 1) == FLUID_FAILED) {
    return Result::Invalid("the SoundFont " + soundfont + " cannot be loaded" + Reason());
  }
  synthesizer = std::move(made);
  return Result::Ok();
}

Synthesizer::~Synthesizer() {
  if (synth_ != nullptr) fluid_.DeleteSynth(synth_);
  if (settings_ != nullptr) fluid_.DeleteSettings(settings_);
}

void Synthesizer::Send(const MidiMessage& message) {
  const int channel = message.Channel();
  switch (message.Kind()) {
    case 0x80:
      fluid_.SynthNoteOff(synth_, channel, message.Data1);
      break;
    case 0x90:
      if (message.Data2 == 0) {
        fluid_.SynthNoteOff(synth_, channel, message.Data1);
      } else {
        fluid_.SynthNoteOn(synth_, channel, message.Data1, message.Data2);
      }
      break;
    case 0xA0:
      fluid_.SynthKeyPressure(synth_, channel, message.Data1, message.Data2);
      break;
    case 0xB0:
      fluid_.SynthCc(synth_, channel, message.Data1, message.Data2);
      break;
    case 0xC0:
      fluid_.SynthProgramChange(synth_, channel, message.Data1);
      break;
    case 0xD0:
      fluid_.SynthChannelPressure(synth_, channel, message.Data1);
      break;
    case 0xE0:
      fluid_.SynthPitchBend(synth_, channel, message.Data1 | message.Data2 << 7);
      break;
    default:
      break;
  }
}

void Synthesizer::Reset() { fluid_.SynthSystemReset(synth_); }

}  // namespace tarvelo
