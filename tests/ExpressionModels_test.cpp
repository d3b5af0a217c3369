// The expression models against worked values: holes given in seconds of a roll played at one
// tempo, notes read at given onsets. Unless a case says otherwise there is no tracker
// extension, no lag and the usual bridge gap.
#include <gtest/gtest.h>

#include <vector>

#include "expression/ControlHoles.h"
#include "expression/PerformExpression.h"
#include "expression/TrackFunctions.h"
#include "midi/RollTiming.h"
#include "rolltypes/ExpressionModel.h"

namespace tarvelo {
namespace {

class Roll {
 public:
  explicit Roll(ExpressionSystem system, int tempo = 80) : model_(DefaultExpressionModel(system)), timing_(tempo) {
    model_.TrackerExtension = 0;
    model_.Lag = 0;
    model_.Delay = 0;
  }
  ExpressionModel& Model() { return model_; }

  // A hole of `track` from `from` to `to` seconds; a lock's short punch by default.
  Roll& Hole(int track, double from, double to = -1) {
    holes_.push_back({track, Inches(from), Inches(to < 0 ? from + 0.03 : to)});
    return *this;
  }
  // A chain of holes of `length` seconds every `every` seconds from `from` to `to`.
  Roll& Chain(int track, double from, double to, double length, double every) {
    for (int k = 0; from + k * every + length <= to + 1e-9; ++k)
      Hole(track, from + k * every, from + k * every + length);
    return *this;
  }

  // The model's value for a note at `at` seconds in the treble (or bass) half.
  double Level(double at, bool treble = true) const {
    OnsetsByHalf onsets;
    onsets[treble ? 1 : 0].push_back(Inches(at));
    const ControlHoles holes(holes_, RolesOfSystem(model_.System, model_.FirstTreble()), model_);
    const LevelsByHalf levels = ModelLevels(holes, onsets, model_, timing_);
    return levels[treble ? 1 : 0].at(0);
  }
  int Velocity(double at, bool treble = true) const { return NoteVelocity(Level(at, treble), !treble, model_); }
  std::vector<int> Treble(std::initializer_list<double> onsets) const { return Velocities(onsets, true); }
  std::vector<int> Bass(std::initializer_list<double> onsets) const { return Velocities(onsets, false); }

 private:
  std::vector<int> Velocities(std::initializer_list<double> onsets, bool treble) const {
    std::vector<int> velocities;
    for (const double at : onsets) velocities.push_back(Velocity(at, treble));
    return velocities;
  }
  double Inches(double seconds) const { return timing_.InchesAtSeconds(seconds); }

