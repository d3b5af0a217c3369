#pragma once
// What a player sends when: every channel message of a MIDI output with the second at which
// it plays, worked out once with the output's clock (RollTiming, made from the event list the
// file was written from). The audio renderer, the command line's player and the desktop's play
// all take their messages from here, so each hears the file as it was written and the desktop's
// play line follows the same clock.

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "midi/MidiFileReader.h"
#include "midi/RollTiming.h"

namespace tarvelo {

// One channel message: status (kind and channel) and its data bytes.
struct MidiMessage {
  uint8_t Status = 0;
  uint8_t Data1 = 0;
  uint8_t Data2 = 0;

  int Kind() const { return Status & 0xF0; }
  int Channel() const { return Status & 0x0F; }
  bool IsNoteOn() const { return Kind() == 0x90 && Data2 > 0; }
  bool IsNoteOff() const { return Kind() == 0x80 || (Kind() == 0x90 && Data2 == 0); }
  bool IsController(int controller) const { return Kind() == 0xB0 && Data1 == controller; }
  bool operator==(const MidiMessage&) const = default;
};

inline constexpr int kSustainPedalController = 64;
inline constexpr int kSoftPedalController = 67;
inline constexpr int kAllNotesOffController = 123;

struct ScheduledMessage {
  double Seconds = 0;
  MidiMessage Message;
};

class PlaybackSchedule {
 public:
  PlaybackSchedule() = default;
  // Every channel message of `file` in its order, timed by `timing` (the clock of the events the
  // file was written from); the playing time is the time of the file's last event.
  static PlaybackSchedule OfMidiFile(const MidiFileContents& file, const RollTiming& timing);

  const std::vector<ScheduledMessage>& Messages() const { return messages_; }
  std::vector<ScheduledMessage>& Messages() { return messages_; }
  double EndSeconds() const { return end_seconds_; }
  void SetEndSeconds(double seconds) { end_seconds_ = seconds; }

  // Index of the first message at or after `seconds` (the count when there is none).
  size_t FirstAt(double seconds) const;
  // What a player sends before it starts at `seconds`, so that the instrument is set as the
  // file has set it by then: on each channel used, its program, the last value of every
  // controller (a pedal held down stays down) and the pitch bend. Notes that began earlier are
  // not sounded; channel mode messages (controllers 120 and above) are left out.
  std::vector<MidiMessage> StateAt(double seconds) const;

 private:
  std::vector<ScheduledMessage> messages_;
  double end_seconds_ = 0;
};

// The soft pedal for a synthesizer that has none (FluidSynth ignores controller 67): every note
// that starts while its channel's soft pedal is down (value 64 or more) plays `steps` velocity
// steps softer, never below 1. A piano played through a port has its own soft pedal and gets the
// schedule unchanged.
void LowerVelocitiesUnderSoftPedal(PlaybackSchedule& schedule, int steps = 8);

// The notes an instrument is sounding, from the messages sent to it, so that a player that stops
// can silence it at once.
class SoundingNotes {
 public:
  void Note(const MidiMessage& message);
  // A note-off for every note still sounding, then on every channel used: all notes off, the
  // sustain and the soft pedal up. The instrument is quiet and its pedals are up afterwards.
  std::vector<MidiMessage> SilencingMessages() const;
  void Clear();

 private:
  std::array<std::bitset<128>, 16> sounding_{};
  std::bitset<16> channels_used_;
};

}  // namespace tarvelo
