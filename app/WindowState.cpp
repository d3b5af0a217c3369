#include "app/WindowState.h"

#include <algorithm>

#include "services/Reporter.h"
#include "support/NumberFormat.h"
#include "support/RgbImage.h"

namespace tarvelo::app {

uint32_t LampColour(Lamp lamp) {
  switch (lamp) {
    case Lamp::kGreen:
      return MakeColour(0, 255, 0);
    case Lamp::kYellow:
      return MakeColour(255, 255, 0);
    case Lamp::kGrey:
      break;
  }
  return MakeColour(192, 192, 192);
}

bool IsProgressColourType(int colour_type) {
  return colour_type >= kProgressReading && colour_type <= kProgressFinished;
}

uint32_t ProgressColourOf(int colour_type) {
  switch (colour_type) {
    case kProgressReading:
      return MakeColour(238, 68, 51);
    case kProgressTracking:
      return MakeColour(224, 221, 68);
    case kProgressTwinArray:
      return MakeColour(51, 255, 255);
    case kProgressUnused4:
      return MakeColour(51, 68, 255);
    case kProgressUnused5:
      return MakeColour(34, 255, 51);
    default:
      return MakeColour(34, 238, 85);
  }
}

WindowState::WindowState(const OutputSettings& outputs)
    : scan_midi_(outputs.ScanMidi),
      eroll_midi_(outputs.eRollMidi),
      expression_midi_(outputs.WriteExpressionMidi),
      progress_colour_(ProgressColourOf(kProgressFinished)) {}

void WindowState::SetScanMidi(bool on) {
  scan_midi_ = on;
  if (!on) scan_written_ = false;
}

void WindowState::SetERollMidi(bool on) {
  eroll_midi_ = on;
  if (!on) eroll_written_ = false;
}

void WindowState::SetExpressionMidi(bool on) {
  expression_midi_ = on;
  if (!on) expression_written_ = false;
}

void WindowState::SetReprocessPending(bool pending) {
  reprocess_pending_ = pending;
  if (pending) {
    show_tracking_ = false;
    scan_written_ = false;
    eroll_written_ = false;
    expression_written_ = false;
    return;
  }
  SetProgress(kProgressFinished, 100);
  status_ = "Ready";
}

void WindowState::SetShowTrackingCorrections(bool on) {
  if (CanShowTrackingCorrections()) show_tracking_ = on;
}

void WindowState::SetProgress(int colour_type, int position) {
  if (IsProgressColourType(colour_type)) progress_colour_ = ProgressColourOf(colour_type);
  progress_position_ = std::clamp(position, 0, 100);
}

Lamp WindowState::OutputLamp(bool on, bool written) {
  if (!on) return Lamp::kGrey;
  return written ? Lamp::kGreen : Lamp::kYellow;
}

int SelectedRollTypeIndex(const std::vector<std::string>& names, std::string_view active) {
  const auto found = std::find(names.begin(), names.end(), active);
  return found == names.end() ? 0 : static_cast<int>(found - names.begin());
}

ScannerDisplay DescribeScanner(const ScannerSettings& live, std::string_view preset_name) {
  ScannerDisplay display;
  display.Dpi = std::to_string(live.ScannerDPI) + " DPI";
  display.Offset = "Offset = " + FormatGcvt(live.ScannerOffset, 8);
  display.Stretch = "Stretch = " + FormatGcvt(live.ScannerAlignStretch, 8);
  display.Mode = live.ScannerModeType;
  display.ModeTip = "The scanner mode in use";
  display.PresetName = std::string(preset_name);
  display.TrackingOn = live.ActiveTracking;
  display.Tracking = live.ActiveTracking ? "Active Tracking ON" : "Active Tracking OFF";
  display.TrackingLamp = live.ActiveTracking ? Lamp::kGreen : Lamp::kGrey;
  display.ValuesSource = kPresetValuesText;
  display.ValuesTip = live.AutoTweakSettings
                          ? "The scanner preset's DPI, offset and stretch. Auto-Tweak is on (Scanner Settings): each "
                            "conversion measures the roll and converts with the values that fit it when the "
                            "measurement reads the roll."
                          : "The scanner preset's DPI, offset and stretch. Auto-Tweak is off for this preset (Scanner "
                            "Settings): conversions use these values as they are.";
  return display;
}

ScannerSettings ScannerOfRun(const ScannerSettings& live, const ConversionSummary& summary) {
  ScannerSettings used = live;
  if (!summary.ScannerMode.empty()) used.ScannerModeType = summary.ScannerMode;
  if (summary.AutoTweak.empty()) return used;
  used.ScannerDPI = summary.Placement.Fitted.Dpi;
  used.ScannerOffset = summary.Placement.Fitted.Offset;
  used.ScannerAlignStretch = summary.Placement.Fitted.Stretch;
  return used;
}

ScannerDisplay DescribeScannerOfRun(const ScannerSettings& live, std::string_view preset_name,
                                    const ConversionSummary& summary) {
  ScannerDisplay display = DescribeScanner(ScannerOfRun(live, summary), preset_name);
  if (display.Mode != live.ScannerModeType)
    display.ModeTip = "The scanner mode the last conversion used: the scan's own shaft encoder placed its lines "
                      "(the preset's mode is \"" +
                      live.ScannerModeType + "\")";
  if (summary.AutoTweak.empty()) {
    // Auto-Tweak was wanted but kept the preset's values: say why when the measurement said.
    const PlacementVerdict& verdict = summary.Placement;
    if (live.AutoTweakSettings && summary.PlacementChecked && !verdict.Confident && !verdict.Unreadable.empty())
      display.ValuesTip +=
          "\nThe last conversion kept them, as the measurement cannot read the roll: " + verdict.Unreadable + ".";
    return display;
  }
  display.AutoTweaked = true;
  display.ValuesSource = kAutoTweakValuesText;
  display.ValuesTip = summary.AutoTweak;
  for (const std::string& doubt : summary.AutoTweakDoubts) display.ValuesTip += "\n" + doubt;
  return display;
}

}  // namespace tarvelo::app
