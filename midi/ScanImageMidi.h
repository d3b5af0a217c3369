#pragma once
// The ScanImage MIDI file: the literal image of the roll, every punched hole of track n a
// note n (channel TrackMidiChannel[n]) from its leading to its trailing edge; tracks above
// 127 are left out. No pedal or expression interpretation.
//
// File: OutputFolder + ScanMidiFilePrefix + FileName + ScanMidiFileSuffix + ".mid" (source.General), replacing an
// existing file only when the new one is complete. The track holds, on tick 0: the tempo, the track name (from the
// roll information), the copyright text, the credit text, the version text, the instrument
// name (roll type name + " Roll Type Scan Image"), the roll information texts (all 24 when
// literal; see RollInfoTextEvents), the title text events of the event list and every keyword
// item; then the events, the first playable one after ScanMidiLeadInTime seconds.

#include "events/TrackEvent.h"
#include "keywords/KeywordList.h"
#include "midi/MidiOutput.h"
#include "services/Reporter.h"

namespace tarvelo {

// Shows "Writing Output MIDI File" and writes the file from the events as left by
// BuildScanImageEvents. A file that cannot be written is reported (path and reason) and
// left out; the result says which.
MidiOutputResult WriteScanImageMidi(const MidiOutputSource& source, const EventList& events,
                                    const KeywordList& keywords, Reporter& reporter);

// "Conversion to ScanImage MIDI made <date> with Quenby CIS converter" + `ending` (CreditEnding).
std::string ScanImageCreditText(std::string_view date, std::string_view ending);

}  // namespace tarvelo
