#include "events/TrackEvent.h"

#include <algorithm>
#include <array>

namespace tarvelo {

namespace {
constexpr int kNestingTracks = 512;
}  // namespace

void SortEventsByPosition(EventList& events) {
  // The events carry texts, so small (position, index) keys are sorted and the events moved once.
  const auto by_position = [](const TrackEvent& a, const TrackEvent& b) { return a.YPosition < b.YPosition; };
  if (std::is_sorted(events.begin(), events.end(), by_position)) return;
  std::vector<uint64_t> keys(events.size());
  for (size_t i = 0; i < events.size(); ++i) keys[i] = (uint64_t{events[i].YPosition} << 32) | i;
  std::sort(keys.begin(), keys.end());
  EventList sorted;
  sorted.reserve(events.size());
  for (const uint64_t key : keys) sorted.push_back(std::move(events[key & 0xFFFFFFFFu]));
  events.swap(sorted);
}

void EraseMarkedEvents(EventList& events, const std::vector<bool>& erase) {
  size_t kept = 0;
  for (size_t i = 0; i < events.size(); ++i) {
    if (erase[i]) continue;
    if (kept != i) events[kept] = std::move(events[i]);
    ++kept;
  }
  events.resize(kept);
}

void RemoveNestedNotes(EventList& events) {
  std::array<bool, kNestingTracks> on{};
  std::array<int, kNestingTracks> depth{};
  std::vector<bool> erase(events.size(), false);
  for (size_t i = 0; i < events.size(); ++i) {
    const TrackEvent& event = events[i];
    if (event.Kind != EventKind::kNoteOn && event.Kind != EventKind::kNoteOff) continue;
    if (event.Track < 0 || event.Track >= kNestingTracks) continue;
    const auto t = static_cast<size_t>(event.Track);
    if (event.Kind == EventKind::kNoteOn) {
      if (on[t]) {
        erase[i] = true;
        ++depth[t];
      } else {
        on[t] = true;
      }
    } else if (!on[t]) {
      erase[i] = true;
      depth[t] = 0;
    } else if (depth[t] < 1) {
      on[t] = false;
      depth[t] = 0;
    } else {
      --depth[t];
      erase[i] = true;
    }
  }
  EraseMarkedEvents(events, erase);
}

}  // namespace tarvelo
