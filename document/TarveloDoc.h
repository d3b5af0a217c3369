#pragma once
// The conversion document: one opened CIS file and everything computed from it. Loading
// checks the file name, reads the file and runs the pipeline once; RunPipeline is the one
// place that orders the conversion stages, and may be run again ("Re-Process") after a
// settings change: every run starts again from the lines as read.

#include <string>
#include <string_view>

#include "cis/CisReader.h"
#include "cis/CisScanData.h"
#include "cis/RollInfo.h"
#include "document/ConversionSummary.h"
#include "keywords/KeywordList.h"
#include "events/TrackEventArrays.h"
#include "geometry/TrackLookupMap.h"
#include "rolltypes/RollTypeDefinition.h"
#include "xml/XmlDocument.h"
#include "services/UiServices.h"

namespace tarvelo {

struct MidiOutputResult;

enum class LoadStatus {
  kLoaded,        // read and converted (possibly with damaged lines reported)
  kRefused,       // the header was refused (width or line count); the pipeline ran on no lines
  kWrongType,     // not a ".cis" file: nothing read
  kUnreadable,    // the file could not be read, or is shorter than a CIS header
};

class TarveloDoc {
 public:
  explicit TarveloDoc(UiServices& ui);

  // Opens `path`: name checks, reading, the pristine copy of the lines, and one pipeline run.
  LoadStatus Load(const std::string& path);
  // Runs every conversion stage in order on the current scan data.
  void RunPipeline();

  const CisScanData& ScanData() const { return scan_; }
  CisScanData& ScanData() { return scan_; }
  const KeywordList& Keywords() const { return keywords_; }
  // The roll information embedded into the outputs; kept from file to file (its template
  // entries carry over), reset for each newly read file.
  const RollInfo& RollInformation() const { return roll_info_; }
  RollInfo& RollInformation() { return roll_info_; }
  // The holes found by the latest run and the events built from them.
  const TrackEventArrays& TrackEvents() const { return track_events_; }
  TrackEventArrays& TrackEvents() { return track_events_; }
  // The pixel-to-track map of the latest run.
  const TrackLookupMap& LookupMap() const { return lookup_map_; }

  const std::string& FileName() const { return file_name_; }
  const std::string& FolderName() const { return folder_name_; }
  const std::string& FilePath() const { return file_path_; }
  const std::string& FileExtension() const { return file_extension_; }
  const std::string& FileNameWithExtension() const { return file_name_with_extension_; }
  const std::string& LastErrorText() const { return last_error_text_; }
  const std::string& ScannerModeApplied() const { return scanner_mode_applied_; }

  // The roll type in use; it starts at the "Fail-Safe" values and changes only when a front
  // end applies a roll type. Conversions read the values it holds when they run.
  const RollTypeDefinition& RollType() const { return roll_type_; }
  RollTypeDefinition& RollType() { return roll_type_; }
  // Name of the roll type in use.
  const std::string& RollTypeName() const { return roll_type_.Name; }
  // Fills the roll type from the parsed roll type library: roll type `name`, or the profile's
  // active roll type name. An unknown name leaves the "Fail-Safe" values (with a message) and
  // returns false. The next pipeline run uses the new values.
  bool ApplyRollType(XmlDocument& library, std::string_view name);
  bool ApplyActiveRollType(XmlDocument& library);

  // Where the MIDI outputs go: `folder` (a separator is added when it has none), or, when
  // empty (the default), the input file's folder (FolderName).
  void SetOutputFolder(std::string folder) { output_folder_ = std::move(folder); }
  const std::string& OutputFolderOverride() const { return output_folder_; }
  // The folder, ending in a separator, the next run writes to.
  std::string OutputFolder() const;
  // A document that has not opened a file writes no MIDI files.
  // Leave out one MIDI output on the following runs, whatever the profile's "OutputFiles"
  // switch says: an output is written when its switch is on and it is not skipped.
  void SetScanImageMidiSkipped(bool skipped) { skip_scan_image_ = skipped; }
  void SetERollMidiSkipped(bool skipped) { skip_eroll_ = skipped; }
  // Path of the last MIDI file the pipeline set out to write ("" before any).
  const std::string& OutputPath() const { return output_path_; }
  // What the latest pipeline run did.
  const ConversionSummary& Summary() const { return summary_; }

  // Header edits of the "CIS File Embedded Data" display.
  void SetTitle(std::string title) { scan_.Title = std::move(title); }
  void SetTempo(int tempo) { scan_.Tempo = static_cast<int16_t>(tempo); }
  void SetLinesPerInch(int lpi);

 private:
  void RestoreLinesAndFlags();
  void RecordHeaderKeywords();
  void BuildEventsAndWriteOutputs();
  void RecordOutput(const char* kind, const MidiOutputResult& result);

  UiServices& ui_;
  KeywordList keywords_;
  TrackEventArrays track_events_;
  TrackLookupMap lookup_map_;
  std::string file_name_;
  std::string folder_name_;
  std::string file_path_;
  std::string file_extension_;
  std::string file_name_with_extension_;
  std::string last_error_text_;
  CisScanData scan_;
  RollTypeDefinition roll_type_;
  RollInfo roll_info_;
  std::string scanner_mode_applied_;
  std::string output_folder_;
  bool skip_scan_image_ = false;
  bool skip_eroll_ = false;
  std::string output_path_;
  ConversionSummary summary_;
  bool header_refused_ = false;     // the reader refused the file's header: no lines, no outputs
  bool lines_are_as_read_ = false;  // Lines is an untouched copy of LinesAsRead
};

}  // namespace tarvelo
