#include "helpers/ExpressionRolls.h"

#include <algorithm>
#include <initializer_list>

namespace tarvelo::testing {

namespace {

constexpr double kLength = 60;  // inches

class Punch {
 public:
  explicit Punch(synth::SyntheticRollSpec& plan) : plan_(plan) {}
  // One hole of `track` from `at`, `length` inches long (a lock's short punch by default).
  Punch& Hole(int track, double at, double length = 0.05) {
    plan_.holes.push_back({track, at, length});
    return *this;
  }
  // A held function punched as a chain: holes 0.07 in long, 0.075 in apart, from `from` to `to`.
  Punch& Chain(int track, double from, double to) {
    for (double at = from; at + 0.07 <= to; at += 0.145) Hole(track, at, 0.07);
    return *this;
  }
  // A lock-and-cancel pair: "on" at `from`, "off" at `to`.
  Punch& Lock(int on, int off, double from, double to) { return Hole(on, from).Hole(off, to); }
  // The notes: a bass and a treble note every 0.3 in, their pitches wandering over each half;
  // `accent` (when > 0) is called for each note with its index, half and onset.
  template <typename Accent>
  Punch& Notes(int low, int split, int high, Accent&& accent) {
    int k = 0;
    for (double at = 1.0; at < kLength - 2; at += 0.3, ++k) {
      const int bass = low + (k * 7) % (split - low);
      const int treble = split + (k * 5) % (high - split + 1);
      Hole(bass, at, 0.15);
      Hole(treble, at + 0.1, 0.12);
      accent(k, false, at);
      accent(k, true, at + 0.1);
    }
    return *this;
  }
  Punch& Notes(int low, int split, int high) {
    return Notes(low, split, high, [](int, bool, double) {});
  }

