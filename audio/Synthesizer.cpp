#include "audio/Synthesizer.h"

#include <fluidsynth.h>

#include <mutex>

#include "audio/SoundFontFile.h"

namespace tarvelo {

namespace {

thread_local std::string last_message;

void KeepMessage(int level, const char* message, void*) {
  if (level <= FLUID_WARN && message != nullptr) last_message = message;
}

// FluidSynth writes its messages to standard error unless told otherwise; the programs show
// them inside their own messages instead.
void KeepSynthesizerMessages() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN}) fluid_set_log_function(level, KeepMessage, nullptr);
    for (const int level : {FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
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
  KeepSynthesizerMessages();
  last_message.clear();
  std::unique_ptr<Synthesizer> made(new Synthesizer());
  made->settings_ = new_fluid_settings();
  if (made->settings_ == nullptr) return Result::IoError("the software synthesizer cannot be set up" + Reason());
  fluid_settings_setnum(made->settings_, "synth.sample-rate", kAudioSampleRate);
  // One core: a render is the same, sample for sample, wherever it runs.
  fluid_settings_setint(made->settings_, "synth.cpu-cores", 1);
  fluid_settings_setint(made->settings_, "synth.lock-memory", 0);
  // FluidSynth's default gain (0.2) leaves a roll's loudest chords at a tenth of the 16 bits;
  // 0.6 puts them near a third, with room for a dense passage under the sustain pedal.
  fluid_settings_setnum(made->settings_, "synth.gain", 0.6);
  made->synth_ = new_fluid_synth(made->settings_);
  if (made->synth_ == nullptr) return Result::IoError("the software synthesizer cannot be started" + Reason());
  if (fluid_synth_sfload(made->synth_, soundfont.c_str(), 1) == FLUID_FAILED) {
    return Result::Invalid("the SoundFont " + soundfont + " cannot be loaded" + Reason());
  }
  synthesizer = std::move(made);
  return Result::Ok();
}

Synthesizer::~Synthesizer() {
  if (synth_ != nullptr) delete_fluid_synth(synth_);
  if (settings_ != nullptr) delete_fluid_settings(settings_);
}

void Synthesizer::Send(const MidiMessage& message) {
  const int channel = message.Channel();
  switch (message.Kind()) {
    case 0x80:
      fluid_synth_noteoff(synth_, channel, message.Data1);
      break;
    case 0x90:
      if (message.Data2 == 0) {
        fluid_synth_noteoff(synth_, channel, message.Data1);
      } else {
        fluid_synth_noteon(synth_, channel, message.Data1, message.Data2);
      }
      break;
    case 0xA0:
      fluid_synth_key_pressure(synth_, channel, message.Data1, message.Data2);
      break;
    case 0xB0:
      fluid_synth_cc(synth_, channel, message.Data1, message.Data2);
      break;
    case 0xC0:
      fluid_synth_program_change(synth_, channel, message.Data1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(synth_, channel, message.Data1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(synth_, channel, message.Data1 | message.Data2 << 7);
      break;
    default:
      break;
  }
}

void Synthesizer::Reset() { fluid_synth_system_reset(synth_); }

}  // namespace tarvelo
