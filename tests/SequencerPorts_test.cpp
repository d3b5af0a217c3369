#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "audio/PlaybackClock.h"
#include "audio/SchedulePlayer.h"
#include "audio/SequencerPorts.h"

namespace tarvelo {
namespace {

// A program of its own on the sequencer with one port that takes MIDI: the instrument.
class VirtualInstrument {
 public:
  VirtualInstrument() {
    if (const int error = snd_seq_open(&sequencer_, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK); error < 0) {
      sequencer_ = nullptr;
      reason_ = snd_strerror(error);
      return;
    }
    snd_seq_set_client_name(sequencer_, "Tarvelo test piano");
    port_ = snd_seq_create_simple_port(sequencer_, "keys", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                       SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
  }
  ~VirtualInstrument() {
    if (sequencer_ != nullptr) snd_seq_close(sequencer_);
  }
  bool IsThere() const { return sequencer_ != nullptr && port_ >= 0; }
  const std::string& Reason() const { return reason_; }
  int Client() const { return snd_seq_client_id(sequencer_); }

  // Every event received as the MIDI message it stands for.
  std::vector<MidiMessage> Received() {
    std::vector<MidiMessage> received;
    snd_seq_event_t* event = nullptr;
    for (int idle = 0; idle < 50;) {
      if (snd_seq_event_input(sequencer_, &event) < 0 || event == nullptr) {
        ++idle;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        continue;
      }
      const auto channel = static_cast<uint8_t>(event->data.note.channel);
      if (event->type == SND_SEQ_EVENT_NOTEON) {
        received.push_back({static_cast<uint8_t>(0x90 | channel), event->data.note.note, event->data.note.velocity});
      } else if (event->type == SND_SEQ_EVENT_NOTEOFF) {
        received.push_back({static_cast<uint8_t>(0x80 | channel), event->data.note.note, 0});
      } else if (event->type == SND_SEQ_EVENT_CONTROLLER) {
        const auto control_channel = static_cast<uint8_t>(event->data.control.channel);
        received.push_back({static_cast<uint8_t>(0xB0 | control_channel),
                            static_cast<uint8_t>(event->data.control.param),
                            static_cast<uint8_t>(event->data.control.value)});
      }
    }
    return received;
  }

 private:
  snd_seq_t* sequencer_ = nullptr;
  int port_ = -1;
  std::string reason_;
};

#define TARVELO_REQUIRE_SEQUENCER(instrument)                                                        \
  do {                                                                                               \
    if (!(instrument).IsThere())                                                                     \
      GTEST_SKIP() << "no ALSA sequencer on this machine (" << (instrument).Reason()                 \
                   << "): playing to a virtual port and reading the events back is not tested here"; \
  } while (0)

TEST(SequencerPorts, PlaysToAVirtualPortThatReceivesEveryNoteAndThePedalsUp) {
  VirtualInstrument piano;
  TARVELO_REQUIRE_SEQUENCER(piano);
  std::vector<SequencerPort> ports;
  ASSERT_TRUE(ListSequencerPorts(ports).ok());
  bool listed = false;
  for (const SequencerPort& port : ports) listed |= port.ClientName == "Tarvelo test piano" && port.PortName == "keys";
  EXPECT_TRUE(listed);

  std::unique_ptr<SequencerOutput> output;
  const Result opened = SequencerOutput::Open("test piano", output);
  ASSERT_TRUE(opened.ok()) << opened.message();
  EXPECT_EQ(output->Destination().Client, piano.Client());
  PlaybackSchedule schedule;
  schedule.Messages() = {{0.0, {0x90, 60, 70}}, {0.05, {0xB0, 64, 127}}, {0.1, {0x90, 60, 0}}, {0.1, {0x90, 67, 90}}};
  schedule.SetEndSeconds(0.15);
  SteadyPlaybackClock clock;
  EXPECT_EQ(PlaySchedule(schedule, 0, *output, clock, PlaybackControl{}), PlaybackEnd::kFinished);
  const std::vector<MidiMessage> expected = {{0x90, 60, 70}, {0xB0, 64, 127}, {0x80, 60, 0}, {0x90, 67, 90},
                                             {0x80, 67, 0},  {0xB0, 123, 0},  {0xB0, 64, 0}, {0xB0, 67, 0}};
  EXPECT_EQ(piano.Received(), expected) << "a note-on of velocity 0 arrives as a note-off";

  // A name no port has is refused with the ports there are.
  const Result missing = SequencerOutput::Open("no such piano anywhere", output);
  EXPECT_EQ(missing.kind(), Result::Kind::kNotFound);
  EXPECT_NE(missing.message().find("Tarvelo test piano"), std::string::npos) << missing.message();
}

}  // namespace
}  // namespace tarvelo
