#pragma once
// A roll type's expression system and the figures of its model: how a reproducing roll's
// expression holes become the velocity of each note and the pedals of the expression MIDI
// file. The roll type library names the system (ExpressionSystem) and may tune any figure;
// a roll type without a system (and the built-in "Fail-Safe") keeps the eRoll velocities.
//
// Lengths along the paper are inches, vacuum is inches of water, velocities are MIDI units,
// Welte times are milliseconds and the other times seconds. Every figure has its element in
// the library (ExpressionParameters.h lists them with their ranges).

#include <array>
#include <string>
#include <string_view>

namespace tarvelo {

enum class ExpressionSystem {
  kNone,
  kWelteRed,       // Welte-Mignon T-100: lock-and-cancel valves, red figures
  kWelteGreen,     // Welte-Mignon T-98: held valves, green figures
  kWelteLicensee,  // Welte Licensee: lock-and-cancel valves, Licensee figures
  kAmpicoA,
  kAmpicoB,
  kDuoArt,
  kThemodist,  // 88-note rolls with accent holes
  kRecordoA,   // Recordo, binary levels
  kRecordoB,   // Recordo, single levels (the usual reading)
  kArtecho,
};

// The name the library uses ("Welte red", "Duo-Art", ..., "none").
std::string_view ExpressionSystemName(ExpressionSystem system);
// The system named `name` (exactly as ExpressionSystemName spells it); false when none is.
bool FindExpressionSystem(std::string_view name, ExpressionSystem& system);
// Every name, joined by ", ", for messages.
std::string ExpressionSystemNames();

struct ExpressionModel {
  ExpressionSystem System = ExpressionSystem::kNone;

  // Every system.
  double BridgeGap = 0.10;          // control holes of one track less than this apart are one hole
  double TrackerExtension = 0.042;  // a valve stays open this far past a hole's trailing edge
  double FirstTrebleTrack = 0;      // tracks below play in the bass half, from it in the treble half
  double BassOffset = 0;            // added to every velocity of the bass half
  // Vacuum systems: the expression levels follow their target after Delay with lag constant
  // Lag (paper lengths; 0 and 0: at once).
  double Lag = 0;
  double Delay = 0;
  double SnakebiteLead = 0.02;  // an accent hole takes the notes that start this far before it

  // Welte: piano, mezzoforte, loud, forte; the slow crescendo, the fast crescendo (both from
  // piano to mezzoforte) and the fast decrescendo (over DecrescendoSpan) in milliseconds.
  std::array<double, 4> WelteLevels{35, 60, 75, 90};
  std::array<double, 3> WelteTimes{2380, 300, 400};
  double WelteDecrescendoSpan = 55;

  // Duo-Art: accompaniment at steps 0 and 15, theme at steps 0 and 15 of its straight line,
  // the crash valve's vacuum at theme step 15, and how far above the accompaniment a weaker
  // theme plays.
  std::array<double, 2> AccompanimentVacuum{5, 28};
  std::array<double, 2> ThemeVacuum{5.5, 33};
  double CrashVacuum = 40;
  double ThemeFloor = 0.5;

  // Ampico A and B, Artecho: vacuum at the low and the high end for each latched set of
  // intensities (Ampico: none, 2, 4, 2+4, 6, 2+6, 4+6, 2+4+6; Artecho: none, 1, 2, 1+2, 3, 1+3,
  // 2+3, 1+2+3), in pairs.
  std::array<double, 16> IntensityVacuum{};
  std::array<double, 16> SubIntensityVacuum{};  // Ampico B with the sub-intensity latched
  // Ampico A: the crescendo's rate per latched set and with the fast crescendo open (inches of
  // vacuum per second), its range, the amplifier's travel per second and its targets with
  // 4 + 6, 2 + 6 and 6 latched.
  std::array<double, 8> CrescendoRates{3, 3.5, 4.5, 5.5, 5.5, 6, 6.5, 6.5};
  double FastCrescendoRate = 12;
  std::array<double, 2> CrescendoVacuum{6, 30};
  double AmplifierRate = 2;
  std::array<double, 3> AmplifierTargets{1.0, 0.5, 0.2};
  // Ampico B: the crescendo's full travel slow and fast (seconds), and the bounds of the first
  // and second amplifier.
  std::array<double, 2> CrescendoTimes{4, 0.8};
  std::array<double, 2> AmplifierBounds{0.3, 0.85};
  // Artecho: the crescendo's full travel (seconds), the pianissimo's drop (inches of vacuum),
  // the hammer rails' velocity factor.
  double CrescendoTime = 1.1;
  double PianissimoDrop = 1;
  double HammerRailFactor = 0.9;

  // 88-note accents: every note, and a note in an accent hole's window.
  std::array<double, 2> ThemodistVelocities{50, 90};

  // Recordo B: vacuum with no port, p, mf, f, ff open; Recordo A: vacuum of levels 0..10; the
  // hammer rail's vacuum at the lowest level.
  std::array<double, 5> RecordoLevels{9, 11.25, 15.5, 19.5, 35};
  std::array<double, 11> RecordoBinaryLevels{8, 9, 10, 11.5, 13, 14.5, 16, 18, 20.5, 27, 35};
  double HammerRailFloor = 8;

  // Per track, a bridge gap of its own (inches); below 0: BridgeGap.
  std::array<double, 256> TrackBridgeGap = FilledTrackBridgeGaps();

  // The bridge gap of `track`.
  double BridgeGapOf(int track) const;
  // The first treble track as a track number.
  int FirstTreble() const { return static_cast<int>(FirstTrebleTrack); }

 private:
  static std::array<double, 256> FilledTrackBridgeGaps() {
    std::array<double, 256> gaps{};
    gaps.fill(-1.0);
    return gaps;
  }
};

// The figures of `system` as the program knows them.
ExpressionModel DefaultExpressionModel(ExpressionSystem system);

}  // namespace tarvelo
