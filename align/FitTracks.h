#pragma once
// Fitting a roll type's tracks to the measured holes: the DPI, stretch and offset that put
// the most holes within a set share of the track spacing of a track centre inside the
// roll type's tracked span, and how many holes a given setting puts there.
//
// Pixel x lies at x * Stretch / Dpi + Offset inches. The search tries every candidate DPI,
// stretches in MinStretch..MaxStretch and offsets in MinOffset..MaxOffset: for each stretch
// the holes' phases against the track spacing give the best offset within one spacing, every
// whole number of spacings is then counted exactly; the best fit is refined by least squares
// on the holes it puts on track. Fits a whole number of tracks apart that count nearly as
// many holes are told apart by the paper edge, which must lie nearest to where the roll type
// expects it. Deterministic.

#include <span>
#include <vector>

#include "align/AlignmentInput.h"
#include "align/ScanMeasurement.h"
#include "align/TrackLayout.h"

namespace tarvelo {

struct FitOptions {
  double MinStretch = 0.97;
  double MaxStretch = 1.03;
  double MinOffset = -4.0;
  double MaxOffset = 4.0;
  double OnTrackShare = 0.3;  // a hole is on track within this share of the spacing from a centre
};

// A hole of plausible size at `dpi`: 0.02 to 0.2 inch across, seen on two lines or more.
bool IsPlausibleHole(const MeasuredHole& hole, int dpi);

// Holes counted at a setting: those of a plausible hole size at its DPI, and how many of them
// lie on a track of the span.
struct OnTrackCount {
  int OnTrack = 0;
  int Counted = 0;
  double Share() const { return Counted > 0 ? static_cast<double>(OnTrack) / Counted : 0.0; }
};

OnTrackCount CountOnTrack(const ScanMeasurement& scan, const TrackLayout& layout, const ScannerSetting& setting,
                          const FitOptions& options = {});

// For every hole of scan.Holes, the track it lies on at `setting`, or -1 (off track, outside
// the span, or not of a plausible hole size).
std::vector<int> AssignTracks(const ScanMeasurement& scan, const TrackLayout& layout, const ScannerSetting& setting,
                              const FitOptions& options = {});

struct TrackFit {
  bool Found = false;      // false when no candidate DPI fits at all (no holes, unusable layout)
  ScannerSetting Setting;  // the fitted DPI, offset and stretch
  OnTrackCount Count;
  double Rms = 0;  // inches: spread of the on-track holes about their centres
  // 0..1: how close to their centres the counted holes lie: the mean of 1 - (d / t)^2 over them,
  // d the distance to the nearest centre and t the on-track distance (0 beyond it). Tracks whose
  // spacing is a simple multiple of another's can put every hole within t of a centre, but not
  // near one.
  double Closeness = 0;
  bool LowerEdgeFound = false;
  bool UpperEdgeFound = false;
  double LowerEdge = 0;  // the measured paper edges at this setting, inches
  double UpperEdge = 0;
  int EdgeDecided = 0;  // whole tracks the edge moved the fit away from the best count (0: none)
};

// The best fit of `layout` over the candidate DPIs (values below 1 are skipped). A DPI whose fit
// puts the holes far less close to the centres loses (twice the true DPI counts every hole a
// quarter spacing off); among DPIs that fit nearly as well, the one needing the stretch nearest
// to 1 wins, then the earlier.
TrackFit FitLayout(const ScanMeasurement& scan, const TrackLayout& layout, std::span<const int> dpis,
                   const FitOptions& options = {});

}  // namespace tarvelo
