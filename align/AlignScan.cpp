#include "align/AlignScan.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "align/ControlProfiles.h"
#include "align/HoleOrder.h"
#include "align/MeasureScan.h"
#include "align/TrackLayout.h"
#include "align/TrackUsage.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

// Scores closer than this cannot tell two roll types apart.
constexpr double kScoreMargin = 0.03;
// Paper edges within this many tracks of where a roll type expects them agree with it; from
// kEdgeMiss on they count against it.
constexpr double kEdgeTolerance = 0.35;
constexpr double kEdgeMiss = 0.85;
// A paper edge this many tracks from where the roll type expects it puts holes on wrong tracks.
constexpr double kWrongTrackMiss = 0.5;
// A jump of the holes across a twin array scan's crossover this large (pixels) is reported.
constexpr double kCrossoverStep = 4;
// A roll type must put kReadableShare of the holes on its tracks, and score this much, to be
// recognised. (A type whose control tracks are unknown scores 0.75 at best.)
constexpr double kLeastScore = 0.6;
// The control evidence of a roll type whose use of control tracks is unknown: neither for nor
// against it.
constexpr double kUnknownEvidence = 0.75;

std::string Inches(double value) { return FormatGcvt(value, 5); }

// Fits and usage of one track layout, shared by the roll types that have it.
struct LayoutFit {
  TrackLayout Layout;
  TrackFit Fit;
  // The fit the ranking judges, and the track usage at it: Fit, or on a twin array scan whose
  // halves do not meet, the fit of the holes with the join made good (a join some pixels off
  // puts half the holes off their tracks whatever the roll type).
  TrackFit Ranked;
  TrackUsage Usage;
};

// 1 when the fit puts the paper edges where the roll type expects them (within a third of a
// track: measured rolls lie within 0.03 inch of it), falling to 0.5 when they miss by 0.85 of a
// track or more on average, as a fit a whole track off does, or paper of another width.
double EdgeAgreement(const TrackFit& fit, const TrackLayout& layout) {
  double miss = 0;
  int edges = 0;
  if (fit.LowerEdgeFound) {
    miss += std::abs(fit.LowerEdge - layout.LowerEdge);
    ++edges;
  }
  if (fit.UpperEdgeFound) {
    miss += std::abs(fit.UpperEdge - layout.UpperEdge);
    ++edges;
  }
  if (edges == 0) return 1.0;
  const double tracks = miss / edges / layout.Spacing;
  return 1.0 - 0.5 * std::clamp((tracks - kEdgeTolerance) / (kEdgeMiss - kEdgeTolerance), 0.0, 1.0);
}

RollTypeFit MeasureRollType(const RollTypeDefinition& roll, const LayoutFit& shared, const AlignmentReport& report,
                            const FitOptions& options) {
  RollTypeFit result;
  result.Name = roll.Name;
  result.Layout = shared.Layout;
  result.Fit = shared.Fit;
  result.Before = CountOnTrack(report.Measurement, shared.Layout, report.InForce, options);
  if (result.Fit.Found) {
    result.ControlMatch = ControlMatch(roll.Name, shared.Usage, result.HasProfile);
    result.EdgeAgreement = EdgeAgreement(shared.Ranked, shared.Layout);
    const double evidence = result.HasProfile ? result.ControlMatch : kUnknownEvidence;
    result.Score = shared.Ranked.Closeness * evidence * result.EdgeAgreement;
  }
  return result;
}

// The measurement with the holes of a twin array scan's second array moved back by `step`
// pixels.
ScanMeasurement JoinedBy(const ScanMeasurement& measurement, double step) {
  ScanMeasurement joined = measurement;
  for (MeasuredHole& hole : joined.Holes) {
    if (hole.Center < measurement.CrossoverPixel) continue;
    hole.Center -= step;
    hole.RawCenter -= step;
  }
  SortByCenter(joined.Holes);
  if (joined.Edges.UpperFound) joined.Edges.Upper -= step;
  return joined;
}

LayoutFit FitShared(const ScanMeasurement& measurement, TrackLayout layout, const std::vector<int>& dpis,
                    const FitOptions& options) {
  LayoutFit shared;
  shared.Layout = std::move(layout);
  shared.Fit = FitLayout(measurement, shared.Layout, dpis, options);
  shared.Ranked = shared.Fit;
  if (shared.Fit.Found)
    shared.Usage = MeasureTrackUsage(measurement, shared.Layout, shared.Fit.Setting, 3, options.OnTrackShare);
  return shared;
}

