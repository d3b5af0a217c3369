#pragma once
// The notes of the eRoll file, as the expression stage reads them: each note on with the note
// off that closes it on its track, on the ticks the eRoll file gives them. The one place that
// knows how the event list stores the eRoll notes.

#include <vector>

#include "events/TrackEvent.h"
#include "expression/PerformExpression.h"
#include "midi/RollTiming.h"

namespace tarvelo {

// The notes of `events` (as the eRoll output leaves them) on tracks 0..127, the tracks the
// eRoll file writes, in the order of their note ons. A note on without its note off is left out.
std::vector<ERollNote> ERollNotes(const EventList& events, const RollTiming& timing);

}  // namespace tarvelo
