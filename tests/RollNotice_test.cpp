// What the banner above the roll view says: misplaced holes with their numbers and the
// alignment to mend them, a roll type the holes contradict with the recognition to mend it,
// and nothing for a right conversion of a recognised roll.
#include "app/RollNotice.h"

#include <gtest/gtest.h>

namespace tarvelo::app {
namespace {

ConversionSummary Converted(int measured, int off_track) {
  ConversionSummary summary;
  summary.Lines = 1000;
  summary.HolesMeasured = measured;
  summary.HolesOffTrack = off_track;
  return summary;
}

RollTypeRanking Ranked(std::vector<std::pair<std::string, double>> scores, bool decided) {
  RollTypeRanking ranking;
  for (auto& [name, score] : scores) {
    RollTypeFit fit;
    fit.Name = name;
    fit.Score = score;
    ranking.Ranked.push_back(fit);
  }
  ranking.Decided = decided;
  if (decided) ranking.Recognised = ranking.Ranked.front().Name;
  return ranking;
}

const ScannerValuesUsed kUsed{300, 1.0, 1.0};

TEST(RollNotice, ARightConversionOfARecognisedRollSaysNothing) {
  const RollTypeRanking duo_art = Ranked({{"Duo-Art", 0.983}, {"Welte Licensee", 0.875}}, true);
  EXPECT_TRUE(DescribeRoll(Converted(5000, 40), 10, "Duo-Art", kUsed, &duo_art).Empty());
  EXPECT_TRUE(DescribeRoll(Converted(5000, 500), 10, "Duo-Art", kUsed, nullptr).Empty()) << "10.0 % is not above 10";
  EXPECT_TRUE(DescribeRoll(ConversionSummary{}, 10, "Fail-Safe", kUsed, nullptr).Empty()) << "no roll open";
}

TEST(RollNotice, MisplacedHolesAreShownWithTheirNumbersAndTheAlignment) {
  const RollNotice notice = DescribeRoll(Converted(1000, 428), 10, "88-Note", {300, 1.0, 1.0}, nullptr);
  ASSERT_EQ(notice.Findings.size(), 1u);
  EXPECT_EQ(notice.Findings[0],
            "42.8 % of the holes lie off their tracks with roll type \"88-Note\" at 300 DPI, offset 1.0000 inch and "
            "stretch 1.0000: the notes are wrong. \"Align to This Roll\" measures the values that fit this roll.");
  EXPECT_TRUE(notice.IsWarning);
  EXPECT_TRUE(notice.OfferAlign);
  EXPECT_FALSE(notice.OfferRecognise);
  EXPECT_TRUE(DescribeRoll(Converted(1000, 999), 100, "88-Note", kUsed, nullptr).Empty()) << "warning switched off";
  const RollNotice none = DescribeRoll(Converted(0, 0), 10, "88-Note", kUsed, nullptr);
  EXPECT_TRUE(none.OfferAlign);
  EXPECT_NE(none.Text().find("No holes were found"), std::string::npos);
}

TEST(RollNotice, ARollTypeTheHolesContradictIsShownWithTheRecognition) {
  // A Welte roll converted as Duo-Art, its holes misplaced too: both findings, both buttons.
  const RollTypeRanking welte = Ranked({{"Welte Licensee", 0.97}, {"Duo-Art", 0.81}}, true);
  const RollNotice notice = DescribeRoll(Converted(1000, 300), 10, "Duo-Art", kUsed, &welte);
  ASSERT_EQ(notice.Findings.size(), 2u);
  EXPECT_EQ(notice.Findings[1],
            "The holes show a Welte Licensee roll (score 0.970; next Duo-Art 0.810), but it was converted as "
            "\"Duo-Art\". \"Recognise From This Roll\" converts it as Welte Licensee.");
  EXPECT_TRUE(notice.OfferAlign && notice.OfferRecognise && notice.IsWarning);

  // Undecided: said as information when the type in use is not among the candidates.
  RollTypeRanking undecided = Ranked({{"Ampico B", 0.651}, {"Artecho", 0.635}}, false);
  undecided.Candidates = {"Ampico B", "Artecho"};
  const RollNotice open = DescribeRoll(Converted(1000, 0), 10, "Fail-Safe", kUsed, &undecided);
  ASSERT_EQ(open.Findings.size(), 1u);
  EXPECT_EQ(open.Findings[0].rfind("The holes do not decide the roll type: Ampico B 0.651 and Artecho 0.635", 0), 0u);
  EXPECT_FALSE(open.IsWarning || open.OfferRecognise);
  EXPECT_TRUE(DescribeRoll(Converted(1000, 0), 10, "Artecho", kUsed, &undecided).Empty());
}

}  // namespace
}  // namespace tarvelo::app
