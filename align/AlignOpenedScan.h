#pragma once
// Measuring a scan from what was read of it, without reading the file again: the lines of a
// prepared scan, or those of a scan already open (a document's lines as read), prepared again on
// a copy as a conversion with the given settings would prepare them. Either gives the report
// AlignScan gives for the file read afresh with the same settings.

#include "align/AlignScan.h"
#include "align/PrepareScan.h"
#include "cis/CisScanData.h"
#include "services/Reporter.h"
#include "settings/RunSettings.h"
#include "support/Result.h"

namespace tarvelo {

// AlignScan on `scan` with `request`'s roll types and choices; its Scan and InForce are taken
// from `scan` (the lines with `lighting_method`, the preset's DPI, offset and stretch).
AlignmentReport AlignPreparedScan(const PreparedScan& scan, int lighting_method, AlignRequest request);

// A measurement that may have nothing to measure.
struct MeasuredAlignment {
  // Ok when the report holds a suggestion; kInvalid, with the reason, when the scan has no lines
  // or no settings fit its holes (the report then tells what was measured).
  Result Outcome;
  AlignmentReport Report;
};

// Measures an open scan from its lines as read and its header (see CisScanData::KeepAsRead)
// with `settings`; `opened` itself is not changed. The preparation's
// status, progress and messages go to `reporter`.
MeasuredAlignment AlignOpenedScan(const CisScanData& opened, const RunSettings& settings, AlignRequest request,
                                  Reporter& reporter);

}  // namespace tarvelo
