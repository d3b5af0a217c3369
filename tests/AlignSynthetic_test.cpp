#include <gtest/gtest.h>

#include <cmath>

#include "align/AlignScan.h"
#include "align/FitTracks.h"
#include "align/MeasureScan.h"
#include "align/PrepareScan.h"
#include "helpers/AlignmentRolls.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using synth::RollSystem;
using testing::ShippedLibrary;
using testing::ShippedRollType;
using testing::SyntheticScanLines;
using testing::SyntheticScanView;
using testing::SystemRoll;

const RollTypeDefinition kFailSafe;

AlignmentReport Recognise(const ScanLineArray& lines, const synth::SyntheticRollSpec& plan,
                          ScannerSetting in_force = {300, 1.0, 1.0}) {
  AlignRequest request;
  request.Scan = SyntheticScanView(lines, plan);
  request.InForce = in_force;
  request.RollType = &kFailSafe;
  request.Library = ShippedLibrary();
  request.Recognise = true;
  return AlignScan(request);
}

struct Geometry {
  double offset;
  double stretch;
  int dpi;
  double wander;
  double ragged;
};

TEST(AlignSynthetic, SuggestsTheTrueSettingsAndRecognisesEachSystem) {
  const std::pair<RollSystem, const char*> systems[] = {{RollSystem::kPlain88, "88-Note"},
                                                        {RollSystem::kAmpicoA, "Ampico A"},
                                                        {RollSystem::kAmpicoB, "Ampico B"},
                                                        {RollSystem::kDuoArt, "Duo-Art"},
                                                        {RollSystem::kWelteLicensee, "Welte Licensee"},
                                                        {RollSystem::kWelteT98, "Welte T-98 Green"},
                                                        {RollSystem::kRecordo, "Recordo"},
                                                        {RollSystem::kArtecho, "Artecho"}};
  // The usual offset with a little stretch; a 200-DPI scan (the header says so, the preset says
  // 300) of shrunken paper; a far offset on stretched paper wandering and ragged more; a 150-DPI
  // picture, at which the preset's 300 DPI would put every hole a quarter track off a centre.
  const Geometry geometries[] = {{1.137, 1.006, 300, 0.03, 0.02},
                                 {1.2, 0.975, 200, 0.04, 0.04},
                                 {0.91, 1.024, 300, 0.04, 0.03},
                                 {1.15, 0.995, 150, 0.03, 0.02}};
  for (const auto& [system, name] : systems) {
    for (const Geometry& g : geometries) {
      SCOPED_TRACE(std::string(name) + " at offset " + std::to_string(g.offset) + ", DPI " + std::to_string(g.dpi));
      const synth::SyntheticRollSpec plan = SystemRoll(system, g.offset, g.stretch, g.dpi, g.wander, g.ragged);
      const ScanLineArray lines = SyntheticScanLines(plan);
      const AlignmentReport report = Recognise(lines, plan);
      const TrackFit& fit = report.Suggestion.Fit;
      ASSERT_TRUE(fit.Found);
      EXPECT_EQ(fit.Setting.Dpi, g.dpi);
      EXPECT_NEAR(fit.Setting.Offset, g.offset, 0.005);
      EXPECT_NEAR(fit.Setting.Stretch, g.stretch, 0.003);
      // (At 150 DPI a pixel is a fifth of the on-track distance: a few more holes fall outside it.)
      EXPECT_GE(fit.Count.Share(), g.dpi >= 200 ? 0.99 : 0.98);
      EXPECT_TRUE(report.Ranking.Decided);
      EXPECT_EQ(report.Ranking.Recognised, name);
      EXPECT_EQ(report.Suggestion.Name, name);
      // The paper edges, as the roll type expects them.
      EXPECT_NEAR(fit.LowerEdge, 1.6, 0.05);
      EXPECT_NEAR(fit.UpperEdge, 12.85, 0.05);
    }
  }
}

TEST(AlignSynthetic, CountsEachHoleOnceAndLeavesTheRaggedMarginsOut) {
  synth::SyntheticRollSpec plan;
  plan.length_inch = 40;
  plan.ragged_margin = 0.03;
  plan.drift = [](double position) { return 0.03 * std::sin(position / 3); };
  for (int k = 0; k < 30; ++k) plan.holes.push_back({30 + 2 * k, 1.0 + k, k % 3 == 0 ? 12.0 : 0.1});
  plan.holes.push_back({18, 2.0, 30.0});  // a sustain held over most of the roll
  const ScanLineArray lines = SyntheticScanLines(plan);
  const ScanMeasurement measured = MeasureScan(SyntheticScanView(lines, plan));
  ASSERT_EQ(measured.Holes.size(), plan.holes.size());
  // Every hole, with the wander taken out, lies where its track is.
  for (const MeasuredHole& hole : measured.Holes) {
    const double y = hole.Center / plan.dpi + plan.offset;
    const double track = y * 9 - 0.5;
    EXPECT_NEAR(track, std::round(track), 0.1) << hole.Center;
  }
  EXPECT_EQ(measured.Columns.size(), 31u);
  EXPECT_TRUE(measured.Edges.LowerFound);
  EXPECT_TRUE(measured.Edges.UpperFound);
  EXPECT_NEAR(measured.WanderSpan / plan.dpi, 0.06, 0.01);
}

