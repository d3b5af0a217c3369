#include "document/TarveloDoc.h"

#include <cstdint>

#include "events/EventBuilding.h"
#include "events/SpacingHistogram.h"
#include "geometry/ActiveTracking.h"
#include "geometry/DiagnosticFiles.h"
#include "geometry/ScanLinePositions.h"
#include "geometry/TwinArrayMerge.h"
#include "midi/ERollMidi.h"
#include "midi/ScanImageMidi.h"
#include "rolltypes/ApplyRollType.h"
#include "settings/GeneralSettings.h"
#include "support/AtomicFile.h"
#include "support/NumberFormat.h"
#include "support/SafeTruncate.h"

namespace tarvelo {

TarveloDoc::TarveloDoc(UiServices& ui) : ui_(ui), roll_info_(ui.Profile()) {}

void TarveloDoc::SetLinesPerInch(int lpi) {
  if (lpi <= 0 || lpi > INT16_MAX) lpi = 100;
  scan_.LinesPerInch = static_cast<int16_t>(lpi);
  scan_.RawLinesPerInch = static_cast<int16_t>(lpi);
}

bool TarveloDoc::ApplyRollType(XmlDocument& library, std::string_view name) {
  return ::tarvelo::ApplyActiveRollType(roll_type_, name, library, ui_);
}

bool TarveloDoc::ApplyActiveRollType(XmlDocument& library) {
  return ::tarvelo::ApplyActiveRollType(roll_type_, library, ui_);
}

LoadStatus TarveloDoc::Load(const std::string& path) {
  header_refused_ = false;
  file_name_with_extension_.clear();
  scan_.Reset();
  keywords_.Clear();

  // Names: the file name with extension, its last three characters lower-cased, the folder
  // with its trailing separator, and the name up to its first ".".
  const size_t slash = path.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  file_name_with_extension_ = name;
  file_extension_ = name.size() >= 3 ? name.substr(name.size() - 3) : name;
  for (char& c : file_extension_)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  file_path_ = path;
  folder_name_ = path.substr(0, path.size() - name.size());
  file_name_ = name.substr(0, name.find('.'));
  scan_.FileName = file_name_;
  scan_.FolderName = folder_name_;
  scan_.FileExtension = file_extension_;

  if (file_extension_ != "cis") {
    last_error_text_ = "*** Invalid File Type *** CIS files only - ";
    ui_.ShowMessage(last_error_text_);
    return LoadStatus::kWrongType;
  }

  ui_.RefreshControlBar(file_name_with_extension_, scan_.Title);
  std::string bytes, error;
  if (!ReadWholeFile(path, bytes, error)) {
    last_error_text_ = "Unable to read the file: " + error;
    return LoadStatus::kUnreadable;
  }
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const CisReadResult result = ReadCisFile({data, bytes.size()}, scan_, ui_, last_error_text_);
  if (result == CisReadResult::kTooShort) {
    last_error_text_ = "The file is too short to be a CIS file: " + std::to_string(bytes.size()) +
                       " bytes, the header alone takes 52.";
    scan_.Reset();
    return LoadStatus::kUnreadable;
  }
  std::string().swap(bytes);
  if (result == CisReadResult::kRead) PrepareRollInfoForNewFile(roll_info_, scan_, roll_type_.Name, ui_);

  scan_.LinesAsRead = scan_.Lines;
  scan_.SavedScanWidth = scan_.ScanWidth;
  scan_.SavedTwinArray = scan_.TwinArray;
  scan_.SavedReverseImage = scan_.ReverseImage;
  scan_.SavedMirrorImage = scan_.MirrorImage;
  lines_are_as_read_ = true;  // the first run need not copy them back
  header_refused_ = result == CisReadResult::kRefused;
  RunPipeline();
  return header_refused_ ? LoadStatus::kRefused : LoadStatus::kLoaded;
}

void TarveloDoc::RestoreLinesAndFlags() {
  if (!lines_are_as_read_) scan_.Lines = scan_.LinesAsRead;
  lines_are_as_read_ = false;
  scan_.ImageMirrored = false;
  scan_.ReverseImage = scan_.SavedReverseImage;
  scan_.ScanWidth = scan_.SavedScanWidth;
  scan_.TwinArray = scan_.SavedTwinArray;
  scan_.MirrorImage = scan_.SavedMirrorImage;
  if (ui_.IsOldCisFormatForced()) {
    scan_.TwinArray = false;
    scan_.ReverseImage = false;
    scan_.MirrorImage = false;
  }
}

void TarveloDoc::RecordHeaderKeywords() {
  keywords_.Clear();
  keywords_.AddText("/File_Type: ScanImageMIDI");
  keywords_.AddText("/Source_File_Type: CIS file");
  keywords_.AddText("/Processing_History: CIS --> ScanImageMIDI");
  keywords_.AddKeyValue("/CIS_converted_as_type: ", roll_type_.Name);
  keywords_.AddKeyInteger("/play_tempo: ", scan_.Tempo);
  keywords_.AddKeyInteger("/CIS_file_LPI: ", scan_.LinesPerInch);
}

std::string TarveloDoc::OutputFolder() const {
  if (output_folder_.empty()) return folder_name_;
  const char last = output_folder_.back();
  return last == '/' || last == '\\' ? output_folder_ : output_folder_ + "/";
}

void TarveloDoc::RecordOutput(const char* kind, const MidiOutputResult& result) {
  summary_.Outputs.push_back(OutputFileRecord{kind, result.Path, result.Written, result.Error});
}

namespace {

int CountEvents(const TrackEventArrays& events) {
  int count = 0;
  for (const TrackEvent& event : events.Events())
    if (event.Type != kEventEmpty) ++count;
  return count;
}

}  // namespace

void TarveloDoc::BuildEventsAndWriteOutputs() {
  // The hole clean-up, with the thresholds of the session's settings (changed through the
  // settings dialog, which also saves them), not re-read from the profile.
  const GeneralSettings& general = ui_.Settings().general;
  summary_.Holes = track_events_.HoleCount();
  summary_.GlitchesMerged = MergeScanGlitches(track_events_, general.GlitchThresholdDistance);
  keywords_.AddKeyInteger("/scan_glitches_merged: ", summary_.GlitchesMerged, " ");
  summary_.SpecksRemoved = RemoveSpecks(track_events_, roll_type_, general.SpeckThresholdLength,
                                        general.SpeckThresholdWidthPct, ui_.GetScannerDpi());
  keywords_.AddKeyInteger("/specks_removed: ", summary_.SpecksRemoved, " ");
  for (const PunchedHole& hole : track_events_.Holes())
    if (!hole.Removed) ++summary_.HolesKept;

  BuildScanImageEvents(track_events_, roll_type_, scan_.Title, ui_);
  summary_.ScanImageEvents = CountEvents(track_events_);
  if (ui_.WantsSpacingHistogram()) BuildSpacingHistogram(track_events_, roll_type_, ui_);

  // A document without a file (nothing opened yet) has no name to give its outputs, and a
  // file whose header was refused has no scan lines: MIDI files written for it would pass an
  // empty conversion off as a result.
  if (file_path_.empty() || header_refused_) return;
  const std::string folder = OutputFolder();
  const MidiOutputSource source{folder, file_name_, scan_.Tempo, roll_type_, roll_info_};
  if (ui_.IsScanMidiOn() && !skip_scan_image_) {
    const MidiOutputResult result = WriteScanImageMidi(source, track_events_, keywords_, ui_);
    output_path_ = result.Path;
    RecordOutput("ScanImageMIDI", result);
    if (result.Written) ui_.MarkScanImageWritten();
  }
  if (ui_.IsERollMidiOn() && !skip_eroll_) {
    BuildERollEvents(track_events_, roll_type_, scan_.Title, ui_);
    RemoveWebbing(track_events_, roll_type_, scan_.Tempo);
    const MidiOutputResult result = WriteERollMidi(source, track_events_, keywords_, ui_);
    summary_.ERollEvents = CountEvents(track_events_);
    output_path_ = result.Path;
    RecordOutput("eRollMIDI", result);
    if (result.Written) ui_.MarkERollWritten();
  }
}

void TarveloDoc::RunPipeline() {
  summary_ = ConversionSummary{};
  ui_.SetStatusText("Processing Raw CIS Data");
  ui_.RefreshControlBar(file_name_with_extension_, scan_.Title);
  RecordHeaderKeywords();
  RestoreLinesAndFlags();

  ui_.SetStatusText("Computing Scan Line Positions");
  scanner_mode_applied_ = ComputeScanLinePositions(scan_, ui_);
  keywords_.AddKeyValue("/scanner_processing_type: ", scanner_mode_applied_);

  keywords_.AddKeyInteger("/scanner_horizontal_DPI: ", ui_.GetScannerDpi());
  keywords_.AddKeyReal("/scanner_horizontal_offset: ", ui_.GetScannerOffset());
  keywords_.AddKeyReal("/scanner_horizontal_stretch: ", ui_.GetScannerStretch());
  keywords_.AddKeyReal("/interpreted_file_AverageLPI: ", scan_.InterpretedAverageLpi);
  if (ui_.GetTakeupAccelCorrection() > 0) {
    keywords_.AddKeyReal("/scanner_takeup_accel_correction: ", ui_.GetTakeupAccelCorrection(), " Pct. per foot",
                         " APPLIED");
  }

  if (scan_.TwinArray) {
    MergeTwinArrays(scan_, ui_);
    const TwinArraySettings& twin = ui_.Settings().twin_array;
    keywords_.AddKeyValue("/Twin_Array_CIS: ", "Embedded Values Used | Separation = " +
                                                   std::to_string(scan_.ArraySeparation) + " , OverlapWidth = " +
                                                   std::to_string(scan_.ChangeoverPixel));
    if (twin.OverrideCISvalues) {
      keywords_.AddKeyValue("/Twin_Array_CIS: ", "MANUAL OVERRIDE Values Used | Separation = " +
                                                     FormatGcvt(ui_.GetTwinArrayVertOffset(), 8) +
                                                     " , OverlapWidth = " + FormatGcvt(ui_.GetTwinArrayOverlap(), 8));
    }
    keywords_.AddKeyInteger("/Twin_Array_Blend_Area_Width: ", twin.BlendWidthInThousandths, " thousandths");
  }
  // Mirroring follows the file's mirror-image flag (bit 0x40 marks a bi-colour scan, which
  // must not be mirrored) unless the user overrides it.
  const int reversal = ui_.Settings().diagnostic.OverrideImageReversal;
  if ((reversal == DiagnosticSettings::kUseCisBit && scan_.MirrorImage) ||
      reversal == DiagnosticSettings::kAlwaysReverse) {
    ReverseScanLines(scan_);
  }

  ProcessScanLines(scan_, roll_type_, lookup_map_, track_events_, keywords_, ui_);
  if (ui_.Settings().diagnostic.WriteCISrawTransitionFile) {
    WriteCisDiagnosticFile(scan_, TruncToInt32(lookup_map_.Dpi), ui_);
  }
  keywords_.AddKeyInteger("/Twin_Array_Crossover_Track: ", lookup_map_.ClosestTrackAt(scan_.CrossoverPixel), " ");
  summary_.Lines = scan_.Lines.Size();

  BuildEventsAndWriteOutputs();

  ui_.SetReprocessPending(false);
}

}  // namespace tarvelo
