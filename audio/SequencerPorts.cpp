#include "audio/SequencerPorts.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cctype>

#include "audio/AlsaLibrary.h"

namespace tarvelo {

namespace {

constexpr unsigned kWritable = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The sequencer, or the reason it cannot be had.
Result OpenSequencer(snd_seq_t*& sequencer) {
  sequencer = nullptr;
  SilenceAlsaLibraryMessages();
  const int error = snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_OUTPUT, 0);
  if (error < 0) {
    sequencer = nullptr;
    return Result::IoError(SequencerOpenFailure(error));
  }
  snd_seq_set_client_name(sequencer, "Tarvelo");
  return Result::Ok();
}

std::vector<SequencerPort> WritablePorts(snd_seq_t* sequencer) {
  std::vector<SequencerPort> ports;
  snd_seq_client_info_t* client;
  snd_seq_port_info_t* port;
  snd_seq_client_info_alloca(&client);
  snd_seq_port_info_alloca(&port);
  const int own = snd_seq_client_id(sequencer);
  snd_seq_client_info_set_client(client, -1);
  while (snd_seq_query_next_client(sequencer, client) >= 0) {
    const int id = snd_seq_client_info_get_client(client);
    if (id == SND_SEQ_CLIENT_SYSTEM || id == own) continue;
    snd_seq_port_info_set_client(port, id);
    snd_seq_port_info_set_port(port, -1);
    while (snd_seq_query_next_port(sequencer, port) >= 0) {
      if ((snd_seq_port_info_get_capability(port) & kWritable) != kWritable) continue;
      if ((snd_seq_port_info_get_capability(port) & SND_SEQ_PORT_CAP_NO_EXPORT) != 0) continue;
      ports.push_back(SequencerPort{id, snd_seq_port_info_get_port(port), snd_seq_client_info_get_name(client),
                                    snd_seq_port_info_get_name(port)});
    }
  }
  return ports;
}

std::string PortList(const std::vector<SequencerPort>& ports) {
  std::string text;
  for (const SequencerPort& port : ports)
    text += (text.empty() ? "" : ", ") + port.Address() + " " + port.ClientName + ":" + port.PortName;
  return text;
}

}  // namespace

std::string SequencerOpenFailure(int error_code) {
  return std::string("the ALSA sequencer cannot be opened (") + snd_strerror(error_code) +
         "): this machine has no MIDI sequencer (is the snd-seq kernel module loaded?)";
}

Result ListSequencerPorts(std::vector<SequencerPort>& ports) {
  ports.clear();
  snd_seq_t* sequencer = nullptr;
  if (Result opened = OpenSequencer(sequencer); !opened.ok()) return opened;
  ports = WritablePorts(sequencer);
  snd_seq_close(sequencer);
  return Result::Ok();
}

Result SequencerOutput::Open(const std::string& name, std::unique_ptr<SequencerOutput>& output) {
  output.reset();
  std::unique_ptr<SequencerOutput> opened(new SequencerOutput());
  if (Result result = OpenSequencer(opened->sequencer_); !result.ok()) return result;
  const std::vector<SequencerPort> ports = WritablePorts(opened->sequencer_);
  std::vector<SequencerPort> matches;
  snd_seq_addr_t address{};
  if (snd_seq_parse_address(opened->sequencer_, &address, name.c_str()) == 0) {
    for (const SequencerPort& port : ports)
      if (port.Client == address.client && port.Port == address.port) matches.push_back(port);
  }
  if (matches.empty()) {
    const std::string wanted = Lower(name);
    for (const SequencerPort& port : ports)
      if (Lower(port.ClientName + ":" + port.PortName).find(wanted) != std::string::npos) matches.push_back(port);
  }
  if (matches.size() != 1) {
    const std::string known = ports.empty() ? "there is none" : "these are there: " + PortList(ports);
    return Result::NotFound(matches.empty() ? "no MIDI port \"" + name + "\" (" + known + ")"
                                            : "\"" + name + "\" names several MIDI ports: " + PortList(matches));
  }
  opened->destination_ = matches.front();
  opened->own_port_ = snd_seq_create_simple_port(opened->sequencer_, "Tarvelo player",
                                                 SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                                 SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
  if (opened->own_port_ < 0) {
    return Result::IoError(std::string("cannot make a sequencer port to play from (") +
                           snd_strerror(opened->own_port_) + ")");
  }
  if (const int error = snd_seq_connect_to(opened->sequencer_, opened->own_port_, opened->destination_.Client,
                                           opened->destination_.Port);
      error < 0) {
    return Result::IoError("cannot connect to the MIDI port " + opened->destination_.Address() + " (" +
                           snd_strerror(error) + ")");
  }
  output = std::move(opened);
  return Result::Ok();
}

SequencerOutput::~SequencerOutput() {
  if (sequencer_ != nullptr) {
    snd_seq_drain_output(sequencer_);
    snd_seq_close(sequencer_);
  }
}

void SequencerOutput::Send(const MidiMessage& message) {
  snd_seq_event_t event;
  snd_seq_ev_clear(&event);
  snd_seq_ev_set_source(&event, own_port_);
  snd_seq_ev_set_subs(&event);
  snd_seq_ev_set_direct(&event);
  const int channel = message.Channel();
  switch (message.Kind()) {
    case 0x80:
      snd_seq_ev_set_noteoff(&event, channel, message.Data1, message.Data2);
      break;
    case 0x90:
      snd_seq_ev_set_noteon(&event, channel, message.Data1, message.Data2);
      break;
    case 0xA0:
      snd_seq_ev_set_keypress(&event, channel, message.Data1, message.Data2);
      break;
    case 0xB0:
      snd_seq_ev_set_controller(&event, channel, message.Data1, message.Data2);
      break;
    case 0xC0:
      snd_seq_ev_set_pgmchange(&event, channel, message.Data1);
      break;
    case 0xD0:
      snd_seq_ev_set_chanpress(&event, channel, message.Data1);
      break;
    case 0xE0:
      snd_seq_ev_set_pitchbend(&event, channel, (message.Data1 | message.Data2 << 7) - 8192);
      break;
    default:
      return;
  }
  snd_seq_event_output_direct(sequencer_, &event);
}

}  // namespace tarvelo
