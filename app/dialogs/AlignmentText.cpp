#include "app/dialogs/AlignmentText.h"

#include <algorithm>

#include "support/NumberFormat.h"

namespace tarvelo::app {

namespace {

std::string Percent(double share, int decimals) { return FormatFixed(100 * share, decimals) + " %"; }

std::string EdgesText(const TrackFit& fit) {
  if (fit.LowerEdgeFound && fit.UpperEdgeFound)
    return "paper edges " + FormatFixed(fit.LowerEdge, 3) + " and " + FormatFixed(fit.UpperEdge, 3) + " inch";
  if (fit.LowerEdgeFound)
    return "bass paper edge " + FormatFixed(fit.LowerEdge, 3) + " inch (the treble edge does not show)";
  if (fit.UpperEdgeFound)
    return "treble paper edge " + FormatFixed(fit.UpperEdge, 3) + " inch (the bass edge does not show)";
  return "neither paper edge shows";
}

// "Ampico B 0.951, Artecho 0.948" for the named roll types, in the ranking's order.
std::string ScoresOf(const RollTypeRanking& ranking, const std::vector<std::string>& names) {
  std::string text;
  for (const RollTypeFit& fit : ranking.Ranked) {
    if (std::find(names.begin(), names.end(), fit.Name) == names.end()) continue;
    text += (text.empty() ? "" : ", ") + fit.Name + " " + FormatFixed(fit.Score, 3);
  }
  return text;
}

}  // namespace

std::string MeasuredSettingsText(const AlignmentReport& report) {
  const TrackFit& fit = report.Suggestion.Fit;
  std::string text = "Measured: " + Percent(fit.Count.Share(), 2) + " of the holes on track with DPI " +
                     std::to_string(fit.Setting.Dpi) + ", offset " + FormatFixed(fit.Setting.Offset, 4) +
                     " inch, stretch " + FormatFixed(fit.Setting.Stretch, 4) + " (now " +
                     Percent(report.InForceType.Before.Share(), 1) + "); " + EdgesText(fit);
  for (const AlignmentNote& note : report.Notes)
    if (note.Kind != MessageKind::kInformation) text += "\n" + note.Text;
  return text;
}

std::string RecognitionText(const AlignmentReport& report, const std::string& kept) {
  const RollTypeRanking& ranking = report.Ranking;
  if (ranking.Decided) {
    std::string text = "Recognised " + ranking.Recognised;
    for (size_t index = 0; index < ranking.Ranked.size(); ++index) {
      if (ranking.Ranked[index].Name != ranking.Recognised) continue;
      text += " (score " + FormatFixed(ranking.Ranked[index].Score, 3);
      const size_t next = index == 0 ? 1 : 0;
      if (next < ranking.Ranked.size())
        text += "; next " + ranking.Ranked[next].Name + " " + FormatFixed(ranking.Ranked[next].Score, 3);
      text += ")";
      break;
    }
    return text;
  }
  if (!ranking.Candidates.empty()) {
    return "The roll type is undecided: " + ScoresOf(ranking, ranking.Candidates) + " fit nearly equally well; " +
           kept + " is kept";
  }
  // No candidate fits well enough to be named: the best three, for what they are worth.
  std::vector<std::string> best;
  for (size_t index = 0; index < ranking.Ranked.size() && index < 3; ++index)
    best.push_back(ranking.Ranked[index].Name);
  std::string text = "No roll type fits this roll well";
  if (!best.empty()) text += " (best: " + ScoresOf(ranking, best) + ")";
  return text + "; " + kept + " is kept";
}

}  // namespace tarvelo::app
