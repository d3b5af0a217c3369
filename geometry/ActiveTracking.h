#pragma once
// The per-line pass: for every scan line it measures how far the punched holes sit from
// their track centres and how far the roll edges sit from where the roll type expects
// them, turns every hole run into hole samples of the tracks under it (shifted by the
// sideways correction in force), and feeds both errors into a first-order tracking loop
// that updates the correction every so many inches of roll.

#include "cis/CisScanData.h"
#include "cis/HolePolarity.h"
#include "events/OpenHoles.h"
#include "events/PunchedHole.h"
#include "geometry/ScannerGeometry.h"
#include "geometry/TrackLookupMap.h"
#include "keywords/KeywordList.h"
#include "rolltypes/RollTypeDefinition.h"
#include "services/Reporter.h"
#include "settings/ActiveTrackingSettings.h"
#include "settings/ScannerPresets.h"

namespace tarvelo {

// Lighting methods of a scanner preset.
inline constexpr int kLightingAutoDetect = 0;
inline constexpr int kLightingReflective = 1;
inline constexpr int kLightingTransmissive = 2;

// The whole pass: hole polarity (by scanner.ScanLightingMethod, kept in data.Run.Polarity), the
// lookup map (and its diagnostic file when `write_lookup_map_file`), the "/ActiveTracking:"
// keyword item, the holes (`holes` is cleared first; hole-colour runs off the paper that
// data.Run.PaperOnLines gives are none), and every line's TrackingOffset and roll-edge fields. The loop
// runs when scanner.ActiveTracking is on, with the distances, weighting and gain of `tracking`;
// with it off the errors are still measured but the correction stays 0. Reports progress
// (colour type 2); a stop request ends the pass early, with the holes found so far.
void ProcessScanLines(CisScanData& data, const RollTypeDefinition& roll, const ScannerSettings& scanner,
                      const ActiveTrackingSettings& tracking, bool write_lookup_map_file, TrackLookupMap& map,
                      HoleList& holes, KeywordList& keywords, Reporter& reporter);

// Which runs of the lines are holes: fixed by the lighting method (reflective: the even runs,
// transmissive: the odd runs), or, for auto-detection, the runs of the smaller of the two
// areas over the first two inches of lines (2 * LinesPerInch lines).
HolePolarity DetectHolePolarity(const CisScanData& data, int lighting_method);

// Samples the hole runs of line `line` (data.Run.Polarity says which they are; runs off the paper
// data.Run.PaperOnLines gives are left out), shifted by
// `correction` inches, into `open` and ends the line there, closing into `holes`. Returns
// the line's hole error in inches: minus the weighted mean offset of the samples from their
// track centres.
double AssignHoles(const CisScanData& data, int line, double correction, const TrackLookupMap& map, OpenHoles& open,
                   HoleList& holes);

// Where the roll edges are expected and how near a transition must lie to count as one.
struct RollEdgeSetup {
  double Offset = 0;           // scanner offset, inches
  double PixelsPerInch = 300;  // DPI / stretch
  double LowerExpected = 0;    // inches
  double UpperExpected = 0;    // inches
  double CaptureDistance = 0;  // inches
};
RollEdgeSetup MakeRollEdgeSetup(const ScannerGeometry& scanner, const RollTypeDefinition& roll,
                                double capture_distance);

// What one line shows of the roll's edges: for each edge whether a transition lies within the
// capture distance of where it is expected, and how far the nearest one lies (inches; 0 when
// none does).
struct RollEdgeFinding {
  double LowerEdgeError = 0;
  double UpperEdgeError = 0;
  bool LowerEdgeFound = false;
  bool UpperEdgeFound = false;
  double MeanError = 0;  // the mean of the two errors, which steers the tracking
};

// Finds the transitions of line `line` (unshifted) nearest to the two expected edges, with
// the expected edges moved by `correction`. The per-line pass makes the same search on every
// line; only the mean of the errors steers it, so the findings are not kept with the lines.
RollEdgeFinding RollEdgeError(const CisScanData& data, int line, double correction, const RollEdgeSetup& setup);

}  // namespace tarvelo
