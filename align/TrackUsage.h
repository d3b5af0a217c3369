#pragma once
// How a roll uses its tracks, once a fit has placed the holes on them: per track the number
// of holes, their total length, width and place along the roll, and the punches they form
// (holes a chain perforation's webs apart counted as one). Reproducing systems that share
// one set of track positions differ in these: which control tracks carry holes, how many and
// how long, which are chain-punched, which are punched together with another track or take
// turns with it (a lock and its cancel), and which stay empty.

#include <vector>

#include "align/AlignmentInput.h"
#include "align/ScanMeasurement.h"
#include "align/TrackLayout.h"

namespace tarvelo {

struct TrackStats {
  bool Visible = false;  // the track lies wholly on the scanned image (else its holes are unknown)
  int Holes = 0;
  int HolesNearEnd = 0;  // starting in the last 15 % of the roll (where rewind holes lie)
  double Length = 0;     // sum of the hole lengths, inches
  double Width = 0;      // mean width, inches
  double Offset = 0;     // mean offset of the hole centres from the track centre, in spacings
  int Chained = 0;       // holes that follow the track's previous hole across a web (a chain perforation)
  int Shaped = 0;        // holes as wide as a punched hole (half a note hole's width to 1.7 of it)
  // Where each punch begins along the roll (inches, rising): a chain perforation is one punch.
  std::vector<double> Punches;
  // How long each punch is along the roll (inches), in the order of Punches: a held level or
  // pedal is long however it was perforated, a lock or its cancel a single short hole.
  std::vector<double> PunchLengths;
  double PunchLength = 0;  // the median of PunchLengths
};

struct TrackUsage {
  int FirstTrack = 0;  // Tracks[0] is this track
  std::vector<TrackStats> Tracks;
  double NoteHoles = 0;        // mean holes per track over the middle half of the span
  double NotePunches = 0;      // mean punches per track there
  double NoteLength = 0;       // mean hole length there, inches
  double NoteWidth = 0;        // mean hole width there, inches
  double NotePunchLength = 0;  // median punch length there, inches
  int TotalHoles = 0;          // holes placed on any track
  double RollLength = 0;

  // The stats of `track`; an empty record for a track outside the measured range.
  const TrackStats& At(int track) const;
};

// Holes of one track closer than this along the roll (inches) are one chain-punched hole.
inline constexpr double kChainWeb = 0.1;

// Places the plausible holes at `setting`. For a layout with evenly spaced centres the tracks
// go on for `extension` places beyond each end of the span (holes there tell a roll type with
// more tracks from one with fewer).
TrackUsage MeasureTrackUsage(const ScanMeasurement& scan, const TrackLayout& layout, const ScannerSetting& setting,
                             int extension = 3, double on_track_share = 0.3);

}  // namespace tarvelo
