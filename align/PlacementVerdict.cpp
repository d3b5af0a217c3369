#include "align/PlacementVerdict.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

// Holes moved this many tracks or more from their own land on another track.
constexpr double kWrongTrack = 0.5;
// The bass and treble ends of the holes: these quantiles of their centres (a stray speck at
// either end does not decide).
constexpr double kBassQuantile = 0.05;
constexpr double kTrebleQuantile = 0.95;
// Fewer holes than this cannot show where a roll's tracks lie (a real roll has thousands): the
// check then makes no claim either way.
constexpr size_t kFewestHoles = 30;

double Place(double pixel, const ScannerSetting& setting) {
  return pixel * setting.Stretch / setting.Dpi + setting.Offset;
}

std::string Inches(double value) { return FormatGcvt(std::round(value * 100) / 100, 4); }

std::string Tracks(int tracks) {
  const int n = std::abs(tracks);
  return n == 1 ? "1 track (a semitone)" : std::to_string(n) + " tracks (" + std::to_string(n) + " semitones)";
}

void NoteEdge(const AlignmentReport& report, double wander, PlacementVerdict& verdict) {
  const PaperEdges& edges = report.Measurement.Edges;
  const TrackLayout& layout = report.InForceType.Layout;
  if ((!edges.LowerFound && !edges.UpperFound) || verdict.InForce.Dpi < 1) return;
  verdict.EdgeShown = true;
  verdict.BassEdge = edges.LowerFound;
  verdict.EdgeAt = Place((edges.LowerFound ? edges.Lower : edges.Upper) + wander, verdict.InForce);
  verdict.EdgeExpected = edges.LowerFound ? layout.LowerEdge : layout.UpperEdge;
}

}  // namespace

ScannerSetting ConversionSetting(const ScannerSetting& fitted, const ScanMeasurement& measurement, bool tracking) {
  ScannerSetting setting = fitted;
  // The holes' centres are measured with the wander taken out (at the paper's median place).
  if (tracking && fitted.Dpi >= 1) setting.Offset -= measurement.StartWander * fitted.Stretch / fitted.Dpi;
  return setting;
}

PlacementVerdict JudgePlacement(const AlignmentReport& report, bool tracking) {
  PlacementVerdict verdict;
  const RollTypeFit& type = report.InForceType;
  verdict.RollType = type.Name;
  verdict.InForce = report.InForce;
  verdict.HeaderDpi = report.HeaderDpi;
  const double start_wander = tracking ? report.Measurement.StartWander : 0.0;
  verdict.InForceShare = type.Before.Share();
  if (start_wander != 0 && verdict.InForce.Dpi >= 1 && type.Layout.IsUsable()) {
    // The measured centres lie at the paper's median place; a tracked conversion places the
    // paper's start with the settings in force.
    ScannerSetting median = verdict.InForce;
    median.Offset += start_wander * median.Stretch / median.Dpi;
    verdict.InForceShare = CountOnTrack(report.Measurement, type.Layout, median).Share();
  }
  NoteEdge(report, start_wander, verdict);

  const TrackFit& fit = type.Fit;
  std::vector<double> centers;
  if (fit.Found) {
    for (const MeasuredHole& hole : report.Measurement.Holes)
      if (IsPlausibleHole(hole, fit.Setting.Dpi)) centers.push_back(hole.Center);
  }
  if (report.Measurement.Holes.empty() || (fit.Found && centers.empty())) {
    verdict.Finding = PlacementFinding::kNoHoles;
    verdict.Unreadable = "no holes were found in the scan";
    return verdict;
  }
  if (centers.size() < kFewestHoles) {
    verdict.Unreadable = "too few holes to measure (" + std::to_string(centers.size()) + ")";
    return verdict;
  }
  if (!fit.Found || type.Layout.Spacing <= 0) {
    verdict.Finding = PlacementFinding::kUnreadable;
    verdict.Unreadable = "its tracks cannot be fitted to the holes";
    return verdict;
  }
  verdict.Fitted = ConversionSetting(fit.Setting, report.Measurement, tracking);
  verdict.FittedShare = fit.Count.Share();
  verdict.Confident = verdict.FittedShare >= kReadableShare;
  if (!verdict.Confident) {
    verdict.Finding = PlacementFinding::kUnreadable;
    verdict.Unreadable =
        "the best fit of its tracks puts only " + FormatFixed(100 * verdict.FittedShare, 1) + " % of the holes on them";
    return verdict;
  }
  // Where the settings in force put a hole, against where the fit puts it, in tracks. The
  // difference is linear across the roll, so its values at the ends of the holes tell both a
  // shift (equal at both ends) and a scale that does not fit (unequal).
  const auto shift = [&](double pixel) {
    return (Place(pixel, verdict.InForce) - Place(pixel, verdict.Fitted)) / type.Layout.Spacing;
  };
  const auto quantile = [&](double q) {
    return centers[static_cast<size_t>(q * static_cast<double>(centers.size() - 1))];
  };
  if (verdict.InForce.Dpi < 1) {
    verdict.Finding = PlacementFinding::kDpiMisfit;
    return verdict;
  }
  verdict.BassShift = shift(quantile(kBassQuantile));
  verdict.TrebleShift = shift(quantile(kTrebleQuantile));
  const double middle = shift(quantile(0.5));
  // A DPI that is not the scan's spreads the holes wrongly, whatever else is off; with the DPI
  // right, notes whole tracks off are the first thing to mend (and what a user hears); a
  // stretch that does not fit shows when the middle of the roll is right but its ends are not.
  const bool spread_wrong = std::abs(verdict.TrebleShift - verdict.BassShift) >= kWrongTrack;
  if (spread_wrong && (verdict.Fitted.Dpi != verdict.InForce.Dpi || std::abs(middle) < kWrongTrack)) {
    verdict.Finding = PlacementFinding::kDpiMisfit;
  } else if (std::abs(middle) >= kWrongTrack) {
    verdict.Finding = PlacementFinding::kTracksOff;
    verdict.TracksOff = static_cast<int>(std::lround(middle));
    if (!fit.LowerEdgeFound && !fit.UpperEdgeFound) {
      // Only a paper edge tells fits a whole number of tracks apart: without one the fit may be
      // the one that is off.
      verdict.Finding = PlacementFinding::kUnreadable;
      verdict.Confident = false;
      verdict.Unreadable = "neither paper edge shows, so notes placed whole tracks off cannot be told from right ones";
    }
  }
  return verdict;
}

