#pragma once
// The roll view's zoom: levels 1 to 9, each twice the scale of the one below, level 5 showing
// the roll at 63 pixels per inch. The main window's "Zoom In" and "Zoom Out" step the level and
// are greyed at the largest and the smallest level; the command line's --zoom takes a level.

namespace tarvelo {

class ZoomLevel {
 public:
  static constexpr int kSmallest = 1;
  static constexpr int kLargest = 9;
  static constexpr int kNormal = 5;  // factor 1

  // Starts at `level`, held to kSmallest..kLargest.
  explicit ZoomLevel(int level = kNormal);

  int Level() const { return level_; }
  // 2^(level - 5): 0.0625 at level 1 up to 16 at level 9.
  double Factor() const { return FactorOf(level_); }
  static double FactorOf(int level);

  // Whether "Zoom In" and "Zoom Out" are usable (not greyed).
  bool CanZoomIn() const { return level_ < kLargest; }
  bool CanZoomOut() const { return level_ > kSmallest; }
  // One level up or down; nothing at the limit.
  void ZoomIn();
  void ZoomOut();

 private:
  int level_ = kNormal;
};

}  // namespace tarvelo
