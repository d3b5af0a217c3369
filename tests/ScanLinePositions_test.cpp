#include <gtest/gtest.h>

#include "geometry/ScanLinePositions.h"
#include "helpers/RecordingFrontEnd.h"

namespace tarvelo {
namespace {

using testing::RecordingFrontEnd;

// A scan of `n` empty lines; line i carries `words(i)` as its line word.
CisScanData Scan(int n, int lpi, uint16_t (*words)(int) = nullptr) {
  CisScanData data;
  data.Header.LinesPerInch = static_cast<int16_t>(lpi);
  for (int i = 0; i < n; ++i) data.Lines.AppendLine({}, words ? words(i) : 0);
  return data;
}

void SetMode(RecordingFrontEnd& ui, const std::string& mode) {
  ui.Store().WriteProfileString("Scanner Settings", "ScannerModeType0", mode).Ignore();
}

// Positions the lines of `data` with the settings the profile of `ui` holds now.
std::string Positions(CisScanData& data, RecordingFrontEnd& ui) {
  ui.ReloadSettings();
  return ComputeScanLinePositions(data, ui.settings.Scanner, ui.settings.Diagnostic, ui);
}

TEST(ScanLinePositions, NoEncodingWithoutCorrectionIsIndexOverLpi) {
  RecordingFrontEnd ui;
  CisScanData data = Scan(300, 120);
  EXPECT_EQ(Positions(data, ui), "Mode1 - no encoding");
  for (int i = 0; i < 300; ++i) EXPECT_EQ(data.Lines.Position(i), i / 120.0);
  EXPECT_EQ(data.Run.InterpretedAverageLpi, 120.0);
  EXPECT_TRUE(ui.messages.empty());
  // 25 progress updates for 300 lines (every 2*6 lines), 4 percent each.
  EXPECT_EQ(ui.progress.size(), 25u);
  EXPECT_EQ(ui.progress.back().position, 100);
  EXPECT_EQ(ui.statuses.front(), "Computing position for CIS Line = 1");
}

TEST(ScanLinePositions, TakeupCorrectionIsAppliedInWrittenOrder) {
  RecordingFrontEnd ui;
  ui.Store().WriteProfileInt("Scanner Settings", "RemoveTakeupAccel0", 1).Ignore();
  ui.Store().WriteProfileString("Scanner Settings", "TakeupAccelPct0", "0.35").Ignore();
  ui.ReloadSettings();
  CisScanData data = Scan(1000, 300);
  Positions(data, ui);
  const double a = 0.35 * 0.01;
  for (int i : {1, 299, 999}) {
    const double x = i / 300.0;
    EXPECT_EQ(data.Lines.Position(i), x + ((x * x) * a) * 0.08333333333333333);
  }
}

TEST(ScanLinePositions, BlockModesPlaceLinesInBlocksOfTen) {
  for (const char* mode : {"Mode4 encoder : count up", "Mode4 encoder : count down"}) {
    RecordingFrontEnd ui;
    SetMode(ui, mode);
    CisScanData few = Scan(8, 100);
    EXPECT_EQ(Positions(few, ui), mode);
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(few.Lines.Position(i), i * 0.1, 1e-12);
    EXPECT_NEAR(few.Run.InterpretedAverageLpi, 8 / 0.7, 1e-9);

    CisScanData many = Scan(35, 200);
    Positions(many, ui);
    // Line 25 is the 5th line of the third block: s = 20/200 + 5 * ((10/200)/10).
    EXPECT_EQ(many.Lines.Position(25), 2 * (10 / 200.0) + 5 * ((10 / 200.0) / 10));
    for (int i = 0; i < 35; ++i) EXPECT_NEAR(many.Lines.Position(i), i / 200.0, 1e-12);
  }
}

TEST(ScanLinePositions, AveragingWithNoLineToDivideByFallsBackToLpi) {
  RecordingFrontEnd ui;
  SetMode(ui, "Mode4 encoder : count up");
  for (int n : {0, 1}) {
    CisScanData data = Scan(n, 150);
    Positions(data, ui);
    EXPECT_EQ(data.Run.InterpretedAverageLpi, 150.0);
  }
}

TEST(ScanLinePositions, ShaftEncoderAveragesWindowsOfTicks) {
  RecordingFrontEnd ui;
  SetMode(ui, "Shaft Encoder");
  // A tick every 4 lines, exponent 2: one tick is 4/100 inch, so every line is 0.01 inch.
  CisScanData data = Scan(400, 100, [](int i) { return static_cast<uint16_t>((i / 4) % 2 ? 0x80 : 0); });
  data.Header.ScannerType = 2;
  data.Header.EncoderExponent = 2;
  EXPECT_EQ(Positions(data, ui), "Shaft Encoder");
  EXPECT_TRUE(ui.messages.empty());
  // The first window closes on the line of the second tick (line 8): 2 ticks = 0.08 inch.
  EXPECT_EQ(data.Lines.Position(8), 0.08);
  EXPECT_NEAR(data.Lines.Position(399), 3.99, 1e-9);
  EXPECT_NEAR(data.Run.InterpretedAverageLpi, 400 / 3.99, 1e-6);
}

TEST(ScanLinePositions, ShaftEncoderWithoutTicksFallsBackToTheDefaultMode) {
  RecordingFrontEnd ui;
  SetMode(ui, "Shaft Encoder");
  CisScanData data = Scan(100, 100);
  data.Header.ScannerType = 4;
  EXPECT_EQ(Positions(data, ui), "DEFAULT SCANNER MODE");
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.kinds, (std::vector<MessageKind>{MessageKind::kWarning, MessageKind::kError, MessageKind::kError}));
  EXPECT_EQ(ui.messages[0],
            "CAUTION : Current scanner mode type does not match embedded CIS file source scanner type bit. : 4.");
  EXPECT_EQ(ui.messages[1],
            "Bad or invalid Encoder data.  File does not process properly with shaft encoded scanner mode selected.");
  EXPECT_EQ(ui.messages[2], "ERROR : Current scanner mode type not legal :Shaft Encoder");
  EXPECT_EQ(data.Lines.Position(99), 0.99);
  EXPECT_EQ(data.Run.InterpretedAverageLpi, 100.0);
}

TEST(ScanLinePositions, TickOnEveryLineIsSuspectAndCountedInTheStatistics) {
  RecordingFrontEnd ui;
  SetMode(ui, "Shaft Encoder");
  ui.Store().WriteProfileInt("Diagnostic Settings", "ShowShaftEncoderStatistics", 1).Ignore();
  CisScanData data = Scan(40, 100, [](int i) { return static_cast<uint16_t>(i % 2 ? 0x80 : 0); });
  data.Header.ScannerType = 2;
  EXPECT_EQ(Positions(data, ui), "Shaft Encoder");
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.kinds, (std::vector<MessageKind>{MessageKind::kWarning, MessageKind::kInformation}));
  EXPECT_EQ(ui.messages[0],
            "PROBLEM WITH ENCODER SETTINGS\nAccuracy suspect if NumLines not at least 30% greater than "
            "NumEncoderTicks.\nTotal Number of Encoder Ticks =  : 38.\nTotal Number of Scan Lines =  : 40.");
  EXPECT_EQ(ui.messages[1].rfind("Lines Per Encoder Tick : \nNumLines00 : 0.\nNumLines01 : ", 0), 0u);
  EXPECT_NE(ui.messages[1].find("NumLines01 : 39.\n"), std::string::npos);
  EXPECT_NE(ui.messages[1].find("NumLines16 : 0.\n"), std::string::npos);
  // Fewer than 50 lines: progress on every tick line.
  EXPECT_EQ(ui.progress.size(), 39u);
}

