#include "events/TrackEventArrays.h"

#include <algorithm>
#include <bit>

namespace tarvelo {

namespace {
constexpr size_t kReservedEntries = 2048;
constexpr int kNestingTracks = 512;
}  // namespace

TrackEventArrays::TrackEventArrays() {
  events_.reserve(kReservedEntries);
  holes_.reserve(kReservedEntries);
  events_.emplace_back();
}

void TrackEventArrays::SortEventsByYPosition() {
  // A stable order: events at one position keep the order they were added in, as moving each
  // event back past every earlier one at a greater position would leave them. The events
  // carry texts, so small (position, index) keys are sorted and the events moved once.
  const auto by_position = [](const TrackEvent& a, const TrackEvent& b) { return a.YPosition < b.YPosition; };
  if (std::is_sorted(events_.begin(), events_.end(), by_position)) return;
  std::vector<uint64_t> keys(events_.size());
  for (size_t i = 0; i < events_.size(); ++i) keys[i] = (uint64_t{events_[i].YPosition} << 32) | i;
  std::sort(keys.begin(), keys.end());
  std::vector<TrackEvent> sorted;
  sorted.reserve(events_.capacity());
  for (const uint64_t key : keys) sorted.push_back(std::move(events_[key & 0xFFFFFFFFu]));
  events_.swap(sorted);
}

void TrackEventArrays::RemoveNestedNotes() {
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

void TrackEventArrays::ClearHoles() {
  holes_.clear();
  hit_.fill(0);
  open_.fill(0);
  start_.fill(0);
  widest_.fill(0);
}

void TrackEventArrays::EndLineWithHits(double position, const std::array<uint64_t, kTracks / 64>& hits) {
  for (size_t word = 0; word < hits.size(); ++word) {
    const uint64_t hit = hits[word] | hit_[word];
    // A track hit while it had no open hole starts one on this line.
    uint64_t opening = hits[word] & ~open_[word];
    while (opening != 0) {
      start_[word * 64 + static_cast<size_t>(std::countr_zero(opening))] = position;
      opening &= opening - 1;
    }
    CloseHoles(word, open_[word] & ~hit, position);
    open_[word] = hit;
    hit_[word] = 0;
  }
}

void TrackEventArrays::CloseHoles(size_t word, uint64_t closing, double position) {
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
}

void TrackEventArrays::EndScanLine(double position) {
  for (size_t word = 0; word < hit_.size(); ++word) {
    CloseHoles(word, open_[word] & ~hit_[word], position);
    open_[word] = hit_[word];
    hit_[word] = 0;
  }
}

}  // namespace tarvelo
