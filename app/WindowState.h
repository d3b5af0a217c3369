#pragma once
// The main window's rules, apart from any widget: which commands are usable, what the output
// lamps show, the zoom level, the progress bar's colour and position, and the two states of the
// window (idle after start-up and after each conversion; settings changed after a settings
// command, a roll type choice or an offset nudge). The widgets only display this state.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/ConversionSummary.h"
#include "settings/OutputSettings.h"
#include "settings/ScannerPresets.h"
#include "view/ZoomLevel.h"

namespace tarvelo::app {

// How far "<--" and "-->" move the live scanner offset, in inches.
inline constexpr double kOffsetNudgeInches = 0.025;

// The lamps beside the output check boxes and the scanner display's indicators.
enum class Lamp { kGrey, kYellow, kGreen };
uint32_t LampColour(Lamp lamp);

// The progress bar colour of colour type 1 to 6; other types have none (they keep the colour).
bool IsProgressColourType(int colour_type);
uint32_t ProgressColourOf(int colour_type);

class WindowState {
 public:
  // Idle, zoom level 5, the output check boxes as `outputs` holds them, nothing written.
  explicit WindowState(const OutputSettings& outputs = OutputSettings());

  // Zoom In / Zoom Out: one level up or down; greyed at the largest and the smallest level.
  const ZoomLevel& Zoom() const { return zoom_; }
  void ZoomIn() { zoom_.ZoomIn(); }
  void ZoomOut() { zoom_.ZoomOut(); }
  void SetZoom(int level) { zoom_ = ZoomLevel(level); }

  // The "ScanMIDI", "eRollMIDI" and "ExpressionMIDI" check boxes. Unchecking one also forgets
  // that its file was written, so that checking it again shows the output as still to be written.
  bool ScanMidi() const { return scan_midi_; }
  bool ERollMidi() const { return eroll_midi_; }
  bool ExpressionMidi() const { return expression_midi_; }
  void SetScanMidi(bool on);
  void SetERollMidi(bool on);
  void SetExpressionMidi(bool on);
  // The running conversion wrote an output.
  void MarkScanImageWritten() { scan_written_ = true; }
  void MarkERollWritten() { eroll_written_ = true; }
  void MarkExpressionWritten() { expression_written_ = true; }
  // Grey when the check box is off; green when its file was written since the last settings
  // change; yellow when it is still to be written.
  Lamp ScanMidiLamp() const { return OutputLamp(scan_midi_, scan_written_); }
  Lamp ERollMidiLamp() const { return OutputLamp(eroll_midi_, eroll_written_); }
  Lamp ExpressionMidiLamp() const { return OutputLamp(expression_midi_, expression_written_); }

  // true: settings changed ("Re-Process" usable, "Show Tracking Corrections" unchecked and
  // greyed, the written marks cleared). false: a conversion finished (idle: "Re-Process"
  // greyed, "Show Tracking Corrections" usable, progress green at 100, status "Ready").
  void SetReprocessPending(bool pending);
  bool IsReprocessPending() const { return reprocess_pending_; }
  bool CanShowTrackingCorrections() const { return !reprocess_pending_; }
  bool ShowTrackingCorrections() const { return show_tracking_; }
  // The check box; ignored while it is greyed.
  void SetShowTrackingCorrections(bool on);

  // The progress bar: colour types 1 to 6 set the colour, others keep it; the position is held
  // to 0..100 (stages may pass more, which shows a full bar).
  void SetProgress(int colour_type, int position);
  uint32_t ProgressColour() const { return progress_colour_; }
  int ProgressPosition() const { return progress_position_; }
  const std::string& StatusText() const { return status_; }
  void SetStatusText(std::string_view text) { status_ = std::string(text); }

 private:
  static Lamp OutputLamp(bool on, bool written);

  ZoomLevel zoom_;
  bool scan_midi_ = true;
  bool eroll_midi_ = true;
  bool expression_midi_ = false;
  bool scan_written_ = false;
  bool eroll_written_ = false;
  bool expression_written_ = false;
  bool reprocess_pending_ = false;
  bool show_tracking_ = false;
  uint32_t progress_colour_;
  int progress_position_ = 100;
  std::string status_ = "Ready";
};

// The entry of the "Roll Type " box to select for `active`: its index in `names`, or the first
// entry when `active` is not in the list.
int SelectedRollTypeIndex(const std::vector<std::string>& names, std::string_view active);

// The texts of the control bar's scanner display.
struct ScannerDisplay {
  std::string Dpi;      // "300 DPI"
  std::string Offset;   // "Offset = 1."
  std::string Stretch;  // "Stretch = 1."
  // Whose DPI, offset and stretch these are: Auto-Tweak's, which the last conversion used in
  // place of the preset's (marked "Auto-Tweak"), or the preset's ("Preset").
  bool AutoTweaked = false;
  std::string ValuesSource;
  // Tweaked: Auto-Tweak's report (its values, the preset's, the on-track shares) and the
  // measurement's doubts, one a line. Else what Auto-Tweak does with these values, or that it
  // is off.
  std::string ValuesTip;
  std::string Mode;        // the scanner mode name
  std::string ModeTip;     // whose mode it is (the preset's, or the scan's encoder the last run used)
  std::string PresetName;  // the current preset's name
  std::string Tracking;    // "Active Tracking ON" or "Active Tracking OFF"
  bool TrackingOn = false;
  Lamp TrackingLamp = Lamp::kGrey;
};
// The live preset's values, as the next conversion is handed them.
ScannerDisplay DescribeScanner(const ScannerSettings& live, std::string_view preset_name);
// The scanner values the conversion `summary` tells of placed the holes with: Auto-Tweak's
// DPI, offset and stretch when it converted with them, else those of `live` (the settings the
// run was handed).
ScannerSettings ScannerOfRun(const ScannerSettings& live, const ConversionSummary& summary);
// The display of those values, marked as Auto-Tweak's when they are.
ScannerDisplay DescribeScannerOfRun(const ScannerSettings& live, std::string_view preset_name,
                                    const ConversionSummary& summary);

// The mark beside the scanner values: whose values they are.
inline constexpr const char* kAutoTweakValuesText = "Auto-Tweak";
inline constexpr const char* kPresetValuesText = "Preset";

// The two feature indicators, which this program never switches on.
inline constexpr const char* kSkewCorrectionText = "Skew Correction OFF";
inline constexpr const char* kPunchFittingText = "Punch Fitting OFF";

}  // namespace tarvelo::app
