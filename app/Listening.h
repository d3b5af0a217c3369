#pragma once
// What the desktop plays a roll to, and how: the instrument the "Audio Settings" name (the
// software synthesizer with its SoundFont on the audio output, or an instrument on an ALSA
// sequencer port), the check of a SoundFont file and the ports to choose from. A build without
// the listening module (FluidSynth and ALSA) has these too: opening an instrument then says
// that this build cannot play, and nothing else changes.

#include <memory>
#include <string>
#include <vector>

#include "audio/MidiSink.h"
#include "audio/PlaybackClock.h"
#include "audio/SchedulePlayer.h"
#include "settings/AudioSettings.h"
#include "support/Result.h"

namespace tarvelo::app {

// An instrument opened for playing: where the messages go and what the user is told about it.
struct PlaybackInstrument {
  std::unique_ptr<MidiSink> Sink;
  std::string Description;    // "the software synthesizer (pulseaudio)", "MIDI port 128:0 ..."
  bool HasSoftPedal = false;  // a piano on a port; the software synthesizer ignores controller 67
  double ReleaseSeconds = 0;  // how long the last notes ring on before the instrument is closed
};

// Whether this build can play at all.
bool CanPlay();

// Opens the instrument `audio` names: the port of MidiOutput when it is set, else the software
// synthesizer with the SoundFont (the installed one when SoundFont is empty). A failure says
// which instrument could not be opened and why.
Result OpenPlaybackInstrument(const AudioSettings& audio, PlaybackInstrument& instrument);

// Ok when `path` is a readable SoundFont ("" names the installed one).
Result CheckSoundFontChoice(const std::string& path);
// The SoundFont used when the setting is empty.
std::string InstalledSoundFontPath();

// A port to choose in the "Audio Settings": its address ("128:0") and what it is called.
struct PortChoice {
  std::string Address;
  std::string Name;
};
// The sequencer's ports that take MIDI (none where there is no sequencer).
std::vector<PortChoice> PlaybackPorts();

// Plays `schedule` as audio/SchedulePlayer.h's PlaySchedule does (a build without listening
// returns at once).
PlaybackEnd PlayOn(const PlaybackSchedule& schedule, double from_seconds, MidiSink& sink, PlaybackClock& clock,
                   const PlaybackControl& control);

}  // namespace tarvelo::app
