#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "align/AlignScan.h"
#include "align/PrepareScan.h"
#include "helpers/AlignmentRolls.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using synth::RollSystem;

const RollTypeDefinition kFailSafe;

AlignmentReport RecogniseLines(const ScanLineArray& lines, const synth::SyntheticRollSpec& plan) {
  AlignRequest request;
  request.Scan = testing::SyntheticScanView(lines, plan);
  request.RollType = &kFailSafe;
  request.Library = testing::ShippedLibrary();
  request.Recognise = true;
  return AlignScan(request);
}

double ScoreOf(const AlignmentReport& report, const std::string& name) {
  for (const RollTypeFit& fit : report.Ranking.Ranked)
    if (fit.Name == name) return fit.Score;
  return -1;
}

// The lines of `plan` with pixels [first, last) of every line reading as paper (a dark strip
// on the scanner's glass, which does not move with the paper).
ScanLineArray WithBlankBand(const synth::SyntheticRollSpec& plan, int first, int last) {
  ScanLineArray lines;
  const int count = synth::SyntheticLineCount(plan);
  std::vector<char> hole(static_cast<size_t>(plan.scan_width));
  for (int i = 0; i < count; ++i) {
    // Runs 0, 2, 4 ... are hole colour in a synthetic roll.
    int previous = 0;
    bool is_hole = true;
    for (const int32_t t : synth::SyntheticLineTransitions(plan, i)) {
      std::fill(hole.begin() + previous, hole.begin() + t, is_hole);
      previous = t;
      is_hole = !is_hole;
    }
    std::fill(hole.begin() + first, hole.begin() + last, 0);
    std::vector<int32_t> transitions;
    bool run_is_hole = true;
    for (int x = 0; x < plan.scan_width; ++x) {
      if (static_cast<bool>(hole[static_cast<size_t>(x)]) == run_is_hole) continue;
      transitions.push_back(x);
      run_is_hole = !run_is_hole;
    }
    transitions.push_back(plan.scan_width);
    LineGeometry geometry;
    geometry.Position = static_cast<double>(i) / plan.lines_per_inch;
    lines.AppendLine(transitions, 0, geometry);
  }
  return lines;
}

TEST(Recognition, ABlankBandBeyondThePaperEdgeIsNotTakenForTheEdge) {
  // A Duo-Art roll whose scan shows, between the sensor's end and the paper, a strip that
  // reads as paper at 1.2 to 1.45 inch: the edge stays at 1.6 inch, the fit on the right tracks.
  const synth::SyntheticRollSpec plan = testing::SystemRoll(RollSystem::kDuoArt, 1.1, 1.0, 300);
  const ScanLineArray lines = WithBlankBand(plan, 30, 105);
  const AlignmentReport report = RecogniseLines(lines, plan);
  ASSERT_TRUE(report.Measurement.Edges.LowerFound);
  EXPECT_NEAR(report.Measurement.Edges.Lower / 300 + 1.1, 1.6, 0.05);
  EXPECT_NEAR(report.Suggestion.Fit.Setting.Offset, 1.1, 0.005);
  EXPECT_EQ(report.Ranking.Recognised, "Duo-Art");

  // The same strip on the treble side, beyond the upper edge.
  const int upper = static_cast<int>((12.95 - 1.1) * 300);
  const ScanLineArray treble = WithBlankBand(plan, upper, upper + 75);
  const AlignmentReport treble_report = RecogniseLines(treble, plan);
  ASSERT_TRUE(treble_report.Measurement.Edges.UpperFound);
  EXPECT_NEAR(treble_report.Measurement.Edges.Upper / 300 + 1.1, 12.85, 0.05);
  EXPECT_EQ(treble_report.Ranking.Recognised, "Duo-Art");
}