TEST(AlignSynthetic, ThePaperEdgeDecidesBetweenFitsWholeTracksApart) {
  // A plain 88-note roll uses neither 15-17 nor 114: on the Ampico B tracks (15-114) it fits
  // one track up or down as well, with every hole on a track.
  const synth::SyntheticRollSpec plan = SystemRoll(RollSystem::kPlain88, 1.1, 1.0, 300);
  const ScanLineArray lines = SyntheticScanLines(plan);
  const ScanMeasurement measured = MeasureScan(SyntheticScanView(lines, plan));
  const int dpis[] = {300};
  const TrackFit fit = FitLayout(measured, LayoutOf(ShippedRollType("Ampico B")), dpis);
  EXPECT_NEAR(fit.Setting.Offset, 1.1, 0.005);
  EXPECT_NEAR(fit.LowerEdge, 1.6, 0.05);

  // With the paper wider than the sensor no edge shows: the fit says it may be tracks off.
  synth::SyntheticRollSpec wide = plan;
  wide.lower_edge = 0.5;
  wide.upper_edge = 14.0;
  const ScanLineArray wide_lines = SyntheticScanLines(wide);
  const AlignmentReport report = Recognise(wide_lines, wide);
  EXPECT_FALSE(report.Measurement.Edges.LowerFound);
  EXPECT_FALSE(report.Measurement.Edges.UpperFound);
  bool warned = false;
  for (const AlignmentNote& note : report.Notes) warned |= note.Text.find("Neither paper edge") != std::string::npos;
  EXPECT_TRUE(warned);
}

TEST(AlignSynthetic, SaysUndecidedWhenTheHolesCannotTellTheTypesApart) {
  // Two roll types with the same tracks and no known use of control tracks: nothing in the
  // holes speaks for either.
  const synth::SyntheticRollSpec plan = SystemRoll(RollSystem::kPlain88, 1.1, 1.0, 300);
  const ScanLineArray lines = SyntheticScanLines(plan);
  RollTypeDefinition first = ShippedRollType("88-Note"), second = first;
  first.Name = "Player roll";
  second.Name = "Home-made roll";
  AlignRequest request;
  request.Scan = SyntheticScanView(lines, plan);
  request.RollType = &kFailSafe;
  request.Library = {&first, &second};
  request.Recognise = true;
  const AlignmentReport report = AlignScan(request);
  EXPECT_FALSE(report.Ranking.Decided);
  EXPECT_TRUE(report.Ranking.Recognised.empty());
  EXPECT_EQ(report.Ranking.Candidates, (std::vector<std::string>{"Player roll", "Home-made roll"}));
  ASSERT_EQ(report.Ranking.Ranked.size(), 2u);
  EXPECT_EQ(report.Ranking.Ranked[0].Score, report.Ranking.Ranked[1].Score);
  EXPECT_FALSE(report.Ranking.Ranked[0].HasProfile);
  // The settings are found all the same.
  EXPECT_NEAR(report.Suggestion.Fit.Setting.Offset, 1.1, 0.005);

  // A 65-note roll (six holes per inch): the 9-per-inch types put its holes a quarter of a track
  // off their centres, the organ's twelve per inch fit every other track but expect paper four
  // inches wider; without the 65-note type nothing fits, with it the roll is recognised by its
  // tracks alone.
  synth::SyntheticRollSpec sixty_five = SystemRoll(RollSystem::kPlain88, 1.1, 1.0, 300);
  sixty_five.track_center = [](int hole) { return 1.6 + 0.2916667 + (hole - 1) / 6.0; };
  for (synth::SyntheticHole& hole : sixty_five.holes) hole.track = 1 + (hole.track - 21) * 64 / 87;
  const ScanLineArray sixty_five_lines = SyntheticScanLines(sixty_five);
  request.Scan = SyntheticScanView(sixty_five_lines, sixty_five);
  request.Library.clear();
  for (const RollTypeDefinition* type : ShippedLibrary())
    if (type->Name != "65-Note") request.Library.push_back(type);
  const AlignmentReport unfit = AlignScan(request);
  EXPECT_FALSE(unfit.Ranking.Decided);
  EXPECT_LT(unfit.Ranking.Ranked.front().Score, 0.6);
  request.Library = ShippedLibrary();
  const AlignmentReport fit = AlignScan(request);
  EXPECT_EQ(fit.Ranking.Recognised, "65-Note");
  EXPECT_NEAR(fit.Suggestion.Fit.Setting.Offset, 1.1, 0.005);

  // A roll only part of which the sensor saw is not taken for another system for what it
  // cannot show: an Ampico A roll whose bass tracks lie beyond the image.
  const synth::SyntheticRollSpec cut = SystemRoll(RollSystem::kAmpicoA, 2.9, 1.0, 300, 0, 0);
  const ScanLineArray cut_lines = SyntheticScanLines(cut);
  const AlignmentReport cut_report = Recognise(cut_lines, cut);
  EXPECT_NEAR(cut_report.Suggestion.Fit.Setting.Offset, 2.9, 0.005);
  EXPECT_TRUE(!cut_report.Ranking.Decided || cut_report.Ranking.Recognised == "Ampico A");
}

