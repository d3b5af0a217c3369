#pragma once
// The active roll type: how one kind of perforated music roll is laid out across the paper
// and how each of its tracks (hole columns) is played. A document holds one record; it starts
// at the built-in "Fail-Safe" values and is refilled from the roll type library whenever the
// front end applies the active roll type.
//
// All lengths are inches across the roll, measured from the scanner's reference edge. Track
// numbers index 256 slots (0..255); every per-track array has kTrackSlots entries.
// Colours are stored as red + green * 256 + blue * 65536.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "rolltypes/ExpressionModel.h"
#include "support/RgbImage.h"  // MakeColour

namespace tarvelo {

inline constexpr int kTrackSlots = 256;
inline constexpr int kMidiChannels = 16;

class RollTypeDefinition {
 public:
  // A new record holds the "Fail-Safe" values.
  RollTypeDefinition();

  // Puts every field to its "Fail-Safe" value (Name = "Fail-Safe").
  void SetFailSafeDefaults();

  // Sets weight 1.0 and flag true for the tracks LowestTrackUsedForRestoration ..
  // HighestTrackUsedForRestoration (inclusive, clipped to the slots) and clears all others.
  void FillRestorationRange();

  // Recomputes a track's boundaries from its centre and width:
  // lower = centre - width / 2, upper = centre + width / 2.
  void SetTrackBoundsFromCentre(int track);

  // --- Roll-wide settings -------------------------------------------------------------
  std::string Name;                      // name of the roll type requested
  int32_t TrackSlotCount = kTrackSlots;  // slots in every per-track array
  int32_t LowestTrackHoleNumber = 0;     // first track that carries holes
  int32_t HighestTrackHoleNumber = 0;    // last track that carries holes
  int32_t LowestTrackUsedForRestoration = 0;
  int32_t HighestTrackUsedForRestoration = 0;
  int32_t RollPunchStepRangeMin = 0;         // stored only
  int32_t RollPunchStepRangeMax = 0;         // stored only
  double LowerRollEdgeExpectedLocation = 0;  // inches
  double UpperRollEdgeExpectedLocation = 0;  // inches
  double DefaultTrackCenterSpacing = 0;      // inches between neighbouring track centres
  int32_t DefaultTrackToMidiPitchTranspose = 0;
  double TakeupSpoolAccelerationPctPerFoot = 0;
  bool InterpretWebbingLimitAsSeconds = false;
  bool ApplyAccelerationToWebbing = false;
  bool ApplyAccelerationToTempo = false;
  std::array<int32_t, kMidiChannels> ChannelInstrument{};  // MIDI program per channel
  int32_t StripWidthPixels = 1449;                         // width of the roll view's strip images
  // How the expression file plays the roll: none for "Fail-Safe" and types without a system.
  ExpressionModel Expression;

  // --- Per-track arrays, indexed by track number ------------------------------------------
  std::array<double, kTrackSlots> TrackLowerBoundary{};
  std::array<double, kTrackSlots> TrackUpperBoundary{};
  std::array<double, kTrackSlots> TrackCenter{};
  std::array<double, kTrackSlots> TrackWidth{};
  std::array<int32_t, kTrackSlots> TrackMidiChannel{};  // 0-based
  std::array<int32_t, kTrackSlots> TrackMidiPitch{};
  std::array<int32_t, kTrackSlots> TrackMidiVelocity{};
  std::array<double, kTrackSlots> TrackRemoveWebbingSmallerThan{};  // inches, or seconds
  std::array<double, kTrackSlots> TrackLeadingEdgeShift{};
  std::array<double, kTrackSlots> TrackTrailingEdgeShift{};
  std::array<double, kTrackSlots> TrackHolePunchDiameter{};  // inches
  std::array<uint32_t, kTrackSlots> TrackBackgroundColor{};
  std::array<double, kTrackSlots> TrackRestorationWeight{};  // 1.0 inside the range
  std::array<bool, kTrackSlots> TrackUsedForRestoration{};   // inside the range
};

}  // namespace tarvelo
