#pragma once
// Event building: the clean-up of the punched holes found by the per-line pass, and the
// timed events the MIDI outputs write, built from the holes.
//
// Order in a conversion: MergeScanGlitches, RemoveSpecks, BuildScanImageEvents; when the
// eRoll output is wanted BuildERollEvents and RemoveWebbing; AddTempoAccelerationEvents is
// run by the eRoll output when the roll type asks for it. Each builder starts from an empty
// event list and from the holes, so the eRoll events replace the ScanImage events but keep
// the hole clean-up (and the start positions clamped at 0) of the earlier stages.
//
// Hole positions are inches (doubles); event positions are thousandths of an inch, the
// inches times 1000 truncated toward zero (a value below 0 or beyond the 32-bit range is
// held at the nearest end of it). Removed holes and holes of tracks outside 0..255 are passed
// over by every stage; events a stage drops are erased from the list.

#include <cstdint>
#include <string_view>

#include "events/PunchedHole.h"
#include "events/TrackEvent.h"
#include "rolltypes/RollTypeDefinition.h"
#include "services/Reporter.h"

namespace tarvelo {

// Inches to thousandths of an inch: trunc(inches * 1000), held within 0..2^32-1.
uint32_t InchesToThousandths(double inches);

// Joins holes of one track separated by a gap (this hole's start minus the previous hole's
// end on the track, in list order) shorter than `glitch_threshold_distance` inches: the
// earlier hole is removed and the later one spans both (its MaxWidth the larger of the
// two). Chains of short gaps become one hole. Returns the number of joins.
int MergeScanGlitches(HoleList& holes, double glitch_threshold_distance);

// Marks as removed every hole shorter than `speck_threshold_length` inches, or narrower
// than `speck_threshold_width_pct` percent of the roll type's track spacing in scanner
// pixels (dpi * (spacing * (pct * 0.01))). Every hole is tested, removed or not, and each
// failed test counts once, so a hole failing both counts twice. Returns that count.
int RemoveSpecks(HoleList& holes, const RollTypeDefinition& roll, double speck_threshold_length,
                 int speck_threshold_width_pct, int scanner_dpi);

// Shows "Building Event Track Array" and returns the ScanImage events: the title text event
// ("/CIS_embedded_title: " + title, kText at 0) and, for each hole kept, a note on at its
// start (velocity TrackMidiVelocity of the track) and a note off at its end; a start below 0
// is set to 0 in the hole itself. Sorted by position, stable.
EventList BuildScanImageEvents(HoleList& holes, const RollTypeDefinition& roll, std::string_view title,
                               Reporter& reporter);

// As BuildScanImageEvents (status "Building ERoll Event Track Array"), with each track's
// leading and trailing edge shifts added (a shift is applied only when shift + position is
// greater than 0), and afterwards notes of one track that overlap joined into one
// (RemoveNestedNotes). Returns the eRoll events.
EventList BuildERollEvents(HoleList& holes, const RollTypeDefinition& roll, std::string_view title, Reporter& reporter);

// Joins consecutive notes of one track (tracks LowestTrackHoleNumber..HighestTrackHoleNumber)
// whose gap, from the note off to the next note on, is less than the track's webbing limit:
// both the note off and the note on are erased. The limit is
// TrackRemoveWebbingSmallerThan in thousandths of an inch, or, with
// InterpretWebbingLimitAsSeconds, those thousandths times `roll_tempo` times 0.02; with
// ApplyAccelerationToWebbing it grows by the take-up acceleration along the roll. A limit
// below 0 joins nothing.
void RemoveWebbing(EventList& events, const RollTypeDefinition& roll, int roll_tempo);

// Adds tempo events (kTempo) that raise the tempo by 0.05 every 60000 / (tempo * a)
// thousandths of an inch up to the last event's position, a being the roll type's
// TakeupSpoolAccelerationPctPerFoot (nothing when a is 0), then sorts the events. At most
// one tempo event per thousandth of an inch of roll is added.
void AddTempoAccelerationEvents(EventList& events, const RollTypeDefinition& roll, int roll_tempo);

}  // namespace tarvelo
