#include "images/PictureReader.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "images/BrightnessSplit.h"
#include "images/PictureRows.h"

namespace tarvelo {

namespace {

// The rows held decoded to find the threshold: about 8 MB of them, or up to four times as many
// while they show too little contrast to tell holes from paper (the tail of a roll can be plain
// paper for many inches).
constexpr uint64_t kSampleBytes = 8ull * 1024 * 1024;
constexpr int kSampleGrowth = 4;
constexpr double kClearSeparation = 0.6;
// Bytes a line takes at the least: its last transition, its offset and its line word.
constexpr uint64_t kLeastLineBytes = 4 + 4 + 2;

// The median of the positions counted in `counts`, when at least half of the `rows` counted one
// and at least half of those lie within 1 % of the width of it, as a paper edge does (it wanders
// a little with the paper); -1 otherwise: the ends of holes, which lie wherever the tracks are.
int32_t EdgePosition(const std::vector<uint32_t>& counts, int64_t rows) {
  uint64_t total = 0;
  for (const uint32_t count : counts) total += count;
  if (total == 0 || 2 * total < static_cast<uint64_t>(rows)) return -1;
  int32_t median = -1;
  uint64_t seen = 0;
  for (size_t position = 0; position < counts.size() && median < 0; ++position) {
    seen += counts[position];
    if (2 * seen >= total) median = static_cast<int32_t>(position);
  }
  const int64_t window = std::max<int64_t>(2, static_cast<int64_t>(counts.size()) / 100);
  uint64_t near = 0;
  for (int64_t position = std::max<int64_t>(0, median - window);
       position <= std::min<int64_t>(static_cast<int64_t>(counts.size()) - 1, median + window); ++position)
    near += counts[static_cast<size_t>(position)];
  return 2 * near >= total ? median : -1;
}

// Turns rows of brightness into the lines of a scan: run 0 dark, then alternating, each line
// ending at the width. Measures the paper's outer edges on the way.
class LineBuilder {
 public:
  LineBuilder(const PictureLayout& layout, int threshold, bool holes_light, bool smooth)
      : width_(layout.Width),
        threshold_(threshold),
        holes_light_(holes_light),
        mirror_(layout.MirrorColumns),
        smooth_(smooth),
        light_(static_cast<size_t>(layout.Width)),
        first_paper_(static_cast<size_t>(layout.Width) + 1),
        last_paper_(static_cast<size_t>(layout.Width) + 1),
        least_paper_run_(std::max<int32_t>(3, layout.Width / 200)) {
    offsets_.push_back(0);
  }

  void Add(const uint8_t* grey) {
    const int threshold = threshold_;
    uint8_t* light = light_.data();
    if (mirror_) {
      for (int32_t x = 0; x < width_; ++x) light[x] = grey[width_ - 1 - x] > threshold ? 1 : 0;
    } else {
      for (int32_t x = 0; x < width_; ++x) light[x] = grey[x] > threshold ? 1 : 0;
    }
    // A lossy picture's noise and the ringing beside sharp edges flip a pixel or two: each
    // pixel takes the majority of itself and its two neighbours on either side.
    if (smooth_ && width_ >= 5) {
      smoothed_.assign(light_.begin(), light_.end());
      int sum = light_[0] + light_[1] + light_[2] + light_[3];
      for (int32_t x = 2; x + 2 < width_; ++x) {
        sum += light_[static_cast<size_t>(x) + 2];
        smoothed_[static_cast<size_t>(x)] = static_cast<uint8_t>(sum >= 3);
        sum -= light_[static_cast<size_t>(x) - 2];
      }
      light_.swap(smoothed_);
    }
    uint8_t current = 0;  // run 0 is dark
    int32_t run_start = 0;
    int32_t first_paper = -1;
    int32_t last_paper = -1;
    const uint8_t paper = holes_light_ ? 0 : 1;
    // A run of the paper's colour at a side of the picture shows no edge: the paper may go on
    // beyond the picture, or a dark band beside the roll looks like paper.
    auto close_run = [&](int32_t end) {
      if (current != paper || end - run_start < least_paper_run_) return;
      if (first_paper < 0 && run_start > 0) first_paper = run_start;
      if (end < width_) last_paper = end - 1;
    };
    for (int32_t x = 0; x < width_; ++x) {
      const uint8_t value = light_[static_cast<size_t>(x)];
      if (value == current) continue;
      close_run(x);
      transitions_.push_back(x);
      current = value;
      run_start = x;
    }
    close_run(width_);
    transitions_.push_back(width_);
    offsets_.push_back(static_cast<uint32_t>(transitions_.size()));
    ++rows_added_;
    if (first_paper >= 0) ++first_paper_[static_cast<size_t>(first_paper)];
    if (last_paper >= 0) ++last_paper_[static_cast<size_t>(last_paper)];
  }