TEST(ScanLinePositions, UnknownModeAndBadTickCountAreReported) {
  RecordingFrontEnd ui;
  SetMode(ui, "mode1 - no encoding");
  CisScanData data = Scan(10, 100);
  EXPECT_EQ(Positions(data, ui), "DEFAULT SCANNER MODE");
  EXPECT_EQ(ui.messages.back(), "ERROR : Current scanner mode type not legal :mode1 - no encoding");
  EXPECT_EQ(ui.kinds.back(), MessageKind::kError);

  RecordingFrontEnd encoder;
  SetMode(encoder, "Shaft Encoder");
  CisScanData ticks = Scan(200, 100, [](int i) { return static_cast<uint16_t>((i / 4) % 2 ? 0x80 : 0); });
  ticks.Header.ScannerType = 2;
  ticks.Header.EncoderExponent = 2;
  // A profile's count below 1 already reads as the default; settings made otherwise may hold one.
  encoder.ReloadSettings();
  encoder.settings.Diagnostic.EncoderTicksToAverage = 0;
  EXPECT_EQ(ComputeScanLinePositions(ticks, encoder.settings.Scanner, encoder.settings.Diagnostic, encoder),
            "Shaft Encoder");
  ASSERT_FALSE(encoder.messages.empty());
  EXPECT_NE(encoder.messages[0].find("EncoderTicksToAverage"), std::string::npos);
  EXPECT_EQ(encoder.kinds[0], MessageKind::kWarning);
  EXPECT_EQ(ticks.Lines.Position(8), 0.08);  // the default of two ticks per window
}

TEST(ScanLinePositions, TickCountAboveTheDialogLimitIsUsedAsItStands) {
  RecordingFrontEnd ui;
  SetMode(ui, "Shaft Encoder");
  ui.Store().WriteProfileInt("Diagnostic Settings", "EncoderTicksToAverage", 25).Ignore();
  // A tick every 2 lines, exponent 0, 100 LPI: a window of 25 ticks is 0.25 inch over 50 lines.
  CisScanData data = Scan(120, 100, [](int i) { return static_cast<uint16_t>((i / 2) % 2 ? 0x80 : 0); });
  data.Header.ScannerType = 2;
  EXPECT_EQ(Positions(data, ui), "Shaft Encoder");
  EXPECT_TRUE(ui.messages.empty());
  const double travel = 25 * 1.0 / 100;
  EXPECT_EQ(data.Lines.Position(50), 0 + 50 * (travel / 50));
  EXPECT_EQ(data.Lines.Position(51), travel + 1 * (travel / 50));
}

}  // namespace
}  // namespace tarvelo
