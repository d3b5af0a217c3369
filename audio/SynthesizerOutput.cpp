#include "audio/SynthesizerOutput.h"

#include <vector>

#include "audio/AlsaLibrary.h"
#include "audio/FluidSynthLibrary.h"

namespace tarvelo {

namespace {

// The audio systems FluidSynth offers here, in the order to try them.
std::vector<std::string> AudioSystems(const FluidSynthLibrary& fluid, fluid_settings_t* settings) {
  std::vector<std::string> offered;
  fluid.SettingsForeachOption(settings, "audio.driver", &offered, [](void* data, const char*, const char* option) {
    static_cast<std::vector<std::string>*>(data)->push_back(option);
  });
  std::vector<std::string> ordered;
  for (const char* preferred :
       {"pipewire", "pulseaudio", "alsa", "coreaudio", "wasapi", "dsound", "jack", "sdl2", "oss"}) {
    for (const std::string& name : offered)
      if (name == preferred) ordered.push_back(name);
  }
  return ordered;
}

}  // namespace

Result SynthesizerOutput::Open(Synthesizer& synthesizer, std::unique_ptr<SynthesizerOutput>& output) {
  output.reset();
  SilenceAlsaLibraryMessages();
  std::unique_ptr<SynthesizerOutput> opened(new SynthesizerOutput(synthesizer));
  const FluidSynthLibrary& fluid = synthesizer.Library();
  fluid_settings_t* settings = synthesizer.Settings();
  std::string failures;
  for (const std::string& system : AudioSystems(fluid, settings)) {
    fluid.SettingsSetStr(settings, "audio.driver", system.c_str());
    opened->driver_ = fluid.NewAudioDriver(settings, synthesizer.Handle());
    if (opened->driver_ != nullptr) {
      opened->audio_system_ = system;
      output = std::move(opened);
      return Result::Ok();
    }
    const std::string reason = LastSynthesizerMessage();
    failures += (failures.empty() ? "" : "; ") + system + (reason.empty() ? "" : ": " + reason);
  }
  return Result::IoError("no audio output can be opened on this machine (" +
                         (failures.empty() ? std::string("FluidSynth knows no audio system here") : failures) + ")");
}

SynthesizerOutput::~SynthesizerOutput() {
  if (driver_ != nullptr) synthesizer_.Library().DeleteAudioDriver(driver_);
}

}  // namespace tarvelo