  uint64_t Bytes() const { return transitions_.size() * 4 + offsets_.size() * 4 + (offsets_.size() - 1) * 2; }
  int64_t Lines() const { return static_cast<int64_t>(offsets_.size()) - 1; }
  int32_t PaperFirst() const { return EdgePosition(first_paper_, rows_added_); }
  int32_t PaperLast() const { return EdgePosition(last_paper_, rows_added_); }

  // The lines into `lines`, the last row read first when `reverse`. Reversing the whole flat
  // list reverses the order of the lines and of each line's transitions; reversing each line's
  // own stretch back puts its transitions in order again, without a second copy.
  void Finish(bool reverse, ScanLineArray& lines) {
    const size_t count = offsets_.size() - 1;
    if (reverse) {
      std::vector<uint32_t> lengths(count);
      for (size_t i = 0; i < count; ++i) lengths[count - 1 - i] = offsets_[i + 1] - offsets_[i];
      std::reverse(transitions_.begin(), transitions_.end());
      uint32_t start = 0;
      for (size_t i = 0; i < count; ++i) {
        offsets_[i] = start;
        std::reverse(transitions_.begin() + start, transitions_.begin() + start + lengths[i]);
        start += lengths[i];
      }
      offsets_[count] = start;
    }
    lines.AdoptLines(std::move(transitions_), std::move(offsets_), std::vector<uint16_t>(count, 0));
  }

