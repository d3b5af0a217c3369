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
  kEmpty,       // no holes of a punched hole's width (torn paper at the margins does not count)
  kEndOnly,     // holes at the roll's end only (rewind), or none
  kEndChain,    // a rewind: several holes, nearly all at the roll's end (judged only when there are holes)
  kThroughout,  // holes through the roll, not only at its end
  kHeavy,       // at least twice as many holes as a note track has on average
  kLight,       // no more holes than a little used note (the outermost notes of a keyboard)
  kUnused,      // next to no holes: a note track the system leaves unused
  kChained,     // most holes chain-punched (a level held by a row of holes)
  kNarrow,      // narrower than the note holes (half holes)
  kPair,        // as many punches as the second track (within the tolerance)
  kTogether,    // punched together with the second track
  kTakeTurns,   // a lock and its cancel: punches alternate with the second track's
  kHeld,        // punches far longer than a note's (a pedal or level held while the hole is open)
  kMomentary,   // punches no longer than a note's (a lock, its cancel, an accent)
};

struct Check {
  Test Kind;
  int Track;
  double Weight;
  int Other = 0;           // pair tests: the second track
  double Tolerance = 0.1;  // kPair: share of the larger count
};

struct Profile {
  const char* Key;  // lower-case letters and digits of the roll type's name
  std::initializer_list<Check> Checks;
};

// Punches of two tracks this close along the roll (inches) are punched together; at the same
// lag, when one track's lie further along the roll by up to kLongestLag.
constexpr double kTogetherDistance = 0.04;
constexpr double kLongestLag = 0.3;
// Pair tests need this many punches on each track.
constexpr int kFewestPunches = 5;
// A track's median punch against the note tracks' median punch: held functions measure 2.2 to 40
// times a note's on real scans (sustain, soft, held crescendos), locks, cancels and accents 0.2
// to 1.2 times, whatever the scan's resolution or the music's pace.
constexpr double kHeldPunch = 1.8;
constexpr double kMomentaryPunch = 1.3;

// Shorthands for the most common tests.
#define USED(track, weight) \
  Check { Test::kUsed, track, weight }
#define EMPTY(track, weight) \
  Check { Test::kEmpty, track, weight }
#define UNUSED(track, weight) \
  Check { Test::kUnused, track, weight }
#define TOGETHER(track, other, weight) \
  Check { Test::kTogether, track, weight, other }
#define TURNS(track, other, weight) \
  Check { Test::kTakeTurns, track, weight, other }
#define HELD(track, weight) \
  Check { Test::kHeld, track, weight }
#define MOMENTARY(track, weight) \
  Check { Test::kMomentary, track, weight }