TEST(Recognition, ABandOverControlTracksLeavesThemUnjudgedNotMisread) {
  // A 150-DPI picture of a Welte Licensee roll with a torn bass margin and a band that reads as
  // paper over tracks 17 to 19 (a crease, a strip of tape): the hidden lock pair tells nothing,
  // the remaining tracks still tell the Licensee roll from the Ampico A roll.
  const synth::SyntheticRollSpec plan = testing::SystemRoll(RollSystem::kWelteLicensee, 1.1, 1.0, 150, 0.03, 0.05);
  const auto pixel = [](double inch) { return static_cast<int>((inch - 1.1) * 150); };
  const ScanLineArray lines = WithBlankBand(plan, pixel(1.89), pixel(2.23));
  const AlignmentReport report = RecogniseLines(lines, plan);
  EXPECT_EQ(report.Ranking.Recognised, "Welte Licensee");
  EXPECT_GT(ScoreOf(report, "Welte Licensee") - ScoreOf(report, "Ampico A"), 0.05);
}

TEST(Recognition, ARollWithoutControlHolesIsAPlainRollOrUndecided) {
  // Notes only, no pedal or expression holes: nothing speaks for a reproducing system.
  synth::SyntheticRollSpec plan = testing::SystemRoll(RollSystem::kPlain88, 1.1, 1.0, 300);
  std::erase_if(plan.holes, [](const synth::SyntheticHole& hole) { return hole.track < 21 || hole.track > 108; });
  const ScanLineArray lines = testing::SyntheticScanLines(plan);
  const AlignmentReport report = RecogniseLines(lines, plan);
  EXPECT_TRUE(!report.Ranking.Decided || report.Ranking.Recognised == "88-Note") << report.Ranking.Recognised;
  for (const std::string name : {"Ampico A", "Ampico B", "Duo-Art", "Welte Licensee", "Recordo"}) {
    for (const RollTypeFit& fit : report.Ranking.Ranked) {
      if (fit.Name == name) {
        EXPECT_LT(fit.Score, report.Ranking.Ranked.front().Score - 0.03) << name;
      }
    }
  }
}

TEST(Recognition, EachSystemIsToldFromTheOneWhoseTracksNearlyCoincide) {
  // Each system against the one that uses nearly the same tracks: Welte Licensee and Ampico A
  // both punch 16-23 and 106-113, Duo-Art and Recordo use the plain roll's pedal places. At a
  // picture's 150 pixels per inch (holes 9 pixels across) as on a 300-DPI scan.
  struct Rival {
    RollSystem System;
    const char* Name;
    const char* Rival;
  };
  const Rival rivals[] = {{RollSystem::kWelteLicensee, "Welte Licensee", "Ampico A"},
                          {RollSystem::kAmpicoA, "Ampico A", "Welte Licensee"},
                          {RollSystem::kAmpicoA, "Ampico A", "Ampico B"},
                          {RollSystem::kAmpicoB, "Ampico B", "Ampico A"},
                          {RollSystem::kAmpicoB, "Ampico B", "Artecho"},
                          {RollSystem::kWelteT98, "Welte T-98 Green", "Ampico A"},
                          {RollSystem::kDuoArt, "Duo-Art", "88-Note"},
                          {RollSystem::kRecordo, "Recordo", "88-Note"},
                          {RollSystem::kPlain88, "88-Note", "Recordo"}};
  for (const int dpi : {150, 300}) {
    for (const Rival& rival : rivals) {
      SCOPED_TRACE(std::string(rival.Name) + " against " + rival.Rival + " at " + std::to_string(dpi) + " DPI");
      const synth::SyntheticRollSpec plan = testing::SystemRoll(rival.System, 1.15, 0.995, dpi, 0.04, 0.03);
      const AlignmentReport report = RecogniseLines(testing::SyntheticScanLines(plan), plan);
      EXPECT_EQ(report.Ranking.Recognised, rival.Name);
      EXPECT_GT(ScoreOf(report, rival.Name) - ScoreOf(report, rival.Rival), 0.05);
    }
  }
}

// `plan` with the holes of `tracks` replaced by `count` punches each, `shortest` to `longest`
// inches long, spread evenly along the roll.
synth::SyntheticRollSpec WithPunches(synth::SyntheticRollSpec plan, std::initializer_list<int> tracks, int count,
                                     double shortest, double longest) {
  std::erase_if(plan.holes, [&](const synth::SyntheticHole& hole) {
    return std::find(tracks.begin(), tracks.end(), hole.track) != tracks.end();
  });
  for (const int track : tracks) {
    for (int k = 0; k < count; ++k) {
      const double share = (k + 0.5) / count;
      plan.holes.push_back({track, 1.0 + share * (plan.length_inch - 8), shortest + share * (longest - shortest)});
    }
  }
  return plan;
}

