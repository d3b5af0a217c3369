#pragma once
// Whether a conversion's settings put a scan's holes on the tracks of its roll type: judged
// from the alignment measurement, by comparing where the settings in force place every hole
// with where the best fit of the roll type's tracks places it. A roll placed whole tracks off
// (every note a semitone or more off), one whose DPI spreads the holes over the wrong width, and
// one in which no hole was found are told apart from one placed right; the per-hole off-track
// share cannot see the first, as every hole then lies near some track.
//
// Deterministic; nothing is reported here (see DescribePlacement for the words).

#include <string>

#include "align/AlignScan.h"

namespace tarvelo {

enum class PlacementFinding {
  kRight,       // the settings in force put the holes on their own tracks (or too few holes to tell)
  kTracksOff,   // every hole lands a whole number of tracks from its own
  kDpiMisfit,   // the DPI or the stretch spreads the holes over another width than the tracks'
  kNoHoles,     // the scan shows no hole
  kUnreadable,  // the roll type's tracks fit the holes nowhere well: the placement cannot be judged
};

struct PlacementVerdict {
  PlacementFinding Finding = PlacementFinding::kRight;
  std::string RollType;
  // kTracksOff: whole tracks by which the settings in force place the notes above (+) or below
  // (-) their own tracks.
  int TracksOff = 0;
  // How far the settings in force move the holes from where the fit places them, in tracks: at
  // the bass end and at the treble end of the holes (equal when only the offset differs).
  double BassShift = 0;
  double TrebleShift = 0;
  ScannerSetting InForce;
  ScannerSetting Fitted;    // the best fit (when Confident)
  double InForceShare = 0;  // share of the holes on a track with the settings in force
  double FittedShare = 0;   // and with the fit
  // The paper edge that shows (the bass edge first), placed by the settings in force, and where
  // the roll type expects it.
  bool EdgeShown = false;
  bool BassEdge = true;
  double EdgeAt = 0;
  double EdgeExpected = 0;
  int HeaderDpi = 0;  // as the file states it (0: none)
  // The fit reads the roll: enough holes sit on the fitted tracks to convert with the fit.
  bool Confident = false;
  std::string Unreadable;  // kUnreadable, or not Confident: why the measurement cannot read the roll

  bool Wrong() const { return Finding != PlacementFinding::kRight; }
};

// `report`: AlignScan of the scan for the roll type in force (without a recognised suggestion).
// `tracking`: the conversion tracks the paper's sideways wander; it starts from the paper's
// place at the roll's start, so the fitted offset is the one for that place (without tracking,
// for the paper's median place).
PlacementVerdict JudgePlacement(const AlignmentReport& report, bool tracking);

// The values a conversion places the holes with to put them where `fitted` (a fit of the
// measurement's holes) does: the fit itself, or for a conversion that tracks the paper (it
// starts from the paper's place at the roll's start, not from its median place), the fit with
// its offset moved by the wander at the start.
ScannerSetting ConversionSetting(const ScannerSetting& fitted, const ScanMeasurement& measurement, bool tracking);

// What is wrong, in numbers, for a message (empty for a roll placed right), e.g. "the notes are
// 1 track (a semitone) low: the paper's bass edge lies at 1.49 inch, the roll type expects 1.6
// inch".
// `sentence_start` false: the text goes on a sentence begun by the caller ("the notes are …").
std::string DescribePlacement(const PlacementVerdict& verdict, bool sentence_start = true);

}  // namespace tarvelo