// Profiles from the systems' published track assignments and from measured scans (sections
// of the roll type facts): see each line.
const Profile kProfiles[] = {
    // Ampico A: bass 16-22 (slow crescendo, intensities 2/4/6, sustain 18, fast crescendo,
    // cancel), treble 107-113 the mirror image (soft 111); the rewind a chain in 106 at the roll's
    // end. No tracks 15 and 114. Each half has its own crescendo holes. The pedals are held
    // while their holes are open; the intensities and cancels latch and are single short holes.
    {"ampicoa",
     {USED(16, 1),
      USED(17, 1),
      USED(18, 1),
      USED(19, 1),
      USED(20, 1),
      USED(21, 1),
      USED(22, 1.5),
      USED(107, 1.5),
      USED(108, 1),
      USED(109, 1),
      USED(110, 1),
      USED(111, 1),
      USED(112, 1),
      USED(113, 1),
      EMPTY(15, 3),
      EMPTY(114, 3),
      Check{Test::kEndOnly, 106, 1},
      Check{Test::kEndChain, 106, 2},
      Check{Test::kLight, 23, 0.5},
      Check{Test::kPair, 16, 0.5, 113, 0.35},
      Check{Test::kPair, 20, 0.5, 109, 0.35},
      HELD(18, 2),
      HELD(111, 2),
      MOMENTARY(17, 0.5),
      MOMENTARY(19, 0.5),
      MOMENTARY(21, 0.5),
      MOMENTARY(22, 0.5),
      MOMENTARY(107, 0.5),
      MOMENTARY(108, 0.5),
      MOMENTARY(110, 0.5),
      MOMENTARY(112, 0.5)}},
    // Ampico B: as Ampico A, with the amplifier (15) and sub-intensity (114) tracks (some rolls
    // leave the sub-intensity track empty); the slow and fast crescendo duplicated in 16 and 20
    // for Ampico A pianos, punched with 113 and 109. Held pedals and latching intensities as on
    // Ampico A.
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
      Check{Test::kEndOnly, 106, 1},
      Check{Test::kEndChain, 106, 2},
      Check{Test::kLight, 23, 0.5},
      Check{Test::kPair, 16, 1, 113, 0.1},
      Check{Test::kPair, 20, 1, 109, 0.1},
      TOGETHER(16, 113, 1.5),
      TOGETHER(20, 109, 1.5),
      HELD(18, 2),
      HELD(111, 2),
      MOMENTARY(17, 0.5),
      MOMENTARY(19, 0.5),
      MOMENTARY(21, 0.5),
      MOMENTARY(22, 0.5),
      MOMENTARY(107, 0.5),
      MOMENTARY(108, 0.5),
      MOMENTARY(110, 0.5),
      MOMENTARY(112, 0.5)}},
    // Duo-Art: sustain 18, soft 113, theme snakebites as half holes in 19/20 and 109/110
    // (each pair punched together), accompaniment levels 21-24 and theme levels 105-108
    // (held by chain perforations; levels 1 and 2 busier than any note), 111 and 112 empty,
    // the rewind a wide slot over 16/17 at the roll's end. The pedals are held, the snakebites
    // short accents.
    {"duoart",
     {USED(18, 1),
      USED(113, 1),
      USED(19, 0.5),
      USED(20, 0.5),
      USED(109, 0.5),
      USED(110, 0.5),
      TOGETHER(19, 20, 3),
      TOGETHER(109, 110, 3),
      Check{Test::kNarrow, 19, 0.5},
      Check{Test::kNarrow, 20, 0.5},
      Check{Test::kNarrow, 109, 0.5},
      Check{Test::kNarrow, 110, 0.5},
      Check{Test::kHeavy, 21, 1},
      Check{Test::kHeavy, 22, 1},
      Check{Test::kHeavy, 106, 1},
      Check{Test::kHeavy, 107, 1},
      Check{Test::kChained, 21, 1},
      Check{Test::kChained, 22, 1},
      Check{Test::kChained, 107, 1},
      Check{Test::kChained, 108, 1},
      USED(23, 0.5),
      USED(105, 0.5),
      USED(108, 0.5),
      EMPTY(111, 2),
      EMPTY(112, 2),
      EMPTY(15, 1),
      EMPTY(114, 1),
      Check{Test::kEndOnly, 16, 1},
      Check{Test::kEndOnly, 17, 1},
      HELD(18, 2),
      HELD(113, 1.5),
      MOMENTARY(19, 0.5),
      MOMENTARY(109, 0.5)}},
    // Welte Licensee: lock-and-cancel pairs 16-23 (bass) and 108-113 (treble), taking turns;
    // sustain on/off 106/107 used through the roll, 105 empty, the rewind in 104 at the end;
    // notes 24-103. (17 and 112 are nearly empty on some rolls; the sforzando pairs 20/21 and
    // 108/109 are momentary and repeat a side more often.) Every lock and cancel is a single short
    // hole: there is no held pedal, 18 is the bass crescendo's cancel and 111 the treble's. A lock and
    // its cancel are punched about equally often.
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
      Check{Test::kEndOnly, 104, 1},
      Check{Test::kEndChain, 104, 1},
      TURNS(106, 107, 2),
      TURNS(110, 111, 2),
      TURNS(18, 19, 2),
      TURNS(22, 23, 2),
      EMPTY(15, 1),
      EMPTY(114, 1),
      MOMENTARY(18, 2),
      MOMENTARY(111, 2),
      MOMENTARY(19, 1),
      MOMENTARY(110, 1),
      MOMENTARY(106, 1),
      MOMENTARY(107, 1),
      MOMENTARY(16, 0.5),
      MOMENTARY(22, 0.5),
      MOMENTARY(23, 0.5),
      MOMENTARY(113, 0.5),
      Check{Test::kPair, 106, 1, 107, 0.3},
      Check{Test::kPair, 18, 1, 19, 0.3},
      Check{Test::kPair, 110, 1, 111, 0.3}}},
    // Welte T-98 (green): expression 16-20 and 109-113 (sustain 18, soft 111), held holes; of
    // the note tracks only 24-103 are used; the rewind a long punch in 16. The pedals, the mezzoforte and the
    // crescendo are held while their holes are open.
    {"t98",
     {USED(16, 1),    USED(17, 1),    USED(18, 1),    USED(19, 1),    USED(20, 1),   USED(109, 1),  USED(110, 1),
      USED(111, 1),   USED(112, 1),   USED(113, 1),   UNUSED(21, 1),  UNUSED(22, 1), UNUSED(23, 1), UNUSED(104, 1),
      UNUSED(105, 1), UNUSED(106, 1), UNUSED(107, 1), UNUSED(108, 1), EMPTY(15, 1),  EMPTY(114, 1), HELD(18, 2),
      HELD(111, 2),   HELD(17, 1),    HELD(19, 1),    HELD(110, 1),   HELD(112, 1)}},
    // Welte T-100 (red): lock-and-cancel pairs 1-10 and 93-100 (sustain on/off 93/94), the
    // rewind in 91 at the roll's end; notes in holes 11-90; nothing beyond holes 1 and 100. Locks and
    // cancels are single short holes.
    {"t100",
     {USED(1, 1),
      USED(2, 1),
      USED(3, 1),
      USED(4, 1),
      USED(5, 1),
      USED(6, 1),
      USED(95, 1),
      USED(96, 1),
      USED(97, 1),
      USED(98, 1),
      USED(99, 1),
      USED(100, 1),
      Check{Test::kThroughout, 93, 1},
      Check{Test::kThroughout, 94, 1},
      TURNS(93, 94, 2),
      TURNS(3, 4, 1),
      TURNS(97, 98, 1),
      Check{Test::kEndOnly, 91, 1},
      EMPTY(0, 1),
      EMPTY(101, 1),
      MOMENTARY(93, 1),
      MOMENTARY(94, 1),
      MOMENTARY(3, 0.5),
      MOMENTARY(4, 0.5),
      MOMENTARY(97, 0.5),
      MOMENTARY(98, 0.5)}},
    // Recordo: bass hammer rail 16, sustain 18, expression levels 109-112 (p and f the most used),
    // treble hammer rail 113; 17, 19 and 20 carry at most a mark at the roll's end. The sustain and
    // the levels are held while their holes are open.
    {"recordo",
     {USED(18, 1), USED(110, 2), USED(112, 2), USED(113, 1), Check{Test::kEndOnly, 17, 1}, Check{Test::kEndOnly, 19, 1},
      Check{Test::kEndOnly, 20, 1}, Check{Test::kLight, 21, 0.5}, Check{Test::kLight, 22, 0.5},
      Check{Test::kLight, 107, 0.5}, Check{Test::kLight, 108, 0.5}, EMPTY(15, 1), EMPTY(114, 1), HELD(18, 2),
      HELD(110, 1), HELD(112, 1)}},
    // Artecho: intensities, cancels and crescendos on 15-22 and 106-114, all through the roll; the
    // sustain (18) held, the intensities (16 and 113 the second) latched by short holes.
    {"artecho", {USED(15, 1),        USED(16, 1),        USED(17, 1),
                 USED(18, 1),        USED(19, 1),        USED(20, 1),
                 USED(21, 1),        USED(22, 1),        Check{Test::kThroughout, 106, 2},
                 USED(107, 1),       USED(108, 1),       USED(109, 1),
                 USED(110, 1),       USED(111, 1),       USED(112, 1),
                 USED(113, 1),       USED(114, 1),       HELD(18, 2),
                 MOMENTARY(16, 0.5), MOMENTARY(113, 0.5)}},
    // Aeolian 176-note organ: the Great and Swell shades (13-23 odd, 150-160 even) busier
    // than most holes; nothing beyond holes 1 and 176.
    {"176note",
     {USED(13, 1), USED(15, 1), USED(17, 1), USED(19, 1), USED(21, 1), USED(23, 1), USED(150, 1), USED(152, 1),
      USED(154, 1), USED(156, 1), USED(158, 1), USED(160, 1), EMPTY(-1, 1), EMPTY(0, 1), EMPTY(177, 1), EMPTY(178, 1)}},
    // 65-note: notes only, nothing beyond holes 1 and 65.
    {"65note", {EMPTY(-1, 1), EMPTY(0, 2), EMPTY(66, 2), EMPTY(67, 1)}},
    // Plain 88-note: sustain 18, soft 113, accent holes 19/20 and 109/110 optional, 17, 111 and
    // 112 empty (there are no such holes in its tracker bar); the outermost notes (21, 22, 106,
    // 107) no busier than notes are. The pedals are held, the accents short.
    {"88note",
     {USED(18, 1), USED(113, 0.5), EMPTY(17, 1), EMPTY(111, 2), EMPTY(112, 2), Check{Test::kLight, 21, 1},
      Check{Test::kLight, 22, 1}, Check{Test::kLight, 106, 1}, Check{Test::kLight, 107, 1}, EMPTY(15, 1), EMPTY(114, 1),
      Check{Test::kEndOnly, 16, 0.5}, HELD(18, 2), HELD(113, 1), MOMENTARY(19, 0.5), MOMENTARY(20, 0.5),
      MOMENTARY(109, 0.5), MOMENTARY(110, 0.5)}},
};

