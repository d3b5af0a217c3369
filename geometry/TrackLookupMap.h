#pragma once
// Which roll track each sensor pixel sees: for every pixel of a scan line, the track whose
// band contains it, how far the pixel lies from that track's centre, and how much the track
// counts for tracking. Built once per conversion from the scanner values and the roll type,
// then read for every hole run of every line.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cis/CisScanData.h"
#include "geometry/ScannerGeometry.h"
#include "rolltypes/RollTypeDefinition.h"
#include "services/Reporter.h"

namespace tarvelo {

class TrackLookupMap {
 public:
  TrackLookupMap() { Reset(); }

  // Empties the map and sets the values of a new map.
  void Reset();

  // Rebuilds the map for pixels 0..scan_width from the scanner values and the roll type.
  // A pixel beyond the upper boundary of every slot maps to slot 255.
  void Build(const ScannerGeometry& scanner, int32_t scan_width, const RollTypeDefinition& roll);

  // Build for data.ScanWidth, then, when `write_diagnostic_file` is set, the lookup map
  // diagnostic file beside the CIS file (a file that cannot be written is reported and
  // skipped).
  void BuildLookupMap(const ScannerGeometry& scanner, const CisScanData& data, const RollTypeDefinition& roll,
                      bool write_diagnostic_file, Reporter& reporter);

  // Per-pixel values. A pixel outside 0..MapWidth (or outside the latest build) reads as
  // track 0, offset 0 and weight 0.
  int ClosestTrackAt(int64_t pixel) const { return Has(pixel) ? samples_[static_cast<size_t>(pixel)].Track : 0; }
  double OffsetFromCenterAt(int64_t pixel) const { return Has(pixel) ? offsets_[static_cast<size_t>(pixel)] : 0.0; }
  double WeightingAt(int64_t pixel) const {
    return Has(pixel) ? weights_[static_cast<size_t>(samples_[static_cast<size_t>(pixel)].Track)] : 0.0;
  }
  // FirstPixel <= pixel <= LastPixel.
  bool IsInTrackedSpan(int64_t pixel) const { return FirstPixel <= pixel && pixel <= LastPixel; }

  // Number of pixels with a value (MapWidth + 1 after a build with a width of 0 or more).
  int64_t EntryCount() const { return static_cast<int64_t>(samples_.size()); }

  // What a hole sample at a pixel needs, compactly, for loops that read many pixels: the
  // offset from the track centre times the track's weight (the product as the error sum
  // forms it), and the track, whose weight is TrackWeights()[Track].
  struct SampleEntry {
    double WeightedOffset;
    int32_t Track;
  };
  // Entries of pixels 0 .. EntryCount()-1.
  const SampleEntry* SampleEntries() const { return samples_.data(); }
  // The restoration weight of each of the 256 slots.
  const double* TrackWeights() const { return weights_.data(); }

  double TrackSpacingPixels = 33.0;  // the roll type's track centre spacing in pixels
  int32_t OffsetPixels = 0;          // scanner offset in pixels: DPI * offset + 0.5, truncated
  int32_t MapWidth = 0;              // scan width W; pixels 0..W have values
  int32_t LowestTrack = 0;           // the roll type's lowest and highest hole tracks
  int32_t HighestTrack = 0;
  double Dpi = 300.0;
  double PixelsPerInch = 300.0;  // Dpi / Stretch
  double Stretch = 1.0;
  double OffsetInches = 0.0;  // roll coordinate of pixel 0
  int32_t LastPixel = -1;     // upper boundary of HighestTrack, at most MapWidth
  int32_t FirstPixel = 0;     // lower boundary of LowestTrack, at least 0

 private:
  bool Has(int64_t pixel) const { return pixel >= 0 && pixel < static_cast<int64_t>(samples_.size()); }

  std::vector<SampleEntry> samples_;
  std::vector<double> offsets_;  // OffsetFromCenter per pixel, inches
  std::array<double, kTrackSlots> weights_{};
};

}  // namespace tarvelo
