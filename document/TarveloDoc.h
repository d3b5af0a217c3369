#pragma once
// The conversion document: one opened CIS file and everything computed from it. Loading
// opens the file and runs the pipeline once; RunPipeline is the one place that orders the
// conversion stages, and may be run again ("Re-Process") after a settings change: every run
// starts again from the lines as read.
//
// Inputs: the file, the run's settings (a value handed to Load and RunPipeline), the roll type
// (applied from a library or set as a value). Outputs: the MIDI files (and diagnostic files)
// the settings ask for, the keyword list, the holes and events, and the Summary of the run.
// Failures: Load returns why a file could not be opened; everything a run meets is reported
// through the Reporter with its kind and counted in the Summary.
//
// Threads: a document is used by one thread at a time. Documents on different threads share
// nothing: each has its own reporter, hooks, settings and roll type copies, and the stages
// keep no state outside the document. Read-only data (a roll type definition, a settings
// value) may be copied into any number of documents. A run counts the holes off their tracks
// on a second thread while it builds the events (see CountHolesOffTrackAside); that thread
// reports nothing and is joined within the run.

#include <future>
#include <optional>
#include <string>
#include <string_view>

#include "align/AlignScan.h"
#include "align/OffTrackCheck.h"
#include "cis/CisFile.h"
#include "cis/CisScanData.h"
#include "cis/RollInfo.h"
#include "document/AlignmentOptions.h"
#include "document/ConversionSummary.h"
#include "document/CountingReporter.h"
#include "document/FrontEndHooks.h"
#include "events/PunchedHole.h"
#include "events/TrackEvent.h"
#include "geometry/TrackLookupMap.h"
#include "keywords/KeywordList.h"
#include "midi/MidiOutput.h"
#include "rolltypes/RollTypeDefinition.h"
#include "services/Reporter.h"
#include "settings/RunSettings.h"
#include "support/Result.h"
#include "xml/XmlDocument.h"

namespace tarvelo {

struct MidiOutputResult;

class TarveloDoc {
 public:
  // `roll_info` holds the roll information the first file starts from: its template entries
  // (RollInfo(profile) reads them from the profile) carry over to every file.
  explicit TarveloDoc(Reporter& reporter, FrontEndHooks& hooks = NoFrontEndHooks(), RollInfo roll_info = RollInfo());

  // Opens `path` (see OpenScanFile), prepares the roll information for the new file (the ANN
  // file and the roll information dialog, when `settings` ask for them), keeps the pristine
  // copy of the lines, and runs the pipeline once with `settings`. A file whose header is
  // refused still runs the pipeline on no lines (and writes no outputs). Returns ok when the
  // file was read and run through (the settings' ProfileFindings are reported first, at every
  // Load and RunPipeline), the opening's failure otherwise, or kCancelled when the user
  // stopped the run. Summary().Status says how the conversion ended, warnings, errors of the
  // run and unwritten outputs included.
  Result Load(const std::string& path, const RunSettings& settings);
  // Runs every conversion stage in order on the current scan data with `settings`.
  void RunPipeline(const RunSettings& settings);

  const CisScanData& ScanData() const { return scan_; }
  CisScanData& ScanData() { return scan_; }
  const KeywordList& Keywords() const { return keywords_; }
  // The roll information embedded into the outputs; kept from file to file (its template
  // entries carry over), reset for each newly read file.
  const RollInfo& RollInformation() const { return roll_info_; }
  RollInfo& RollInformation() { return roll_info_; }
  // The holes found by the latest run's per-line pass (after its clean-up: merged glitches
  // and specks are marked Removed), and the event lists built from them: the ScanImage events
  // (every run) and the eRoll events (empty when the run wrote no eRoll file).
  const HoleList& Holes() const { return holes_; }
  const EventList& ScanImageEvents() const { return scan_image_events_; }
  const EventList& ERollEvents() const { return eroll_events_; }
  // The pixel-to-track map of the latest run.
  const TrackLookupMap& LookupMap() const { return lookup_map_; }

