#pragma once
// What each track of a reproducing roll does, per expression system, in the track numbers of
// the shipped roll type library: a note, a pedal, or one of the system's expression holes,
// with the half of the stack (bass or treble) it acts on.

#include <array>
#include <cstdint>

#include "rolltypes/ExpressionModel.h"

namespace tarvelo {

enum class Side : uint8_t { kBass, kTreble, kBoth };

enum class TrackFunction : uint8_t {
  kUnused,  // no function the model reads (rewind, motor, blank): left out of the file
  kNote,
  // Pedals: held while the hole is open, or an "on" hole latches and an "off" hole releases.
  kSustain,
  kSoft,
  kSustainOn,
  kSustainOff,
  kSoftOn,
  kSoftOff,
  // Welte: mezzoforte hook and slow crescendo, held (green) or lock-and-cancel (red,
  // Licensee); the forzandos act while open.
  kMezzoforte,
  kMezzoforteOn,
  kMezzoforteOff,
  kCrescendo,
  kCrescendoOn,
  kCrescendoOff,
  kForzandoForte,  // fast crescendo
  kForzandoPiano,  // fast decrescendo
  // Duo-Art: a power hole of weight Weight (bass side: accompaniment, treble side: theme).
  kPower,
  // Duo-Art snakebites, 88-note accent holes.
  kAccent,
  // Ampico, Artecho: intensities latch until the side's cancel; Weight is the intensity's bit
  // in the latched set (Ampico 2, 4, 6 and Artecho 1, 2, 3 are the bits 1, 2, 4), so the set
  // indexes the intensity tables in their order.
  kIntensity,
  kCancel,
  kSlowCrescendo,  // Ampico
  kFastCrescendo,  // Ampico
  kAmplifier,      // Ampico B
  kSubIntensity,   // Ampico B
  kArtechoCrescendo,
  kArtechoDecrescendo,
  kPianissimo,     // Artecho
  kGeneralCancel,  // Artecho: clears hammer rails and pianissimo
  // Recordo: a level port of weight Weight (p 1, mf 2, f 4, ff 8); hammer rails (also Artecho).
  kLevel,
  kHammerRail,
};

struct TrackRole {
  TrackFunction Function = TrackFunction::kUnused;
  Side Half = Side::kBoth;
  uint8_t Weight = 0;
};

inline constexpr int kFunctionTracks = 256;
using TrackRoles = std::array<TrackRole, kFunctionTracks>;

// The role of every track on a roll of `system` (all kUnused for none). Note tracks carry
// their half by `first_treble_track`.
TrackRoles RolesOfSystem(ExpressionSystem system, int first_treble_track);

// Whether a function is one of the pedals.
bool IsPedal(TrackFunction function);

}  // namespace tarvelo
