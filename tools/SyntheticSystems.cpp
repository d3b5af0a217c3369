#include "SyntheticSystems.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tarvelo::synth {

namespace {

// A small deterministic generator (xorshift) for the holes' places and lengths.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
  double Uniform() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return (state_ >> 8) / 16777216.0;
  }
  double Between(double low, double high) { return low + (high - low) * Uniform(); }
  int Track(int low, int high) { return low + static_cast<int>(Uniform() * (high - low + 1)) % (high - low + 1); }

 private:
  uint32_t state_;
};

// Notes: about `per_inch` onsets per inch, most in the middle of the keyboard.
void AddNotes(std::vector<SyntheticHole>& holes, Random& random, int low, int high, double length, double per_inch) {
  const auto count = static_cast<int>(length * per_inch);
  for (int k = 0; k < count; ++k) {
    // The mean of two uniform draws leans towards the middle of the range.
    const double middle = 0.5 * (random.Uniform() + random.Uniform());
    const int track = std::clamp(low + static_cast<int>(middle * (high - low + 1)), low, high);
    holes.push_back({track, random.Between(0.5, length - 6.0), random.Between(0.05, 0.4)});
  }
}

// Holes on one control track through the roll: `count` of them, each `shortest`..`longest` long.
void AddControl(std::vector<SyntheticHole>& holes, Random& random, int track, int count, double length, double shortest,
                double longest) {
  for (int k = 0; k < count; ++k)
    holes.push_back({track, random.Between(0.5, length - 6.0), random.Between(shortest, longest)});
}

// The same events punched on two tracks (a function duplicated on both sides of the roll).
void AddPaired(std::vector<SyntheticHole>& holes, Random& random, int first, int second, int count, double length,
               double shortest, double longest) {
  for (int k = 0; k < count; ++k) {
    const double start = random.Between(0.5, length - 6.0);
    const double hole_length = random.Between(shortest, longest);
    holes.push_back({first, start, hole_length});
    holes.push_back({second, start, hole_length});
  }
}

// A held level: `count` rows of 0.07-inch holes with 0.07-inch webs, each 0.2 to 1 inch long.
void AddChains(std::vector<SyntheticHole>& holes, Random& random, int track, int count, double length) {
  for (int k = 0; k < count; ++k) {
    const double start = random.Between(0.5, length - 6.0);
    const double end = start + random.Between(0.2, 1.0);
    for (double at = start; at < end; at += 0.14) holes.push_back({track, at, 0.07});
  }
}

// A lock and its cancel: `pairs` short punches in each, taking turns along the roll.
void AddLockPair(std::vector<SyntheticHole>& holes, Random& random, int lock, int cancel, int pairs, double length) {
  std::vector<double> starts;
  for (int k = 0; k < 2 * pairs; ++k) starts.push_back(random.Between(0.5, length - 6.0));
  std::sort(starts.begin(), starts.end());
  for (size_t k = 0; k < starts.size(); ++k)
    holes.push_back({k % 2 == 0 ? lock : cancel, starts[k], random.Between(0.04, 0.08)});
}

// A rewind: a chain of holes in the roll's last inches.
void AddRewind(std::vector<SyntheticHole>& holes, int track, double length, double diameter = 0,
               double center_shift = 0) {
  for (double at = length - 5.0; at < length - 1.0; at += 0.3)
    holes.push_back({track, at, 0.2, center_shift, diameter});
}

}  // namespace