 private:
  synth::SyntheticRollSpec& plan_;
};

void WelteLicensee(Punch& roll) {
  roll.Notes(24, 67, 103);
  // Treble: 110 / 111 crescendo, 112 / 113 mezzoforte, 108 / 109 forzando forte / piano (held).
  roll.Lock(110, 111, 3, 18).Lock(110, 111, 30, 45).Lock(112, 113, 22, 28);
  for (const double at : {10.0, 35.0, 50.0}) roll.Hole(108, at, 0.4);
  for (const double at : {14.0, 40.0, 55.0}) roll.Hole(109, at, 0.6);
  // Bass: 19 / 18 crescendo, 17 / 16 mezzoforte, 21 / 20 forzandos.
  roll.Lock(19, 18, 8, 12).Lock(17, 16, 40, 52).Lock(19, 18, 42, 50).Hole(21, 25, 0.3).Hole(20, 27, 0.8);
  // Sustain 106 on / 107 off, soft 23 on / 22 off.
  for (double at = 2; at < kLength - 4; at += 4) roll.Lock(106, 107, at, at + 2);
  roll.Lock(23, 22, 20, 30);
}

void WelteRed(Punch& roll) {
  roll.Notes(11, 54, 90);
  roll.Lock(97, 98, 3, 18).Lock(97, 98, 30, 45).Lock(99, 100, 22, 28);
  for (const double at : {10.0, 35.0, 50.0}) roll.Hole(95, at, 0.4);
  for (const double at : {14.0, 40.0, 55.0}) roll.Hole(96, at, 0.6);
  roll.Lock(4, 3, 8, 12).Lock(2, 1, 40, 52).Lock(4, 3, 42, 50).Hole(6, 25, 0.3).Hole(5, 27, 0.8);
  for (double at = 2; at < kLength - 4; at += 4) roll.Lock(93, 94, at, at + 2);
  roll.Lock(8, 7, 20, 30);
  // The motor and rewind holes play no part.
  roll.Hole(9, 1.0).Hole(10, 1.5).Hole(91, kLength - 1.5, 0.5);
}

void WelteGreen(Punch& roll) {
  roll.Notes(21, 67, 108);
  // Held valves: treble 110 crescendo, 112 mezzoforte, 109 / 113 forzando forte / piano.
  roll.Hole(110, 3, 15).Hole(110, 30, 15).Hole(112, 22, 6);
  for (const double at : {10.0, 35.0, 50.0}) roll.Hole(109, at, 0.4);
  for (const double at : {14.0, 40.0, 55.0}) roll.Hole(113, at, 0.6);
  roll.Hole(19, 8, 4).Hole(17, 40, 12).Hole(19, 42, 8).Hole(20, 25, 0.3).Hole(16, 27, 0.8);
  for (double at = 2; at < kLength - 4; at += 4) roll.Hole(18, at, 2);
  roll.Hole(111, 20, 10);
}

void DuoArt(Punch& roll) {
  // Snakebites beside every fifth treble note and every seventh bass note.
  roll.Notes(25, 64, 104, [&](int k, bool treble, double at) {
    if (treble && k % 5 == 0) roll.Hole(109, at - 0.03, 0.1).Hole(110, at - 0.03, 0.1);
    if (!treble && k % 7 == 0) roll.Hole(19, at - 0.03, 0.1).Hole(20, at - 0.03, 0.1);
  });
  // The accompaniment climbs a step every 2 in to 14 and back; the theme at 8, then 12.
  const int weights[4] = {1, 2, 4, 8};
  const int tracks[4] = {21, 22, 23, 24};
  for (int step = 0; step < 28; ++step) {
    const int level = step < 14 ? step + 1 : 28 - step;
    for (int bit = 0; bit < 4; ++bit)
      if ((level & weights[bit]) != 0) roll.Chain(tracks[bit], 1 + 2.0 * step, 3 + 2.0 * step - 0.08);
  }
  roll.Chain(105, 1, 30).Chain(105, 30, kLength - 2).Chain(106, 30, kLength - 2);
  for (double at = 2; at < kLength - 4; at += 4) roll.Chain(18, at, at + 2.5);
  roll.Chain(113, 20, 30);
}

void AmpicoA(Punch& roll) {
  roll.Notes(23, 65, 105);
  // Bass: 16 slow, 20 fast, 17 / 19 / 21 intensities 2 / 4 / 6, 22 cancel.
  roll.Hole(17, 2).Hole(16, 5, 7).Hole(22, 15).Hole(19, 20).Hole(21, 20).Hole(16, 22, 4).Hole(20, 22, 1);
  roll.Hole(22, 35).Hole(16, 40, 10);
  // Treble: 113 slow, 109 fast, 112 / 110 / 108 intensities, 107 cancel.
  roll.Hole(108, 3).Hole(113, 8, 12).Hole(112, 25).Hole(109, 28, 1).Hole(107, 30).Hole(110, 33);
  roll.Hole(113, 35, 10).Hole(109, 35, 2).Hole(107, 50);
  for (double at = 2; at < kLength - 4; at += 4) roll.Hole(18, at, 2.5);
  roll.Chain(111, 20, 30);
}

void AmpicoB(Punch& roll) {
  roll.Notes(23, 65, 105);
  // 113 slow and 109 fast crescendo (16 and 20 repeat them for A pianos), 15 amplifier, 114 sub.
  for (const auto& [track, copy, from, length] :
       {std::tuple{113, 16, 3.0, 12.0}, {113, 16, 20.0, 10.0}, {113, 16, 40.0, 15.0}, {109, 20, 20.0, 2.0}}) {
    roll.Hole(track, from, length).Hole(copy, from, length);
  }
  roll.Hole(15, 8, 1).Hole(15, 42, 1).Hole(114, 35);
  roll.Hole(17, 1).Hole(19, 1).Hole(22, 18).Hole(21, 25);
  roll.Hole(108, 2).Hole(112, 30).Hole(110, 30).Hole(107, 45);
  for (double at = 2; at < kLength - 4; at += 4) roll.Hole(18, at, 2.5);
  roll.Hole(111, 20, 10);
}

void Themodist(Punch& roll) {
  roll.Notes(21, 64, 108, [&](int k, bool treble, double at) {
    if (treble && k % 4 == 0) roll.Hole(109, at - 0.03, 0.1).Hole(110, at - 0.03, 0.1);
    if (!treble && k % 6 == 0) roll.Hole(19, at - 0.03, 0.1).Hole(20, at - 0.03, 0.1);
  });
  for (double at = 2; at < kLength - 4; at += 4) roll.Hole(18, at, 2.5);
  roll.Hole(113, 20, 10);
}

void Recordo(Punch& roll) {
  roll.Notes(21, 62, 108);
  // 112 p, 111 mf, 110 f, 109 ff held; hammer rails 16 bass, 113 treble.
  roll.Hole(112, 2, 48).Hole(111, 10, 10).Hole(110, 25, 10).Hole(109, 40, 5).Hole(113, 12, 4).Hole(16, 30, 4);
  for (double at = 2; at < kLength - 4; at += 4) roll.Hole(18, at, 2.5);
}

void Artecho(Punch& roll) {
  roll.Notes(23, 65, 105);
  // Bass: 15 / 16 / 17 intensities, 21 crescendo, 20 decrescendo, 19 cancel, 22 rail.
  roll.Hole(16, 2).Hole(21, 4, 2).Hole(20, 12, 1).Hole(17, 20).Hole(19, 30).Hole(22, 35).Hole(106, 45);
  // Treble: 114 / 113 / 112 intensities, 109 crescendo, 110 decrescendo, 108 pianissimo.
  roll.Hole(114, 3).Hole(109, 8, 3).Hole(108, 25).Hole(110, 28, 1).Hole(112, 33).Hole(109, 40, 4);
  for (double at = 2; at < kLength - 4; at += 4) roll.Hole(18, at, 2.5);
}

}  // namespace

ExpressionRoll MakeExpressionRoll(ExpressionSystem system) {
  ExpressionRoll roll;
  roll.Plan.title = "Expression roll";
  roll.Plan.tempo = 80;
  roll.Plan.length_inch = kLength;
  Punch punch(roll.Plan);
  switch (system) {
    case ExpressionSystem::kWelteLicensee:
      roll.RollType = "Welte Licensee";
      WelteLicensee(punch);
      break;
    case ExpressionSystem::kWelteRed:
      // 12.9-inch paper at 0.12526 in a hole: scanned at 250 DPI to fit the sensor.
      roll.RollType = "Welte T-100 Red";
      roll.ScannerDpi = 250;
      roll.Plan.dpi = 250;
      roll.Plan.upper_edge = 14.502;
      roll.Plan.hole_diameter = 0.072;
      roll.Plan.track_center = [](int hole) { return 1.6 + (hole + 1) * 0.12526; };
      WelteRed(punch);
      break;
    case ExpressionSystem::kWelteGreen:
      roll.RollType = "Welte T-98 Green";
      WelteGreen(punch);
      break;
    case ExpressionSystem::kDuoArt:
      roll.RollType = "Duo-Art";
      DuoArt(punch);
      break;
    case ExpressionSystem::kAmpicoA:
      roll.RollType = "Ampico A";
      AmpicoA(punch);
      break;
    case ExpressionSystem::kAmpicoB:
      roll.RollType = "Ampico B";
      AmpicoB(punch);
      break;
    case ExpressionSystem::kThemodist:
      roll.RollType = "88-Note";
      Themodist(punch);
      break;
    case ExpressionSystem::kRecordoA:
    case ExpressionSystem::kRecordoB:
      roll.RollType = "Recordo";
      Recordo(punch);
      break;
    case ExpressionSystem::kArtecho:
      roll.RollType = "Artecho";
      Artecho(punch);
      break;
    case ExpressionSystem::kNone:
      roll.RollType = "65-Note";
      break;
  }
  std::sort(roll.Plan.holes.begin(), roll.Plan.holes.end(),
            [](const synth::SyntheticHole& a, const synth::SyntheticHole& b) { return a.start_inch < b.start_inch; });
  return roll;
}

}  // namespace tarvelo::testing
