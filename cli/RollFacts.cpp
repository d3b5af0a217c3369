#include "cli/RollFacts.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "cli/RollMeasures.h"
#include "document/TarveloDoc.h"
#include "support/NumberFormat.h"
#include "support/Sha256.h"
#include "support/Utf8Path.h"

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
  facts.Sha256 = scan.FileSha256;
  facts.OffTrackLimitPercent = off_track_limit_percent;
  facts.ScanRead = !scan.LinesAsRead.Empty();
  if (!facts.ScanRead) return facts;
  const RollInfo& info = doc.RollInformation();
  for (const RollInfo::Field& field : RollInfo::Fields()) {
    if (field.entry == &RollInfo::RollType) continue;
    facts.RollInformation.emplace_back(field.name, info.HoldsPlaceholder(field) ? "" : info.*field.entry);
  }
  facts.ScannerType = scan.ScannerType;
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

std::string FileSha256(const std::string& path) {
  // Only a regular file: opening a FIFO or a device named as a scan would wait for a writer
  // or read without end.
  std::error_code error;
  if (!std::filesystem::is_regular_file(PathFromUtf8(path), error)) return "";
  std::ifstream file(PathFromUtf8(path), std::ios::binary);
  if (!file) return "";
  Sha256 hash;
  std::string piece(1 << 16, '\0');
  while (file) {
    file.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    hash.Update(piece.data(), static_cast<size_t>(file.gcount()));
  }
  if (file.bad()) return "";
  return hash.HexDigest();
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