namespace {

std::string Finding(const PlacementVerdict& verdict) {
  switch (verdict.Finding) {
    case PlacementFinding::kRight:
      return "";
    case PlacementFinding::kNoHoles:
      return "No holes were found in the scan: the MIDI files hold no notes of the roll";
    case PlacementFinding::kUnreadable:
      return "The notes cannot be checked against the tracks of the roll type \"" + verdict.RollType + "\" (" +
             verdict.Unreadable + "): they may be wrong";
    case PlacementFinding::kTracksOff: {
      std::string text = "The notes are " + Tracks(verdict.TracksOff) + (verdict.TracksOff < 0 ? " low" : " high");
      if (verdict.EdgeShown) {
        text += std::string(": the paper's ") + (verdict.BassEdge ? "bass" : "treble") + " edge lies at " +
                Inches(verdict.EdgeAt) + " inch, the roll type \"" + verdict.RollType + "\" expects " +
                Inches(verdict.EdgeExpected) + " inch";
      } else {
        text += ": the holes fit the tracks of the roll type \"" + verdict.RollType + "\" at offset " +
                FormatFixed(verdict.Fitted.Offset, 4) + " inch, the scanner offset is " +
                FormatFixed(verdict.InForce.Offset, 4) + " inch";
      }
      return text;
    }
    case PlacementFinding::kDpiMisfit: {
      const double spread = verdict.TrebleShift - verdict.BassShift;
      const std::string tracks = FormatGcvt(std::round(10 * std::abs(spread)) / 10, 4) +
                                 (spread > 0 ? " tracks more" : " tracks fewer") +
                                 " than the tracks of the roll type \"" + verdict.RollType + "\"";
      if (verdict.Fitted.Dpi == verdict.InForce.Dpi) {
        return "The stretch does not fit the scan: with stretch " + FormatFixed(verdict.InForce.Stretch, 4) +
               " the holes spread over " + tracks + "; they fit with stretch " + FormatFixed(verdict.Fitted.Stretch, 4);
      }
      std::string text = "The DPI does not fit the scan: at DPI " + std::to_string(verdict.InForce.Dpi) +
                         " the holes spread over " + tracks + "; they fit at DPI " + std::to_string(verdict.Fitted.Dpi);
      if (verdict.HeaderDpi > 0) text += " (the file's header states " + std::to_string(verdict.HeaderDpi) + ")";
      return text;
    }
  }
  return "";
}

}  // namespace

std::string DescribePlacement(const PlacementVerdict& verdict, bool sentence_start) {
  std::string text = Finding(verdict);
  if (!sentence_start && !text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

}  // namespace tarvelo