  // The names of the file opened last ("" before any), as the opening split them.
  const CisFileName& FileNames() const { return scan_.Header.Names; }
  const std::string& FileName() const { return scan_.Header.Names.Name; }
  const std::string& FolderName() const { return scan_.Header.Names.Folder; }
  const std::string& FilePath() const { return scan_.Header.Names.Path; }
  const std::string& FileNameWithExtension() const { return scan_.Header.Names.NameWithExtension; }
  // The scanner mode the latest run applied ("DEFAULT SCANNER MODE" after a refused one).
  const std::string& ScannerModeApplied() const { return scanner_mode_applied_; }

  // The roll type in use; it starts at the "Fail-Safe" values and changes only when a front
  // end applies or sets one. Conversions read the values it holds when they run.
  const RollTypeDefinition& RollType() const { return roll_type_; }
  RollTypeDefinition& RollType() { return roll_type_; }
  const std::string& RollTypeName() const { return roll_type_.Name; }
  // Fills the roll type from the parsed roll type library (whose position is moved). An
  // unknown name leaves the "Fail-Safe" values; the document reports that as an error and
  // returns it (kNotFound), so a front end that shows the document's messages ignores it.
  // The next pipeline run uses the new values.
  Result ApplyRollType(XmlDocument& library, std::string_view name);
  // Takes a roll type applied elsewhere (a batch applies it once for all its documents).
  void SetRollType(const RollTypeDefinition& roll_type) { roll_type_ = roll_type; }

  // Where the MIDI outputs go: `folder` (a separator is added when it has none), or, when
  // empty (the default), the input file's folder (FolderName).
  void SetOutputFolder(std::string folder) { output_folder_ = std::move(folder); }
  // The folder, ending in a separator, the next run writes to.
  std::string OutputFolder() const;
  // Leave out one MIDI output on the following runs, whatever the settings' "OutputFiles"
  // switch says: an output is written when its switch is on and it is not skipped. A document
  // that has not opened a file writes no MIDI files.
  void SetScanImageMidiSkipped(bool skipped) { skip_scan_image_ = skipped; }
  void SetERollMidiSkipped(bool skipped) { skip_eroll_ = skipped; }
  // Whether runs build the spacing histogram (a front end that never shows it spares the
  // work). On by default.
  void SetSpacingHistogramWanted(bool wanted) { histogram_wanted_ = wanted; }
  // What the latest run did and how it ended (Summary().Status: the one status every front
  // end reports).
  const ConversionSummary& Summary() const { return summary_; }

  // Aligns the following runs to their scan (see AlignmentOptions); off by default. A run that
  // recognises another roll type makes it the document's roll type. Each aligned run records
  // what it used in the keyword item "/auto_alignment: " and reports it as information.
  void SetAlignment(AlignmentOptions options) { alignment_options_ = std::move(options); }
  // The measurement of the latest aligned run (empty when the run was not aligned).
  const AlignmentReport& Alignment() const { return alignment_; }

  // Header edits of the "CIS File Embedded Data" display.
  void SetTitle(std::string title) { scan_.Header.Title = std::move(title); }
  void SetTempo(int tempo) { scan_.Header.Tempo = static_cast<int16_t>(tempo); }
  void SetLinesPerInch(int lpi);

