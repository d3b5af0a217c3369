#pragma once
// What a batch records of one input besides its status and messages: the scan's checksum, its
// roll information and what the conversion found and used (scanner, DPI, length, roll type,
// alignment, holes on their tracks). The catalogue of a batch is made of these.
//
// A field the conversion did not get to stays empty (numbers below 0): a file refused before
// it was read has its checksum at most.

#include <string>
#include <utility>
#include <vector>

#include "document/AlignmentOptions.h"

namespace tarvelo {
class TarveloDoc;
}

namespace tarvelo::cli {

struct RollFacts {
  std::string Sha256;  // of the file's bytes; "" when it could not be read
  bool ScanRead = false;
  // The roll information entries by name ("title", "composer", ...) in embedding order, the
  // roll type left out (RollTypeUsed) and the shipped template's stand-ins left empty.
  std::vector<std::pair<std::string, std::string>> RollInformation;
  int ScannerType = -1;
  double Dpi = -1;  // the DPI the holes were placed with (the preset's, or the aligned one)
  double Feet = -1;
  double Minutes = -1;
  std::string RollTypeUsed;
  std::string RollTypeRecognised;  // "" when not asked to recognise; "undecided" when the holes did not decide
  double RecognitionScore = -1;    // 0..1, the recognised type's
  std::string Alignment;           // "preset", "aligned: DPI ... offset ... stretch ...", "none (...)"
  int HolesMeasured = 0;           // distinct holes the off-track check looked at
  int HolesOffTrack = 0;
  int OffTrackLimitPercent = 10;  // above this share off their tracks the placement is "off track"
  // The conversion's placement check ("" when it made none): "right", "N tracks low|high",
  // "DPI misfit", "no holes" or "unchecked".
  std::string Placement;
};

// The facts of a document once its conversion has run (or failed) with `alignment`.
RollFacts RollFactsOf(const TarveloDoc& doc, const AlignmentOptions& alignment, int off_track_limit_percent);

// The placement of the notes: the placement check's finding when it found the notes wrong (see
// RollFacts::Placement), else "on track", "off track" (more of the holes than the limit lie off
// their tracks) or "" when no hole was measured.
std::string PlacementColumn(const RollFacts& facts);

// The share of the measured holes on their tracks in percent; < 0 when none was measured.
double HolesOnTrackPercent(const RollFacts& facts);

}  // namespace tarvelo::cli