#undef USED
#undef EMPTY
#undef UNUSED
#undef TOGETHER
#undef TURNS
#undef HELD
#undef MOMENTARY

std::string Key(std::string_view name) {
  std::string key;
  for (const char c : name)
    if (std::isalnum(static_cast<unsigned char>(c)))
      key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

// Share of the punches of `first` with a punch of `second` at one lag along the roll: the
// median distance to the nearest punch of `second`, within kTogetherDistance of it. Holes
// punched together may lie a little apart on the scan (the ports of a tracker bar a little
// off the note line; a twin array scanner's arrays a few lines apart), but always alike.
double TogetherShare(const std::vector<double>& first, const std::vector<double>& second) {
  if (first.empty() || second.empty()) return 0.0;
  std::vector<double> lags;
  lags.reserve(first.size());
  for (const double at : first) {
    const auto after = std::lower_bound(second.begin(), second.end(), at);
    double lag = after != second.end() ? *after - at : 1e9;
    if (after != second.begin() && at - *(after - 1) < std::abs(lag)) lag = *(after - 1) - at;
    lags.push_back(lag);
  }
  std::vector<double> sorted = lags;
  const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
  std::nth_element(sorted.begin(), middle, sorted.end());
  const double lag = *middle;
  if (std::abs(lag) > kLongestLag) return 0.0;
  const auto alike =
      std::count_if(lags.begin(), lags.end(), [&](double value) { return std::abs(value - lag) <= kTogetherDistance; });
  return static_cast<double>(alike) / static_cast<double>(lags.size());
}

// Share of consecutive punches of the two tracks, taken together along the roll, that come
// from the same track (punches of both at one place, such as a closing cancel of everything,
// leave the order open and are passed over). A lock and its cancel take turns: next to none.
double RepeatShare(const std::vector<double>& first, const std::vector<double>& second) {
  size_t a = 0, b = 0;
  int previous = -1, repeats = 0, steps = 0;
  while (a < first.size() || b < second.size()) {
    int side;
    if (a < first.size() && b < second.size() && std::abs(first[a] - second[b]) <= kTogetherDistance) {
      ++a;
      ++b;
      previous = -1;
      continue;
    }
    if (b == second.size() || (a < first.size() && first[a] < second[b])) {
      side = 0;
      ++a;
    } else {
      side = 1;
      ++b;
    }
    if (previous >= 0) {
      ++steps;
      if (side == previous) ++repeats;
    }
    previous = side;
  }
  return steps > 0 ? static_cast<double>(repeats) / steps : 0.0;
}

// +1 (agrees), -1 (contradicts), 0 (in between); `judged` false when the test cannot judge.
double Evaluate(const Check& check, const TrackUsage& usage, bool& judged) {
  const TrackStats& stats = usage.At(check.Track);
  const bool pair = check.Kind == Test::kPair || check.Kind == Test::kTogether || check.Kind == Test::kTakeTurns;
  const TrackStats& other = usage.At(check.Other);
  // A track off the scanned image tells nothing.
  judged = stats.Visible && (!pair || other.Visible);
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
    case Test::kEmpty: {
      // Holes of a punch's width: a torn margin's scraps beside the edge are not punches.
      const double shaped = stats.Shaped;
      if (shaped <= std::max(1.0, 0.01 * reference)) return 1.0;
      return shaped >= 3 && shaped >= 0.05 * reference ? -1.0 : 0.0;
    }
    case Test::kEndOnly:
      return empty || at_end ? 1.0 : (used && through) ? -1.0 : 0.0;
    case Test::kEndChain:
      if (stats.Holes == 0) {
        judged = false;
        return 0.0;
      }
      return stats.HolesNearEnd >= 3 && at_end ? 1.0 : (used && through) ? -1.0 : 0.0;
    case Test::kThroughout:
      return (used && through) ? 1.0 : (empty || at_end) ? -1.0 : 0.0;
    case Test::kHeavy:
      return level >= 2 ? 1.0 : level < 0.5 ? -1.0 : 0.0;
    case Test::kLight:
      return level < 0.5 ? 1.0 : level >= 2 ? -1.0 : 0.0;
    case Test::kUnused:
      return stats.Holes <= std::max(2.0, 0.03 * reference) ? 1.0 : (stats.Holes >= 5 && level >= 0.1) ? -1.0 : 0.0;
    case Test::kChained: {
      if (stats.Holes < 10) {
        judged = false;
        return 0.0;
      }
      const double chained = static_cast<double>(stats.Chained) / stats.Holes;
      return chained >= 0.4 ? 1.0 : chained <= 0.1 ? -1.0 : 0.0;
    }
    case Test::kNarrow: {
      if (stats.Holes < kFewestPunches || !(usage.NoteWidth > 0)) {
        judged = false;
        return 0.0;
      }
      const double width = stats.Width / usage.NoteWidth;
      return width <= 0.8 ? 1.0 : width >= 0.95 ? -1.0 : 0.0;
    }
    case Test::kPair: {
      const auto first = static_cast<double>(stats.Punches.size());
      const auto second = static_cast<double>(other.Punches.size());
      if (first < 3 && second < 3) {
        judged = false;
        return 0.0;
      }
      const double allowed = check.Tolerance * std::max(first, second) + 2;
      const double difference = std::abs(first - second);
      return difference <= allowed ? 1.0 : difference > 2.5 * allowed ? -1.0 : 0.0;
    }
    case Test::kTogether: {
      if (stats.Punches.size() < kFewestPunches || other.Punches.size() < kFewestPunches) {
        // One of a pair punched together cannot be used without the other.
        const bool one_sided = std::max(stats.Punches.size(), other.Punches.size()) >= 4 * kFewestPunches;
        judged = one_sided;
        return one_sided ? -1.0 : 0.0;
      }
      const double share =
          0.5 * (TogetherShare(stats.Punches, other.Punches) + TogetherShare(other.Punches, stats.Punches));
      return share >= 0.6 ? 1.0 : share <= 0.25 ? -1.0 : 0.0;
    }
    case Test::kTakeTurns: {
      if (stats.Punches.size() < kFewestPunches || other.Punches.size() < kFewestPunches) {
        judged = false;
        return 0.0;
      }
      const double repeats = RepeatShare(stats.Punches, other.Punches);
      return repeats <= 0.15 ? 1.0 : repeats >= 0.35 ? -1.0 : 0.0;
    }
    case Test::kHeld:
    case Test::kMomentary: {
      if (stats.Punches.size() < kFewestPunches || !(usage.NotePunchLength > 0)) {
        judged = false;
        return 0.0;
      }
      const double length = stats.PunchLength / usage.NotePunchLength;
      const double held = length >= kHeldPunch ? 1.0 : length <= kMomentaryPunch ? -1.0 : 0.0;
      return check.Kind == Test::kHeld ? held : -held;
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
