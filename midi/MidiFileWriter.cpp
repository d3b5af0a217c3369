#include "midi/MidiFileWriter.h"

#include <algorithm>
#include <limits>

#include "support/AtomicFile.h"

namespace tarvelo {

namespace {

// Ticks never grow beyond this, so adding a delta can never overflow.
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

MidiFileWriter::MidiFileWriter() {
  // The largest tracks of a roll hold a few hundred thousand bytes.
  payload_.reserve(8000);
  ResetTrack();
}

void MidiFileWriter::ResetTrack() {
  header_chunk_id_ = "MThd";
  header_length_ = 6;
  format_ = 0;
  track_count_ = 1;
  division_ = 480;
  tempo_ = 120.0;
  events_.clear();
  payload_.clear();
  cursor_ = 0;
  track_written_ = false;
  adjustments_ = Adjustments{};
  track_chunk_id_ = "MTrk";

  // Time signature 4/4, 24 MIDI clocks per metronome click, 8 thirty-second notes per quarter.
  size_t begin = payload_.size();
  payload_.append("\xFF\x58\x04\x04\x02\x18\x08", 7);
  StoreEvent(0, begin);
  // Key signature: no sharps or flats, major.
  begin = payload_.size();
  payload_.append("\xFF\x59\x02\x00\x00", 5);
  StoreEvent(0, begin);
}

void MidiFileWriter::SetDivision(int ticks_per_quarter) {
  if (ticks_per_quarter < 1 || ticks_per_quarter > 0x7FFF) {
    ++adjustments_.DivisionsRefused;
    return;
  }
  division_ = static_cast<uint16_t>(ticks_per_quarter);
}

void MidiFileWriter::Open(const std::string& path) {
  file_name_ = path;
  opened_ = true;
}

void MidiFileWriter::WriteHeader() {
  file_bytes_ += header_chunk_id_;
  AppendBigEndian32(file_bytes_, header_length_);
  AppendBigEndian16(file_bytes_, format_);
  AppendBigEndian16(file_bytes_, track_count_);
  AppendBigEndian16(file_bytes_, division_);
}

int64_t MidiFileWriter::Advance(int64_t delta) {
  int64_t tick;
  if (delta > kTickLimit - cursor_) {
    tick = kTickLimit;  // far beyond any delta the file can hold; shortened when written
  } else if (delta < -cursor_) {
    tick = 0;
    ++adjustments_.TimesAdjusted;
  } else {
    tick = cursor_ + delta;
  }
  cursor_ = tick;
  return tick;
}

void MidiFileWriter::StoreEvent(int64_t tick, size_t begin) {
  events_.push_back(Event{tick, static_cast<uint32_t>(begin), static_cast<uint32_t>(payload_.size() - begin)});
}

void MidiFileWriter::AddMeta(int64_t delta, uint8_t type, std::string_view text) {
  const int64_t tick = Advance(delta);
  if (text.size() > kMaxVariableLength) {
    text = text.substr(0, kMaxVariableLength);
    ++adjustments_.TextsCut;
  }
  const size_t begin = payload_.size();
  AppendByte(payload_, 0xFF);
  AppendByte(payload_, type);
  AppendVariableLength(payload_, static_cast<uint32_t>(text.size()));
  payload_.append(text);
  StoreEvent(tick, begin);
}

void MidiFileWriter::AddChannelEvent(int64_t delta, uint8_t kind, int channel, int data1, int data2) {
  const int64_t tick = Advance(delta);
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

void MidiFileWriter::AddTempo(int64_t delta, uint32_t microseconds_per_quarter) {
  const int64_t tick = Advance(delta);
  const size_t begin = payload_.size();
  payload_.append("\xFF\x51\x03", 3);
  AppendByte(payload_, static_cast<int>((microseconds_per_quarter >> 16) & 0xFF));
  AppendByte(payload_, static_cast<int>((microseconds_per_quarter >> 8) & 0xFF));
  AppendByte(payload_, static_cast<int>(microseconds_per_quarter & 0xFF));
  StoreEvent(tick, begin);
}

void MidiFileWriter::AddTrackName(std::string_view text) {
  track_name_ = std::string(text);
  AddMeta(0, 0x03, text);
}

void MidiFileWriter::AddCopyright(std::string_view text) {
  copyright_ = std::string(text);
  AddMeta(0, 0x02, text);
}

void MidiFileWriter::AddTextEvent(int64_t delta, std::string_view text) { AddMeta(delta, 0x01, text); }
void MidiFileWriter::AddCopyrightEvent(int64_t delta, std::string_view text) { AddMeta(delta, 0x02, text); }
void MidiFileWriter::AddTrackNameEvent(int64_t delta, std::string_view text) { AddMeta(delta, 0x03, text); }
void MidiFileWriter::AddInstrumentName(int64_t delta, std::string_view text) { AddMeta(delta, 0x04, text); }
void MidiFileWriter::AddLyric(int64_t delta, std::string_view text) { AddMeta(delta, 0x05, text); }
void MidiFileWriter::AddMarker(int64_t delta, std::string_view text) { AddMeta(delta, 0x06, text); }

void MidiFileWriter::AddNoteOn(int64_t delta, int channel, int note, int velocity) {
  AddChannelEvent(delta, 0x90, channel, note, (velocity >= 1 && velocity <= 127) ? velocity : 70);
}

void MidiFileWriter::AddNoteOff(int64_t delta, int channel, int note) {
  AddChannelEvent(delta, 0x90, channel, note, 0);
}

void MidiFileWriter::AddController(int64_t delta, int channel, int controller, int value) {
  AddChannelEvent(delta, 0xB0, channel, controller, (value >= 1 && value <= 127) ? value : 0);
}

void MidiFileWriter::AddProgramChange(int channel, int program) { AddChannelEvent(0, 0xC0, channel, program, -1); }

void MidiFileWriter::AddAllSoundOff(int64_t delta) { AddChannelEvent(delta, 0xB0, 0, 120, 0); }

void MidiFileWriter::WriteTrack() {
  // A format 0 file holds one track: a second call adds nothing.
  if (track_written_) return;
  track_written_ = true;

  const auto by_tick = [](const Event& a, const Event& b) { return a.tick < b.tick; };
  if (!std::is_sorted(events_.begin(), events_.end(), by_tick))
    std::stable_sort(events_.begin(), events_.end(), by_tick);

  std::string track;
  track.reserve(payload_.size() + events_.size() * 2 + 4);
  int64_t previous = 0;
  for (const Event& event : events_) {
    int64_t delta = event.tick - previous;
    if (delta > static_cast<int64_t>(kMaxVariableLength)) {
      delta = kMaxVariableLength;
      ++adjustments_.TimesAdjusted;
    }
    AppendVariableLength(track, static_cast<uint32_t>(delta));
    track.append(payload_, event.begin, event.size);
    previous = event.tick;
  }
  track.append("\x00\xFF\x2F\x00", 4);

  file_bytes_ += track_chunk_id_;
  AppendBigEndian32(file_bytes_, static_cast<uint32_t>(track.size()));
  file_bytes_ += track;
}

Result MidiFileWriter::Close() {
  if (!opened_) return Result::Invalid("The MIDI file could not be written: no file name was given.");
  opened_ = false;
  const Result written = WriteFileAtomically(file_name_, file_bytes_, Flush::kNo);
  if (!written.ok()) {
    return Result::IoError("The MIDI file " + file_name_ + " could not be written (" + written.message() + ").");
  }
  return Result::Ok();
}

std::string MidiFileWriter::ProblemText() const {
  if (!adjustments_.Any()) return "";
  std::string text = "The MIDI file " + file_name_ + " was written with these changes:";
  if (adjustments_.EventsLeftOut > 0) {
    text += "\n " + std::to_string(adjustments_.EventsLeftOut) +
            " event(s) left out: a channel above 15 or a note, controller or program number above 127 "
            "cannot be written to a MIDI file (the first: " +
            adjustments_.FirstLeftOut + "). Check the roll type's channels and notes.";
  }
  if (adjustments_.TimesAdjusted > 0) {
    text += "\n " + std::to_string(adjustments_.TimesAdjusted) +
            " event time(s) moved: before the start of the track, or after a gap too long for a MIDI delta time.";
  }
  if (adjustments_.TextsCut > 0) {
    text += "\n " + std::to_string(adjustments_.TextsCut) + " text(s) cut to the longest a MIDI text event can hold.";
  }
  if (adjustments_.DivisionsRefused > 0) {
    text += "\n a division outside 1..32767 ticks per quarter note was refused; " + std::to_string(division_) +
            " was kept.";
  }
  return text;
}

}  // namespace tarvelo