TEST(Recognition, HeldPedalsAndShortLocksTellAmpicoFromWelte) {
  // Track 18 is a held sustain on an Ampico roll and the bass crescendo's cancel, a single
  // short hole, on a Welte Licensee roll; 111 the held soft pedal and the treble cancel. The
  // same holes made long or short move the two types' scores apart.
  const synth::SyntheticRollSpec licensee = testing::SystemRoll(RollSystem::kWelteLicensee, 1.1, 1.0, 300);
  const synth::SyntheticRollSpec held = WithPunches(licensee, {18, 111}, 12, 0.8, 2.5);
  const AlignmentReport as_punched = RecogniseLines(testing::SyntheticScanLines(licensee), licensee);
  const AlignmentReport with_held = RecogniseLines(testing::SyntheticScanLines(held), held);
  EXPECT_GT(ScoreOf(as_punched, "Welte Licensee") - ScoreOf(with_held, "Welte Licensee"), 0.05);
  EXPECT_GT(ScoreOf(with_held, "Ampico A") - ScoreOf(as_punched, "Ampico A"), 0.03);

  const synth::SyntheticRollSpec ampico = testing::SystemRoll(RollSystem::kAmpicoA, 1.1, 1.0, 300);
  const synth::SyntheticRollSpec short_pedals = WithPunches(ampico, {18, 111}, 40, 0.04, 0.08);
  const AlignmentReport ampico_report = RecogniseLines(testing::SyntheticScanLines(ampico), ampico);
  const AlignmentReport short_report = RecogniseLines(testing::SyntheticScanLines(short_pedals), short_pedals);
  EXPECT_GT(ScoreOf(ampico_report, "Ampico A") - ScoreOf(short_report, "Ampico A"), 0.05);
  EXPECT_GT(ScoreOf(short_report, "Welte Licensee") - ScoreOf(ampico_report, "Welte Licensee"), 0.03);
  // Still an Ampico A roll (its rewind and its empty 15 and 114 say so), or undecided; never a
  // Welte roll.
  EXPECT_NE(short_report.Ranking.Recognised, "Welte Licensee");
}

TEST(Recognition, EachRealScanIsRecognisedWithTheDefaultSettings) {
  TARVELO_REQUIRE_REAL_CIS();
  // The twin array scan with the preset's own twin values, whose halves meet 17 pixels apart.
  const std::pair<const char*, const char*> scans[] = {{"stepper_single.CIS", "Duo-Art"},
                                                       {"stepper_twin.CIS", "Ampico B"},
                                                       {"stepper_bicolor.CIS", "Ampico B"},
                                                       {"clocked_single.CIS", "Ampico B"},
                                                       {"no_encoder_signal.CIS", "Ampico A"}};
  for (const auto& [name, family] : scans) {
    SCOPED_TRACE(name);
    testing::RecordingFrontEnd front_end;
    PreparedScan scan;
    ASSERT_TRUE(PrepareScan((testing::RealCisDir() / name).string(), front_end.settings, front_end, scan));
    AlignRequest request;
    request.Scan = AlignmentView(scan.Data, front_end.settings.Scanner.ScanLightingMethod);
    request.InForce = scan.Preset;
    request.RollType = &kFailSafe;
    request.Library = testing::ShippedLibrary();
    request.Recognise = true;
    const AlignmentReport report = AlignScan(request);
    ASSERT_TRUE(report.Ranking.Decided);
    EXPECT_EQ(report.Ranking.Recognised, family);
    // With a clear lead over the next.
    ASSERT_GE(report.Ranking.Ranked.size(), 2u);
    EXPECT_GT(report.Ranking.Ranked[0].Score - report.Ranking.Ranked[1].Score, 0.05);
  }
}

}  // namespace
}  // namespace tarvelo
