#pragma once
// A deterministic generator of CIS files: a roll of known holes, rendered the way a
// contact-image-sensor scanner records it (run lengths per scan line), with optional
// sideways paper drift and shaft encoder ticks. Used for the bundled sample roll and for
// tests with known answers.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvelo::synth {

// The 52-byte header of a CIS file.
struct CisHeaderFields {
  std::string title;         // at most 32 bytes kept; zero padded
  uint8_t type_byte = 0;     // byte 34: scanner type nibble, 0x20 twin array, 0x40 bi-colour
  uint8_t encoder_byte = 0;  // byte 35: encoder exponent nibble, 0x10 mirrored image
  int16_t separation = 0;
  int16_t dpi = 300;
  int16_t width = 3648;  // stated width of one sensor array
  int16_t changeover = 0;
  int16_t tempo = 80;
  int16_t lines_per_inch = 100;
  int32_t line_count = 0;
};

std::string EncodeCisHeader(const CisHeaderFields& header);
// Appends one line record: run lengths (split into several runs when one exceeds 65535),
// then the line word.
void AppendCisLine(std::string& out, const std::vector<uint32_t>& runs, uint16_t line_word);

// One punched hole: a track, where its leading edge lies along the roll and how long it is.
struct SyntheticHole {
  int track = 0;
  double start_inch = 0;
  double length_inch = 0;
  double center_shift = 0;  // tracks from the track's centre (half holes lie off it)
  double diameter = 0;      // across the roll, inches; 0: the plan's hole_diameter
};

struct SyntheticRollSpec {
  std::string title = "Synthetic roll";
  int scan_width = 3648;  // pixels per line
  int dpi = 300;          // scanner pixels per inch across the roll
  double offset = 1.0;    // roll coordinate (inches) of pixel 0
  // The paper's scale: pixel p shows roll coordinate p * stretch / dpi + offset.
  double stretch = 1.0;
  std::optional<int16_t> header_dpi;  // the DPI the header states, when not dpi
  int lines_per_inch = 100;
  int tempo = 80;
  double length_inch = 0;  // 0: one inch beyond the last hole
  // Roll coordinate of each track's centre (inches); by default nine tracks per inch with
  // track n centred at n/9 + 1/18.
  std::function<double(int)> track_center;
  double hole_diameter = 0.07;  // across the roll, inches
  double lower_edge = 1.6;      // paper edges, inches (before drift)
  double upper_edge = 12.85;
  std::vector<SyntheticHole> holes;
  // Sideways shift of the paper (inches) at a position along the roll; none by default.
  std::function<double(double)> drift;
  // Ragged margins: each line's paper edges lie up to this far (inches) inside the nominal
  // edges, with now and then a few torn fibres (short hole-colour runs a pixel or two apart)
  // just inside them. Deterministic.
  double ragged_margin = 0;
  // Shaft encoder: line word bit 0x80 toggles every this many lines (0: never).
  int encoder_lines_per_tick = 0;
  uint8_t type_byte = 0;
  uint8_t encoder_byte = 0;
};

// Pixel columns [first, last) that one line shows as holes (or off the paper), in order.
struct PixelSpan {
  int first = 0;
  int last = 0;
};

// The transitions of line `index` (increasing, the last equal to the scan width). Runs
// 0, 2, 4, ... are holes or the space beyond the paper edges; runs 1, 3, ... are paper.
std::vector<int32_t> SyntheticLineTransitions(const SyntheticRollSpec& plan, int index);
// Number of lines the roll renders to.
int SyntheticLineCount(const SyntheticRollSpec& plan);
// The whole CIS file.
std::string RenderSyntheticCis(const SyntheticRollSpec& plan);

// The sample roll shipped with the program: a short piece on the default geometry.
SyntheticRollSpec SampleRollSpec();

}  // namespace tarvelo::synth
