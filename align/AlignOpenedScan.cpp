#include "align/AlignOpenedScan.h"

#include <utility>

namespace tarvelo {

AlignmentReport AlignPreparedScan(const PreparedScan& scan, int lighting_method, AlignRequest request) {
  request.Scan = AlignmentView(scan.Data, lighting_method);
  request.InForce = scan.Preset;
  return AlignScan(request);
}

MeasuredAlignment AlignOpenedScan(const CisScanData& opened, const RunSettings& settings, AlignRequest request,
                                  Reporter& reporter) {
  MeasuredAlignment measured;
  if (opened.LinesAsRead.Empty()) {
    measured.Outcome = Result::Invalid("There are no scan lines to measure: open a roll first.");
    return measured;
  }
  PreparedScan scan;
  PrepareOpenedScan(opened, settings, reporter, scan);
  measured.Report = AlignPreparedScan(scan, settings.Scanner.ScanLightingMethod, std::move(request));
  if (!measured.Report.Suggestion.Fit.Found)
    measured.Outcome = Result::Invalid("No settings fit this scan: its holes could not be measured.");
  return measured;
}

}  // namespace tarvelo
