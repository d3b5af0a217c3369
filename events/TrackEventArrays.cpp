#include "events/TrackEventArrays.h"

#include <algorithm>
#include <bit>

namespace tarvelo {

namespace {
constexpr size_t kReservedEntries = 2048;
constexpr int kNestingTracks = 512;
}  // namespace

CTrackEventArrays::CTrackEventArrays() {
  events_.reserve(kReservedEntries);
  holes_.reserve(kReservedEntries);
  events_.emplace_back();
}

void CTrackEventArrays::SortEventsByYPosition() {
  // The events are nearly in order (appended hole by hole); a stable merge sort gives the
  // same order as moving each event back past every earlier one at a greater position, and
  // stays fast when a long hole puts many events out of place.
  std::stable_sort(events_.begin(), events_.end(),
                   [](const TrackEvent& a, const TrackEvent& b) { return a.YPosition < b.YPosition; });
}

void CTrackEventArrays::RemoveNestedNotes() {
  std::array<bool, kNestingTracks> on{};
  std::array<int, kNestingTracks> depth{};
  for (TrackEvent& event : events_) {
    if (event.Type != kEventNoteOn && event.Type != kEventNoteOff) continue;
    if (event.Track < 0 || event.Track >= kNestingTracks) continue;
    const auto t = static_cast<size_t>(event.Track);
    if (event.Type == kEventNoteOn) {
      if (on[t]) {
        event.Type = kEventEmpty;
        ++depth[t];
      } else {
        on[t] = true;
      }
    } else if (!on[t]) {
      event.Type = kEventEmpty;
      depth[t] = 0;
    } else if (depth[t] < 1) {
      on[t] = false;
      depth[t] = 0;
    } else {
      --depth[t];
      event.Type = kEventEmpty;
    }
  }
}

void CTrackEventArrays::ClearHoles() {
  holes_.clear();
  hit_.fill(0);
  open_.fill(0);
  start_.fill(0);
  widest_.fill(0);
}

void CTrackEventArrays::EndScanLine(double position) {
  for (size_t word = 0; word < hit_.size(); ++word) {
    uint64_t closing = open_[word] & ~hit_[word];
    while (closing != 0) {
      const size_t t = word * 64 + static_cast<size_t>(std::countr_zero(closing));
      closing &= closing - 1;
      PunchedHole hole;
      hole.Track = static_cast<int32_t>(t);
      hole.StartPosition = start_[t];
      hole.EndPosition = position;
      hole.Length = position - start_[t];
      hole.MaxWidth = widest_[t];
      holes_.push_back(hole);
      widest_[t] = 0;
      start_[t] = position;
    }
    open_[word] = hit_[word];
    hit_[word] = 0;
  }
}

}  // namespace tarvelo
