#include "align/ControlProfiles.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <initializer_list>
#include <string>

namespace tarvelo {

namespace {

enum class Test {
  kUsed,        // holes through the roll
  kEmpty,       // no holes
  kEndOnly,     // holes at the roll's end only (rewind), or none
  kThroughout,  // holes through the roll, not only at its end
  kHeavy,       // at least twice as many holes as a note track has on average
  kLight,       // no more holes than a little used note (the outermost notes of a keyboard)
  kRare,        // next to no holes: a note track the system leaves unused
  kPair,        // as many holes as the second track (within the tolerance)
};

struct Check {
  Test Kind;
  int Track;
  double Weight;
  int Other = 0;           // kPair: the second track
  double Tolerance = 0.1;  // kPair: share of the larger count
};

struct Profile {
  const char* Key;  // lower-case letters and digits of the roll type's name
  std::initializer_list<Check> Checks;
};

// Shorthands for the most common tests.
#define USED(track, weight) \
  Check { Test::kUsed, track, weight }
#define EMPTY(track, weight) \
  Check { Test::kEmpty, track, weight }

// Profiles from the systems' published track assignments and from measured scans (sections
// of the roll type facts): see each line.
const Profile kProfiles[] = {
    // Ampico A: bass 16-22 (slow crescendo, intensities 2/4/6, sustain 18, fast crescendo,
    // cancel), treble 107-113 the mirror image (soft 111); rewind 106 at the roll's end; slow
    // and fast crescendo punched on both sides alike (16/113, 20/109). No tracks 15 and 114.
    {"ampicoa",
     {USED(16, 1),
      USED(17, 1),
      USED(18, 1),
      USED(19, 1),
      USED(20, 1),
      USED(21, 1),
      USED(22, 1),
      USED(107, 1),
      USED(108, 1),
      USED(109, 1),
      USED(110, 1),
      USED(111, 1),
      USED(112, 1),
      USED(113, 1),
      EMPTY(15, 3),
      EMPTY(114, 3),
      Check{Test::kEndOnly, 106, 2},
      Check{Test::kLight, 23, 1},
      Check{Test::kPair, 16, 2, 113, 0.1},
      Check{Test::kPair, 20, 2, 109, 0.1}}},
    // Ampico B: as Ampico A, with the amplifier (15) and sub-intensity (114) tracks; some rolls
    // leave the sub-intensity track empty.
    {"ampicob",
     {USED(15, 3),
      USED(114, 1.5),
      USED(16, 1),
      USED(17, 1),
      USED(18, 1),
      USED(19, 1),
      USED(20, 1),
      USED(21, 1),
      USED(22, 1),
      USED(107, 1),
      USED(108, 1),
      USED(109, 1),
      USED(110, 1),
      USED(111, 1),
      USED(112, 1),
      USED(113, 1),
      Check{Test::kEndOnly, 106, 2},
      Check{Test::kLight, 23, 1},
      Check{Test::kPair, 16, 2, 113, 0.1},
      Check{Test::kPair, 20, 2, 109, 0.1}}},
    // Duo-Art: sustain 18, soft 113, theme snakebites as half holes in 19/20 and 109/110
    // (each pair punched together), accompaniment levels 21-24 and theme levels 105-108
    // (levels 1 and 2 busier than any note), 111 and 112 empty, rewind slot 16/17 at the end.
    {"duoart",
     {USED(18, 1),
      USED(113, 1),
      USED(19, 1),
      USED(20, 1),
      USED(109, 1),
      USED(110, 1),
      Check{Test::kPair, 19, 2, 20, 0.05},
      Check{Test::kPair, 109, 2, 110, 0.05},
      Check{Test::kHeavy, 21, 1},
      Check{Test::kHeavy, 22, 1},
      Check{Test::kHeavy, 106, 1},
      Check{Test::kHeavy, 107, 1},
      USED(23, 0.5),
      USED(105, 0.5),
      USED(108, 0.5),
      EMPTY(111, 2),
      EMPTY(112, 2),
      EMPTY(15, 1),
      EMPTY(114, 1),
      Check{Test::kEndOnly, 16, 1},
      Check{Test::kEndOnly, 17, 1}}},
    // Welte Licensee: lock-and-cancel pairs 16-23 (bass) and 108-113 (treble), sustain on/off
    // 106/107 used through the roll, 105 empty, rewind 104 at the end; notes 24-103.
    {"licensee",
     {USED(16, 1),
      USED(18, 1),
      USED(19, 1),
      USED(20, 1),
      USED(21, 1),
      USED(22, 1),
      USED(23, 2),
      USED(108, 1),
      USED(109, 1),
      USED(110, 1),
      USED(111, 1),
      USED(113, 1),
      Check{Test::kThroughout, 106, 2},
      Check{Test::kThroughout, 107, 1},
      EMPTY(105, 2),
      Check{Test::kEndOnly, 104, 2},
      Check{Test::kPair, 106, 1, 107, 0.35},
      Check{Test::kPair, 110, 1, 111, 0.35},
      Check{Test::kPair, 18, 1, 19, 0.35},
      EMPTY(15, 1),
      EMPTY(114, 1)}},
    // Welte T-98 (green): expression 16-20 and 109-113 (sustain 18, soft 111); of the note
    // tracks only 24-103 are used.
    {"t98",
     {USED(16, 1), USED(17, 1), USED(18, 1), USED(19, 1), USED(20, 1), USED(109, 1), USED(110, 1), USED(111, 1),
      USED(112, 1), USED(113, 1), Check{Test::kRare, 21, 1}, Check{Test::kRare, 22, 1}, Check{Test::kRare, 23, 1},
      Check{Test::kRare, 106, 1}, Check{Test::kRare, 107, 1}, Check{Test::kRare, 108, 1}, EMPTY(15, 1), EMPTY(114, 1)}},
    // Recordo: bass hammer rail 16, sustain 18, expression 109-112, treble hammer rail 113;
    // 17, 19 and 20 carry at most a mark at the roll's end.
    {"recordo",
     {USED(18, 1), USED(110, 1), USED(112, 1), USED(113, 1), USED(109, 0.5), USED(111, 0.5), USED(16, 0.5),
      Check{Test::kEndOnly, 17, 1}, Check{Test::kEndOnly, 19, 1}, Check{Test::kEndOnly, 20, 1},
      Check{Test::kLight, 21, 0.5}, Check{Test::kLight, 22, 0.5}, Check{Test::kLight, 107, 0.5},
      Check{Test::kLight, 108, 0.5}, EMPTY(15, 1), EMPTY(114, 1)}},
    // Artecho: intensities, cancels and crescendos on 15-22 and 106-114, all through the roll.
    {"artecho",
     {USED(15, 1), USED(16, 1), USED(17, 1), USED(18, 1), USED(19, 1), USED(20, 1), USED(21, 1), USED(22, 1),
      Check{Test::kThroughout, 106, 2}, USED(107, 1), USED(108, 1), USED(109, 1), USED(110, 1), USED(111, 1),
      USED(112, 1), USED(113, 1), USED(114, 1)}},
    // Plain 88-note: sustain 18, soft 113, accent holes 19/20 and 109/110 optional, 17, 111 and
    // 112 empty; the outermost notes (21, 22, 106, 107) no busier than notes are.
    {"88note",
     {USED(18, 1), USED(113, 1), EMPTY(17, 1), EMPTY(111, 1), EMPTY(112, 1), Check{Test::kLight, 21, 1},
      Check{Test::kLight, 22, 1}, Check{Test::kLight, 106, 1}, Check{Test::kLight, 107, 1}, EMPTY(15, 1), EMPTY(114, 1),
      Check{Test::kEndOnly, 16, 0.5}}},
};

#undef USED
#undef EMPTY

std::string Key(std::string_view name) {
  std::string key;
  for (const char c : name)
    if (std::isalnum(static_cast<unsigned char>(c)))
      key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

// +1 (agrees), -1 (contradicts), 0 (in between); `judged` false when the test cannot judge.
double Evaluate(const Check& check, const TrackUsage& usage, bool& judged) {
  const TrackStats stats = usage.At(check.Track);
  // A track off the scanned image tells nothing.
  judged = stats.Visible && (check.Kind != Test::kPair || usage.At(check.Other).Visible);
  if (!judged) return 0.0;
  const double reference = std::max(usage.NoteHoles, 1.0);
  const double level = stats.Holes / reference;
  const bool empty = stats.Holes <= std::max(1.0, 0.01 * reference);
  const bool used = stats.Holes >= 3 && level >= 0.05;
  const bool at_end = stats.HolesNearEnd >= 0.7 * stats.Holes;
  const bool through = stats.HolesNearEnd < 0.5 * stats.Holes;
  switch (check.Kind) {
    case Test::kUsed:
      return used ? 1.0 : empty ? -1.0 : 0.0;
    case Test::kEmpty:
      return empty ? 1.0 : used ? -1.0 : 0.0;
    case Test::kEndOnly:
      return empty || at_end ? 1.0 : (used && through) ? -1.0 : 0.0;
    case Test::kThroughout:
      return (used && through) ? 1.0 : (empty || at_end) ? -1.0 : 0.0;
    case Test::kHeavy:
      return level >= 2 ? 1.0 : level < 0.5 ? -1.0 : 0.0;
    case Test::kLight:
      return level < 0.5 ? 1.0 : level >= 2 ? -1.0 : 0.0;
    case Test::kRare:
      return level < 0.2 ? 1.0 : level >= 0.5 ? -1.0 : 0.0;
    case Test::kPair: {
      const int other = usage.At(check.Other).Holes;
      if (stats.Holes < 3 && other < 3) {
        judged = false;
        return 0.0;
      }
      const double allowed = check.Tolerance * std::max(stats.Holes, other) + 2;
      const double difference = std::abs(stats.Holes - other);
      return difference <= allowed ? 1.0 : difference > 2.5 * allowed ? -1.0 : 0.0;
    }
  }
  return 0.0;
}

}  // namespace

double ControlMatch(std::string_view name, const TrackUsage& usage, bool& known) {
  const std::string key = Key(name);
  known = false;
  for (const Profile& profile : kProfiles) {
    if (key.find(profile.Key) == std::string::npos) continue;
    known = true;
    double sum = 0, weights = 0;
    for (const Check& check : profile.Checks) {
      bool judged = true;
      const double value = Evaluate(check, usage, judged);
      if (!judged) continue;
      sum += check.Weight * value;
      weights += check.Weight;
    }
    return weights > 0 ? 0.5 + 0.5 * sum / weights : 0.5;
  }
  return 0.5;
}

}  // namespace tarvelo