// A twin array scan whose halves do not meet: the join's step, measured on the layout that
// fits best, is made good and every layout fitted again for the ranking; a layout keeps the
// joined fit when it puts the holes closer to its tracks.
void RankJoined(const ScanMeasurement& measurement, const std::vector<int>& dpis, const FitOptions& options,
                std::vector<LayoutFit>& layouts) {
  if (measurement.CrossoverPixel < 0 || layouts.empty()) return;
  const LayoutFit* closest = nullptr;
  for (const LayoutFit& fit : layouts)
    if (fit.Fit.Found && (closest == nullptr || fit.Fit.Closeness > closest->Fit.Closeness)) closest = &fit;
  if (closest == nullptr) return;
  const TwinArrayJoin join = CheckTwinArrayJoin(measurement, closest->Layout, closest->Fit.Setting, options);
  if (!join.Measured || std::abs(join.Step) < kCrossoverStep) return;
  const ScanMeasurement joined = JoinedBy(measurement, join.Step);
  for (LayoutFit& fit : layouts) {
    if (!fit.Fit.Found) continue;
    const TrackFit refit = FitLayout(joined, fit.Layout, dpis, options);
    if (!refit.Found || refit.Closeness <= fit.Fit.Closeness) continue;
    fit.Ranked = refit;
    fit.Usage = MeasureTrackUsage(joined, fit.Layout, refit.Setting, 3, options.OnTrackShare);
  }
}

void Rank(const AlignRequest& request, AlignmentReport& report) {
  std::vector<LayoutFit> layouts;
  std::vector<std::pair<const RollTypeDefinition*, size_t>> types;  // each with its layout
  RollTypeRanking& ranking = report.Ranking;
  for (const RollTypeDefinition* roll : request.Library) {
    if (roll == nullptr) continue;
    TrackLayout layout = LayoutOf(*roll);
    auto same = std::find_if(layouts.begin(), layouts.end(),
                             [&](const LayoutFit& fit) { return fit.Layout.SameGeometry(layout); });
    if (same == layouts.end()) {
      layouts.push_back(FitShared(report.Measurement, std::move(layout), report.DpiCandidates, request.Options));
      same = layouts.end() - 1;
    }
    types.emplace_back(roll, static_cast<size_t>(same - layouts.begin()));
  }
  RankJoined(report.Measurement, report.DpiCandidates, request.Options, layouts);
  for (const auto& [roll, layout] : types)
    ranking.Ranked.push_back(MeasureRollType(*roll, layouts[layout], report, request.Options));
  std::stable_sort(ranking.Ranked.begin(), ranking.Ranked.end(),
                   [](const RollTypeFit& a, const RollTypeFit& b) { return a.Score > b.Score; });
  if (ranking.Ranked.empty() || !ranking.Ranked.front().Fit.Found) {
    report.Notes.push_back({MessageKind::kWarning, "No roll type of the library fits: no holes were measured."});
    return;
  }
  const RollTypeFit& best = ranking.Ranked.front();
  // Candidates are named only where the holes read well enough to tell a roll type at all: a
  // scan no type fits is not undecided between them.
  if (best.Fit.Count.Share() < kReadableShare) {
    report.Notes.push_back({MessageKind::kWarning,
                            "No roll type of the library puts 90 % of the holes on its tracks "
                            "(the best, " +
                                best.Name + ", puts " + FormatGcvt(100 * best.Fit.Count.Share(), 3) + " %)."});
    return;
  }
  if (best.Score < kLeastScore) {
    report.Notes.push_back({MessageKind::kWarning, "No roll type of the library fits the roll well: the best, " +
                                                       best.Name + ", scores " + FormatGcvt(best.Score, 2) +
                                                       " (its paper edges or control tracks disagree)."});
    return;
  }
  for (const RollTypeFit& fit : ranking.Ranked)
    if (fit.Fit.Found && fit.Score >= best.Score - kScoreMargin) ranking.Candidates.push_back(fit.Name);
  if (ranking.Candidates.size() == 1) {
    ranking.Decided = true;
    ranking.Recognised = best.Name;
    ranking.Candidates.clear();
  } else {
    std::string names;
    for (const std::string& name : ranking.Candidates) names += (names.empty() ? "" : ", ") + name;
    report.Notes.push_back(
        {MessageKind::kInformation, "The roll type is undecided: the holes fit " + names + " nearly equally well."});
  }
}

