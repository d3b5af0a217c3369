#pragma once
// The document's store between the scan lines and the MIDI files: the punched holes found
// by the per-line pass, the timed events built from them, and the per-track state of the
// holes still open while the pass walks the lines.
//
// Positions along the roll: holes in inches (doubles), events in thousandths of an inch
// (inches * 1000 truncated). Consumers skip events of type kEventEmpty and removed holes.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvelo {

// One punched hole of one track.
struct PunchedHole {
  bool Removed = false;      // dropped by a clean-up pass; every later stage ignores it
  int32_t Track = 0;         // 0..255
  double Length = 0;         // EndPosition - StartPosition, inches
  double MaxWidth = 0;       // widest run seen on any scan line, pixels
  double EndPosition = 0;    // inches
  double StartPosition = 0;  // inches
};

// Event types.
inline constexpr int32_t kEventNoteOff = 0;
inline constexpr int32_t kEventNoteOn = 1;
inline constexpr int32_t kEventEmpty = 99;
inline constexpr int32_t kEventSustainPedal = 164;
inline constexpr int32_t kEventSoftPedal = 167;
inline constexpr int32_t kEventTextBase = 3840;  // 3840 + meta type 1..6 for text-like meta events
inline constexpr int32_t kEventText = 3841;
inline constexpr int32_t kEventTempo = 3921;

// One timed event; a new event is empty (type kEventEmpty).
struct TrackEvent {
  int32_t Type = kEventEmpty;
  int32_t Track = 0;
  uint32_t YPosition = 0;  // thousandths of an inch
  int32_t Value = 0;       // velocity or controller value
  int32_t TempoValue = 0;  // microseconds per quarter note
  std::string Text;
};

class TrackEventArrays {
 public:
  static constexpr int kTracks = 256;  // tracks with an open-hole state

  // Reserves room for 2048 events and holes and holds one empty event and no holes.
  TrackEventArrays();

  // Events.
  void ClearEvents() { events_.clear(); }
  void AddEvent(const TrackEvent& event) { events_.push_back(event); }
  int EventCount() const { return static_cast<int>(events_.size()); }
  TrackEvent& Event(int index) { return events_[static_cast<size_t>(index)]; }
  const TrackEvent& Event(int index) const { return events_[static_cast<size_t>(index)]; }
  std::vector<TrackEvent>& Events() { return events_; }
  const std::vector<TrackEvent>& Events() const { return events_; }

  // Stable sort by ascending YPosition: events at equal positions keep their order of addition.
  void SortEventsByYPosition();
  // Where note-on/note-off pairs of one track overlap or nest, keeps one note from the first
  // note on to the note off closing the outermost one; stray note offs become empty events.
  // Other event types are passed over; events of tracks outside 0..511 are passed over too.
  void RemoveNestedNotes();

  // Holes.
  void AddHole(const PunchedHole& hole) { holes_.push_back(hole); }
  // Removes every hole and clears the open-hole state of every track.
  void ClearHoles();
  int HoleCount() const { return static_cast<int>(holes_.size()); }
  PunchedHole& Hole(int index) { return holes_[static_cast<size_t>(index)]; }
  const PunchedHole& Hole(int index) const { return holes_[static_cast<size_t>(index)]; }
  std::vector<PunchedHole>& Holes() { return holes_; }
  const std::vector<PunchedHole>& Holes() const { return holes_; }

  // Open-hole state, driven by the per-line pass.
  // Marks `track` as hit on the current line; a track without an open hole starts one at
  // `position`; `width` (pixels) raises the track's widest run. Tracks outside 0..255 are ignored.
  void AddHoleSample(int track, double position, double width) {
    if (track < 0 || track >= kTracks) return;
    const auto t = static_cast<size_t>(track);
    const uint64_t bit = uint64_t{1} << (t & 63);
    hit_[t >> 6] |= bit;
    if ((open_[t >> 6] & bit) == 0) start_[t] = position;
    if (width > widest_[t]) widest_[t] = width;
  }
  // Ends the current line at `position`: in slot order, every open track not hit on this
  // line closes its hole (appended with EndPosition = position); hit tracks are open after it.
  void EndScanLine(double position);

  // The same as AddHoleSample for every sample of a line followed by EndScanLine(position),
  // for callers that collect a line's hits themselves: RaiseWidestRun for each sample, then
  // EndLineWithHits with one bit per track hit on the line (bit t % 64 of word t / 64).
  void RaiseWidestRun(int track, double width) {
    if (track < 0 || track >= kTracks) return;
    // Stored whether raised or not: a store costs less than a branch the processor mispredicts.
    double& widest = widest_[static_cast<size_t>(track)];
    widest = width > widest ? width : widest;
  }
  void EndLineWithHits(double position, const std::array<uint64_t, kTracks / 64>& hits);

  bool IsTrackOpen(int track) const {
    return track >= 0 && track < kTracks &&
           (open_[static_cast<size_t>(track) >> 6] >> (static_cast<size_t>(track) & 63) & 1) != 0;
  }

 private:
  // Appends the holes of the tracks in `closing` (bits of state word `word`), in slot order.
  void CloseHoles(size_t word, uint64_t closing, double position);

  std::vector<TrackEvent> events_;
  std::vector<PunchedHole> holes_;
  // One bit per track: hit on the current line, hole open.
  std::array<uint64_t, kTracks / 64> hit_{};
  std::array<uint64_t, kTracks / 64> open_{};
  std::array<double, kTracks> start_{};
  std::array<double, kTracks> widest_{};
};

}  // namespace tarvelo
