#pragma once
// The holes still open while the per-line pass walks the scan lines: per track, whether a
// hole is open, where it started and its widest run so far. A hole closes on the first line
// that does not touch its track and is appended to a hole list then; a hole still open after
// the last line is never appended (the roll's end cuts it).

#include <array>
#include <cstddef>
#include <cstdint>

#include "events/PunchedHole.h"

namespace tarvelo {

class OpenHoles {
 public:
  static constexpr int kTracks = 256;
  // One bit per track: bit t % 64 of word t / 64.
  using TrackBits = std::array<uint64_t, kTracks / 64>;

  // Marks `track` as hit on the current line; a track without an open hole starts one at
  // `position`; `width` (pixels) raises the track's widest run. Tracks outside 0..255 are ignored.
  void AddSample(int track, double position, double width) {
    if (track < 0 || track >= kTracks) return;
    const auto t = static_cast<size_t>(track);
    const uint64_t bit = uint64_t{1} << (t & 63);
    hit_[t >> 6] |= bit;
    if ((open_[t >> 6] & bit) == 0) start_[t] = position;
    if (width > widest_[t]) widest_[t] = width;
  }
  // Ends the current line at `position`: in track order, every open track not hit on this
  // line closes its hole into `closed` (EndPosition = position); hit tracks are open after it.
  void EndLine(double position, HoleList& closed);

  // The same as AddSample for every sample of a line followed by EndLine, for a caller that
  // collects a line's hits itself: RaiseWidestRun for each sample, then EndLineWithHits.
  void RaiseWidestRun(int track, double width) {
    if (track < 0 || track >= kTracks) return;
    // Stored whether raised or not: a store costs less than a branch the processor mispredicts.
    double& widest = widest_[static_cast<size_t>(track)];
    widest = width > widest ? width : widest;
  }
  void EndLineWithHits(double position, const TrackBits& hits, HoleList& closed);

  bool IsOpen(int track) const {
    return track >= 0 && track < kTracks &&
           (open_[static_cast<size_t>(track) >> 6] >> (static_cast<size_t>(track) & 63) & 1) != 0;
  }

 private:
  // Appends the holes of the tracks in `closing` (bits of word `word`), in track order.
  void CloseHoles(size_t word, uint64_t closing, double position, HoleList& closed);

  TrackBits hit_{};   // hit on the current line
  TrackBits open_{};  // a hole is open
  std::array<double, kTracks> start_{};
  std::array<double, kTracks> widest_{};
};

}  // namespace tarvelo