 private:
  // Values of the profile the run does not use as stored (or that their dialogs would refuse):
  // one warning each, so a doubtful setting never passes unnoticed.
  void ReportProfileFindings(const RunSettings& settings);
  void PrepareRollInfoForNewFile(const RunSettings& settings);
  void Run(const RunSettings& settings);
  void RestoreLinesAndFlags(const RunSettings& settings);
  void RecordHeaderKeywords();
  // The keyword items of a scan read from a picture (document/DocumentPicture.cpp).
  void RecordPictureKeywords();
  void RecordScannerKeywords(const ScannerSettings& scanner);
  void MergeAndMirror(const RunSettings& settings);
  // Measures the prepared lines and returns the settings of an aligned run (document/
  // DocumentAlignment.cpp); the roll type and the keyword items follow.
  RunSettings Align(const RunSettings& settings);
  // The measurement's view of the prepared lines, for the roll type and the settings in force.
  AlignRequest AlignmentRequest(const RunSettings& settings) const;
  // The scanner values to place the lines with: the preset's, or, when the scan has a working
  // shaft encoder that the preset's mode ignores and Auto-Tweak (or the alignment) is on, the
  // encoder mode; otherwise that mismatch is a warning (document/DocumentPlacement.cpp).
  ScannerSettings ScannerForScan(const RunSettings& settings);
  // `settings`, or, for a twin array scan whose run may tweak (Auto-Tweak or the alignment on),
  // with the other twin values (the header's or the override's) when those join the scan's two
  // halves better at the best fit (reported as information).
  RunSettings TwinValuesForScan(const RunSettings& settings);
  // AlignScan(request) on the prepared lines, taking what the twin values' trial measured on
  // the same lines (the whole report when the request is the trial's own).
  AlignmentReport TrialOrAlign(AlignRequest& request);
  // Measures the prepared lines against the roll type in force, records the verdict in the
  // summary and warns when the notes would be wrong; returns Auto-Tweak's settings when the
  // preset asks for them and the measurement reads the roll.
  std::optional<RunSettings> CheckPlacement(const RunSettings& settings);
  // A run that converts with the measured values (Auto-Tweak, the alignment) also takes the
  // measured paper edges: runs of hole colour outside the paper are no holes for it.
  void KeepMeasuredPaper();
  // What the ranking of the library's roll types found for a run converted as the built-in
  // type: the type the holes show (information, when another), or, undecided between types one
  // of which is a reproducing type, a warning (true when it warned).
  // Names the roll type the holes show when the run keeps the built-in type; a warning when
  // the run writes an expression file that the recognised type's system would have played.
  void ReportRecognised(bool writes_expression);
  bool WarnUndecided();
  bool IsReproducingType(const std::string& name) const;
  // After the per-line pass: counts the holes off their tracks on a second thread while the
  // caller goes on (the count only reads the placed lines, the lookup map and the roll type).
  std::future<OffTrackCount> CountHolesOffTrackAside() const;
  // Warns when too many holes are off their tracks.
  void ReportHolesOnTrack(const RunSettings& settings, const OffTrackCount& count);
  // The event lists (and the histogram) from the holes of the per-line pass; no messages.
  void BuildEvents(const RunSettings& settings);
  void WriteOutputs(const RunSettings& settings);
  // The expression file from the eRoll events as the eRoll output leaves them.
  void WriteExpressionFile(const RunSettings& settings, const MidiOutputSource& source);
  // The items that let a file be traced to what made it: the scan's SHA-256, the program's
  // version and build, the digest of the run's settings (as handed to the run, before any
  // alignment) and the roll type the events were mapped with.
  void RecordProvenanceKeywords();
  void RecordOutput(const char* kind, const MidiOutputResult& result);
  // Records in the summary the messages by kind and the status they and `ended` (how the
  // opening and the run ended) decide, with the headline of the deciding message.
  void Conclude(const Result& ended);

  CountingReporter reporter_;
  FrontEndHooks& hooks_;
  KeywordList keywords_;
  HoleList holes_;
  EventList scan_image_events_;
  EventList eroll_events_;
  TrackLookupMap lookup_map_;
  CisScanData scan_;
  RollTypeDefinition roll_type_;
  RollInfo roll_info_;
  std::string scanner_mode_applied_;
  std::string output_folder_;
  bool skip_scan_image_ = false;
  bool skip_eroll_ = false;
  bool expression_doubted_ = false;  // this run warned that its expression file cannot be right
  bool histogram_wanted_ = true;
  ConversionSummary summary_;
  AlignmentOptions alignment_options_;
  AlignmentReport alignment_;
  // The twin values' trial of this run with the values it converts with: its lines were
  // prepared as the run prepares its own, so the placement check takes its measurement (and,
  // asked the same, its whole report) instead of measuring the lines again.
  std::optional<AlignmentReport> twin_trial_;
  bool nothing_read_ = false;       // the last opening failed or its header was refused: no outputs
  bool lines_are_as_read_ = false;  // Lines is an untouched copy of LinesAsRead
};

}  // namespace tarvelo
