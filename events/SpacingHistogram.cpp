#include "events/SpacingHistogram.h"

#include <algorithm>

#include "support/SafeTruncate.h"

namespace tarvelo {

SpacingHistograms ComputeSpacingHistograms(const EventList& events, const RollTypeDefinition& roll,
                                           bool same_track_only) {
  SpacingHistograms result;
  const int lowest = std::max(roll.LowestTrackUsedForRestoration, 0);
  const int highest = std::min(roll.HighestTrackUsedForRestoration, kTrackSlots - 1);

  // Neighbour windows, clamped to the restoration range (and to the track slots).
  std::array<int, kTrackSlots> low{};
  std::array<int, kTrackSlots> high{};
  for (int t = 0; t < kTrackSlots; ++t) {
    const auto slot = static_cast<size_t>(t);
    if (same_track_only) {
      low[slot] = high[slot] = t;
    } else {
      low[slot] = std::max(t - 12, lowest);
      high[slot] = std::min(t + 12, highest);
    }
  }

  // Half of each track's punch diameter in thousandths, truncated toward zero: added to a
  // leading edge, taken from a trailing edge.
  std::array<int32_t, kTrackSlots> half_on{};
  std::array<int32_t, kTrackSlots> half_off{};
  for (size_t t = 0; t < kTrackSlots; ++t) {
    half_on[t] = TruncToInt32(roll.TrackHolePunchDiameter[t] * 500.0);
    half_off[t] = TruncToInt32(roll.TrackHolePunchDiameter[t] * -500.0);
  }

  std::array<uint32_t, kTrackSlots> last_on{};
  std::array<uint32_t, kTrackSlots> last_off{};
  const size_t count = events.size();
  const size_t half = count / 2;
  for (size_t i = 0; i < count; ++i) {
    const TrackEvent& event = events[i];
    if (event.Kind != EventKind::kNoteOff && event.Kind != EventKind::kNoteOn) continue;
    const int u = event.Track;
    if (u < lowest || u > highest || !roll.TrackUsedForRestoration[static_cast<size_t>(u)]) continue;

    const bool on = event.Kind == EventKind::kNoteOn;
    const std::array<int32_t, kTrackSlots>& centre = on ? half_on : half_off;
    std::array<uint32_t, kTrackSlots>& last = on ? last_on : last_off;
    auto& half_bins = i < half ? result.FirstHalf : result.SecondHalf;
    const int32_t w = centre[static_cast<size_t>(u)];
    for (int k = low[static_cast<size_t>(u)]; k <= high[static_cast<size_t>(u)]; ++k) {
      const auto slot = static_cast<size_t>(k);
      // Unsigned: a negative distance wraps round to a large one and is not counted. The
      // centre difference is taken in 64 bits: absurd punch diameters must not overflow it.
      const uint32_t d = static_cast<uint32_t>(int64_t{w} - centre[slot]) + event.YPosition - last[slot];
      if (d < static_cast<uint32_t>(SpacingHistograms::kBins)) {
        ++result.All[d];
        ++half_bins[d];
      }
    }
    last[static_cast<size_t>(u)] = event.YPosition;
  }
  return result;
}

void BuildSpacingHistogram(const EventList& events, const RollTypeDefinition& roll, bool same_track_only,
                           SpacingHistogramStore& store, Reporter& reporter) {
  reporter.SetStatusText("Building Histogram Array");
  const SpacingHistograms histograms = ComputeSpacingHistograms(events, roll, same_track_only);
  store.Clear();
  for (int bin = SpacingHistogramStore::kFirstBin; bin <= SpacingHistogramStore::kLastBin; ++bin) {
    const auto b = static_cast<size_t>(bin);
    store.HistogramAll[b] = histograms.All[b];
    store.HistogramFirstHalf[b] = histograms.FirstHalf[b];
    store.HistogramSecondHalf[b] = histograms.SecondHalf[b];
  }
}

}  // namespace tarvelo
