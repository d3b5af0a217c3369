#pragma once
// Aligning a scan to its roll type: measure the scan once, then find for a roll type the DPI,
// stretch and offset that put its holes on the tracks, and, when asked, rank every roll type
// of the library by how well its tracks and its use of control tracks fit the holes.
//
// Inputs and results are plain data; nothing is reported while it runs. Deterministic.

#include <string>
#include <vector>

#include "align/AlignmentInput.h"
#include "align/FitTracks.h"
#include "align/ScanMeasurement.h"
#include "align/TrackLayout.h"
#include "align/TwinArrayCheck.h"
#include "rolltypes/RollTypeDefinition.h"
#include "services/Reporter.h"

namespace tarvelo {

struct AlignRequest {
  ScanForAlignment Scan;
  ScannerSetting InForce;                          // the preset's DPI, offset and stretch
  const RollTypeDefinition* RollType = nullptr;    // the roll type in force
  std::vector<const RollTypeDefinition*> Library;  // the roll types to rank (when Recognise)
  bool Recognise = false;                          // rank the library's roll types
  bool SuggestRecognised = true;  // when recognising: suggest for the recognised type, not the one in force
  FitOptions Options;
  // The measurement of Scan made already (MeasureScan of these very lines), or null: the scan
  // is measured.
  const ScanMeasurement* Measured = nullptr;
};

// One roll type measured against the scan.
struct RollTypeFit {
  std::string Name;
  TrackLayout Layout;         // its tracks
  TrackFit Fit;               // the best DPI, stretch and offset for its tracks
  OnTrackCount Before;        // holes on its tracks with the settings in force
  bool HasProfile = false;    // its use of control tracks is known (by its name)
  double ControlMatch = 0.5;  // 0..1: how well the roll's control tracks match that use
  double EdgeAgreement = 1;   // 0.5..1: how near the fit puts the paper edge to where the type expects it
  // 0..1: how close to the track centres the best fit puts the holes (TrackFit::Closeness; on a
  // twin array scan whose halves do not meet, with the join made good), times ControlMatch
  // (0.75 when its use of control tracks is unknown), times EdgeAgreement.
  double Score = 0;
};

struct RollTypeRanking {
  std::vector<RollTypeFit> Ranked;  // best score first
  bool Decided = false;
  std::string Recognised;               // when decided
  std::vector<std::string> Candidates;  // when undecided: the roll types the evidence cannot tell apart
};

struct AlignmentNote {
  MessageKind Kind;
  std::string Text;
  bool AboutSettingsInForce = false;  // tells what the preset's values would do (moot for an aligned run)
};

struct AlignmentReport {
  ScanMeasurement Measurement;
  int HeaderDpi = 0;             // as the file states it
  bool HeaderDpiUsable = false;  // a plausible DPI (100 to 1000), tried besides the preset's
  std::vector<int> DpiCandidates;
  ScannerSetting InForce;
  RollTypeFit InForceType;  // the roll type in force
  RollTypeRanking Ranking;  // filled when recognising
  // For the recognised roll type (when asked); for the one in force without recognition or when
  // the evidence does not decide (for the best ranked when there is none in force).
  RollTypeFit Suggestion;
  TwinArrayJoin TwinArray;  // a twin array scan: how well its halves meet at the suggestion
  // With the settings in force: how many tracks the paper's bass edge (else its treble edge)
  // lies from where the roll type in force expects it (0 when no edge shows). Half a track
  // and more puts holes on the wrong tracks, which on-track shares cannot see.
  double InForceEdgeMiss = 0;
  std::vector<AlignmentNote> Notes;
};

// The share of the holes a fit must put on a roll type's tracks to read the roll: to recognise
// the type, and to convert with the fit.
inline constexpr double kReadableShare = 0.9;

// A plausible DPI for a scanner, which a preset can hold: 100 to 1000.
bool IsPlausibleDpi(int dpi);

AlignmentReport AlignScan(const AlignRequest& request);

}  // namespace tarvelo