// Where the settings in force put the paper edge, against where the roll type in force expects it.
void NoteEdgeInForce(AlignmentReport& report) {
  const PaperEdges& edges = report.Measurement.Edges;
  const TrackLayout& layout = report.InForceType.Layout;
  const ScannerSetting& in_force = report.InForce;
  if ((!edges.LowerFound && !edges.UpperFound) || !(layout.Spacing > 0) || in_force.Dpi < 1) return;
  const double scale = in_force.Stretch / in_force.Dpi;
  const bool lower = edges.LowerFound;
  const double edge = scale * (lower ? edges.Lower : edges.Upper) + in_force.Offset;
  const double expected = lower ? layout.LowerEdge : layout.UpperEdge;
  report.InForceEdgeMiss = std::abs(edge - expected) / layout.Spacing;
  if (report.InForceEdgeMiss < kWrongTrackMiss) return;
  report.Notes.push_back({MessageKind::kWarning,
                          std::string("With the settings in force the paper's ") + (lower ? "bass" : "treble") +
                              " edge lies at " + Inches(edge) + " inch, " +
                              FormatGcvt(std::round(report.InForceEdgeMiss * 10) / 10, 3) + " of a track from where " +
                              report.InForceType.Name + " expects it (" + Inches(expected) +
                              " inch): holes land on the wrong tracks.",
                          true});
}

}  // namespace

bool IsPlausibleDpi(int dpi) { return dpi >= 100 && dpi <= 1000; }

AlignmentReport AlignScan(const AlignRequest& request) {
  AlignmentReport report;
  report.InForce = request.InForce;
  report.HeaderDpi = request.Scan.HeaderDpi;
  report.HeaderDpiUsable = IsPlausibleDpi(request.Scan.HeaderDpi);
  report.Measurement = request.Measured != nullptr ? *request.Measured : MeasureScan(request.Scan);
  if (request.InForce.Dpi >= 1) report.DpiCandidates.push_back(request.InForce.Dpi);
  if (report.HeaderDpiUsable && request.Scan.HeaderDpi != request.InForce.Dpi)
    report.DpiCandidates.push_back(request.Scan.HeaderDpi);
  if (!report.HeaderDpiUsable) {
    report.Notes.push_back({MessageKind::kInformation, "The file's header states no usable DPI (" +
                                                           std::to_string(request.Scan.HeaderDpi) +
                                                           "); the preset's DPI is used."});
  }
  if (report.Measurement.Holes.empty())
    report.Notes.push_back({MessageKind::kWarning, "No holes were found in the scan."});

  if (request.Recognise) Rank(request, report);
  const bool recognised = request.Recognise && request.SuggestRecognised && report.Ranking.Decided;
  if (request.RollType != nullptr) {
    // The roll type in force is fitted when the suggestion is for it: without recognition, or
    // when the evidence does not decide. Otherwise only how the settings in force place the
    // holes on its tracks is needed.
    LayoutFit shared;
    shared.Layout = LayoutOf(*request.RollType);
    if (!recognised) shared = FitShared(report.Measurement, shared.Layout, report.DpiCandidates, request.Options);
    report.InForceType = MeasureRollType(*request.RollType, shared, report, request.Options);
  }
  report.Suggestion = report.InForceType;
  for (const RollTypeFit& fit : report.Ranking.Ranked) {
    if (recognised && fit.Name == report.Ranking.Recognised) {
      report.Suggestion = fit;
      break;
    }
  }
  if (request.RollType == nullptr && !recognised && !report.Ranking.Ranked.empty())
    report.Suggestion = report.Ranking.Ranked.front();

  if (request.RollType != nullptr) NoteEdgeInForce(report);

  const TrackFit& fit = report.Suggestion.Fit;
  if (fit.Found) {
    if (!fit.LowerEdgeFound && !fit.UpperEdgeFound) {
      report.Notes.push_back({MessageKind::kWarning,
                              "Neither paper edge shows on the scan: the offset may be off by "
                              "whole tracks."});
    }
    report.TwinArray = CheckTwinArrayJoin(report.Measurement, report.Suggestion.Layout, fit.Setting, request.Options);
    if (report.TwinArray.Measured && std::abs(report.TwinArray.Step) >= kCrossoverStep) {
      report.Notes.push_back(
          {MessageKind::kWarning, "The twin arrays' halves do not meet: the second array's holes lie " +
                                      std::to_string(std::lround(report.TwinArray.Step)) +
                                      " pixels from where the first array's put the tracks (the overlap used to join "
                                      "them may be that much too small)."});
    }
    const FitOptions& options = request.Options;
    if (fit.Setting.Stretch <= options.MinStretch + 1e-9 || fit.Setting.Stretch >= options.MaxStretch - 1e-9) {
      report.Notes.push_back({MessageKind::kWarning, "The best stretch lies at the end of the range searched (" +
                                                         Inches(fit.Setting.Stretch) + ")."});
    }
  }
  return report;
}

}  // namespace tarvelo
