#include "app/RollNotice.h"

#include <algorithm>

#include "support/NumberFormat.h"

namespace tarvelo::app {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string ScoreNumber(const RollTypeRanking& ranking, const std::string& name) {
  for (const RollTypeFit& fit : ranking.Ranked)
    if (fit.Name == name) return FormatFixed(fit.Score, 3);
  return "?";
}

std::string ScoreOf(const RollTypeRanking& ranking, const std::string& name) {
  return name + " " + ScoreNumber(ranking, name);
}

// "A 0.651 and B 0.635", "A 0.9, B 0.8 and C 0.7".
std::string Scores(const RollTypeRanking& ranking, const std::vector<std::string>& names) {
  std::string text;
  for (size_t index = 0; index < names.size(); ++index) {
    if (index > 0) text += index + 1 == names.size() ? " and " : ", ";
    text += ScoreOf(ranking, names[index]);
  }
  return text;
}

void DescribePlacement(const ConversionSummary& summary, int warning_percent, const std::string& roll_type,
                       const ScannerValuesUsed& used, RollNotice& notice) {
  if (summary.Lines == 0) return;
  if (!summary.AutoTweakDoubts.empty()) {
    for (const std::string& doubt : summary.AutoTweakDoubts) notice.Findings.push_back(doubt);
    notice.IsWarning = true;
    notice.OfferAlign = true;
    return;
  }
  if (summary.PlacementWarned) {
    // The conversion's own check: the notes whole tracks off, a DPI that does not fit, or a
    // placement that cannot be checked, in numbers.
    notice.Findings.push_back(tarvelo::DescribePlacement(summary.Placement) +
                              ". \"Align to This Roll\" measures the values that fit this roll.");
    notice.IsWarning = true;
    notice.OfferAlign = summary.Placement.Finding != PlacementFinding::kNoHoles;
    return;
  }
  if (summary.HolesMeasured == 0) {
    notice.Findings.push_back(
        "No holes were found on this roll: check the scanner settings (scanner mode, "
        "lighting) and the roll type " +
        Quoted(roll_type) + ".");
    notice.IsWarning = true;
    notice.OfferAlign = true;
    return;
  }
  const double share = static_cast<double>(summary.HolesOffTrack) / summary.HolesMeasured;
  if (warning_percent >= 100 || 100 * share <= warning_percent) return;
  notice.Findings.push_back(FormatFixed(100 * share, 1) + " % of the holes lie off their tracks with roll type " +
                            Quoted(roll_type) + " at " + std::to_string(used.Dpi) + " DPI, offset " +
                            FormatFixed(used.Offset, 4) + " inch and stretch " + FormatFixed(used.Stretch, 4) +
                            ": the notes are wrong. \"Align to This Roll\" measures the values that fit this roll.");
  notice.IsWarning = true;
  notice.OfferAlign = true;
}

void DescribeRollType(const std::string& roll_type, const RollTypeRanking& ranking, RollNotice& notice) {
  if (ranking.Ranked.empty()) return;
  if (ranking.Decided) {
    if (ranking.Recognised == roll_type) return;
    std::string next;
    for (const RollTypeFit& fit : ranking.Ranked)
      if (fit.Name != ranking.Recognised) {
        next = "; next " + ScoreOf(ranking, fit.Name);
        break;
      }
    notice.Findings.push_back("The holes show a " + ranking.Recognised + " roll (score " +
                              ScoreNumber(ranking, ranking.Recognised) + next + "), but it was converted as " +
                              Quoted(roll_type) + ". \"Recognise From This Roll\" converts it as " +
                              ranking.Recognised + ".");
    notice.IsWarning = true;
    notice.OfferRecognise = true;
    return;
  }
  if (!ranking.Candidates.empty()) {
    // Undecided between types, one of them the type in use: nothing to mend.
    if (std::find(ranking.Candidates.begin(), ranking.Candidates.end(), roll_type) != ranking.Candidates.end()) return;
    notice.Findings.push_back("The holes do not decide the roll type: " + Scores(ranking, ranking.Candidates) +
                              " fit nearly equally well; it was converted as " + Quoted(roll_type) +
                              ". Choose the one the roll's label names in the Roll Type box.");
    return;
  }
  std::vector<std::string> best;
  for (size_t index = 0; index < ranking.Ranked.size() && index < 3; ++index)
    best.push_back(ranking.Ranked[index].Name);
  notice.Findings.push_back("No roll type of the library fits this roll well (best: " + Scores(ranking, best) +
                            "); it was converted as " + Quoted(roll_type) + ".");
}

}  // namespace

std::string RollNotice::Text() const {
  std::string text;
  for (const std::string& finding : Findings) text += (text.empty() ? "" : "\n") + finding;
  return text;
}

RollNotice DescribeRoll(const ConversionSummary& summary, int warning_percent, const std::string& roll_type,
                        const ScannerValuesUsed& used, const RollTypeRanking* ranking) {
  RollNotice notice;
  DescribePlacement(summary, warning_percent, roll_type, used, notice);
  if (ranking) DescribeRollType(roll_type, *ranking, notice);
  return notice;
}

}  // namespace tarvelo::app
