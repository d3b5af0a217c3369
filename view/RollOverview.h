#pragma once
// The whole roll in one picture, for a catalogue's thumbnail: the roll type's tracks as bands
// of their colours across the picture, every hole the conversion kept drawn over its track's
// band, and a ruler of feet down the left side. The roll's width fills the picture's width;
// its length is drawn at the same scale when that fits the height allowed, and compressed to
// fit it otherwise. However small the scale, every hole takes at least one pixel each way,
// and the ruler labels only as many feet as leave room between the labels.

#include "cis/CisScanData.h"
#include "events/PunchedHole.h"
#include "rolltypes/RollTypeDefinition.h"
#include "support/Picture.h"

namespace tarvelo {

inline constexpr int kOverviewRulerWidth = 60;  // columns of the ruler band at the left
inline constexpr int kOverviewMargin = 4;       // blank rows above and below, columns right of the tracks
inline constexpr int kOverviewLeastWidth = kOverviewRulerWidth + 40;

struct OverviewSize {
  int Width = 600;        // the picture's width (at least kOverviewLeastWidth)
  int MostHeight = 2000;  // the most rows it may take
};

// Draws the overview of a roll `length` inches long whose holes are `holes` (on the tracks of
// `roll`) into `picture`, its ruler's numbers in its Labels.
void DrawRollOverview(double length, const HoleList& holes, const RollTypeDefinition& roll, const OverviewSize& size,
                      Picture& picture);

// The length of the scanned roll in inches: the position of its last line (0 without lines).
double ScannedLength(const CisScanData& scan);

}  // namespace tarvelo
