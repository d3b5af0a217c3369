#pragma once
// Instruments reached through the ALSA sequencer: a player piano or keyboard on a MIDI
// interface, a software synthesizer running as its own program, a virtual port. The player
// sends its messages straight to the chosen port as it plays them.

#include <memory>
#include <string>
#include <vector>

#include "audio/MidiSink.h"
#include "support/Result.h"

typedef struct _snd_seq snd_seq_t;

namespace tarvelo {

struct SequencerPort {
  int Client = 0;
  int Port = 0;
  std::string ClientName;
  std::string PortName;
  // "128:0", as aplaymidi -p and the programs' --port take it.
  std::string Address() const { return std::to_string(Client) + ":" + std::to_string(Port); }
};

// The ports that take MIDI from other programs (the system's own client left out), in the
// sequencer's order. kIoError when there is no sequencer to ask.
Result ListSequencerPorts(std::vector<SequencerPort>& ports);

class SequencerOutput : public MidiSink {
 public:
  ~SequencerOutput() override;
  SequencerOutput(const SequencerOutput&) = delete;
  SequencerOutput& operator=(const SequencerOutput&) = delete;

  // Connects to the port `name` names: an address ("128:0"), a client's name (its first port),
  // "client:port" by names, or a part of "client name:port name" that only one port has (in
  // any letter case). kNotFound when no port or several fit (the message says which),
  // kIoError when there is no sequencer.
  static Result Open(const std::string& name, std::unique_ptr<SequencerOutput>& output);

  void Send(const MidiMessage& message) override;
  const SequencerPort& Destination() const { return destination_; }

 private:
  SequencerOutput() = default;
  snd_seq_t* sequencer_ = nullptr;
  int own_port_ = -1;
  SequencerPort destination_;
};

// What a failure to open the sequencer says: "the ALSA sequencer cannot be opened (…)".
std::string SequencerOpenFailure(int error_code);

}  // namespace tarvelo
