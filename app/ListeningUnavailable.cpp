// Listening in a build without FluidSynth and ALSA: nothing can be played, and the user is told
// so when they ask.
#include "app/Listening.h"

namespace tarvelo::app {

namespace {

Result NoListening() {
  return Result::Invalid("this build of Tarvelo cannot play rolls (it was built without FluidSynth and ALSA)");
}

}  // namespace

bool CanPlay() { return false; }

Result OpenPlaybackInstrument(const AudioSettings& /*audio*/, PlaybackInstrument& instrument) {
  instrument = PlaybackInstrument{};
  return NoListening();
}

Result CheckSoundFontChoice(const std::string& /*path*/) { return NoListening(); }

std::string InstalledSoundFontPath() { return ""; }

std::vector<PortChoice> PlaybackPorts() { return {}; }

PlaybackEnd PlayOn(const PlaybackSchedule& /*schedule*/, double /*from_seconds*/, MidiSink& /*sink*/,
                   PlaybackClock& /*clock*/, const PlaybackControl& /*control*/) {
  return PlaybackEnd::kFinished;
}

}  // namespace tarvelo::app