 private:
  int32_t width_;
  int threshold_;
  bool holes_light_;
  bool mirror_;
  bool smooth_;
  std::vector<uint8_t> light_;
  std::vector<uint8_t> smoothed_;
  std::vector<int32_t> transitions_;
  std::vector<uint32_t> offsets_;
  std::vector<uint32_t> first_paper_;
  std::vector<uint32_t> last_paper_;
  int32_t least_paper_run_;
  int64_t rows_added_ = 0;
};

// Which pixels are holes, when the picture is to say: the paper is the kind that covers most of
// the middle half of the rows sampled (beside the roll the picture shows what shows through the
// holes, and the holes cover much less than the paper between them).
bool HolesAreLight(const std::vector<uint8_t>& sample, int32_t width, int threshold) {
  uint64_t light = 0;
  uint64_t dark = 0;
  const size_t rows = sample.size() / static_cast<size_t>(width);
  for (size_t row = 0; row < rows; ++row) {
    const uint8_t* pixels = sample.data() + row * static_cast<size_t>(width);
    for (int32_t x = width / 4; x < width - width / 4; ++x) (pixels[x] > threshold ? light : dark) += 1;
  }
  return dark >= light;
}

// The title area of a CIS header holds 32 bytes.
std::string TitleFromName(const std::string& name) { return name.substr(0, 32); }

}  // namespace

Result ReadPictureFile(const std::string& path, const PictureSettings& settings, uint64_t max_line_bytes,
                       CisScanData& data, Reporter& reporter) {
  reporter.SetStatusText("Reading picture ");
  std::unique_ptr<PictureRows> rows;
  if (Result opened = OpenPictureRows(path, rows); !opened.ok()) return opened;
  const PictureLayout layout = rows->Layout();  // a copy: the decoder is closed before the end
  const std::string kind = "The " + layout.Format + " picture " + path;
  if (layout.Rows <= 0) return Result::Corrupt(kind + " has no rows.");
  if (layout.Width < kMinPictureWidth) {
    return Result::Corrupt(kind + " is " + std::to_string(layout.Width) +
                           " pixels wide: too narrow to show a roll (at least " + std::to_string(kMinPictureWidth) +
                           " pixels).");
  }
  if (layout.Width > kMaxPictureWidth) {
    return Result::Corrupt(kind + " is " + std::to_string(layout.Width) + " pixels wide: wider than the " +
                           std::to_string(kMaxPictureWidth) + " a scan line can hold.");
  }
  if (static_cast<uint64_t>(layout.Rows) > max_line_bytes / kLeastLineBytes || layout.Rows >= INT32_MAX) {
    return Result::Corrupt(kind + " states " + std::to_string(layout.Rows) +
                           " rows: its scan lines would take more than the " +
                           std::to_string(max_line_bytes / (1024 * 1024)) + " MB a scan may hold (--max-scan-mb).");
  }
  const int32_t width = layout.Width;
  const int64_t row_count = layout.Rows;

  // The sample of the first rows, held decoded until the threshold is known.
  std::vector<uint8_t> sample;
  BrightnessHistogram histogram{};
  BrightnessSplit split;
  const int64_t least_sample = std::max<int64_t>(1, static_cast<int64_t>(kSampleBytes / static_cast<uint64_t>(width)));
  int64_t sampled = 0;
  std::vector<uint8_t> grey(static_cast<size_t>(width));
  while (sampled < row_count) {
    const int64_t target = std::min(row_count, least_sample * (sampled == 0 ? 1 : kSampleGrowth));
    sample.resize(static_cast<size_t>(target) * static_cast<size_t>(width));
    for (; sampled < target; ++sampled) {
      uint8_t* row = sample.data() + static_cast<size_t>(sampled) * static_cast<size_t>(width);
      if (Result read = rows->ReadRow(row); !read.ok()) return read;
      for (int32_t x = 0; x < width; ++x) ++histogram[row[x]];
    }
    split = SplitBrightness(histogram);
    if (split.Separation >= kClearSeparation || target >= least_sample * kSampleGrowth) break;
  }
  const bool holes_light = settings.PictureHoles == PictureSettings::kHolesLight ? true
                           : settings.PictureHoles == PictureSettings::kHolesDark
                               ? false
                               : HolesAreLight(sample, width, split.Threshold);

  LineBuilder builder(layout, split.Threshold, holes_light, layout.Format == "JPEG");
  const int64_t step = std::max<int64_t>(1, row_count / 50);
  auto progress = [&](int64_t row) {
    if (row % step != 0) return;
    reporter.SetStatusText("Reading Picture Row = " + std::to_string(row));
    reporter.SetProgress(kProgressReading, static_cast<int>(100 * row / row_count));
  };
  for (int64_t row = 0; row < sampled; ++row) {
    progress(row);
    builder.Add(sample.data() + static_cast<size_t>(row) * static_cast<size_t>(width));
  }
  std::vector<uint8_t>().swap(sample);
  for (int64_t row = sampled; row < row_count; ++row) {
    progress(row);
    if (row % 1024 == 0 && reporter.IsCancelled())
      return Result::Cancelled("stopped: " + path + " was read only in part");
    if (Result read = rows->ReadRow(grey.data()); !read.ok()) return read;
    builder.Add(grey.data());
    if (builder.Bytes() > max_line_bytes) {
      return Result::Corrupt(kind + " gives more scan line data than the " +
                             std::to_string(max_line_bytes / (1024 * 1024)) +
                             " MB a scan may hold (--max-scan-mb), after row " + std::to_string(row) + ".");
    }
  }
  rows.reset();

  const bool bottom_first = settings.PictureStart != PictureSettings::kStartTop;
  // Line 0 is the row played first: the bottom row (the file's last row, unless it stores its
  // rows from the bottom up) or the top one.
  builder.Finish(bottom_first != layout.BottomRowFirst, data.Lines);

  PictureOrigin& origin = data.Header.Picture;
  origin.IsPicture = true;
  origin.Format = layout.Format;
  origin.Width = width;
  origin.Rows = row_count;
  origin.BitsPerSample = layout.BitsPerSample;
  origin.StoredDpi = layout.StoredDpi;
  origin.Threshold = split.Threshold;
  origin.Separation = split.Separation;
  origin.HolesLight = holes_light;
  origin.StartsAtBottom = bottom_first;
  origin.PaperFirstPixel = builder.PaperFirst();
  origin.PaperLastPixel = builder.PaperLast();
  origin.Polarity = holes_light ? HolePolarity::kOddRuns : HolePolarity::kEvenRuns;

  data.Header.Title = TitleFromName(data.Header.Names.Name);
  data.Header.HeaderText = data.Header.Title;
  data.Header.HeaderText.resize(40, '\0');
  data.Header.ScannerType = 0;
  data.Header.EncoderExponent = 0;
  data.Header.TwinArray = false;
  data.Header.ReverseImage = false;
  data.Header.MirrorImage = false;
  data.Header.ScanWidth = width;
  data.Header.ChangeoverPixel = 0;
  data.Header.HeaderLineCount = static_cast<int32_t>(row_count);
  data.Header.LinesReadPlusTwo = static_cast<int32_t>(row_count) + 2;
  data.Header.CorruptLineCount = 0;
  data.StartRun(false);  // until a run changes them, the run's flags are the header's
  data.Run.Polarity = origin.Polarity;
  reporter.SetProgress(kProgressReading, 100);
  if (split.Separation < kClearSeparation) {
    reporter.ShowMessage(MessageKind::kWarning, kind +
                                                    ": holes and paper are hard to tell apart (brightness threshold " +
                                                    std::to_string(split.Threshold) + ", separation " +
                                                    std::to_string(static_cast<int>(100 * split.Separation)) +
                                                    " %); the holes found may be wrong.");
  }
  return Result::Ok();
}

}  // namespace tarvelo
