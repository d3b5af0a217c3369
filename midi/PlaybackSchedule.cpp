#include "midi/PlaybackSchedule.h"

#include <algorithm>
#include <optional>

namespace tarvelo {

PlaybackSchedule PlaybackSchedule::OfMidiFile(const MidiFileContents& file, const RollTiming& timing) {
  PlaybackSchedule schedule;
  schedule.messages_.reserve(file.Events.size());
  for (const MidiFileEvent& event : file.Events) {
    if (event.IsTempo()) continue;
    schedule.messages_.push_back(ScheduledMessage{timing.SecondsAtTick(static_cast<double>(event.Tick)),
                                                  MidiMessage{event.Status, event.Data1, event.Data2}});
  }
  schedule.end_seconds_ = timing.SecondsAtTick(static_cast<double>(file.EndTick));
  return schedule;
}

size_t PlaybackSchedule::FirstAt(double seconds) const {
  const auto first = std::lower_bound(messages_.begin(), messages_.end(), seconds,
                                      [](const ScheduledMessage& message, double at) { return message.Seconds < at; });
  return static_cast<size_t>(first - messages_.begin());
}

std::vector<MidiMessage> PlaybackSchedule::StateAt(double seconds) const {
  struct ChannelState {
    std::optional<uint8_t> Program;
    std::array<std::optional<uint8_t>, 120> Controllers{};
    std::optional<MidiMessage> PitchBend;
  };
  std::array<ChannelState, 16> channels{};
  std::bitset<16> used;
  const size_t end = FirstAt(seconds);
  for (size_t i = 0; i < end; ++i) {
    const MidiMessage& message = messages_[i].Message;
    ChannelState& channel = channels[static_cast<size_t>(message.Channel())];
    switch (message.Kind()) {
      case 0xC0:
        channel.Program = message.Data1;
        break;
      case 0xB0:
        if (message.Data1 < channel.Controllers.size()) channel.Controllers[message.Data1] = message.Data2;
        break;
      case 0xE0:
        channel.PitchBend = message;
        break;
      default:
        continue;
    }
    used.set(static_cast<size_t>(message.Channel()));
  }
  std::vector<MidiMessage> state;
  for (size_t number = 0; number < channels.size(); ++number) {
    if (!used.test(number)) continue;
    const ChannelState& channel = channels[number];
    const auto channel_bits = static_cast<uint8_t>(number);
    if (channel.Program) state.push_back(MidiMessage{static_cast<uint8_t>(0xC0 | channel_bits), *channel.Program, 0});
    for (size_t controller = 0; controller < channel.Controllers.size(); ++controller) {
      if (!channel.Controllers[controller]) continue;
      state.push_back(MidiMessage{static_cast<uint8_t>(0xB0 | channel_bits), static_cast<uint8_t>(controller),
                                  *channel.Controllers[controller]});
    }
    if (channel.PitchBend) state.push_back(*channel.PitchBend);
  }
  return state;
}

void LowerVelocitiesUnderSoftPedal(PlaybackSchedule& schedule, int steps) {
  std::bitset<16> soft;
  for (ScheduledMessage& scheduled : schedule.Messages()) {
    MidiMessage& message = scheduled.Message;
    const auto channel = static_cast<size_t>(message.Channel());
    if (message.IsController(kSoftPedalController)) {
      soft.set(channel, message.Data2 >= 64);
    } else if (message.IsNoteOn() && soft.test(channel)) {
      message.Data2 = static_cast<uint8_t>(std::max(1, message.Data2 - steps));
    }
  }
}

void SoundingNotes::Note(const MidiMessage& message) {
  if (message.Kind() < 0x80 || message.Kind() > 0xE0) return;
  const auto channel = static_cast<size_t>(message.Channel());
  channels_used_.set(channel);
  if (message.IsNoteOn()) {
    sounding_[channel].set(message.Data1 & 0x7F);
  } else if (message.IsNoteOff()) {
    sounding_[channel].reset(message.Data1 & 0x7F);
  } else if (message.IsController(kAllNotesOffController) || message.IsController(120)) {
    sounding_[channel].reset();
  }
}

std::vector<MidiMessage> SoundingNotes::SilencingMessages() const {
  std::vector<MidiMessage> messages;
  for (size_t channel = 0; channel < sounding_.size(); ++channel) {
    const auto status = static_cast<uint8_t>(0x80 | channel);
    for (size_t note = 0; note < 128; ++note)
      if (sounding_[channel].test(note)) messages.push_back(MidiMessage{status, static_cast<uint8_t>(note), 0});
  }
  for (size_t channel = 0; channel < sounding_.size(); ++channel) {
    if (!channels_used_.test(channel)) continue;
    const auto status = static_cast<uint8_t>(0xB0 | channel);
    messages.push_back(MidiMessage{status, kAllNotesOffController, 0});
    messages.push_back(MidiMessage{status, kSustainPedalController, 0});
    messages.push_back(MidiMessage{status, kSoftPedalController, 0});
  }
  return messages;
}

void SoundingNotes::Clear() {
  sounding_ = {};
  channels_used_.reset();
}

}  // namespace tarvelo
