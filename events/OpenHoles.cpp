#include "events/OpenHoles.h"

#include <bit>

namespace tarvelo {

void OpenHoles::EndLineWithHits(double position, const TrackBits& hits, HoleList& closed) {
  for (size_t word = 0; word < hits.size(); ++word) {
    const uint64_t hit = hits[word] | hit_[word];
    // A track hit while it had no open hole starts one on this line.
    uint64_t opening = hits[word] & ~open_[word];
    while (opening != 0) {
      start_[word * 64 + static_cast<size_t>(std::countr_zero(opening))] = position;
      opening &= opening - 1;
    }
    CloseHoles(word, open_[word] & ~hit, position, closed);
    open_[word] = hit;
    hit_[word] = 0;
  }
}

void OpenHoles::CloseHoles(size_t word, uint64_t closing, double position, HoleList& closed) {
  while (closing != 0) {
    const size_t t = word * 64 + static_cast<size_t>(std::countr_zero(closing));
    closing &= closing - 1;
    PunchedHole hole;
    hole.Track = static_cast<int32_t>(t);
    hole.StartPosition = start_[t];
    hole.EndPosition = position;
    hole.Length = position - start_[t];
    hole.MaxWidth = widest_[t];
    closed.push_back(hole);
    widest_[t] = 0;
    start_[t] = position;
  }
}

void OpenHoles::EndLine(double position, HoleList& closed) {
  for (size_t word = 0; word < hit_.size(); ++word) {
    CloseHoles(word, open_[word] & ~hit_[word], position, closed);
    open_[word] = hit_[word];
    hit_[word] = 0;
  }
}

}  // namespace tarvelo
