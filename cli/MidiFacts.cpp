#include "cli/MidiFacts.h"

#include <algorithm>
#include <cstdint>

namespace tarvelo::cli {

namespace {

class ByteReader {
 public:
  ByteReader(const std::string& bytes, size_t begin, size_t end) : bytes_(bytes), at_(begin), end_(end) {}
  bool AtEnd() const { return at_ >= end_; }
  bool Byte(uint32_t& value) {
    if (at_ >= end_) return false;
    value = static_cast<uint8_t>(bytes_[at_++]);
    return true;
  }
  bool Number(int count, uint32_t& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
      uint32_t byte = 0;
      if (!Byte(byte)) return false;
      value = value << 8 | byte;
    }
    return true;
  }
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
  size_t Position() const { return at_; }

 private:
  const std::string& bytes_;
  size_t at_;
  size_t end_;
};

// Reads one track chunk's events into `facts` (the time from the start of the track).
bool ReadTrack(ByteReader& track, double ticks_per_quarter, MidiFacts& facts) {
  double seconds = 0;
  double seconds_per_tick = 0.5 / ticks_per_quarter;  // 120 beats per minute until a tempo event
  uint32_t running_status = 0;
  while (!track.AtEnd()) {
    uint32_t delta = 0, status = 0;
    if (!track.VariableLength(delta) || !track.Byte(status)) return false;
    seconds += delta * seconds_per_tick;
    if (status < 0x80) {  // running status: this byte is the first data byte
      if (running_status == 0) return false;
      status = running_status;
      uint32_t second = 0;
      const uint32_t kind = status & 0xF0;
      if (kind != 0xC0 && kind != 0xD0 && !track.Byte(second)) return false;
      if (kind == 0x90 && second > 0) ++facts.Notes;
      continue;
    }
    if (status == 0xFF) {
      uint32_t type = 0, length = 0;
      if (!track.Byte(type) || !track.VariableLength(length)) return false;
      if (type == 0x51 && length == 3) {
        uint32_t microseconds = 0;
        if (!track.Number(3, microseconds)) return false;
        seconds_per_tick = microseconds / 1e6 / ticks_per_quarter;
      } else if (!track.Skip(length)) {
        return false;
      }
      if (type == 0x2F) break;
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      uint32_t length = 0;
      if (!track.VariableLength(length) || !track.Skip(length)) return false;
      continue;
    }
    running_status = status;
    const uint32_t kind = status & 0xF0;
    uint32_t first = 0, second = 0;
    if (!track.Byte(first)) return false;
    if (kind != 0xC0 && kind != 0xD0 && !track.Byte(second)) return false;
    if (kind == 0x90 && second > 0) ++facts.Notes;
  }
  facts.Minutes = std::max(facts.Minutes, seconds / 60);
  return true;
}

}  // namespace

bool ReadMidiFacts(const std::string& bytes, MidiFacts& facts) {
  facts = MidiFacts{};
  ByteReader file(bytes, 0, bytes.size());
  uint32_t id = 0, length = 0, format = 0, tracks = 0, division = 0;
  if (!file.Number(4, id) || id != 0x4D546864 || !file.Number(4, length) || length < 6) return false;
  if (!file.Number(2, format) || !file.Number(2, tracks) || !file.Number(2, division)) return false;
  if (!file.Skip(length - 6) || division == 0 || (division & 0x8000) != 0) return false;
  for (uint32_t track = 0; track < tracks; ++track) {
    if (!file.Number(4, id) || !file.Number(4, length)) return false;
    const size_t begin = file.Position();
    if (!file.Skip(length)) return false;
    if (id != 0x4D54726B) continue;  // not "MTrk": an unknown chunk is passed over
    ByteReader events(bytes, begin, begin + length);
    if (!ReadTrack(events, division, facts)) return false;
  }
  return true;
}

}  // namespace tarvelo::cli
