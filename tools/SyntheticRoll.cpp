#include "SyntheticRoll.h"

#include <algorithm>
#include <cmath>

namespace tarvelo::synth {

namespace {

void PutU16(std::string& out, size_t offset, uint16_t value) {
  out[offset] = static_cast<char>(value & 0xFF);
  out[offset + 1] = static_cast<char>(value >> 8);
}

double DefaultTrackCenter(int track) { return track / 9.0 + 1.0 / 18.0; }

// A deterministic pseudo-random value in [0, 1) from a line index and a stream number.
double Noise(int index, uint32_t stream) {
  uint32_t x = static_cast<uint32_t>(index) * 0x9E3779B1u ^ (stream * 0x85EBCA77u + 0x165667B1u);
  x ^= x >> 15;
  x *= 0x2C1B3C6Du;
  x ^= x >> 12;
  x *= 0x297A2D39u;
  x ^= x >> 15;
  return (x >> 8) / 16777216.0;
}

}  // namespace

std::string EncodeCisHeader(const CisHeaderFields& h) {
  std::string out(52, '\0');
  // The title area is bytes 0..31; the type fields follow.
  std::copy_n(h.title.begin(), std::min<size_t>(h.title.size(), 32), out.begin());
  out[34] = static_cast<char>(h.type_byte);
  out[35] = static_cast<char>(h.encoder_byte);
  PutU16(out, 36, static_cast<uint16_t>(h.separation));
  PutU16(out, 38, static_cast<uint16_t>(h.dpi));
  PutU16(out, 40, static_cast<uint16_t>(h.width));
  PutU16(out, 42, static_cast<uint16_t>(h.changeover));
  PutU16(out, 44, static_cast<uint16_t>(h.tempo));
  PutU16(out, 46, static_cast<uint16_t>(h.lines_per_inch));
  const auto count = static_cast<uint32_t>(h.line_count);
  for (int i = 0; i < 4; ++i) out[48 + static_cast<size_t>(i)] = static_cast<char>((count >> (8 * i)) & 0xFF);
  return out;
}

void AppendCisLine(std::string& out, const std::vector<uint32_t>& runs, uint16_t line_word) {
  auto put = [&out](uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
  };
  for (uint32_t run : runs) {
    // A run longer than a word becomes full runs joined by empty runs of the other colour.
    while (run > 0xFFFF) {
      put(0xFFFF);
      put(0);
      run -= 0xFFFF;
    }
    put(static_cast<uint16_t>(run));
  }
  put(line_word);
}

int SyntheticLineCount(const SyntheticRollSpec& plan) {
  double length = plan.length_inch;
  if (length <= 0) {
    for (const SyntheticHole& hole : plan.holes) length = std::max(length, hole.start_inch + hole.length_inch);
    length += 1.0;
  }
  return static_cast<int>(std::ceil(length * plan.lines_per_inch));
}

std::vector<int32_t> SyntheticLineTransitions(const SyntheticRollSpec& plan, int index) {
  const double position = static_cast<double>(index) / plan.lines_per_inch;
  const double shift = plan.drift ? plan.drift(position) : 0.0;
  const auto center = plan.track_center ? plan.track_center : DefaultTrackCenter;
  const double ppi = plan.dpi / plan.stretch;
  auto to_pixel = [&](double inch) {
    const double p = std::round((inch + shift - plan.offset) * ppi);
    return static_cast<int>(std::clamp(p, 0.0, static_cast<double>(plan.scan_width)));
  };

  // Spans that are not paper: beyond each edge and every hole open on this line.
  std::vector<PixelSpan> spans;
  const double lower_edge = plan.lower_edge + plan.ragged_margin * Noise(index, 1);
  const double upper_edge = plan.upper_edge - plan.ragged_margin * Noise(index, 2);
  spans.push_back({0, to_pixel(lower_edge)});
  for (const SyntheticHole& hole : plan.holes) {
    if (position < hole.start_inch || position >= hole.start_inch + hole.length_inch) continue;
    const double c = center(hole.track) + hole.center_shift * (center(hole.track + 1) - center(hole.track));
    const double radius = (hole.diameter > 0 ? hole.diameter : plan.hole_diameter) / 2;
    spans.push_back({to_pixel(c - radius), to_pixel(c + radius)});
  }
  spans.push_back({to_pixel(upper_edge), plan.scan_width});
  if (plan.ragged_margin > 0) {
    // Torn fibres on one line in four: two or three short runs, a pixel or two of paper apart.
    for (const bool lower : {true, false}) {
      if (Noise(index, lower ? 3 : 4) >= 0.25) continue;
      int at = lower ? to_pixel(lower_edge) : to_pixel(upper_edge);
      const int pieces = 2 + static_cast<int>(Noise(index, 5) * 2);
      for (int k = 0; k < pieces; ++k) {
        const int gap = 1 + static_cast<int>(Noise(index, 6 + k) * 2);
        const int width = 1 + static_cast<int>(Noise(index, 9 + k) * 4);
        const PixelSpan fibre = lower ? PixelSpan{at + gap, at + gap + width} : PixelSpan{at - gap - width, at - gap};
        if (fibre.first >= 0 && fibre.last <= plan.scan_width) spans.push_back(fibre);
        at = lower ? fibre.last : fibre.first;
      }
    }
  }
  std::sort(spans.begin(), spans.end(), [](const PixelSpan& a, const PixelSpan& b) { return a.first < b.first; });

  // Merge overlapping spans, then write alternating runs starting with a hole run (empty when
  // pixel 0 shows paper).
  std::vector<PixelSpan> merged;
  for (const PixelSpan& s : spans) {
    if (s.last <= s.first) continue;
    if (!merged.empty() && s.first <= merged.back().last)
      merged.back().last = std::max(merged.back().last, s.last);
    else
      merged.push_back(s);
  }
  std::vector<int32_t> transitions;
  int pos = 0;
  bool expect_hole = true;
  for (const PixelSpan& s : merged) {
    if (s.first > pos) {
      if (expect_hole) transitions.push_back(pos);  // empty hole run
      transitions.push_back(s.first);               // end of the paper run
    }
    transitions.push_back(s.last);  // end of the hole run
    expect_hole = false;
    pos = s.last;
  }
  if (pos < plan.scan_width) {
    if (expect_hole) transitions.push_back(pos);
    transitions.push_back(plan.scan_width);
  }
  return transitions;
}

std::string RenderSyntheticCis(const SyntheticRollSpec& plan) {
  const int lines = SyntheticLineCount(plan);
  CisHeaderFields header;
  header.title = plan.title;
  header.type_byte = plan.type_byte;
  header.encoder_byte = plan.encoder_byte;
  header.dpi = plan.header_dpi.value_or(static_cast<int16_t>(plan.dpi));
  header.width = static_cast<int16_t>(plan.scan_width);
  header.tempo = static_cast<int16_t>(plan.tempo);
  header.lines_per_inch = static_cast<int16_t>(plan.lines_per_inch);
  header.line_count = lines;
  std::string out = EncodeCisHeader(header);
  uint16_t line_word = 0;
  std::vector<uint32_t> runs;
  for (int i = 0; i < lines; ++i) {
    if (plan.encoder_lines_per_tick > 0 && i > 0 && i % plan.encoder_lines_per_tick == 0) line_word ^= 0x0080;
    const std::vector<int32_t> transitions = SyntheticLineTransitions(plan, i);
    runs.clear();
    int32_t previous = 0;
    for (const int32_t t : transitions) {
      runs.push_back(static_cast<uint32_t>(t - previous));
      previous = t;
    }
    AppendCisLine(out, runs, line_word);
  }
  return out;
}

SyntheticRollSpec SampleRollSpec() {
  SyntheticRollSpec plan;
  plan.title = "Tarvelo sample: scales, chords";
  plan.tempo = 80;
  // A C major scale up and down in the middle of the keyboard (tracks are MIDI notes in the
  // default layout), then three chords, then a run over two octaves with a held bass.
  const int scale[] = {60, 62, 64, 65, 67, 69, 71, 72, 71, 69, 67, 65, 64, 62, 60};
  double at = 1.0;
  for (const int note : scale) {
    plan.holes.push_back({note, at, 0.25});
    at += 0.3;
  }
  const int chords[][3] = {{48, 52, 55}, {53, 57, 60}, {55, 59, 62}};
  for (const auto& chord : chords) {
    for (const int note : chord) plan.holes.push_back({note, at, 0.8});
    at += 1.0;
  }
  plan.holes.push_back({36, at, 4.0});
  for (int step = 0; step < 15; ++step) plan.holes.push_back({60 + step * 2 % 24, at + step * 0.25, 0.15});
  plan.holes.push_back({48, at + 4.2, 1.5});
  plan.holes.push_back({52, at + 4.2, 1.5});
  plan.holes.push_back({55, at + 4.2, 1.5});
  plan.holes.push_back({60, at + 4.2, 1.5});
  return plan;
}

}  // namespace tarvelo::synth
