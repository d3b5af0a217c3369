#include "rolltypes/RollTypeDefinition.h"

namespace tarvelo {

RollTypeDefinition::RollTypeDefinition() { SetFailSafeDefaults(); }

void RollTypeDefinition::SetFailSafeDefaults() {
  Name = "Fail-Safe";
  TrackSlotCount = kTrackSlots;
  LowestTrackHoleNumber = 0;
  HighestTrackHoleNumber = 119;
  LowestTrackUsedForRestoration = 18;
  HighestTrackUsedForRestoration = 113;
  RollPunchStepRangeMin = 23;
  RollPunchStepRangeMax = 54;
  LowerRollEdgeExpectedLocation = 1.6;
  UpperRollEdgeExpectedLocation = 12.85;
  DefaultTrackCenterSpacing = 0.1111111111;
  DefaultTrackToMidiPitchTranspose = 0;
  TakeupSpoolAccelerationPctPerFoot = 0.0;
  InterpretWebbingLimitAsSeconds = false;
  ApplyAccelerationToWebbing = false;
  ApplyAccelerationToTempo = false;
  ChannelInstrument.fill(0);
  StripWidthPixels = 1449;
  Expression = DefaultExpressionModel(ExpressionSystem::kNone);

  for (int n = 0; n < kTrackSlots; ++n) {
    // Nine tracks per inch: the bands of the standard 11 1/4-inch rolls.
    const double lower = n / 9.0;
    const double upper = (n + 1) / 9.0;
    TrackLowerBoundary[n] = lower;
    TrackUpperBoundary[n] = upper;
    TrackCenter[n] = lower + (upper - lower) * 0.5;
    TrackWidth[n] = 1 / 9.0;
    TrackMidiChannel[n] = n / 128;
    TrackMidiPitch[n] = n % 128;
    TrackMidiVelocity[n] = 85;
    TrackRemoveWebbingSmallerThan[n] = 0.065;
    TrackLeadingEdgeShift[n] = 0.0;
    TrackTrailingEdgeShift[n] = 0.0;
    TrackHolePunchDiameter[n] = 0.07;
    if (n % 12 == 0)
      TrackBackgroundColor[n] = MakeColour(187, 255, 187);
    else if (n % 2 == 0)
      TrackBackgroundColor[n] = MakeColour(238, 238, 238);
    else
      TrackBackgroundColor[n] = MakeColour(250, 250, 250);
  }
  FillRestorationRange();
}

void RollTypeDefinition::FillRestorationRange() {
  for (int n = 0; n < kTrackSlots; ++n) {
    const bool inside = n >= LowestTrackUsedForRestoration && n <= HighestTrackUsedForRestoration;
    TrackRestorationWeight[n] = inside ? 1.0 : 0.0;
    TrackUsedForRestoration[n] = inside;
  }
}

void RollTypeDefinition::SetTrackBoundsFromCentre(int track) {
  if (track < 0 || track >= kTrackSlots) return;
  TrackLowerBoundary[track] = TrackCenter[track] - TrackWidth[track] / 2;
  TrackUpperBoundary[track] = TrackCenter[track] + TrackWidth[track] / 2;
}

}  // namespace tarvelo
