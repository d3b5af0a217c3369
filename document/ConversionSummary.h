#pragma once
// What one pipeline run did, for front ends that report it (the command line's statuses and
// --json, the desktop's histogram window). The keyword item texts of the run are in the
// document's keyword list.

#include <array>
#include <string>
#include <vector>

#include "align/PlacementVerdict.h"
#include "document/ConversionStatus.h"
#include "events/SpacingHistogramStore.h"
#include "services/Reporter.h"
#include "support/Result.h"

namespace tarvelo {

// One MIDI output the run attempted.
struct OutputFileRecord {
  std::string Kind;  // "ScanImageMIDI", "eRollMIDI" or "ExpressionMIDI"
  std::string Path;  // full path of the file
  Result Outcome;    // ok: written; else why not (the message the user was shown)
};

struct ConversionSummary {
  int Lines = 0;                          // scan lines converted
  int Holes = 0;                          // holes found by the per-line pass
  int HolesKept = 0;                      // holes left after glitch merging and speck removal
  int GlitchesMerged = 0;                 // "/scan_glitches_merged: "
  int SpecksRemoved = 0;                  // "/specks_removed: " (failed speck tests)
  int ScanImageEvents = 0;                // events of the ScanImage event list (empty events not counted)
  int ERollEvents = 0;                    // the same for the eRoll list, tempo events included; 0 when not built
  std::vector<OutputFileRecord> Outputs;  // in the order attempted; skipped outputs are absent
  int HolesMeasured = 0;                  // distinct holes the off-track check looked at
  int HolesOffTrack = 0;   // of them, those further than 0.3 of a track spacing from their track's centre
  bool Cancelled = false;  // the user stopped the run: no outputs were written
  // Whether the settings in force put the holes on the roll type's tracks (measured on every
  // run that was not aligned explicitly; PlacementChecked false otherwise).
  bool PlacementChecked = false;
  PlacementVerdict Placement;
  bool PlacementWarned = false;              // the verdict was reported as a warning (the notes may be wrong)
  std::string AutoTweak;                     // the run converted with Auto-Tweak's values: what it used ("" otherwise)
  std::vector<std::string> AutoTweakDoubts;  // and the measurement's warnings about those values
  ScannerSetting AlignedWith;                // an aligned or auto-tweaked run: the DPI, offset and stretch it used
  // The scanner mode the run placed its lines by: the preset's, or "Shaft Encoder" when an
  // aligned or auto-tweaked run used the scan's own encoder ("" before a run).
  std::string ScannerMode;
  // The digest of the settings handed to the run (settings/SettingsDigest.h).
  std::string SettingsDigest;
  // Messages the load and the run reported, counted by kind (index: MessageKind); a notice a
  // front end showed in place of a message counts as one.
  std::array<int, 3> MessageCounts{};
  // How the load (or the run) ended, and the headline of the message that decided it: the
  // first error of a failed conversion, the first warning of one converted with warnings, ""
  // otherwise.
  ConversionStatus Status = ConversionStatus::kFailed;
  std::string DecidingMessage;
  // The spacing histograms of the run (all 0 when the document was asked not to build them).
  SpacingHistogramStore SpacingHistogram;

  int CountOf(MessageKind kind) const { return MessageCounts[static_cast<size_t>(kind)]; }
};

}  // namespace tarvelo
