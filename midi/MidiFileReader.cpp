#include "midi/MidiFileReader.h"

#include <algorithm>
#include <string>

namespace tarvelo {

namespace {

constexpr uint32_t kHeaderChunk = 0x4D546864;  // "MThd"
constexpr uint32_t kTrackChunk = 0x4D54726B;   // "MTrk"

class ByteReader {
 public:
  ByteReader(std::string_view bytes, size_t begin, size_t end) : bytes_(bytes), at_(begin), end_(end) {}
  bool AtEnd() const { return at_ >= end_; }
  size_t Position() const { return at_; }
  bool Byte(uint32_t& value) {
    if (at_ >= end_) return false;
    value = static_cast<uint8_t>(bytes_[at_++]);
    return true;
  }
  // `count` bytes, most significant first.
  bool Number(int count, uint32_t& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
      uint32_t byte = 0;
      if (!Byte(byte)) return false;
      value = value << 8 | byte;
    }
    return true;
  }
  // A variable-length quantity of at most four bytes.
  bool VariableLength(uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      uint32_t byte = 0;
      if (!Byte(byte)) return false;
      value = value << 7 | (byte & 0x7F);
      if ((byte & 0x80) == 0) return true;
    }
    return false;
  }
  bool Skip(uint32_t count) {
    if (count > end_ - at_) return false;
    at_ += count;
    return true;
  }

 private:
  std::string_view bytes_;
  size_t at_;
  size_t end_;
};

// Data bytes a channel event of `status` carries.
int DataBytes(uint32_t status) {
  const uint32_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Appends the events of one track chunk; its end tick goes to `end_tick`.
bool ReadTrack(ByteReader& track, std::vector<MidiFileEvent>& events, int64_t& end_tick) {
  int64_t tick = 0;
  uint32_t running_status = 0;
  while (!track.AtEnd()) {
    uint32_t delta = 0, status = 0;
    if (!track.VariableLength(delta) || !track.Byte(status)) return false;
    tick += delta;
    end_tick = std::max(end_tick, tick);
    uint32_t first = 0;
    if (status < 0x80) {  // running status: this byte is the first data byte
      if (running_status == 0) return false;
      first = status;
      status = running_status;
    } else if (status == 0xFF) {
      uint32_t type = 0, length = 0;
      if (!track.Byte(type) || !track.VariableLength(length)) return false;
      if (type == 0x51 && length == 3) {
        MidiFileEvent tempo;
        tempo.Tick = tick;
        tempo.Status = kTempoEventStatus;
        tempo.Data1 = 0x51;
        if (!track.Number(3, tempo.MicrosecondsPerQuarter)) return false;
        events.push_back(tempo);
      } else if (!track.Skip(length)) {
        return false;
      }
      if (type == 0x2F) return true;
      continue;
    } else if (status == 0xF0 || status == 0xF7) {
      uint32_t length = 0;
      if (!track.VariableLength(length) || !track.Skip(length)) return false;
      continue;
    } else if (status > 0xF0) {
      return false;  // system common and real-time messages have no place in a file
    } else {
      running_status = status;
      if (!track.Byte(first)) return false;
    }
    uint32_t second = 0;
    if (DataBytes(status) == 2 && !track.Byte(second)) return false;
    if (first > 0x7F || second > 0x7F) return false;
    MidiFileEvent event;
    event.Tick = tick;
    event.Status = static_cast<uint8_t>(status);
    event.Data1 = static_cast<uint8_t>(first);
    event.Data2 = static_cast<uint8_t>(second);
    events.push_back(event);
  }
  return true;
}

Result Corrupt(const std::string& where) { return Result::Corrupt("not a readable Standard MIDI File: " + where); }

}  // namespace

double PlayingSeconds(const MidiFileContents& file) {
  const double division = file.Division > 0 ? file.Division : 480;
  double seconds = 0;
  double seconds_per_tick = 0.5 / division;
  int64_t tick = 0;
  for (const MidiFileEvent& event : file.Events) {
    if (!event.IsTempo()) continue;
    seconds += static_cast<double>(event.Tick - tick) * seconds_per_tick;
    tick = event.Tick;
    seconds_per_tick = event.MicrosecondsPerQuarter / 1e6 / division;
  }
  return seconds + static_cast<double>(file.EndTick - tick) * seconds_per_tick;
}

Result ReadMidiFile(std::string_view bytes, MidiFileContents& contents) {
  contents = MidiFileContents{};
  ByteReader file(bytes, 0, bytes.size());
  uint32_t id = 0, length = 0, format = 0, tracks = 0, division = 0;
  if (!file.Number(4, id) || id != kHeaderChunk || !file.Number(4, length) || length < 6) {
    return Corrupt("no header chunk");
  }
  if (!file.Number(2, format) || !file.Number(2, tracks) || !file.Number(2, division) || !file.Skip(length - 6)) {
    return Corrupt("the header chunk is cut short");
  }
  if (division == 0 || (division & 0x8000) != 0) return Corrupt("the division is not in ticks per quarter note");
  MidiFileContents read;
  read.Format = static_cast<int>(format);
  read.TrackCount = static_cast<int>(tracks);
  read.Division = static_cast<int>(division);
  // The header counts the track chunks; a chunk of another kind between them is passed over.
  for (uint32_t track = 0; track < tracks;) {
    if (!file.Number(4, id) || !file.Number(4, length))
      return Corrupt("track " + std::to_string(track + 1) + " is missing");
    const size_t begin = file.Position();
    if (!file.Skip(length)) return Corrupt("track " + std::to_string(track + 1) + " is cut short");
    if (id != kTrackChunk) continue;
    ++track;
    ByteReader events(bytes, begin, begin + length);
    if (!ReadTrack(events, read.Events, read.EndTick)) {
      return Corrupt("track " + std::to_string(track) + " holds a damaged event");
    }
  }
  std::stable_sort(read.Events.begin(), read.Events.end(),
                   [](const MidiFileEvent& a, const MidiFileEvent& b) { return a.Tick < b.Tick; });
  contents = std::move(read);
  return Result::Ok();
}

}  // namespace tarvelo
