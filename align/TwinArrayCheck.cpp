#include "align/TwinArrayCheck.h"

namespace tarvelo {

namespace {

// Each half needs this many holes for a fit of its own.
constexpr int kFewestHoles = 200;

}  // namespace

TwinArrayJoin CheckTwinArrayJoin(const ScanMeasurement& scan, const TrackLayout& layout, const ScannerSetting& setting,
                                 const FitOptions& options) {
  TwinArrayJoin join;
  if (scan.CrossoverPixel < 0 || setting.Dpi < 1) return join;
  ScanMeasurement first, second;
  for (ScanMeasurement* half : {&first, &second}) {
    half->RollLength = scan.RollLength;
    half->LineCount = scan.LineCount;
    half->ImageFirst = scan.ImageFirst;
    half->ImageLast = scan.ImageLast;
  }
  // The bass half keeps the bass edge and the treble half the treble edge: each is placed by
  // the edge it shows, not by the other half.
  first.Edges.LowerFound = scan.Edges.LowerFound;
  first.Edges.Lower = scan.Edges.Lower;
  second.Edges.UpperFound = scan.Edges.UpperFound;
  second.Edges.Upper = scan.Edges.Upper;
  for (const MeasuredHole& hole : scan.Holes)
    (hole.Center < scan.CrossoverPixel ? first : second).Holes.push_back(hole);
  if (first.Holes.size() < kFewestHoles || second.Holes.size() < kFewestHoles) return join;

  const int dpis[] = {setting.Dpi};
  const TrackFit bass = FitLayout(first, layout, dpis, options);
  const TrackFit treble = FitLayout(second, layout, dpis, options);
  if (!bass.Found || !treble.Found) return join;
  const double crossover = scan.CrossoverPixel;
  const double bass_scale = bass.Setting.Stretch / setting.Dpi;
  const double treble_scale = treble.Setting.Stretch / setting.Dpi;
  // The treble fit moved the second array's pixels back by the step to put them on the tracks.
  const double bass_place = bass_scale * crossover + bass.Setting.Offset;
  const double treble_place = treble_scale * crossover + treble.Setting.Offset;
  join.Measured = true;
  join.Step = (bass_place - treble_place) / bass_scale;
  return join;
}

}  // namespace tarvelo
