#include "helpers/TwinArrayRoll.h"

namespace tarvelo::testing {

namespace {

// Pixels 0..width-1 of a line with colour 1 at pixel 0, flipped at each transition, and
// pixel `width` (off the paper) in colour 1.
std::vector<char> Pixels(const std::vector<int32_t>& transitions, int width) {
  std::vector<char> pixels(static_cast<size_t>(width) + 1, 1);
  char colour = 1;
  int cursor = 0;
  for (const int32_t t : transitions) {
    for (int p = cursor; p < t && p < width; ++p) pixels[static_cast<size_t>(p)] = colour;
    colour ^= 1;
    cursor = t;
  }
  return pixels;
}

// Transitions of pixels [from, to) that start with colour 1 at `from`.
void AppendHalf(const std::vector<char>& pixels, int from, int to, std::vector<int32_t>& out) {
  if (pixels[static_cast<size_t>(from)] != 1) out.push_back(from);
  for (int p = from + 1; p < to; ++p)
    if (pixels[static_cast<size_t>(p)] != pixels[static_cast<size_t>(p) - 1]) out.push_back(p);
  out.push_back(to);
}

}  // namespace

std::vector<int32_t> TwinArrayLineTransitions(const synth::SyntheticRollSpec& plan, const TwinArrayOptions& twin,
                                              int index) {
  const int single = plan.scan_width;
  const int width = single + twin.overlap;
  const int half = width / 2;
  const std::vector<char> first = Pixels(synth::SyntheticLineTransitions(plan, index), single);
  const int later = index - twin.separation_lines < 0 ? 0 : index - twin.separation_lines;
  const std::vector<char> second = Pixels(synth::SyntheticLineTransitions(plan, later), single);
  std::vector<char> line(static_cast<size_t>(width) + 1, 1);
  for (int p = 0; p < half; ++p) line[static_cast<size_t>(p)] = first[static_cast<size_t>(p)];
  for (int s = half; s < width; ++s) {
    const int k = half + single - s;
    line[static_cast<size_t>(s)] = k >= 0 && k <= single ? second[static_cast<size_t>(k)] : 1;
  }
  std::vector<int32_t> out;
  AppendHalf(line, 0, half, out);
  AppendHalf(line, half, width, out);
  return out;
}

std::string RenderTwinArrayCis(const synth::SyntheticRollSpec& plan, const TwinArrayOptions& twin) {
  const int lines = synth::SyntheticLineCount(plan);
  synth::CisHeaderFields header;
  header.title = plan.title;
  header.type_byte = static_cast<uint8_t>(plan.type_byte | 0x20);
  header.encoder_byte = plan.encoder_byte;
  header.separation = static_cast<int16_t>(twin.separation_lines * 1000 / plan.lines_per_inch);
  header.dpi = static_cast<int16_t>(plan.dpi);
  header.width = static_cast<int16_t>((plan.scan_width + twin.overlap) / 2);
  header.changeover = static_cast<int16_t>(twin.overlap);
  header.tempo = static_cast<int16_t>(plan.tempo);
  header.lines_per_inch = static_cast<int16_t>(plan.lines_per_inch);
  header.line_count = lines;
  std::string out = synth::EncodeCisHeader(header);
  std::vector<uint32_t> runs;
  for (int i = 0; i < lines; ++i) {
    runs.clear();
    int32_t previous = 0;
    for (const int32_t t : TwinArrayLineTransitions(plan, twin, i)) {
      runs.push_back(static_cast<uint32_t>(t - previous));
      previous = t;
    }
    synth::AppendCisLine(out, runs, 0);
  }
  return out;
}

}  // namespace tarvelo::testing
