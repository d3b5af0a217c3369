#include "document/TarveloDoc.h"

#include <cstdint>
#include <optional>

#include "cis/HeaderSummary.h"
#include "document/PictureRunSettings.h"
#include "events/EventBuilding.h"
#include "events/SpacingHistogram.h"
#include "expression/ERollNotes.h"
#include "expression/PerformExpression.h"
#include "geometry/ActiveTracking.h"
#include "geometry/DiagnosticFiles.h"
#include "geometry/ScanLinePositions.h"
#include "geometry/ScannerGeometry.h"
#include "geometry/TwinArrayMerge.h"
#include "images/ScanFile.h"
#include "midi/ERollMidi.h"
#include "midi/ExpressionMidi.h"
#include "midi/ScanImageMidi.h"
#include "rolltypes/ApplyRollType.h"
#include "settings/SettingsDigest.h"
#include "support/NumberFormat.h"
#include "support/ProgramVersion.h"
#include "support/SafeTruncate.h"
#include "support/Utf8Path.h"

namespace tarvelo {

TarveloDoc::TarveloDoc(Reporter& reporter, FrontEndHooks& hooks, RollInfo roll_info)
    : reporter_(reporter), hooks_(hooks), roll_info_(std::move(roll_info)) {}

void TarveloDoc::SetLinesPerInch(int lpi) {
  if (lpi <= 0 || lpi > INT16_MAX) lpi = 100;
  scan_.Header.LinesPerInch = static_cast<int16_t>(lpi);
  scan_.Header.RawLinesPerInch = static_cast<int16_t>(lpi);
}

Result TarveloDoc::ApplyRollType(XmlDocument& library, std::string_view name) {
  Result applied = ApplyActiveRollType(roll_type_, name, library, reporter_);
  if (!applied.ok()) reporter_.ShowMessage(MessageKind::kError, applied.message());
  return applied;
}

void TarveloDoc::ReportProfileFindings(const RunSettings& settings) {
  for (const SettingFinding& finding : settings.ProfileFindings)
    reporter_.ShowMessage(MessageKind::kWarning, finding.Message);
}

Result TarveloDoc::Load(const std::string& path, const RunSettings& settings) {
  reporter_.ResetCounts();
  ReportProfileFindings(settings);
  nothing_read_ = true;  // until the reader has accepted a header
  keywords_.Clear();
  CisOpenState state = CisOpenState::kNothingRead;
  const Result opened = OpenScanFile(path, ScanOpenOptionsFor(settings, roll_type_), scan_, reporter_, &state);
  if (state == CisOpenState::kNothingRead) {
    summary_ = ConversionSummary{};
    summary_.SettingsDigest = SettingsDigest(settings);
    summary_.Cancelled = opened.kind() == Result::Kind::kCancelled;
    Conclude(opened);
    return opened;
  }
  if (state != CisOpenState::kHeaderRefused) hooks_.SetHeaderSummary(SummarizeHeader(scan_.Header));
  if (state == CisOpenState::kRead) PrepareRollInfoForNewFile(settings);
  // Lines of a file that is not a scan are noise: the pipeline runs on none, as for a
  // refused header.
  if (state == CisOpenState::kNotAScan) scan_.Lines.Clear();
  scan_.KeepAsRead();
  lines_are_as_read_ = true;  // the first run need not copy them back
  nothing_read_ = state != CisOpenState::kRead;
  Run(SettingsForScan(settings, scan_, roll_type_));
  if (opened.ok() && !summary_.Cancelled) return Result::Ok();  // the run has concluded
  const Result ended = !opened.ok() ? opened : Result::Cancelled("stopped: " + path + " was not converted");
  Conclude(ended);
  return ended;
}

void TarveloDoc::Conclude(const Result& ended) {
  summary_.MessageCounts = reporter_.Counts();
  summary_.Status = DecideConversionStatus(ended, summary_.MessageCounts, summary_.Outputs);
  summary_.DecidingMessage = summary_.Status == ConversionStatus::kFailed ? reporter_.FirstHeadline(MessageKind::kError)
                             : summary_.Status == ConversionStatus::kConvertedWithWarnings
                                 ? reporter_.FirstHeadline(MessageKind::kWarning)
                                 : "";
}

void TarveloDoc::PrepareRollInfoForNewFile(const RunSettings& settings) {
  roll_info_.ResetForNewFile(scan_.Header);
  roll_info_.SetRollType(roll_type_.Name);
  if (!settings.Diagnostic.EmbedRollKeywordData) return;
  // A roll without an ANN file (the usual case) keeps the entries it has.
  if (settings.Diagnostic.UseAnnFile) roll_info_.ReadAnnFile(SiblingFilePath(scan_.Header.Names, ".ann")).Ignore();
  // The dialog works on a copy: Cancel leaves the entries as they were.
  RollInfo working = roll_info_;
  if (!hooks_.EditRollInfo(working)) return;
  roll_info_ = std::move(working);
  hooks_.SetReprocessPending(true);
}

void TarveloDoc::RunPipeline(const RunSettings& settings) {
  reporter_.ResetCounts();
  ReportProfileFindings(settings);
  Run(SettingsForScan(settings, scan_, roll_type_));
}

void TarveloDoc::RestoreLinesAndFlags(const RunSettings& settings) {
  if (!lines_are_as_read_) scan_.Lines = scan_.LinesAsRead;
  lines_are_as_read_ = false;
  scan_.StartRun(settings.Scanner.ForceOldCisFormat);
}

void TarveloDoc::RecordHeaderKeywords() {
  keywords_.Clear();
  keywords_.AddText("/File_Type: ScanImageMIDI");
  keywords_.AddText("/Source_File_Type: CIS file");
  keywords_.AddText("/Processing_History: CIS --> ScanImageMIDI");
  keywords_.AddKeyValue("/CIS_converted_as_type: ", roll_type_.Name);
  keywords_.AddKeyInteger("/play_tempo: ", scan_.Header.Tempo);
  keywords_.AddKeyInteger("/CIS_file_LPI: ", scan_.Header.LinesPerInch);
  RecordPictureKeywords();
}

void TarveloDoc::RecordScannerKeywords(const ScannerSettings& scanner) {
  // The values the conversion places the pixels with, not a refused preset value.
  const ScannerGeometry used = UsableScannerGeometry(scanner);
  keywords_.AddKeyInteger("/scanner_horizontal_DPI: ", used.Dpi);
  keywords_.AddKeyReal("/scanner_horizontal_offset: ", used.Offset);
  keywords_.AddKeyReal("/scanner_horizontal_stretch: ", used.Stretch);
  keywords_.AddKeyReal("/interpreted_file_AverageLPI: ", scan_.Run.InterpretedAverageLpi);
  if (scanner.TakeupAccelCorrection() > 0) {
    keywords_.AddKeyReal("/scanner_takeup_accel_correction: ", scanner.TakeupAccelCorrection(), " Pct. per foot",
                         " APPLIED");
  }
}

void TarveloDoc::MergeAndMirror(const RunSettings& settings) {
  if (scan_.Run.TwinArray) {
    MergeTwinArrays(scan_, settings.TwinArray, settings.Scanner, reporter_);
    keywords_.AddKeyValue("/Twin_Array_CIS: ",
                          "Embedded Values Used | Separation = " + std::to_string(scan_.Header.ArraySeparation) +
                              " , OverlapWidth = " + std::to_string(scan_.Header.ChangeoverPixel));
    if (settings.TwinArray.OverrideCISvalues) {
      keywords_.AddKeyValue(
          "/Twin_Array_CIS: ",
          "MANUAL OVERRIDE Values Used | Separation = " + FormatGcvt(settings.Scanner.TwinArrayVertOffset, 8) +
              " , OverlapWidth = " + FormatGcvt(settings.Scanner.TwinArrayOverlap, 8));
    }
    keywords_.AddKeyInteger("/Twin_Array_Blend_Area_Width: ", settings.TwinArray.BlendWidthInThousandths,
                            " thousandths");
  }
  // Mirroring follows the file's mirror-image flag (bit 0x40 marks a bi-colour scan, which
  // must not be mirrored) unless the user overrides it.
  const int reversal = settings.Diagnostic.OverrideImageReversal;
  if ((reversal == DiagnosticSettings::kUseCisBit && scan_.Run.MirrorImage) ||
      reversal == DiagnosticSettings::kAlwaysReverse) {
    ReverseScanLines(scan_);
  }
}

std::string TarveloDoc::OutputFolder() const {
  if (output_folder_.empty()) return scan_.Header.Names.Folder;
  const char last = output_folder_.back();
  return last == '/' || last == '\\' ? output_folder_ : output_folder_ + kPathSeparator;
}

void TarveloDoc::RecordProvenanceKeywords() {
  keywords_.AddKeyValue("/source_file_sha256: ", scan_.Header.FileSha256);
  keywords_.AddKeyValue("/converter_version: ", ProgramVersionLine());
  keywords_.AddKeyValue("/settings_digest: ", summary_.SettingsDigest);
  keywords_.AddKeyValue("/roll_type_used: ", roll_type_.Name);
}

void TarveloDoc::RecordOutput(const char* kind, const MidiOutputResult& result) {
  summary_.Outputs.push_back(OutputFileRecord{kind, result.Path, result.Outcome});
}

void TarveloDoc::BuildEvents(const RunSettings& settings) {
  const GeneralSettings& general = settings.General;
  summary_.Holes = static_cast<int>(holes_.size());
  summary_.GlitchesMerged = MergeScanGlitches(holes_, general.GlitchThresholdDistance);
  keywords_.AddKeyInteger("/scan_glitches_merged: ", summary_.GlitchesMerged, " ");
  summary_.SpecksRemoved = RemoveSpecks(holes_, roll_type_, general.SpeckThresholdLength,
                                        general.SpeckThresholdWidthPct, static_cast<int>(settings.Scanner.ScannerDPI));
  keywords_.AddKeyInteger("/specks_removed: ", summary_.SpecksRemoved, " ");
  for (const PunchedHole& hole : holes_)
    if (!hole.Removed) ++summary_.HolesKept;

  scan_image_events_ = BuildScanImageEvents(holes_, roll_type_, scan_.Header.Title, reporter_);
  eroll_events_.clear();
  summary_.ScanImageEvents = static_cast<int>(scan_image_events_.size());
  if (histogram_wanted_) {
    BuildSpacingHistogram(scan_image_events_, roll_type_, settings.Diagnostic.HistogramSameTrackOnly,
                          summary_.SpacingHistogram, reporter_);
  }
}

void TarveloDoc::WriteOutputs(const RunSettings& settings) {
  // A document without a file (nothing opened yet) has no name to give its outputs, a file
  // that could not be opened or whose header was refused has no scan lines (MIDI files written
  // for it would pass an empty conversion off as a result, and could replace the outputs of
  // an earlier file of the same name), and a stopped run writes nothing.
  if (scan_.Header.Names.Path.empty() || nothing_read_) return;
  if (reporter_.IsCancelled()) {
    summary_.Cancelled = true;
    return;
  }
  if (!settings.Outputs.LiteralRollInfo) RecordProvenanceKeywords();
  const std::string folder = OutputFolder();
  const MidiOutputSource source{folder,     scan_.Header.Names.Name, scan_.Header.Tempo, roll_type_,
                                roll_info_, settings.General,        settings.ERoll,     settings.Outputs};
  if (settings.Outputs.ScanMidi && !skip_scan_image_) {
    const MidiOutputResult result = WriteScanImageMidi(source, scan_image_events_, keywords_, reporter_);
    RecordOutput("ScanImageMIDI", result);
    if (result.Outcome.ok()) hooks_.MarkScanImageWritten();
  }
  const bool eroll = settings.Outputs.eRollMidi && !skip_eroll_;
  const bool expression = settings.Outputs.WriteExpressionMidi;
  if (!eroll && !expression) return;
  // The expression file plays the eRoll file's notes: it needs the eRoll events (and their
  // keyword items) whether or not the eRoll file is written.
  eroll_events_ = BuildERollEvents(holes_, roll_type_, scan_.Header.Title, reporter_);
  RemoveWebbing(eroll_events_, roll_type_, scan_.Header.Tempo);
  if (eroll) {
    const MidiOutputResult result = WriteERollMidi(source, eroll_events_, keywords_, reporter_);
    summary_.ERollEvents = static_cast<int>(eroll_events_.size());
    RecordOutput("eRollMIDI", result);
    if (result.Outcome.ok()) hooks_.MarkERollWritten();
  } else {
    PrepareERollFile(roll_type_, scan_.Header.Tempo, eroll_events_, keywords_);
  }
  if (expression) WriteExpressionFile(settings, source);
}

void TarveloDoc::WriteExpressionFile(const RunSettings& settings, const MidiOutputSource& source) {
  if (roll_type_.Expression.System == ExpressionSystem::kNone && !expression_doubted_) {
    reporter_.ShowMessage(MessageKind::kInformation, "The roll type \"" + roll_type_.Name +
                                                         "\" has no expression system: the expression MIDI file "
                                                         "plays the eRoll velocities.");
  }
  const RollTiming timing = ERollFileTiming(eroll_events_, settings.ERoll, scan_.Header.Tempo);
  const ExpressionPerformance performance = PerformExpression(roll_type_, ERollNotes(eroll_events_, timing), timing,
                                                              settings.ERoll.IncludeTrack18SustainPedal);
  const MidiOutputResult result = WriteExpressionMidi(source, eroll_events_, keywords_, performance, timing, reporter_);
  RecordOutput("ExpressionMIDI", result);
  if (result.Outcome.ok()) hooks_.MarkExpressionWritten();
}

void TarveloDoc::Run(const RunSettings& given) {
  summary_ = ConversionSummary{};
  summary_.SettingsDigest = SettingsDigest(given);
  expression_doubted_ = false;
  twin_trial_.reset();
  // The settings handed in, or for a twin array scan under Auto-Tweak the twin values that join
  // its halves better.
  const RunSettings settings = TwinValuesForScan(given);
  reporter_.SetStatusText("Processing Raw CIS Data");
  hooks_.RefreshControlBar(scan_.Header.Names.NameWithExtension, scan_.Header.Title);
  RecordHeaderKeywords();
  RestoreLinesAndFlags(settings);

  reporter_.SetStatusText("Computing Scan Line Positions");
  const ScannerSettings scanner = ScannerForScan(settings);
  // Lines placed by the encoder are not the lines the twin values' trial measured.
  if (scanner.ScannerModeType != settings.Scanner.ScannerModeType) twin_trial_.reset();
  summary_.ScannerMode = scanner.ScannerModeType;
  scanner_mode_applied_ = ComputeScanLinePositions(scan_, scanner, settings.Diagnostic, reporter_);
  keywords_.AddKeyValue("/scanner_processing_type: ", scanner_mode_applied_);
  RecordScannerKeywords(settings.Scanner);

  MergeAndMirror(settings);
  // An aligned run goes on with the settings the scan's measurement suggests; any other run
  // checks that the settings place the holes on their tracks, and with Auto-Tweak on goes on
  // with the measured settings when the measurement reads the roll.
  alignment_ = AlignmentReport{};
  std::optional<RunSettings> aligned;
  if (alignment_options_.Align)
    aligned = Align(settings);
  else
    aligned = CheckPlacement(settings);
  const RunSettings& run = aligned ? *aligned : settings;
  ProcessScanLines(scan_, roll_type_, run.Scanner, run.Tracking, run.Diagnostic.WriteTrackLookUpMapFile, lookup_map_,
                   holes_, keywords_, reporter_);
  // The off-track count and the event lists both start from the per-line pass and neither
  // changes what the other reads: they are worked out side by side. Building the events
  // reports no messages, so the messages come in the order of the steps all the same.
  std::future<OffTrackCount> off_track = CountHolesOffTrackAside();
  keywords_.AddKeyInteger("/Twin_Array_Crossover_Track: ", lookup_map_.ClosestTrackAt(scan_.Run.CrossoverPixel), " ");
  summary_.Lines = scan_.Lines.Size();
  BuildEvents(run);
  ReportHolesOnTrack(run, off_track.get());
  if (settings.Diagnostic.WriteCISrawTransitionFile) {
    WriteCisDiagnosticFile(scan_, TruncToInt32(lookup_map_.Dpi), reporter_).Ignore();
  }
  WriteOutputs(run);

  Conclude(summary_.Cancelled ? Result::Cancelled("stopped before the outputs were written") : Result::Ok());
  // The run has finished: full progress, "Ready", and the window back to idle.
  reporter_.SetProgress(kProgressFinished, 100);
  reporter_.SetStatusText("Ready");
  hooks_.SetReprocessPending(false);
}

}  // namespace tarvelo
