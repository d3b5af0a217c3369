#pragma once
// The scan lines of one file, stored compactly: every line's transitions in one flat array
// with per-line offsets, the line words in another, and each computed per-line value (the
// position along the roll, the tracking correction) in an array of its own that exists only
// once a stage has written to it (a file as read carries none, so the lines of a 4 MB file take
// about twice its size). The stages that walk every line read the positions alone, eight bytes
// a line. Copying a whole array, which every
// conversion run does to start again from the lines as read, is a few block copies.
//
// Lines are appended in order; stages that rebuild lines build a new array (or replace every
// line's transitions at once).

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "cis/ScanLine.h"

namespace tarvelo {

class ScanLineArray {
 public:
  ScanLineArray() = default;

  int Size() const { return static_cast<int>(line_words_.size()); }
  bool Empty() const { return line_words_.empty(); }

  // Removes every line and frees the storage.
  void Clear();
  // Reserves room for `lines` lines holding `transitions` transitions in all.
  void Reserve(size_t lines, size_t transitions);

  // Appends a line (its computed values zero unless given).
  void AppendLine(std::span<const int32_t> transitions, uint16_t line_word);
  void AppendLine(std::span<const int32_t> transitions, uint16_t line_word, const LineGeometry& geometry);
  // Takes over whole lines built elsewhere: `offsets` holds line_words.size() + 1 ascending
  // entries from 0 to transitions.size(). Computed values are dropped. Returns false, changing
  // nothing, when the parts do not fit together.
  bool AdoptLines(std::vector<int32_t>&& transitions, std::vector<uint32_t>&& offsets,
                  std::vector<uint16_t>&& line_words);

  // Gives every line new transitions at once (for stages that rebuild all lines): line i gets
  // transitions[offsets[i] .. offsets[i+1]). `offsets` must hold Size() + 1 non-decreasing
  // entries from 0 to transitions.size(); otherwise nothing changes and false is returned.
  // Line words and computed values are kept.
  bool ReplaceAllTransitions(std::vector<int32_t>&& transitions, std::vector<uint32_t>&& offsets);

  // Transitions of line `index`, in increasing order.
  std::span<const int32_t> Transitions(int index) const {
    return {transitions_->data() + offsets_[static_cast<size_t>(index)],
            transitions_->data() + offsets_[static_cast<size_t>(index) + 1]};
  }
  // Writable transitions of line `index`; a line keeps its number of transitions.
  std::span<int32_t> MutableTransitions(int index) {
    std::vector<int32_t>& all = Writable();
    return {all.data() + offsets_[static_cast<size_t>(index)], all.data() + offsets_[static_cast<size_t>(index) + 1]};
  }
  int TransitionCount(int index) const {
    return static_cast<int>(offsets_[static_cast<size_t>(index) + 1] - offsets_[static_cast<size_t>(index)]);
  }
  uint16_t LineWord(int index) const { return line_words_[static_cast<size_t>(index)]; }

  // Computed values of line `index` (zero where no stage has written any).
  LineGeometry Geometry(int index) const { return {Position(index), TrackingOffset(index)}; }
  double Position(int index) const { return positions_.empty() ? 0.0 : positions_[static_cast<size_t>(index)]; }
  double TrackingOffset(int index) const {
    return tracking_offsets_.empty() ? 0.0 : tracking_offsets_[static_cast<size_t>(index)];
  }
  // Writable positions (inches along the roll) and tracking corrections (inches sideways) of
  // every line, one per line; allocated (zeroed) on first use.
  std::vector<double>& MutablePositions() { return Sized(positions_); }
  std::vector<double>& MutableTrackingOffsets() { return Sized(tracking_offsets_); }
  bool HasGeometry() const { return !positions_.empty() || !tracking_offsets_.empty(); }
  // Drops the computed values (every line back to zero).
  void ClearGeometry() {
    positions_.clear();
    tracking_offsets_.clear();
  }

  // A self-contained copy of line `index`.
  ScanLine Line(int index) const;

  // Total number of transitions of all lines.
  size_t TotalTransitions() const { return transitions_->size(); }
  // Bytes held by the array's storage.
  size_t MemoryBytes() const;

 private:
  // The transitions of all lines. Copies of the array share them until one of them writes
  // (Writable makes the writer's own copy), so restoring the working lines from the lines as
  // read costs only the per-line arrays.
  std::vector<int32_t>& Writable();
  std::vector<double>& Sized(std::vector<double>& values) {
    if (values.size() != line_words_.size()) values.resize(line_words_.size());
    return values;
  }
  std::shared_ptr<std::vector<int32_t>> transitions_ = std::make_shared<std::vector<int32_t>>();
  std::vector<uint32_t> offsets_{0};  // line i spans offsets_[i] .. offsets_[i+1]
  std::vector<uint16_t> line_words_;
  std::vector<double> positions_;         // empty, or one per line
  std::vector<double> tracking_offsets_;  // empty, or one per line
};

}  // namespace tarvelo