std::vector<SyntheticHole> SystemRollHoles(RollSystem system, double length_inch, uint32_t seed) {
  std::vector<SyntheticHole> holes;
  Random random(seed);
  const double length = length_inch;
  const auto per = [&](double per_inch) { return static_cast<int>(length * per_inch); };
  switch (system) {
    case RollSystem::kPlain88:
      AddNotes(holes, random, 21, 108, length, 20);
      AddControl(holes, random, 18, per(0.4), length, 1.0, 3.0);   // sustain, held
      AddControl(holes, random, 113, per(0.1), length, 1.0, 4.0);  // soft
      break;
    case RollSystem::kAmpicoA:
    case RollSystem::kAmpicoB:
      AddNotes(holes, random, 24, 105, length, 20);
      AddControl(holes, random, 18, per(0.5), length, 0.5, 2.5);        // sustain
      AddControl(holes, random, 111, per(0.3), length, 0.5, 3.0);       // soft
      AddPaired(holes, random, 16, 113, per(0.4), length, 0.1, 0.3);    // slow crescendo
      AddPaired(holes, random, 20, 109, per(0.4), length, 0.05, 0.15);  // fast crescendo
      for (const int track : {17, 19, 21, 108, 110, 112}) AddControl(holes, random, track, per(0.2), length, 0.08, 0.2);
      for (const int track : {22, 107}) AddControl(holes, random, track, per(0.3), length, 0.1, 0.2);  // cancels
      if (system == RollSystem::kAmpicoB) {
        AddControl(holes, random, 15, per(0.1), length, 0.1, 0.3);    // amplifier
        AddControl(holes, random, 114, per(0.06), length, 0.1, 0.3);  // sub-intensity
      }
      AddRewind(holes, 106, length);
      break;
    case RollSystem::kDuoArt: {
      AddNotes(holes, random, 25, 104, length, 20);
      AddControl(holes, random, 18, per(0.5), length, 0.5, 2.5);   // sustain
      AddControl(holes, random, 113, per(0.1), length, 0.5, 2.0);  // soft
      // Theme accents: two half holes, punched together, inside tracks 19/20 and 109/110.
      for (const int bass : {19, 109}) {
        for (int k = 0; k < per(0.5); ++k) {
          const double start = random.Between(0.5, length - 6.0);
          const double hole_length = random.Between(0.05, 0.1);
          holes.push_back({bass, start, hole_length, 0.15, 0.045});
          holes.push_back({bass + 1, start, hole_length, -0.15, 0.045});
        }
      }
      // Accompaniment (21-24) and theme (105-108) levels 1, 2, 4, 8, held by chain
      // perforations: the low levels busiest.
      const double levels[] = {1.0, 1.6, 0.4, 0.1};
      for (int k = 0; k < 4; ++k) {
        AddChains(holes, random, 21 + k, per(levels[k] * 0.6), length);
        AddChains(holes, random, 108 - k, per(levels[k] * 0.6), length);
      }
      AddRewind(holes, 16, length, 0.13, 0.3);  // one wide slot over 16 and 17
      break;
    }
    case RollSystem::kWelteLicensee:
      AddNotes(holes, random, 24, 103, length, 20);
      // Lock-and-cancel pairs, short punches taking turns: a lock, later its cancel. (The
      // mezzoforte pairs' second holes, 17 and 112, are nearly unused.)
      for (const auto& [lock, cancel] : {std::pair{19, 18}, {21, 20}, {23, 22}, {106, 107}, {108, 109}, {110, 111}})
        AddLockPair(holes, random, lock, cancel, per(0.125), length);
      for (const int track : {16, 113}) AddControl(holes, random, track, per(0.25), length, 0.04, 0.08);
      AddRewind(holes, 104, length);
      break;
    case RollSystem::kWelteT98:
      AddNotes(holes, random, 24, 103, length, 20);
      AddControl(holes, random, 18, per(0.5), length, 0.5, 2.5);   // sustain
      AddControl(holes, random, 111, per(0.2), length, 0.5, 2.0);  // soft
      // Held expression valves: mezzoforte and crescendo long, the sforzandos short.
      for (const int track : {17, 19, 110, 112}) AddControl(holes, random, track, per(0.25), length, 0.5, 3.0);
      for (const int track : {16, 20, 109, 113}) AddControl(holes, random, track, per(0.2), length, 0.1, 0.4);
      holes.push_back({16, length - 4.0, 2.5});  // the rewind: a long punch
      break;
    case RollSystem::kRecordo:
      AddNotes(holes, random, 21, 108, length, 20);
      AddControl(holes, random, 18, per(0.5), length, 0.5, 2.5);  // sustain
      // Held levels: f and p through the roll, ff and mf now and then.
      for (const int track : {110, 112}) AddControl(holes, random, track, per(0.4), length, 0.5, 3.0);
      for (const int track : {109, 111}) AddControl(holes, random, track, per(0.05), length, 0.3, 1.5);
      AddControl(holes, random, 113, per(0.15), length, 0.5, 2.0);  // treble hammer rail
      AddControl(holes, random, 16, per(0.05), length, 0.5, 2.0);   // bass hammer rail
      // The end-of-roll mark across several tracks.
      for (const int track : {20, 21, 104, 109, 111}) holes.push_back({track, length - 3.0, 1.0});
      break;
    case RollSystem::kArtecho:
      AddNotes(holes, random, 23, 105, length, 20);
      AddControl(holes, random, 18, per(0.5), length, 0.5, 2.5);  // sustain
      // Intensities (latched, short), cancels, crescendos and hammer rails on both sides.
      for (const int track : {15, 16, 17, 19, 20, 21, 22, 106, 107, 108, 109, 110, 111, 112, 113, 114})
        AddControl(holes, random, track, per(0.2), length, 0.05, 0.3);
      break;
  }
  std::sort(holes.begin(), holes.end(),
            [](const SyntheticHole& a, const SyntheticHole& b) { return a.start_inch < b.start_inch; });
  return holes;
}

}  // namespace tarvelo::synth
