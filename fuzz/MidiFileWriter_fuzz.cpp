// Fuzz target: any sequence of events, at any ticks and with any numbers, given to the MIDI
// writer. What it writes must be a Standard MIDI File the reader takes back, whatever was
// left out or adjusted on the way.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "midi/MidiFileReader.h"
#include "midi/MidiFileWriter.h"

namespace {

// Reads the input front to back; past its end everything reads as 0.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  int64_t Wide() {
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i) value = value << 8 | Byte();
    int64_t signed_value = 0;
    std::memcpy(&signed_value, &value, sizeof value);
    return signed_value;
  }
  int Small() { return static_cast<int8_t>(Byte()) * 3; }  // a little past every MIDI range
  std::string Text() {
    const size_t length = Byte();
    std::string text;
    for (size_t i = 0; i < length && !Empty(); ++i) text += static_cast<char>(Byte());
    return text;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  tarvelo::MidiFileWriter writer(static_cast<int16_t>(in.Byte() << 8 | in.Byte()));
  for (int events = 0; !in.Empty() && events < 4096; ++events) {
    const uint8_t kind = in.Byte() % 7;
    // Ticks near the present mostly, now and then anywhere in the 64-bit range.
    const int64_t tick = (kind & 1) ? in.Wide() : writer.LastTick() + in.Small();
    switch (kind) {
      case 0:
        writer.AddTempo(tick, static_cast<uint32_t>(in.Wide()));
        break;
      case 1:
        writer.AddText(tick, static_cast<tarvelo::MetaText>(1 + in.Byte() % 6), in.Text());
        break;
      case 2:
        writer.AddNoteOn(tick, in.Small(), in.Small(), in.Small());
        break;
      case 3:
        writer.AddNoteOff(tick, in.Small(), in.Small());
        break;
      case 4:
        writer.AddController(tick, in.Small(), in.Small(), in.Small());
        break;
      case 5:
        writer.AddProgramChange(tick, in.Small(), in.Small());
        break;
      default:
        writer.AddAllSoundOff(tick);
    }
  }
  const std::string bytes = writer.FileBytes();
  tarvelo::MidiFileContents contents;
  if (!tarvelo::ReadMidiFile(bytes, contents).ok()) std::abort();
  (void)writer.ProblemText("fuzz.mid");
  return 0;
}
