#include "geometry/TrackLookupMap.h"

#include <algorithm>
#include <cmath>

#include "geometry/DiagnosticFiles.h"
#include "support/SafeTruncate.h"

namespace tarvelo {

namespace {

// A slot number as an index into the roll type's per-track arrays.
size_t SlotIndex(int32_t track) { return static_cast<size_t>(std::clamp(track, 0, kTrackSlots - 1)); }

}  // namespace

void TrackLookupMap::Reset() {
  samples_.clear();
  offsets_.clear();
  TrackSpacingPixels = 33.0;
  Dpi = 300.0;
  Stretch = 1.0;
  OffsetInches = 0.0;
  FirstPixel = 0;
}

void TrackLookupMap::Build(const ScannerGeometry& scanner, int32_t scan_width, const RollTypeDefinition& roll) {
  const double offset = scanner.Offset;
  OffsetInches = offset;
  Stretch = scanner.Stretch;
  Dpi = scanner.Dpi;
  OffsetPixels = TruncToInt32(Dpi * offset + 0.5);
  PixelsPerInch = Dpi / Stretch;
  LowestTrack = roll.LowestTrackHoleNumber;
  HighestTrack = roll.HighestTrackHoleNumber;
  MapWidth = scan_width;

  FirstPixel = TruncToInt32(PixelsPerInch * (roll.TrackLowerBoundary[SlotIndex(LowestTrack)] - offset));
  if (FirstPixel < 0) FirstPixel = 0;
  LastPixel = TruncToInt32(PixelsPerInch * (roll.TrackUpperBoundary[SlotIndex(HighestTrack)] - offset));
  if (LastPixel > scan_width) LastPixel = scan_width;
  TrackSpacingPixels = PixelsPerInch * roll.DefaultTrackCenterSpacing;

  samples_.clear();
  offsets_.clear();
  std::copy(roll.TrackRestorationWeight.begin(), roll.TrackRestorationWeight.end(), weights_.begin());
  if (scan_width < 0) return;
  samples_.resize(static_cast<size_t>(scan_width) + 1);
  offsets_.resize(static_cast<size_t>(scan_width) + 1);
  // The slot of a pixel is the first, counting up from 0, whose upper boundary is not below
  // the pixel's roll coordinate. While the coordinate grows from pixel to pixel the slots
  // below the previous pixel's stay excluded, so the search goes on from there.
  size_t slot = 0;
  double previous = -INFINITY;
  constexpr size_t kLastSlot = kTrackSlots - 1;
  for (int64_t p = 0; p <= scan_width; ++p) {
    const double y = p / PixelsPerInch + offset;
    if (!(y >= previous)) slot = 0;
    while (slot < kLastSlot && !(y <= roll.TrackUpperBoundary[slot])) ++slot;
    previous = y;
    const double from_centre = y - roll.TrackCenter[slot];
    offsets_[static_cast<size_t>(p)] = from_centre;
    samples_[static_cast<size_t>(p)] = {from_centre * roll.TrackRestorationWeight[slot], static_cast<int32_t>(slot)};
  }
}

void TrackLookupMap::BuildLookupMap(const ScannerGeometry& scanner, const CisScanData& data,
                                    const RollTypeDefinition& roll, bool write_diagnostic_file, Reporter& reporter) {
  Build(scanner, data.Run.ScanWidth, roll);
  if (write_diagnostic_file) WriteLookupMapDiagnosticFile(*this, data, reporter).Ignore();
}

}  // namespace tarvelo