  ExpressionModel model_;
  RollTiming timing_;
  std::vector<TrackHole> holes_;
};

using V = std::vector<int>;

// Red T-100 tracks: treble 95 forzando forte, 96 forzando piano, 97 / 98 crescendo on / off,
// 99 mezzoforte on; bass 3 / 4 crescendo off / on.
TEST(WelteModel, SlowCrescendoLocksAndTheMezzoforteHook) {
  Roll w1(ExpressionSystem::kWelteRed);
  w1.Hole(97, 1.0).Hole(98, 6.0);
  EXPECT_EQ(w1.Treble({2.0, 3.38, 5.0, 7.0, 9.0, 10.0}), (V{46, 60, 75, 64, 43, 35}));
  Roll w1_bass(ExpressionSystem::kWelteRed);
  w1_bass.Hole(4, 1.0).Hole(3, 6.0);  // the bass half plays 5 less
  EXPECT_EQ(w1_bass.Bass({2.0, 3.38, 5.0, 7.0, 9.0, 10.0}), (V{41, 55, 70, 59, 38, 30}));

  // The hook parks the crescendo at mf and does not hold the level: it decays once the
  // crescendo stops (7.000 gives 49, not 60).
  Roll w2(ExpressionSystem::kWelteRed);
  w2.Hole(97, 1.0).Hole(98, 6.0).Hole(99, 0.0);
  EXPECT_EQ(w2.Treble({2.0, 3.38, 4.0, 6.0, 7.0, 9.0}), (V{46, 60, 60, 60, 49, 35}));

  // A crescendo never cancelled lasts to the end of the roll.
  Roll w6(ExpressionSystem::kWelteRed);
  w6.Hole(97, 1.0);
  EXPECT_EQ(w6.Treble({5.0, 8.0}), (V{75, 75}));
}

TEST(WelteModel, ForzandosActWhileOpen) {
  Roll w3(ExpressionSystem::kWelteRed);
  w3.Hole(95, 0.5, 0.8);
  EXPECT_EQ(w3.Treble({0.65, 0.799, 1.0, 2.0}), (V{48, 60, 58, 47}));

  Roll w4(ExpressionSystem::kWelteRed);
  w4.Hole(95, 0.0, 1.0).Hole(96, 1.0, 2.0);
  EXPECT_LT(w4.Level(0.660), 90);
  EXPECT_EQ(w4.Level(0.661), 90);
  EXPECT_GT(w4.Level(1.398), 35);
  EXPECT_EQ(w4.Level(1.399), 35);

  // From above, the hook stops a fall at mf + 0.0001.
  Roll w5(ExpressionSystem::kWelteRed);
  w5.Hole(95, 0.0, 0.7).Hole(99, 1.0);
  EXPECT_EQ(w5.Treble({1.0, 1.5, 3.0, 4.0, 5.0}), (V{87, 82, 66, 60, 60}));
  EXPECT_DOUBLE_EQ(w5.Level(5.0), 60.0001);

  // The slow crescendo and a forzando add; "loud" caps the slow crescendo alone.
  Roll w7(ExpressionSystem::kWelteRed);
  w7.Hole(97, 0.0).Hole(95, 0.0, 0.3);
  EXPECT_EQ(w7.Treble({0.1, 0.299, 1.0, 2.0}), (V{44, 63, 70, 75}));
}

TEST(WelteModel, ChainPerforationsAreBridged) {
  // 0.05 s at tempo 80 is 0.08 in of paper, under the 0.10 in bridge gap.
  Roll unbridged(ExpressionSystem::kWelteRed);
  unbridged.Model().BridgeGap = 0;
  unbridged.Hole(95, 0.5, 0.6).Hole(95, 0.65, 0.8);
  EXPECT_EQ(unbridged.Velocity(0.799), 55);
  Roll bridged(ExpressionSystem::kWelteRed);
  bridged.Hole(95, 0.5, 0.6).Hole(95, 0.65, 0.8);
  EXPECT_EQ(bridged.Velocity(0.799), 60);
}

// Green T-98 treble: 109 forzando forte, 110 crescendo, 112 mezzoforte, all held.
TEST(WelteModel, GreenRollsHoldTheirValvesWhileOpen) {
  Roll g1(ExpressionSystem::kWelteGreen);
  g1.Hole(110, 1.0, 6.0);
  EXPECT_EQ(g1.Treble({2.0, 3.455, 5.0, 7.0, 9.0}), (V{45, 60, 75, 65, 44}));
  Roll g2(ExpressionSystem::kWelteGreen);
  g2.Hole(110, 1.0, 6.0).Hole(112, 0.0, 10.0);
  EXPECT_EQ(g2.Treble({4.0, 6.0, 7.0, 9.0}), (V{60, 60, 50, 35}));
  Roll g3(ExpressionSystem::kWelteGreen);
  g3.Hole(109, 0.5, 0.8);
  EXPECT_EQ(g3.Treble({0.65, 0.744, 0.799, 1.0, 2.0}), (V{50, 60, 66, 64, 53}));
  // The hook ends with its hole: the crescendo after it reaches "loud".
  Roll short_hook(ExpressionSystem::kWelteGreen);
  short_hook.Hole(112, 0.0, 2.0).Hole(110, 1.0, 6.0);
  EXPECT_EQ(short_hook.Velocity(5.5), 75);
}

// Licensee treble: 108 / 109 forzando on / off, 110 / 111 crescendo on / off.
TEST(WelteModel, LicenseeFigures) {
  Roll l1(ExpressionSystem::kWelteLicensee);
  l1.Hole(108, 0.0, 1.0).Hole(109, 1.0, 3.0);
  EXPECT_LT(l1.Level(0.484), 90);
  EXPECT_EQ(l1.Level(0.485), 90);
  // The fast decrescendo spans mezzoforte to piano in its 186 ms: 90 to 35 in 0.41 s.
  EXPECT_EQ(l1.Treble({1.1, 1.2, 1.3}), (V{76, 63, 50}));
  EXPECT_GT(l1.Level(1.408), 35);
  EXPECT_EQ(l1.Level(1.409), 35);
  Roll l2(ExpressionSystem::kWelteLicensee);
  l2.Hole(110, 1.0).Hole(111, 6.0);
  EXPECT_EQ(l2.Treble({2.0, 3.163, 4.0, 5.0}), (V{47, 60, 70, 75}));
}

// Duo-Art: accompaniment 21 (1), 22 (2), 23 (4), 24 (8); theme 105 (8), 106 (4), 107 (2),
// 108 (1); snakebites 19/20 bass, 109/110 treble.
TEST(DuoArtModel, RegulatorsAndSnakebites) {
  Roll d1(ExpressionSystem::kDuoArt);
  for (const int track : {21, 22, 23, 24}) d1.Hole(track, 0.0, 10.0);
  EXPECT_EQ(d1.Velocity(5.0), 81);
  EXPECT_EQ(d1.Velocity(5.0, false), 81);

  Roll d2 = d1;
  for (const int track : {105, 106, 107, 108}) d2.Hole(track, 0.0, 10.0);
  d2.Hole(109, 4.9, 5.1);
  EXPECT_EQ(d2.Velocity(5.0), 89);  // the crash valve: 40 in
  EXPECT_EQ(d2.Velocity(5.0, false), 81);

  // A theme weaker than the accompaniment plays just above it (11.633 in), else as it is.
  Roll d3(ExpressionSystem::kDuoArt);
  d3.Hole(23, 0.0, 10.0).Hole(107, 0.0, 10.0).Hole(110, 4.9, 5.1);
  EXPECT_EQ(d3.Treble({5.0, 6.0}), (V{61, 60}));

  Roll d4(ExpressionSystem::kDuoArt);
  d4.Hole(20, 4.9, 5.1);
  EXPECT_EQ(d4.Bass({5.0, 6.0}), (V{40, 38}));

  // The snakebite's window is its own hole (from 0.02 in before it), not 200 ms around it.
  Roll d6(ExpressionSystem::kDuoArt, 70);
  d6.Hole(23, 0.0, 10.0).Hole(105, 0.0, 10.0).Hole(109, 1.0, 1.071);
  EXPECT_EQ(d6.Treble({1.02, 1.2, 0.995}), (V{74, 60, 74}));  // theme 20.17 in, accompaniment 11.13 in
  d6.Model().TrackerExtension = 0.042;                        // 30 ms at 1.4 in/s: still over by 1.2 s
  EXPECT_EQ(d6.Velocity(1.2), 60);
}

TEST(DuoArtModel, BridgedChainsAndTheRegulatorsLag) {
  // Chains of 0.05 s holes every 0.1 s at tempo 70: gaps of 0.07 in.
  Roll bridged(ExpressionSystem::kDuoArt, 70);
  bridged.Chain(21, 0.0, 1.0, 0.05, 0.1);
  EXPECT_EQ(bridged.Velocity(0.075), 45);
  Roll unbridged = bridged;
  unbridged.Model().BridgeGap = 0;
  EXPECT_EQ(unbridged.Velocity(0.075), 38);

  // Delay 0.143 in and lag 0.050 in: 0.102 s and 0.036 s at 1.4 in/s.
  Roll d7(ExpressionSystem::kDuoArt, 70);
  d7.Model().Lag = 0.050;
  d7.Model().Delay = 0.143;
  for (const int track : {21, 22, 23, 24}) d7.Hole(track, 1.0, 10.0);
  EXPECT_EQ(d7.Treble({1.05, 1.1736, 2.0}), (V{38, 79, 81}));
}

// Ampico A bass: 16 slow crescendo, 17 / 19 / 21 intensities 2 / 4 / 6, 20 fast crescendo,
// 22 cancel; treble 108 intensity 6.
TEST(AmpicoModel, AmpicoAIntensitiesAmplifierAndCrescendo) {
  Roll a1(ExpressionSystem::kAmpicoA);
  EXPECT_EQ(a1.Treble({1.0}), (V{42}));
  EXPECT_EQ(a1.Bass({1.0}), (V{42}));

  Roll a2(ExpressionSystem::kAmpicoA);
  a2.Hole(17, 0.10, 0.15).Hole(19, 0.10, 0.15).Hole(21, 0.10, 0.15);
  EXPECT_EQ(a2.Bass({0.35, 0.6, 1.5}), (V{79, 83, 83}));
  EXPECT_EQ(a2.Treble({0.6, 1.5}), (V{47, 47}));

  Roll a3 = a2;
  a3.Hole(22, 2.0, 2.05);
  EXPECT_EQ(a3.Bass({2.1, 2.6}), (V{46, 42}));
  EXPECT_EQ(a3.Treble({2.1, 2.6}), (V{46, 42}));

  Roll a4(ExpressionSystem::kAmpicoA);
  a4.Hole(16, 1.0, 3.0);
  EXPECT_EQ(a4.Bass({2.0, 2.999, 4.0, 5.0}), (V{54, 62, 54, 42}));
  Roll a6 = a4;  // the fast crescendo hole alone: a decrescendo at the fast rate
  a6.Hole(20, 3.0, 3.25);
  EXPECT_EQ(a6.Bass({3.249}), (V{54}));

  Roll a5(ExpressionSystem::kAmpicoA);
  a5.Hole(16, 1.0, 1.5).Hole(20, 1.0, 1.5);
  EXPECT_EQ(a5.Bass({1.25, 1.499, 2.0}), (V{54, 62, 59}));

  Roll a7(ExpressionSystem::kAmpicoA);
  a7.Hole(108, 0.1, 0.15);
  EXPECT_EQ(a7.Treble({2.0}), (V{60}));
  EXPECT_EQ(a7.Bass({2.0}), (V{43}));
}

// Ampico B: 113 slow and 109 fast crescendo for both halves, 15 amplifier, 114 sub-intensity.
TEST(AmpicoModel, AmpicoBCrescendoAmplifiersAndSubIntensity) {
  Roll b1(ExpressionSystem::kAmpicoB);
  EXPECT_EQ(b1.Treble({1.0}), (V{41}));

  Roll b2(ExpressionSystem::kAmpicoB);
  b2.Hole(113, 0.0, 3.0);
  EXPECT_EQ(b2.Treble({2.999, 5.0, 6.0, 8.0}), (V{57, 47, 41, 41}));
  EXPECT_EQ(b2.Bass({2.999}), (V{57}));

  Roll b3(ExpressionSystem::kAmpicoB);
  for (const int track : {17, 19, 21, 112, 110, 108}) b3.Hole(track, 0.1, 0.15);
  b3.Hole(113, 0.0, 6.0);
  EXPECT_EQ(b3.Treble({5.0}), (V{89}));
  Roll b3_sub = b3;
  b3_sub.Hole(114, 0.2, 0.25);
  EXPECT_EQ(b3_sub.Treble({4.9}), (V{86}));
  b3_sub.Hole(107, 5.0, 5.05);  // the treble cancel clears that side's sub-intensity too
  EXPECT_EQ(b3_sub.Treble({5.5}), (V{61}));
  EXPECT_EQ(b3_sub.Bass({5.5}), (V{86}));

  Roll b4(ExpressionSystem::kAmpicoB);
  b4.Hole(113, 0.0, 3.0).Hole(15, 1.0, 1.4);
  EXPECT_EQ(b4.Treble({1.399, 2.0, 5.2, 6.0, 9.0}), (V{57, 59, 48, 48, 48}));
  // The hole opening again frees the position.
  Roll b4_again = b4;
  b4_again.Hole(15, 9.0, 9.2);
  EXPECT_EQ(b4_again.Treble({10.0}), (V{41}));
}

// 88-note accents: 109/110 treble, 19/20 bass.
TEST(ThemodistModel, AccentHolesOfTheirHalf) {
  Roll t1(ExpressionSystem::kThemodist);
  EXPECT_EQ(t1.Treble({1.0, 2.0}), (V{50, 50}));
  EXPECT_EQ(t1.Bass({1.0}), (V{50}));
  Roll t2(ExpressionSystem::kThemodist);
  t2.Hole(109, 1.0, 1.06);
  EXPECT_EQ(t2.Treble({1.03, 1.3}), (V{90, 50}));
  EXPECT_EQ(t2.Bass({1.03}), (V{50}));
}

// Recordo: 109 ff, 110 f, 111 mf, 112 p; hammer rails 16 bass, 113 treble.
TEST(RecordoModel, HighestPortWinsAndTheHammerRailDropsHalfway) {
  Roll b(ExpressionSystem::kRecordoB);
  b.Hole(112, 1.0, 4.0).Hole(110, 2.0, 3.0).Hole(113, 2.5, 2.8).Hole(16, 5.0, 6.0);
  EXPECT_EQ(b.Treble({0.5, 1.5, 2.2, 2.6, 3.5}), (V{54, 61, 74, 71, 61}));
  EXPECT_EQ(b.Bass({2.6, 5.5}), (V{74, 51}));  // 17.5 in; 8 in at the lowest level
  Roll a(ExpressionSystem::kRecordoA);
  a.Hole(112, 1.0, 4.0).Hole(110, 2.0, 3.0);
  EXPECT_EQ(a.Treble({0.5, 1.5, 2.5}), (V{51, 54, 67}));  // levels 0, 1, 5: 8, 9, 14.5 in
}

// Artecho bass: 15/16/17 intensities 1/2/3, 19 cancel, 20 decrescendo, 21 crescendo, 22 rail.
TEST(ArtechoModel, IntensitiesCrescendoAndHammerRail) {
  Roll roll(ExpressionSystem::kArtecho);
  EXPECT_EQ(roll.Bass({1.0}), (V{40}));  // 5.5 in
  roll.Hole(17, 1.0, 1.05).Hole(21, 2.0, 2.55).Hole(22, 4.0, 4.05).Hole(106, 6.0, 6.05).Hole(19, 7.0, 7.05);
  EXPECT_EQ(roll.Bass({1.5, 3.0, 5.0, 6.5, 7.5}), (V{63, 73, 65, 73, 52}));  // 12.5, 18.75, rail, 8.25 in
  EXPECT_EQ(roll.Treble({3.0}), (V{40}));
}

}  // namespace
}  // namespace tarvelo
