#include "events/EventBuilding.h"

#include <algorithm>
#include <array>
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
  TrackEvent event;
  event.Type = kEventText;
  event.Track = 0;
  event.YPosition = 0;
  event.Value = 0;
  event.Text = "/CIS_embedded_title: " + std::string(title);
  return event;
}

// The builders' shared walk: a note on and a note off for every hole kept, at the positions
// `on_position` and `off_position` give for the hole.
template <typename OnPosition, typename OffPosition>
void AddHoleNotes(TrackEventArrays& events, const RollTypeDefinition& roll, OnPosition on_position,
                  OffPosition off_position) {
  for (PunchedHole& hole : events.Holes()) {
    if (hole.Removed || !IsTrackSlot(hole.Track)) continue;
    // "Not greater than or equal to 0" also catches a position that is not a number.
    if (!(hole.StartPosition >= 0)) hole.StartPosition = 0;
    TrackEvent on;
    on.Type = kEventNoteOn;
    on.Track = hole.Track;
    on.YPosition = on_position(hole);
    on.Value = roll.TrackMidiVelocity[static_cast<size_t>(hole.Track)];
    events.AddEvent(on);
    TrackEvent off;
    off.Type = kEventNoteOff;
    off.Track = hole.Track;
    off.YPosition = off_position(hole);
    off.Value = 0;
    events.AddEvent(off);
  }
}

}  // namespace

uint32_t InchesToThousandths(double inches) { return HoldInUnsigned32(TruncToInt64(inches * 1000)); }

int MergeScanGlitches(TrackEventArrays& events, double glitch_threshold_distance) {
  constexpr int kNone = -1;
  std::array<int, kTrackSlots> last{};
  last.fill(kNone);
  int merges = 0;
  for (int i = 0; i < events.HoleCount(); ++i) {
    PunchedHole& hole = events.Hole(i);
    if (hole.Removed || !IsTrackSlot(hole.Track)) continue;
    int& remembered = last[static_cast<size_t>(hole.Track)];
    if (remembered != kNone) {
      PunchedHole& previous = events.Hole(remembered);
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

int RemoveSpecks(TrackEventArrays& events, const RollTypeDefinition& roll, double speck_threshold_length,
                 int speck_threshold_width_pct, int scanner_dpi) {
  const double min_width = scanner_dpi * (roll.DefaultTrackCenterSpacing * (speck_threshold_width_pct * 0.01));
  int failed = 0;
  for (PunchedHole& hole : events.Holes()) {
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

void BuildScanImageEvents(TrackEventArrays& events, const RollTypeDefinition& roll, std::string_view title,
                          Reporter& reporter) {
  reporter.SetStatusText("Building Event Track Array");
  events.ClearEvents();
  events.AddEvent(TitleEvent(title));
  AddHoleNotes(
      events, roll, [](const PunchedHole& hole) { return InchesToThousandths(hole.StartPosition); },
      [](const PunchedHole& hole) { return InchesToThousandths(hole.EndPosition); });
  events.SortEventsByYPosition();
}

void BuildERollEvents(TrackEventArrays& events, const RollTypeDefinition& roll, std::string_view title,
                      Reporter& reporter) {
  reporter.SetStatusText("Building ERoll Event Track Array");
  events.ClearEvents();
  events.AddEvent(TitleEvent(title));
  // A shift moves an edge only where the shifted edge still lies after the roll start.
  const auto shifted = [](double position, double shift) {
    const int64_t at = TruncToInt64(position * 1000);
    if (shift + position > 0) return HoldInUnsigned32(ShiftThousandths(shift) + at);
    return HoldInUnsigned32(at);
  };
  AddHoleNotes(
      events, roll,
      [&](const PunchedHole& hole) {
        return shifted(hole.StartPosition, roll.TrackLeadingEdgeShift[static_cast<size_t>(hole.Track)]);
      },
      [&](const PunchedHole& hole) {
        return shifted(hole.EndPosition, roll.TrackTrailingEdgeShift[static_cast<size_t>(hole.Track)]);
      });
  events.SortEventsByYPosition();
  events.RemoveNestedNotes();
}

void RemoveWebbing(TrackEventArrays& events, const RollTypeDefinition& roll, int roll_tempo) {
  const int lowest = std::max(roll.LowestTrackHoleNumber, 0);
  const int highest = std::min(roll.HighestTrackHoleNumber, kTrackSlots - 1);
  if (lowest > highest) return;

  std::array<int64_t, kTrackSlots> limit{};
  for (int t = lowest; t <= highest; ++t) {
    const auto slot = static_cast<size_t>(t);
    limit[slot] = TruncToInt32(roll.TrackRemoveWebbingSmallerThan[slot] * 1000);
    if (roll.InterpretWebbingLimitAsSeconds) limit[slot] = TruncToInt64((limit[slot] * roll_tempo) * 0.02);
  }

  // Index of each track's last note off; event 0 is the title event, so 0 means none.
  std::array<int, kTrackSlots> last_off{};
  double factor = 1.0;
  std::vector<TrackEvent>& list = events.Events();
  for (size_t k = 0; k < list.size(); ++k) {
    TrackEvent& event = list[k];
    if (event.Track < lowest || event.Track > highest) continue;
    if (roll.ApplyAccelerationToWebbing) {
      factor = event.YPosition * roll.TakeupSpoolAccelerationPctPerFoot * 8.333333333333333e-7 + 1;
    }
    const auto slot = static_cast<size_t>(event.Track);
    if (event.Type == kEventNoteOff) {
      last_off[slot] = static_cast<int>(k);
    } else if (event.Type == kEventNoteOn && last_off[slot] != 0) {
      TrackEvent& off = list[static_cast<size_t>(last_off[slot])];
      const uint32_t gap = event.YPosition - off.YPosition;
      if (static_cast<int64_t>(gap) < TruncToInt64(limit[slot] * factor)) {
        event.Type = kEventEmpty;
        off.Type = kEventEmpty;
        last_off[slot] = 0;
      }
    }
  }
}

void AddTempoAccelerationEvents(TrackEventArrays& events, const RollTypeDefinition& roll, int roll_tempo) {
  const double a = roll.TakeupSpoolAccelerationPctPerFoot;
  if (a == 0 || events.EventCount() == 0) return;
  const int tempo = roll_tempo;
  const uint32_t last = events.Event(events.EventCount() - 1).YPosition;
  const double interval = 60000 / (tempo * a);
  int64_t count = TruncToInt64(last / interval);
  // Beyond one tempo change per thousandth of an inch the events only pile up on one spot.
  count = std::min<int64_t>(count, last);
  for (int64_t i = 1; i <= count; ++i) {
    TrackEvent event;
    event.Type = kEventTempo;
    event.Track = 0;
    event.YPosition = HoldInUnsigned32(TruncToInt64(i * interval));
    event.TempoValue = TruncToInt32(60000000 / (tempo + i * 0.05));
    events.AddEvent(event);
  }
  events.SortEventsByYPosition();
}

}  // namespace tarvelo
