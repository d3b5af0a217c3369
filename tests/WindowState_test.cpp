// The main window's rules without a window: zoom greying, output lamps, the two window states,
// progress colours, the roll type box's selection and the scanner display's texts (the values
// and mode the last run used).
#include "app/WindowState.h"

#include <gtest/gtest.h>

#include "services/Reporter.h"
#include "support/RgbImage.h"

namespace tarvelo::app {
namespace {

TEST(WindowState, ZoomStepsAndGreysAtTheLimits) {
  WindowState state;
  EXPECT_EQ(state.Zoom().Level(), 5);
  EXPECT_DOUBLE_EQ(state.Zoom().Factor(), 1.0);
  for (int step = 0; step < 3; ++step) state.ZoomIn();
  EXPECT_EQ(state.Zoom().Level(), 8);
  EXPECT_TRUE(state.Zoom().CanZoomIn());
  state.ZoomIn();
  EXPECT_EQ(state.Zoom().Level(), 9);
  EXPECT_FALSE(state.Zoom().CanZoomIn());
  EXPECT_TRUE(state.Zoom().CanZoomOut());
  state.ZoomIn();  // greyed: nothing happens
  EXPECT_EQ(state.Zoom().Level(), 9);
  for (int step = 0; step < 7; ++step) state.ZoomOut();
  EXPECT_EQ(state.Zoom().Level(), 2);
  EXPECT_TRUE(state.Zoom().CanZoomOut());
  state.ZoomOut();
  EXPECT_EQ(state.Zoom().Level(), 1);
  EXPECT_FALSE(state.Zoom().CanZoomOut());
  EXPECT_TRUE(state.Zoom().CanZoomIn());
  EXPECT_DOUBLE_EQ(state.Zoom().Factor(), 0.0625);
}

TEST(WindowState, ProgressColourTypesZeroAndSevenKeepTheColour) {
  WindowState state;
  EXPECT_EQ(state.ProgressColour(), MakeColour(34, 238, 85));  // idle: green at 100
  EXPECT_EQ(state.ProgressPosition(), 100);
  state.SetProgress(kProgressReading, 4);
  EXPECT_EQ(state.ProgressColour(), MakeColour(238, 68, 51));
  EXPECT_EQ(state.ProgressPosition(), 4);
  state.SetProgress(0, 40);
  EXPECT_EQ(state.ProgressColour(), MakeColour(238, 68, 51));
  EXPECT_EQ(state.ProgressPosition(), 40);
  state.SetProgress(kProgressTracking, 8);
  state.SetProgress(7, 104);  // more than 100 shows a full bar
  EXPECT_EQ(state.ProgressColour(), MakeColour(224, 221, 68));
  EXPECT_EQ(state.ProgressPosition(), 100);
  state.SetProgress(-3, -5);
  EXPECT_EQ(state.ProgressColour(), MakeColour(224, 221, 68));
  EXPECT_EQ(state.ProgressPosition(), 0);
  const uint32_t table[] = {MakeColour(238, 68, 51), MakeColour(224, 221, 68), MakeColour(51, 255, 255),
                            MakeColour(51, 68, 255), MakeColour(34, 255, 51),  MakeColour(34, 238, 85)};
  for (int type = 1; type <= 6; ++type) {
    state.SetProgress(type, 50);
    EXPECT_EQ(state.ProgressColour(), table[type - 1]) << "colour type " << type;
  }
}

TEST(WindowState, LampsThroughUncheckingCheckingAndAConversion) {
  OutputSettings outputs;
  outputs.eRollMidi = false;
  WindowState state(outputs);
  EXPECT_EQ(state.ScanMidiLamp(), Lamp::kYellow);  // on, not written yet
  EXPECT_EQ(state.ERollMidiLamp(), Lamp::kGrey);   // off
  state.MarkScanImageWritten();
  state.SetReprocessPending(false);
  EXPECT_EQ(state.ScanMidiLamp(), Lamp::kGreen);

  state.SetScanMidi(false);
  EXPECT_EQ(state.ScanMidiLamp(), Lamp::kGrey);
  state.SetScanMidi(true);
  EXPECT_EQ(state.ScanMidiLamp(), Lamp::kYellow);  // until the next conversion writes the file
  state.MarkScanImageWritten();
  EXPECT_EQ(state.ScanMidiLamp(), Lamp::kGreen);

  state.SetERollMidi(true);
  state.MarkERollWritten();
  EXPECT_EQ(state.ERollMidiLamp(), Lamp::kGreen);
  EXPECT_EQ(state.ExpressionMidiLamp(), Lamp::kGrey);  // off unless the profile asks for it
  state.SetExpressionMidi(true);
  state.MarkExpressionWritten();
  EXPECT_EQ(state.ExpressionMidiLamp(), Lamp::kGreen);
  state.SetReprocessPending(true);  // any settings change: every output to be written again
  EXPECT_EQ(state.ScanMidiLamp(), Lamp::kYellow);
  EXPECT_EQ(state.ERollMidiLamp(), Lamp::kYellow);
  EXPECT_EQ(state.ExpressionMidiLamp(), Lamp::kYellow);
  state.MarkExpressionWritten();
  state.SetExpressionMidi(false);
  state.SetExpressionMidi(true);
  EXPECT_EQ(state.ExpressionMidiLamp(), Lamp::kYellow);
  EXPECT_EQ(LampColour(Lamp::kGreen), MakeColour(0, 255, 0));
  EXPECT_EQ(LampColour(Lamp::kGrey), MakeColour(192, 192, 192));
  EXPECT_EQ(LampColour(Lamp::kYellow), MakeColour(255, 255, 0));
}

TEST(WindowState, IdleAndSettingsChangedStates) {
  WindowState state;
  // Idle after start-up.
  EXPECT_FALSE(state.IsReprocessPending());
  EXPECT_TRUE(state.CanShowTrackingCorrections());
  EXPECT_EQ(state.StatusText(), "Ready");
  state.SetShowTrackingCorrections(true);
  EXPECT_TRUE(state.ShowTrackingCorrections());

  state.SetReprocessPending(true);
  EXPECT_TRUE(state.IsReprocessPending());
  EXPECT_FALSE(state.CanShowTrackingCorrections());
  EXPECT_FALSE(state.ShowTrackingCorrections());  // unchecked
  state.SetShowTrackingCorrections(true);         // greyed: ignored
  EXPECT_FALSE(state.ShowTrackingCorrections());

  state.SetStatusText("Computing Scan Line Positions");
  state.SetProgress(kProgressTracking, 60);
  state.SetReprocessPending(false);  // the conversion finished
  EXPECT_FALSE(state.IsReprocessPending());
  EXPECT_TRUE(state.CanShowTrackingCorrections());
  EXPECT_FALSE(state.ShowTrackingCorrections());
  EXPECT_EQ(state.StatusText(), "Ready");
  EXPECT_EQ(state.ProgressPosition(), 100);
  EXPECT_EQ(state.ProgressColour(), ProgressColourOf(kProgressFinished));
}

TEST(WindowState, RollTypeBoxSelectsTheActiveNameOrTheFirstEntry) {
  const std::vector<std::string> names = {"Fail-Safe", "88-Note", "Ampico B"};
  EXPECT_EQ(SelectedRollTypeIndex(names, "Ampico B"), 2);
  EXPECT_EQ(SelectedRollTypeIndex(names, "No Such Roll"), 0);
  EXPECT_EQ(SelectedRollTypeIndex(names, "ampico b"), 0);  // names compare exactly
  EXPECT_EQ(SelectedRollTypeIndex({}, "88-Note"), 0);
}

TEST(WindowState, ScannerDisplayTexts) {
  ScannerSettings live;
  live.ScannerDPI = 300;
  live.ScannerOffset = 1.0 + 0.025;
  live.ScannerAlignStretch = 1.0;
  live.ScannerModeType = "Shaft Encoder";
  live.ActiveTracking = true;
  ScannerDisplay display = DescribeScanner(live, "My Scanner");
  EXPECT_EQ(display.Dpi, "300 DPI");
  EXPECT_EQ(display.Offset, "Offset = 1.025");
  EXPECT_EQ(display.Stretch, "Stretch = 1.");
  EXPECT_EQ(display.Mode, "Shaft Encoder");
  EXPECT_EQ(display.PresetName, "My Scanner");
  EXPECT_EQ(display.Tracking, "Active Tracking ON");
  EXPECT_EQ(display.TrackingLamp, Lamp::kGreen);
  live.ActiveTracking = false;
  display = DescribeScanner(live, "My Scanner");
  EXPECT_EQ(display.Tracking, "Active Tracking OFF");
  EXPECT_FALSE(display.TrackingOn);
  EXPECT_EQ(display.TrackingLamp, Lamp::kGrey);
}

// A run that placed its lines by the scan's encoder while the preset says "no encoding" shows
// the encoder's mode, and says whose it is; a run that kept the preset's mode shows that.
TEST(WindowState, TheModeShownIsTheOneTheLastRunUsed) {
  ScannerSettings live;
  live.ScannerModeType = "Mode1 - no encoding";
  ConversionSummary summary;
  summary.ScannerMode = "Shaft Encoder";
  ScannerDisplay display = DescribeScannerOfRun(live, "My Scanner", summary);
  EXPECT_EQ(display.Mode, "Shaft Encoder");
  EXPECT_NE(display.ModeTip.find("the preset's mode is \"Mode1 - no encoding\""), std::string::npos) << display.ModeTip;
  summary.ScannerMode = live.ScannerModeType;
  display = DescribeScannerOfRun(live, "My Scanner", summary);
  EXPECT_EQ(display.Mode, "Mode1 - no encoding");
  EXPECT_EQ(display.ModeTip, "The scanner mode in use");
}

}  // namespace
}  // namespace tarvelo::app
