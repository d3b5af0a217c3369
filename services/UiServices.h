#pragma once
// What every conversion stage needs from the user interface: a status line, a progress bar,
// a modal message window, the live settings, and the few state changes the pipeline reports.
// Each front end implements the virtual operations (the desktop shows them, the command line
// prints them, tests record them). Stages never see more of the front end than this.

#include <string>
#include <string_view>

#include "events/SpacingHistogramStore.h"
#include "cis/HeaderSummary.h"
#include "settings/SessionSettings.h"

namespace tarvelo {

struct RollInfo;

// Progress bar colour types.
enum ProgressColour : int {
  kProgressReading = 1,   // reading the CIS file, scan line positions
  kProgressTracking = 2,  // per-line pass
  kProgressTwinArray = 3, // twin array merge
  kProgressUnused4 = 4,
  kProgressUnused5 = 5,
  kProgressFinished = 6,  // finished conversion
};

class UiServices {
 public:
  explicit UiServices(SessionSettings& settings) : settings_(settings) {}
  virtual ~UiServices() = default;
  UiServices(const UiServices&) = delete;
  UiServices& operator=(const UiServices&) = delete;

  // Shows `text` in the status field at once.
  virtual void SetStatusText(std::string_view text) = 0;
  // Colour types 1..6 set the bar colour (others keep it); position 0..100 (more shows full).
  virtual void SetProgress(int colour_type, int position) = 0;
  // A modal message; returns when the user has acknowledged it.
  virtual void ShowMessage(std::string_view text) = 0;

  // text + " : " + value (8 significant digits, _gcvt form).
  void ShowMessageWithValue(std::string_view text, double value);
  // text1 + " : " + value1 + "\n" + text2 + " : " + value2.
  void ShowMessageWithTwoValues(std::string_view text1, double value1, std::string_view text2, double value2);

  // Settings changed (true) or conversion finished (false). Finishing also sets the progress
  // bar to colour 6 at 100 and the status to "Ready".
  void SetReprocessPending(bool pending);
  virtual void MarkScanImageWritten() {}
  virtual void MarkERollWritten() {}
  // The "File : " field and the title field of the control bar.
  virtual void RefreshControlBar(std::string_view /*file_name_with_extension*/, std::string_view /*title*/) {}
  virtual void SetHeaderSummary(const CisHeaderSummary& /*summary*/) {}
  // The roll information dialog: the user completes the entries of `info` (a working copy).
  // Returns true on OK, false on Cancel. A front end without a dialog accepts them unchanged.
  virtual bool EditRollInfo(RollInfo& /*info*/) { return true; }

  // The spacing histograms of the latest conversion, kept on the front end's side for its
  // histogram window; every conversion overwrites them. All counts 0 before the first one.
  SpacingHistogramStore& SpacingHistogram() { return spacing_histogram_; }
  // Whether this front end shows the spacing histogram; a front end that never draws it (the
  // command line) spares every conversion its computation.
  virtual bool WantsSpacingHistogram() const { return true; }
  const SpacingHistogramStore& SpacingHistogram() const { return spacing_histogram_; }

  // The session's settings and the profile they came from.
  SessionSettings& Settings() const { return settings_; }
  ProfileStore& Profile() const { return settings_.Profile(); }

  // Live scanner settings of the current preset.
  int GetScannerDpi() const { return Scanner().ScannerDPI; }
  double GetScannerOffset() const { return Scanner().ScannerOffset; }
  double GetScannerStretch() const { return Scanner().ScannerAlignStretch; }
  const std::string& GetScannerModeName() const { return Scanner().ScannerModeType; }
  // Percent per foot when take-up compensation is on, else 0.
  double GetTakeupAccelCorrection() const {
    return Scanner().RemoveTakeupAccel ? Scanner().TakeupAccelPct : 0.0;
  }
  bool IsActiveTrackingOn() const { return Scanner().ActiveTracking; }
  int GetScanLightingMethod() const { return Scanner().ScanLightingMethod; }
  double GetTwinArrayOverlap() const { return Scanner().TwinArrayOverlap; }
  double GetTwinArrayVertOffset() const { return Scanner().TwinArrayVertOffset; }
  bool IsOldCisFormatForced() const { return Scanner().ForceOldCisFormat; }

  // Active tracking parameters of the session.
  double TrackingUpdateDistance() const { return settings_.tracking.TrackingUpdateDistance; }
  double EdgeErrorWeightingFactor() const { return settings_.tracking.EdgeErrorWeightingFactor; }
  double TrackingLoopGain() const { return settings_.tracking.TrackingLoopGain; }
  double RollEdgeCaptureDistance() const { return settings_.tracking.RollEdgeCaptureDistance; }

  // Control bar check boxes.
  bool IsScanMidiOn() const { return settings_.outputs.ScanMidi; }
  bool IsERollMidiOn() const { return settings_.outputs.eRollMidi; }

 protected:
  virtual void OnReprocessPending(bool /*pending*/) {}

 private:
  const ScannerSettings& Scanner() const { return settings_.presets.Live(); }
  SessionSettings& settings_;
  SpacingHistogramStore spacing_histogram_;
};

}  // namespace tarvelo
