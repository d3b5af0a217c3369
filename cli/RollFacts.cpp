#include "cli/RollFacts.h"

#include <cstdlib>

#include "cli/RollMeasures.h"
#include "document/TarveloDoc.h"
#include "support/NumberFormat.h"

namespace tarvelo::cli {

namespace {

std::string Values(const ScannerSetting& setting) {
  return "DPI " + std::to_string(setting.Dpi) + ", offset " + FormatFixed(setting.Offset, 4) + ", stretch " +
         FormatFixed(setting.Stretch, 4);
}

std::string FindingName(const PlacementVerdict& verdict) {
  switch (verdict.Finding) {
    case PlacementFinding::kRight:
      return "right";
    case PlacementFinding::kTracksOff:
      return std::to_string(std::abs(verdict.TracksOff)) + (std::abs(verdict.TracksOff) == 1 ? " track" : " tracks") +
             (verdict.TracksOff < 0 ? " low" : " high");
    case PlacementFinding::kDpiMisfit:
      return "DPI misfit";
    case PlacementFinding::kNoHoles:
      return "no holes";
    case PlacementFinding::kUnreadable:
      return "unchecked";
  }
  return "";
}

std::string AlignmentUsed(const TarveloDoc& doc, const AlignmentOptions& options) {
  const ConversionSummary& summary = doc.Summary();
  if (!options.Align && !summary.AutoTweak.empty()) return "auto-tweaked: " + Values(summary.AlignedWith);
  if (!options.Align) return "preset";
  const RollTypeFit& suggestion = doc.Alignment().Suggestion;
  if (!suggestion.Fit.Found) return "none (no holes measured); preset";
  return "aligned: " + Values(summary.AlignedWith);
}

}  // namespace

RollFacts RollFactsOf(const TarveloDoc& doc, const AlignmentOptions& alignment, int off_track_limit_percent) {
  RollFacts facts;
  const CisScanData& scan = doc.ScanData();
  facts.Sha256 = scan.Header.FileSha256;
  facts.OffTrackLimitPercent = off_track_limit_percent;
  facts.ScanRead = !scan.LinesAsRead.Empty();
  if (!facts.ScanRead) return facts;
  const RollInfo& info = doc.RollInformation();
  for (const RollInfo::Field& field : RollInfo::Fields()) {
    if (field.entry == &RollInfo::RollType) continue;
    facts.RollInformation.emplace_back(field.name, info.HoldsPlaceholder(field) ? "" : info.*field.entry);
  }
  facts.ScannerType = scan.Header.ScannerType;
  const RollMeasures measures = MeasureRoll(scan);
  facts.Feet = measures.feet;
  facts.Minutes = measures.minutes;
  const ConversionSummary& summary = doc.Summary();
  // The lookup map is made by the per-line pass: a run that ended before it has placed nothing.
  if (summary.Lines > 0) {
    facts.Dpi = doc.LookupMap().Dpi;
    facts.RollTypeUsed = doc.RollTypeName();
    facts.Alignment = AlignmentUsed(doc, alignment);
    if (alignment.RecogniseRollType) {
      const RollTypeRanking& ranking = doc.Alignment().Ranking;
      facts.RollTypeRecognised = ranking.Decided ? ranking.Recognised : "undecided";
      if (ranking.Decided && !ranking.Ranked.empty()) facts.RecognitionScore = ranking.Ranked.front().Score;
    }
  }
  // An auto-tweaked run placed its holes with the measured values, not the preset's.
  if (summary.PlacementChecked) facts.Placement = summary.AutoTweak.empty() ? FindingName(summary.Placement) : "right";
  facts.HolesMeasured = summary.HolesMeasured;
  facts.HolesOffTrack = summary.HolesOffTrack;
  return facts;
}

double HolesOnTrackPercent(const RollFacts& facts) {
  if (facts.HolesMeasured <= 0) return -1;
  return 100.0 * (facts.HolesMeasured - facts.HolesOffTrack) / facts.HolesMeasured;
}

std::string PlacementColumn(const RollFacts& facts) {
  if (!facts.Placement.empty() && facts.Placement != "right") return facts.Placement;
  if (facts.HolesMeasured <= 0) return "";
  const bool off = 100.0 * facts.HolesOffTrack > static_cast<double>(facts.OffTrackLimitPercent) * facts.HolesMeasured;
  return off ? "off track" : "on track";
}

}  // namespace tarvelo::cli
