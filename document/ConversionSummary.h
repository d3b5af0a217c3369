#pragma once
// What one pipeline run did, for front ends that report it (the command line's --json).
// The keyword item texts of the run are in the document's keyword list.

#include <string>
#include <vector>

namespace tarvelo {

// One MIDI output the run attempted.
struct OutputFileRecord {
  std::string Kind;   // "ScanImageMIDI" or "eRollMIDI"
  std::string Path;   // full path of the file
  bool Written = false;
  std::string Error;  // why it was not written (the message the user was shown)
};

struct ConversionSummary {
  int Lines = 0;            // scan lines converted
  int Holes = 0;            // holes found by the per-line pass
  int HolesKept = 0;        // holes left after glitch merging and speck removal
  int GlitchesMerged = 0;   // "/scan_glitches_merged: "
  int SpecksRemoved = 0;    // "/specks_removed: " (failed speck tests)
  int ScanImageEvents = 0;  // events of the ScanImage event list (empty events not counted)
  int ERollEvents = 0;      // the same for the eRoll list, tempo events included; 0 when not built
  std::vector<OutputFileRecord> Outputs;  // in the order attempted; skipped outputs are absent
};

}  // namespace tarvelo
