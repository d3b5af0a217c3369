#pragma once
// The FluidSynth functions the synthesizer calls, reached through one table. On Linux the
// library is loaded when the first synthesizer is made, not when the program starts: it brings
// some seventy libraries of its own (audio systems, SDL and its window systems, sound file
// codecs), and loading them costs every process about 4 ms of processor time, as much as a
// fifth of converting a roll, though few runs listen. Elsewhere the table holds the linked
// functions.
//
// Only audio/ includes this header (it needs <fluidsynth.h> for the functions' types).

#include <fluidsynth.h>

#include <string>

namespace tarvelo {

// Each function: the table's member, then the library's name of it.
#define TARVELO_FLUIDSYNTH_FUNCTIONS(X) \
  X(SetLogFunction, fluid_set_log_function) \
  X(NewSettings, new_fluid_settings) \
  X(DeleteSettings, delete_fluid_settings) \
  X(SettingsSetNum, fluid_settings_setnum) \
  X(SettingsSetInt, fluid_settings_setint) \
  X(SettingsSetStr, fluid_settings_setstr) \
  X(SettingsGetInt, fluid_settings_getint) \
  X(SettingsForeachOption, fluid_settings_foreach_option) \
  X(NewSynth, new_fluid_synth) \
  X(DeleteSynth, delete_fluid_synth) \
  X(SynthSfLoad, fluid_synth_sfload) \
  X(SynthNoteOn, fluid_synth_noteon) \
  X(SynthNoteOff, fluid_synth_noteoff) \
  X(SynthKeyPressure, fluid_synth_key_pressure) \
  X(SynthCc, fluid_synth_cc) \
  X(SynthProgramChange, fluid_synth_program_change) \
  X(SynthChannelPressure, fluid_synth_channel_pressure) \
  X(SynthPitchBend, fluid_synth_pitch_bend) \
  X(SynthSystemReset, fluid_synth_system_reset) \
  X(NewFileRenderer, new_fluid_file_renderer) \
  X(FileRendererProcessBlock, fluid_file_renderer_process_block) \
  X(DeleteFileRenderer, delete_fluid_file_renderer) \
  X(NewAudioDriver, new_fluid_audio_driver) \
  X(DeleteAudioDriver, delete_fluid_audio_driver)

struct FluidSynthLibrary {
#define TARVELO_FLUIDSYNTH_MEMBER(member, name) decltype(&::name) member = nullptr;
  TARVELO_FLUIDSYNTH_FUNCTIONS(TARVELO_FLUIDSYNTH_MEMBER)
#undef TARVELO_FLUIDSYNTH_MEMBER
};

// The library's functions, loaded on the first call (any thread; later calls return the same
// table). nullptr when the library or one of its functions cannot be found; `reason` then says
// which ("libfluidsynth.so.3: cannot open shared object file ...").
const FluidSynthLibrary* LoadFluidSynth(std::string& reason);

}  // namespace tarvelo
