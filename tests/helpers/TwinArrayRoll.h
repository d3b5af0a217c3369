#pragma once
// Twin-array renderings of synthetic rolls: each line of a single-array roll split the way a
// twin-array scanner records it, so that joining the halves again must give the original.

#include <string>
#include <vector>

#include "SyntheticRoll.h"

namespace tarvelo::testing {

struct TwinArrayOptions {
  int overlap = 224;          // pixels read by both arrays
  int separation_lines = 10;  // lines between the two arrays along the roll
};

// The transitions of twin-array line `index`: the first array shows single line `index`,
// pixels 0..H-1; the second array, reading the other way from pixel H, shows single line
// index - separation_lines (line 0 before the start), so that its pixel H + M - k is single
// pixel k (M the single width). Beyond the single line's last pixel lies the space off the
// paper. Each half starts with a hole-colour run (empty when it starts with paper). The
// stated width of one array is (M + overlap) / 2, so M + overlap must be even.
std::vector<int32_t> TwinArrayLineTransitions(const synth::SyntheticRollSpec& plan, const TwinArrayOptions& twin,
                                              int index);

// The whole twin-array CIS file (header bit 0x20, separation in thousandths of an inch from
// the lines per inch, changeover = overlap).
std::string RenderTwinArrayCis(const synth::SyntheticRollSpec& plan, const TwinArrayOptions& twin);

}  // namespace tarvelo::testing
