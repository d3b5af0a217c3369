#include "cis/ScanLineArray.h"

namespace tarvelo {

void ScanLineArray::Clear() {
  transitions_ = std::make_shared<std::vector<int32_t>>();
  std::vector<uint32_t>{0}.swap(offsets_);
  std::vector<uint16_t>().swap(line_words_);
  std::vector<double>().swap(positions_);
  std::vector<double>().swap(tracking_offsets_);
}

void ScanLineArray::Reserve(size_t lines, size_t transitions) {
  Writable().reserve(transitions);
  offsets_.reserve(lines + 1);
  line_words_.reserve(lines);
}

void ScanLineArray::AppendLine(std::span<const int32_t> transitions, uint16_t line_word) {
  std::vector<int32_t>& all = Writable();
  all.insert(all.end(), transitions.begin(), transitions.end());
  offsets_.push_back(static_cast<uint32_t>(all.size()));
  line_words_.push_back(line_word);
  if (!positions_.empty()) positions_.push_back(0);
  if (!tracking_offsets_.empty()) tracking_offsets_.push_back(0);
}

void ScanLineArray::AppendLine(std::span<const int32_t> transitions, uint16_t line_word, const LineGeometry& geometry) {
  AppendLine(transitions, line_word);
  // The first line with a computed value gives every earlier line zero.
  if (geometry.Position != 0 || !positions_.empty()) MutablePositions().back() = geometry.Position;
  if (geometry.TrackingOffset != 0 || !tracking_offsets_.empty())
    MutableTrackingOffsets().back() = geometry.TrackingOffset;
}

bool ScanLineArray::ReplaceAllTransitions(std::vector<int32_t>&& transitions, std::vector<uint32_t>&& offsets) {
  if (offsets.size() != line_words_.size() + 1 || offsets.front() != 0 || offsets.back() != transitions.size())
    return false;
  for (size_t i = 1; i < offsets.size(); ++i)
    if (offsets[i] < offsets[i - 1]) return false;
  transitions_ = std::make_shared<std::vector<int32_t>>(std::move(transitions));
  offsets_ = std::move(offsets);
  return true;
}

bool ScanLineArray::AdoptLines(std::vector<int32_t>&& transitions, std::vector<uint32_t>&& offsets,
                               std::vector<uint16_t>&& line_words) {
  if (offsets.size() != line_words.size() + 1) return false;
  std::vector<uint16_t> kept_words = std::move(line_words_);
  line_words_ = std::move(line_words);
  if (!ReplaceAllTransitions(std::move(transitions), std::move(offsets))) {
    line_words = std::move(line_words_);
    line_words_ = std::move(kept_words);
    return false;
  }
  ClearGeometry();
  return true;
}

std::vector<int32_t>& ScanLineArray::Writable() {
  if (transitions_.use_count() > 1) transitions_ = std::make_shared<std::vector<int32_t>>(*transitions_);
  return *transitions_;
}

ScanLine ScanLineArray::Line(int index) const {
  ScanLine line;
  const auto values = Transitions(index);
  line.MutableTransitions().assign(values.begin(), values.end());
  line.LineWord = LineWord(index);
  line.Geometry = Geometry(index);
  return line;
}

size_t ScanLineArray::MemoryBytes() const {
  return transitions_->capacity() * sizeof(int32_t) + offsets_.capacity() * sizeof(uint32_t) +
         line_words_.capacity() * sizeof(uint16_t) +
         (positions_.capacity() + tracking_offsets_.capacity()) * sizeof(double);
}

}  // namespace tarvelo
