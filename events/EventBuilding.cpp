#include "events/EventBuilding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>

#include "support/SafeTruncate.h"

namespace tarvelo {

namespace {

bool IsTrackSlot(int32_t track) { return track >= 0 && track < kTrackSlots; }

// trunc(inches * 1000) as a signed number of thousandths (edge shifts may be negative).
int64_t ShiftThousandths(double inches) { return TruncToInt64(inches * 1000); }

uint32_t HoldInUnsigned32(int64_t value) {
  return static_cast<uint32_t>(std::clamp<int64_t>(value, 0, std::numeric_limits<uint32_t>::max()));
}

TrackEvent TitleEvent(std::string_view title) {
  return TrackEvent::TextOf(EventKind::kText, 0, "/CIS_embedded_title: " + std::string(title));
}

// The builders' shared walk: the title event, then a note on and a note off for every hole
// kept, at the positions `on_position` and `off_position` give for the hole.
template <typename OnPosition, typename OffPosition>
EventList HoleNotes(HoleList& holes, const RollTypeDefinition& roll, std::string_view title, OnPosition on_position,
                    OffPosition off_position) {
  EventList events;
  events.reserve(2 * holes.size() + 1);
  events.push_back(TitleEvent(title));
  for (PunchedHole& hole : holes) {
    if (hole.Removed || !IsTrackSlot(hole.Track)) continue;
    // "Not greater than or equal to 0" also catches a position that is not a number.
    if (!(hole.StartPosition >= 0)) hole.StartPosition = 0;
    events.push_back(
        TrackEvent::NoteOn(hole.Track, on_position(hole), roll.TrackMidiVelocity[static_cast<size_t>(hole.Track)]));
    events.push_back(TrackEvent::NoteOff(hole.Track, off_position(hole)));
  }
  return events;
}

}  // namespace

uint32_t InchesToThousandths(double inches) { return HoldInUnsigned32(TruncToInt64(inches * 1000)); }

int MergeScanGlitches(HoleList& holes, double glitch_threshold_distance) {
  constexpr size_t kNone = SIZE_MAX;
  std::array<size_t, kTrackSlots> last{};
  last.fill(kNone);
  int merges = 0;
  for (size_t i = 0; i < holes.size(); ++i) {
    PunchedHole& hole = holes[i];
    if (hole.Removed || !IsTrackSlot(hole.Track)) continue;
    size_t& remembered = last[static_cast<size_t>(hole.Track)];
    if (remembered != kNone) {
      PunchedHole& previous = holes[remembered];
      if (hole.StartPosition - previous.EndPosition < glitch_threshold_distance) {
        previous.Removed = true;
        hole.StartPosition = previous.StartPosition;
        hole.Length = hole.EndPosition - hole.StartPosition;
        if (previous.MaxWidth > hole.MaxWidth) hole.MaxWidth = previous.MaxWidth;
        hole.Removed = false;
        ++merges;
      }
    }
    remembered = i;
  }
  return merges;
}

int RemoveSpecks(HoleList& holes, const RollTypeDefinition& roll, double speck_threshold_length,
                 int speck_threshold_width_pct, int scanner_dpi) {
  const double min_width = scanner_dpi * (roll.DefaultTrackCenterSpacing * (speck_threshold_width_pct * 0.01));
  int failed = 0;
  for (PunchedHole& hole : holes) {
    if (hole.Length < speck_threshold_length) {
      hole.Removed = true;
      ++failed;
    }
    if (hole.MaxWidth < min_width) {
      hole.Removed = true;
      ++failed;
    }
  }
  return failed;
}

EventList BuildScanImageEvents(HoleList& holes, const RollTypeDefinition& roll, std::string_view title,
                               Reporter& reporter) {
  reporter.SetStatusText("Building Event Track Array");
  EventList events = HoleNotes(
      holes, roll, title, [](const PunchedHole& hole) { return InchesToThousandths(hole.StartPosition); },
      [](const PunchedHole& hole) { return InchesToThousandths(hole.EndPosition); });
  SortEventsByPosition(events);
  return events;
}

EventList BuildERollEvents(HoleList& holes, const RollTypeDefinition& roll, std::string_view title,
                           Reporter& reporter) {
  reporter.SetStatusText("Building ERoll Event Track Array");
  // A shift moves an edge only where the shifted edge still lies after the roll start.
  const auto shifted = [](double position, double shift) {
    const int64_t at = TruncToInt64(position * 1000);
    if (shift + position > 0) return HoldInUnsigned32(ShiftThousandths(shift) + at);
    return HoldInUnsigned32(at);
  };
  EventList events = HoleNotes(
      holes, roll, title,
      [&](const PunchedHole& hole) {
        return shifted(hole.StartPosition, roll.TrackLeadingEdgeShift[static_cast<size_t>(hole.Track)]);
      },
      [&](const PunchedHole& hole) {
        return shifted(hole.EndPosition, roll.TrackTrailingEdgeShift[static_cast<size_t>(hole.Track)]);
      });
  SortEventsByPosition(events);
  RemoveNestedNotes(events);
  return events;
}

void RemoveWebbing(EventList& events, const RollTypeDefinition& roll, int roll_tempo) {
  const int lowest = std::max(roll.LowestTrackHoleNumber, 0);
  const int highest = std::min(roll.HighestTrackHoleNumber, kTrackSlots - 1);
  if (lowest > highest) return;

  std::array<int64_t, kTrackSlots> limit{};
  for (int t = lowest; t <= highest; ++t) {
    const auto slot = static_cast<size_t>(t);
    limit[slot] = TruncToInt32(roll.TrackRemoveWebbingSmallerThan[slot] * 1000);
    if (roll.InterpretWebbingLimitAsSeconds) limit[slot] = TruncToInt64((limit[slot] * roll_tempo) * 0.02);
  }

  // Index of each track's last note off.
  constexpr size_t kNone = SIZE_MAX;
  std::array<size_t, kTrackSlots> last_off{};
  last_off.fill(kNone);
  std::vector<bool> erase(events.size(), false);
  double factor = 1.0;
  for (size_t k = 0; k < events.size(); ++k) {
    const TrackEvent& event = events[k];
    if (event.Track < lowest || event.Track > highest) continue;
    if (roll.ApplyAccelerationToWebbing) {
      factor = event.YPosition * roll.TakeupSpoolAccelerationPctPerFoot * 8.333333333333333e-7 + 1;
    }
    const auto slot = static_cast<size_t>(event.Track);
    if (event.Kind == EventKind::kNoteOff) {
      last_off[slot] = k;
    } else if (event.Kind == EventKind::kNoteOn && last_off[slot] != kNone) {
      const uint32_t gap = event.YPosition - events[last_off[slot]].YPosition;
      if (static_cast<int64_t>(gap) < TruncToInt64(limit[slot] * factor)) {
        erase[k] = true;
        erase[last_off[slot]] = true;
        last_off[slot] = kNone;
      }
    }
  }
  EraseMarkedEvents(events, erase);
}

void AddTempoAccelerationEvents(EventList& events, const RollTypeDefinition& roll, int roll_tempo) {
  const double a = roll.TakeupSpoolAccelerationPctPerFoot;
  if (a == 0 || events.empty()) return;
  const int tempo = roll_tempo;
  const uint32_t last = events.back().YPosition;
  const double interval = 60000 / (tempo * a);
  int64_t count = TruncToInt64(last / interval);
  // Beyond one tempo change per thousandth of an inch the events only pile up on one spot.
  count = std::min<int64_t>(count, last);
  for (int64_t i = 1; i <= count; ++i) {
    events.push_back(
        TrackEvent::Tempo(HoldInUnsigned32(TruncToInt64(i * interval)), TruncToInt32(60000000 / (tempo + i * 0.05))));
  }
  SortEventsByPosition(events);
}

}  // namespace tarvelo
