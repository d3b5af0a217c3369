#pragma once
// The inter-event spacing histogram: a check of the take-up spool acceleration setting.
// Holes are punched on a regular grid, so the distances between successive hole centres
// (leading edges with leading edges, trailing with trailing) cluster at multiples of the
// punch step; counting them separately for the first and the second half of the roll shows
// whether they drift.

#include <array>
#include <cstdint>

#include "events/SpacingHistogramStore.h"
#include "events/TrackEvent.h"
#include "rolltypes/RollTypeDefinition.h"
#include "services/Reporter.h"

namespace tarvelo {

// The full histograms, one counter per thousandth of an inch from 0 to 999.
struct SpacingHistograms {
  static constexpr int kBins = 1000;
  std::array<uint32_t, kBins> All{};
  std::array<uint32_t, kBins> FirstHalf{};
  std::array<uint32_t, kBins> SecondHalf{};
};

// Counts the spacings of the note ons and note offs of `events` (sorted by position) on the
// tracks used for restoration. For each such event on track u at Y (thousandths), for every
// track k within 12 of u inside the restoration range (only u itself with
// `same_track_only`): the distance from the last event of the same kind on k to this one,
// both moved to their hole centres by half the tracks' punch diameters; distances 0..999
// are counted, in the half of the event list the event lies in. A track that has had no
// event of the kind counts as having one at 0.
SpacingHistograms ComputeSpacingHistograms(const EventList& events, const RollTypeDefinition& roll,
                                           bool same_track_only);

// Shows "Building Histogram Array", computes the histograms (`same_track_only`: the
// HistogramSameTrackOnly setting) and keeps bins 1..249 in `store` (all others 0).
void BuildSpacingHistogram(const EventList& events, const RollTypeDefinition& roll, bool same_track_only,
                           SpacingHistogramStore& store, Reporter& reporter);

}  // namespace tarvelo
