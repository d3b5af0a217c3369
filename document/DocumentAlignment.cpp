// The document's alignment of a run to its scan, and the check that the run's holes lie on
// their tracks.
#include <cmath>
#include <future>
#include <string>
#include <system_error>

#include "align/OffTrackCheck.h"
#include "align/PaperOnLines.h"
#include "align/PlacementVerdict.h"
#include "align/PrepareScan.h"
#include "document/TarveloDoc.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

std::string Percent(double share) { return FormatFixed(100 * share, 2) + " %"; }

}  // namespace

RunSettings TarveloDoc::Align(const RunSettings& settings) {
  RunSettings aligned = settings;
  AlignRequest request = AlignmentRequest(settings);
  request.Recognise = alignment_options_.RecogniseRollType;
  for (const RollTypeDefinition& type : alignment_options_.Library) request.Library.push_back(&type);
  alignment_ = TrialOrAlign(request);
  // Undecided, with a reproducing type among the candidates, and left as the built-in type: a
  // warning in place of the information.
  const bool undecided_warned = alignment_options_.RecogniseRollType && WarnUndecided();
  for (const AlignmentNote& note : alignment_.Notes) {
    if (note.AboutSettingsInForce) continue;
    if (undecided_warned && note.Text.rfind("The roll type is undecided", 0) == 0) continue;
    reporter_.ShowMessage(note.Kind, note.Text);
  }

  const RollTypeFit& suggestion = alignment_.Suggestion;
  if (!suggestion.Fit.Found) {
    keywords_.AddKeyValue("/auto_alignment: ", "none (no holes measured); the preset's values are used");
    return aligned;
  }
  // The recognised roll type (one of the library's) becomes the one in use.
  std::string type_note = "in use";
  if (alignment_options_.RecogniseRollType) {
    if (alignment_.Ranking.Decided) {
      type_note = "recognised";
      for (const RollTypeDefinition& type : alignment_options_.Library) {
        if (type.Name != alignment_.Ranking.Recognised) continue;
        roll_type_ = type;
        roll_info_.SetRollType(roll_type_.Name);
        keywords_.AddKeyValue("/CIS_converted_as_type: ", roll_type_.Name);
        break;
      }
    } else {
      type_note = "in use; the holes do not decide the roll type";
    }
  }
  KeepMeasuredPaper();
  // Converted as Auto-Tweak converts: from where the paper lies at the roll's start when tracking.
  const ScannerSetting used_setting =
      ConversionSetting(suggestion.Fit.Setting, alignment_.Measurement, settings.Scanner.ActiveTracking);
  summary_.AlignedWith = used_setting;
  aligned.Scanner.ScannerDPI = used_setting.Dpi;
  aligned.Scanner.ScannerOffset = used_setting.Offset;
  aligned.Scanner.ScannerAlignStretch = used_setting.Stretch;
  RecordScannerKeywords(aligned.Scanner);  // in place of the preset's values

  const std::string used =
      "DPI " + std::to_string(used_setting.Dpi) + " | offset " + FormatFixed(used_setting.Offset, 4) + " | stretch " +
      FormatFixed(used_setting.Stretch, 4) + " | roll type " + roll_type_.Name + " (" + type_note + ") | on track " +
      Percent(suggestion.Fit.Count.Share()) + " (preset " + Percent(suggestion.Before.Share()) + ")";
  keywords_.AddKeyValue("/auto_alignment: ", used);
  reporter_.ShowMessage(MessageKind::kInformation, "Aligned to the scan: " + used);
  return aligned;
}

void TarveloDoc::KeepMeasuredPaper() { scan_.Run.PaperOnLines = PaperOnLines(alignment_.Measurement, scan_.Lines); }

std::future<OffTrackCount> TarveloDoc::CountHolesOffTrackAside() const {
  auto count = [this] { return CountOffTrackHoles(scan_, lookup_map_, roll_type_); };
  try {
    return std::async(std::launch::async, count);
  } catch (const std::system_error&) {
    // No thread to be had: count here and now.
    return std::async(std::launch::deferred, count);
  }
}

void TarveloDoc::ReportHolesOnTrack(const RunSettings& settings, const OffTrackCount& count) {
  if (scan_.Lines.Empty()) return;
  summary_.HolesMeasured = count.Holes;
  summary_.HolesOffTrack = count.OffTrack;
  const int limit = settings.Diagnostic.OffTrackWarningPercent;
  if (count.Holes == 0 || limit >= 100 || 100.0 * count.OffTrack <= static_cast<double>(limit) * count.Holes) return;
  // The placement warning has said why already.
  if (summary_.PlacementWarned) return;
  const std::string text = FormatFixed(100 * count.Share(), 1) +
                           " % of the holes lie more than 0.3 of a track spacing from their track's centre (roll "
                           "type \"" +
                           roll_type_.Name + "\", scanner offset " + FormatGcvt(lookup_map_.OffsetInches, 8) +
                           " inch): the settings do not fit this scan. " + std::string(hooks_.AlignAdvice());
  reporter_.Notice(hooks_.ShowOffTrackNotice(text), MessageKind::kWarning, text);
}

}  // namespace tarvelo