TEST(AlignSynthetic, MeasuresBeforeAndAfterAndIsDeterministic) {
  // Offset 1.06: the default 1.0 puts the holes half a track off.
  const synth::SyntheticRollSpec plan = SystemRoll(RollSystem::kAmpicoB, 1.06, 1.0, 300);
  const ScanLineArray lines = SyntheticScanLines(plan);
  const AlignmentReport first = Recognise(lines, plan);
  const AlignmentReport second = Recognise(lines, plan);
  EXPECT_LT(first.Suggestion.Before.Share(), 0.3);
  EXPECT_GE(first.Suggestion.Fit.Count.Share(), 0.99);
  ASSERT_EQ(first.Ranking.Ranked.size(), second.Ranking.Ranked.size());
  for (size_t k = 0; k < first.Ranking.Ranked.size(); ++k) {
    EXPECT_EQ(first.Ranking.Ranked[k].Name, second.Ranking.Ranked[k].Name);
    EXPECT_EQ(first.Ranking.Ranked[k].Score, second.Ranking.Ranked[k].Score);
    EXPECT_EQ(first.Ranking.Ranked[k].Fit.Setting.Offset, second.Ranking.Ranked[k].Fit.Setting.Offset);
  }

  // Without recognition the roll type in force is fitted.
  AlignRequest request;
  request.Scan = SyntheticScanView(lines, plan);
  request.RollType = &ShippedRollType("Ampico B");
  const AlignmentReport in_force = AlignScan(request);
  EXPECT_EQ(in_force.Suggestion.Name, "Ampico B");
  EXPECT_NEAR(in_force.Suggestion.Fit.Setting.Offset, 1.06, 0.005);
  EXPECT_TRUE(in_force.Ranking.Ranked.empty());

  // A scan without lines measures nothing and says so.
  const ScanLineArray none;
  request.Scan.Lines = &none;
  const AlignmentReport empty = AlignScan(request);
  EXPECT_FALSE(empty.Suggestion.Fit.Found);
  EXPECT_FALSE(empty.Notes.empty());
}

TEST(AlignSynthetic, AHeaderDpiOfZeroOrAbsurdFallsBackToThePresets) {
  testing::TempDir dir;
  for (const int header_dpi : {0, -5, 30000, 8224}) {
    SCOPED_TRACE(header_dpi);
    synth::SyntheticRollSpec plan = SystemRoll(RollSystem::kPlain88, 1.1, 1.0, 300, 0, 0);
    plan.length_inch = 30;
    plan.holes = synth::SystemRollHoles(RollSystem::kPlain88, 30, 3);
    plan.header_dpi = static_cast<int16_t>(header_dpi);
    const std::string path = dir.File("roll.cis");
    testing::WriteBytes(path, synth::RenderSyntheticCis(plan));
    testing::RecordingFrontEnd front_end;
    PreparedScan scan;
    ASSERT_TRUE(PrepareScan(path, front_end.settings, front_end, scan));
    AlignRequest request;
    request.Scan = AlignmentView(scan.Data, front_end.settings.Scanner.ScanLightingMethod);
    request.InForce = scan.Preset;
    request.RollType = &ShippedRollType("88-Note");
    const AlignmentReport report = AlignScan(request);
    EXPECT_EQ(report.HeaderDpi, static_cast<int16_t>(header_dpi));
    EXPECT_FALSE(report.HeaderDpiUsable);
    EXPECT_EQ(report.DpiCandidates, std::vector<int>{300});
    EXPECT_EQ(report.Suggestion.Fit.Setting.Dpi, 300);
    EXPECT_NEAR(report.Suggestion.Fit.Setting.Offset, 1.1, 0.005);
    ASSERT_FALSE(report.Notes.empty());
    EXPECT_NE(report.Notes.front().Text.find("no usable DPI"), std::string::npos);
  }
}

}  // namespace
}  // namespace tarvelo
