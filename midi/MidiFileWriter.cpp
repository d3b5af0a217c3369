#include "midi/MidiFileWriter.h"

#include <algorithm>
#include <limits>

#include "support/AtomicFile.h"

namespace tarvelo {

namespace {

// Ticks never grow beyond this: far beyond any delta the file can hold, shortened when written.
constexpr int64_t kTickLimit = std::numeric_limits<int64_t>::max() / 4;

void AppendBigEndian32(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>((value >> 24) & 0xFF));
  out.push_back(static_cast<char>((value >> 16) & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
  out.push_back(static_cast<char>(value & 0xFF));
}

void AppendBigEndian16(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
  out.push_back(static_cast<char>(value & 0xFF));
}

void AppendByte(std::string& out, int value) { out.push_back(static_cast<char>(value & 0xFF)); }

bool IsDataValue(int value) { return value >= 0 && value <= 127; }

std::string DescribeChannelEvent(uint8_t kind, int channel, int data1) {
  const std::string on_channel = " on channel " + std::to_string(channel);
  switch (kind) {
    case 0x90:
      return "note " + std::to_string(data1) + on_channel;
    case 0xB0:
      return "controller " + std::to_string(data1) + on_channel;
    default:
      return "program " + std::to_string(data1) + on_channel;
  }
}

}  // namespace

void AppendVariableLength(std::string& out, uint32_t value) {
  value &= MidiFileWriter::kMaxVariableLength;
  if (value >= (1u << 21)) AppendByte(out, 0x80 | static_cast<int>(value >> 21));
  if (value >= (1u << 14)) AppendByte(out, 0x80 | static_cast<int>((value >> 14) & 0x7F));
  if (value >= (1u << 7)) AppendByte(out, 0x80 | static_cast<int>((value >> 7) & 0x7F));
  AppendByte(out, static_cast<int>(value & 0x7F));
}

MidiFileWriter::MidiFileWriter(int ticks_per_quarter) {
  if (ticks_per_quarter >= 1 && ticks_per_quarter <= 0x7FFF) {
    division_ = static_cast<uint16_t>(ticks_per_quarter);
  } else {
    ++adjustments_.DivisionsRefused;
  }
  // The largest tracks of a roll hold a few hundred thousand bytes.
  payload_.reserve(8000);
  // Time signature 4/4, 24 MIDI clocks per metronome click, 8 thirty-second notes per quarter.
  size_t begin = payload_.size();
  payload_.append("\xFF\x58\x04\x04\x02\x18\x08", 7);
  StoreEvent(0, begin);
  // Key signature: no sharps or flats, major.
  begin = payload_.size();
  payload_.append("\xFF\x59\x02\x00\x00", 5);
  StoreEvent(0, begin);
}

int64_t MidiFileWriter::Placed(int64_t tick) {
  if (tick < 0) {
    ++adjustments_.TimesAdjusted;
    return 0;
  }
  return std::min(tick, kTickLimit);
}

void MidiFileWriter::StoreEvent(int64_t tick, size_t begin) {
  const Event event{tick, static_cast<uint32_t>(begin), static_cast<uint32_t>(payload_.size() - begin)};
  // Events come in tick order from every caller; one that does not goes after the events
  // already on its tick.
  if (events_.empty() || events_.back().tick <= tick) {
    events_.push_back(event);
    return;
  }
  const auto after = std::upper_bound(events_.begin(), events_.end(), tick,
                                      [](int64_t value, const Event& e) { return value < e.tick; });
  events_.insert(after, event);
}

void MidiFileWriter::AddText(int64_t tick, MetaText type, std::string_view text) {
  tick = Placed(tick);
  if (text.size() > kMaxVariableLength) {
    text = text.substr(0, kMaxVariableLength);
    ++adjustments_.TextsCut;
  }
  const size_t begin = payload_.size();
  AppendByte(payload_, 0xFF);
  AppendByte(payload_, static_cast<int>(type));
  AppendVariableLength(payload_, static_cast<uint32_t>(text.size()));
  payload_.append(text);
  StoreEvent(tick, begin);
}

void MidiFileWriter::AddChannelEvent(int64_t tick, uint8_t kind, int channel, int data1, int data2) {
  tick = Placed(tick);
  // data2 has already been brought into range by the caller when it exists.
  if (channel < 0 || channel > 15 || !IsDataValue(data1)) {
    if (adjustments_.EventsLeftOut++ == 0) adjustments_.FirstLeftOut = DescribeChannelEvent(kind, channel, data1);
    return;
  }
  const size_t begin = payload_.size();
  AppendByte(payload_, kind + channel);
  AppendByte(payload_, data1);
  if (data2 >= 0) AppendByte(payload_, data2);
  StoreEvent(tick, begin);
}

void MidiFileWriter::AddTempo(int64_t tick, uint32_t microseconds_per_quarter) {
  tick = Placed(tick);
  const size_t begin = payload_.size();
  payload_.append("\xFF\x51\x03", 3);
  AppendByte(payload_, static_cast<int>((microseconds_per_quarter >> 16) & 0xFF));
  AppendByte(payload_, static_cast<int>((microseconds_per_quarter >> 8) & 0xFF));
  AppendByte(payload_, static_cast<int>(microseconds_per_quarter & 0xFF));
  StoreEvent(tick, begin);
}

void MidiFileWriter::AddNoteOn(int64_t tick, int channel, int note, int velocity) {
  AddChannelEvent(tick, 0x90, channel, note, (velocity >= 1 && velocity <= 127) ? velocity : 70);
}

void MidiFileWriter::AddNoteOff(int64_t tick, int channel, int note) { AddChannelEvent(tick, 0x90, channel, note, 0); }

void MidiFileWriter::AddController(int64_t tick, int channel, int controller, int value) {
  AddChannelEvent(tick, 0xB0, channel, controller, (value >= 1 && value <= 127) ? value : 0);
}

void MidiFileWriter::AddProgramChange(int64_t tick, int channel, int program) {
  AddChannelEvent(tick, 0xC0, channel, program, -1);
}

void MidiFileWriter::AddAllSoundOff(int64_t tick) { AddChannelEvent(tick, 0xB0, 0, 120, 0); }

std::vector<uint32_t> MidiFileWriter::Deltas(int& shortened) const {
  std::vector<uint32_t> deltas;
  deltas.reserve(events_.size());
  shortened = 0;
  int64_t previous = 0;
  for (const Event& event : events_) {
    int64_t delta = event.tick - previous;
    if (delta > static_cast<int64_t>(kMaxVariableLength)) {
      delta = kMaxVariableLength;
      ++shortened;
    }
    deltas.push_back(static_cast<uint32_t>(delta));
    previous = event.tick;
  }
  return deltas;
}

std::string MidiFileWriter::FileBytes() const {
  int shortened = 0;
  const std::vector<uint32_t> deltas = Deltas(shortened);
  std::string track;
  track.reserve(payload_.size() + events_.size() * 2 + 4);
  for (size_t i = 0; i < events_.size(); ++i) {
    AppendVariableLength(track, deltas[i]);
    track.append(payload_, events_[i].begin, events_[i].size);
  }
  track.append("\x00\xFF\x2F\x00", 4);

  std::string file;
  file.reserve(22 + track.size());
  file += "MThd";
  AppendBigEndian32(file, 6);
  AppendBigEndian16(file, 0);  // format 0
  AppendBigEndian16(file, 1);  // one track
  AppendBigEndian16(file, division_);
  file += "MTrk";
  AppendBigEndian32(file, static_cast<uint32_t>(track.size()));
  file += track;
  return file;
}

Result MidiFileWriter::WriteFile(const std::string& path) const {
  if (path.empty()) return Result::Invalid("The MIDI file could not be written: no file name was given.");
  const Result written = WriteFileAtomically(path, FileBytes(), Flush::kNo);
  if (!written.ok()) {
    return Result::IoError("The MIDI file " + path + " could not be written (" + written.message() + ").");
  }
  return Result::Ok();
}

MidiFileWriter::Adjustments MidiFileWriter::AdjustmentCounts() const {
  Adjustments counts = adjustments_;
  int shortened = 0;
  Deltas(shortened);
  counts.TimesAdjusted += shortened;
  return counts;
}

std::string MidiFileWriter::ProblemText(const std::string& path) const {
  const Adjustments counts = AdjustmentCounts();
  if (!counts.Any()) return "";
  std::string text = "The MIDI file " + path + " was written with these changes:";
  if (counts.EventsLeftOut > 0) {
    text += "\n " + std::to_string(counts.EventsLeftOut) +
            " event(s) left out: a channel above 15 or a note, controller or program number above 127 "
            "cannot be written to a MIDI file (the first: " +
            counts.FirstLeftOut + "). Check the roll type's channels and notes.";
  }
  if (counts.TimesAdjusted > 0) {
    text += "\n " + std::to_string(counts.TimesAdjusted) +
            " event time(s) moved: before the start of the track, or after a gap too long for a MIDI delta time.";
  }
  if (counts.TextsCut > 0) {
    text += "\n " + std::to_string(counts.TextsCut) + " text(s) cut to the longest a MIDI text event can hold.";
  }
  if (counts.DivisionsRefused > 0) {
    text += "\n a division outside 1..32767 ticks per quarter note was refused; " + std::to_string(division_) +
            " was kept.";
  }
  return text;
}

}  // namespace tarvelo
