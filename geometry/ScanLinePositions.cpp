#include "geometry/ScanLinePositions.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "cis/CisFormat.h"
#include "services/LineProgress.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

constexpr const char* kDefaultModeName = "DEFAULT SCANNER MODE";
constexpr double kFeetPerInch = 0.08333333333333333;

// Lines first .. first+count-1 get start + j*spacing for j = 1..count.
void PlaceWindow(std::vector<double>& positions, int64_t first, int64_t count, double start, double spacing) {
  for (int64_t j = 1; j <= count; ++j) positions[static_cast<size_t>(first + j - 1)] = start + j * spacing;
}

// Average lines per inch implied by the positions. With fewer than two lines there is no
// distance to divide by; the nominal density stands in.
double AverageLpi(const std::vector<double>& positions, int64_t n, double lpi) {
  if (n < 2) return lpi;
  const double last = positions[static_cast<size_t>(n - 1)];
  if (!(last > 0)) return lpi;
  return static_cast<double>(n) / last;
}

// Nominal positions from the line index, with the take-up acceleration correction.
void NominalPositions(std::vector<double>& positions, int64_t n, double lpi, double correction,
                      LineProgress& progress) {
  const double acceleration = correction * 0.01;
  for (int64_t i = 0; i < n; ++i) {
    const double nominal = i / lpi;
    positions[static_cast<size_t>(i)] = nominal + nominal * nominal * acceleration * kFeetPerInch;
    if (!progress.At(i)) return;
  }
}

std::string DefaultMode(CisScanData& data, const ScannerSettings& scanner, Reporter& reporter,
                        std::vector<double>& positions, int64_t n, double lpi, const std::string& rejected,
                        LineProgress& progress) {
  NominalPositions(positions, n, lpi, scanner.TakeupAccelCorrection(), progress);
  data.Run.InterpretedAverageLpi = lpi;
  reporter.ShowMessage(MessageKind::kError, "ERROR : Current scanner mode type not legal :" + rejected);
  return kDefaultModeName;
}

void BlockPositions(std::vector<double>& positions, int64_t n, double lpi, LineProgress& progress) {
  if (n > 0) positions[0] = 0;
  double start = 0;
  double spacing = 0.1;
  int64_t first = 1;
  int64_t count = 0;
  for (int64_t i = 1; i < n; ++i) {
    ++count;
    if (count == 10) {
      spacing = (count / lpi) / count;
      PlaceWindow(positions, first, count, start, spacing);
      start += count / lpi;
      first = i + 1;
      count = 0;
    }
    if (!progress.At(i)) return;
  }
  if (n > first) PlaceWindow(positions, first, n - first, start, spacing);
}

}  // namespace

std::string ComputeScanLinePositions(CisScanData& data, const ScannerSettings& scanner,
                                     const DiagnosticSettings& diagnostics, Reporter& reporter) {
  const std::string& mode = scanner.ScannerModeType;
  const int64_t n = data.Lines.Size();
  std::vector<double>& positions = data.Lines.MutablePositions();
  // The reader never leaves a density below 1; an edited one is held to the same floor.
  const double lpi = data.Header.LinesPerInch < 1 ? 100.0 : static_cast<double>(data.Header.LinesPerInch);
  LineProgress progress(reporter, n, kProgressReading, "Computing position for CIS Line = ");

  if (mode == kModeNoEncoding) {
    NominalPositions(positions, n, lpi, scanner.TakeupAccelCorrection(), progress);
    data.Run.InterpretedAverageLpi = lpi;
    return mode;
  }

  if (mode != kModeShaftEncoder) {
    if (mode == kModeCountDown || mode == kModeCountUp) {
      BlockPositions(positions, n, lpi, progress);
      data.Run.InterpretedAverageLpi = AverageLpi(positions, n, lpi);
      return mode;
    }
    return DefaultMode(data, scanner, reporter, positions, n, lpi, mode, progress);
  }

  // Shaft encoder: one tick is 2^exponent / LPI inches of roll travel; the lines between
  // every T ticks share the travel of those ticks evenly.
  if (data.Header.ScannerType != 2) {
    reporter.ShowMessageWithValue(
        MessageKind::kWarning,
        "CAUTION : Current scanner mode type does not match embedded CIS file source scanner type bit.",
        data.Header.ScannerType);
  }
  // A window of no ticks (or fewer) would travel no distance and leave every line at 0; any
  // positive count works, also one above the settings dialog's limit of 20.
  int ticks_to_average = diagnostics.EncoderTicksToAverage;
  if (ticks_to_average < 1) {
    reporter.ShowMessageWithValue(MessageKind::kWarning,
                                  "EncoderTicksToAverage in the profile is below 1; using 2 instead of it",
                                  ticks_to_average);
    ticks_to_average = 2;
  }
  const double window_travel = ticks_to_average * std::pow(2.0, data.Header.EncoderExponent) / lpi;

  if (n > 0) positions[0] = 0;
  double start = 0;
  double spacing = window_travel;
  int64_t first = 1;
  int64_t in_window = 0;
  int64_t since_tick = 0;
  int ticks_in_window = 0;
  int64_t total_ticks = 0;
  std::array<int64_t, 17> histogram{};
  for (int64_t i = 1; i < n; ++i) {
    ++in_window;
    ++since_tick;
    const bool tick = ((data.Lines.LineWord(static_cast<int>(i)) ^ data.Lines.LineWord(static_cast<int>(i - 1))) &
                       cis::kEncoderSignalBit) != 0;
    if (!tick) continue;
    ++histogram[static_cast<size_t>(since_tick < 16 ? since_tick : 16)];
    since_tick = 0;
    if (++ticks_in_window >= ticks_to_average) {
      spacing = window_travel / in_window;
      PlaceWindow(positions, first, in_window, start, spacing);
      start += window_travel;
      first = i + 1;
      total_ticks += ticks_in_window;
      ticks_in_window = 0;
      in_window = 0;
    }
    if (!progress.At(i)) break;
  }
  if (n > first) PlaceWindow(positions, first, n - first, start, spacing);
  data.Run.InterpretedAverageLpi = AverageLpi(positions, n, lpi);

  if (1.3 * total_ticks > n) {
    reporter.ShowMessageWithTwoValues(
        MessageKind::kWarning,
        "PROBLEM WITH ENCODER SETTINGS\nAccuracy suspect if NumLines not at least 30% greater than "
        "NumEncoderTicks.\nTotal Number of Encoder Ticks = ",
        static_cast<double>(total_ticks), "Total Number of Scan Lines = ", static_cast<double>(n));
  }
  if (diagnostics.ShowShaftEncoderStatistics) {
    std::string text = "Lines Per Encoder Tick : \n";
    for (size_t k = 0; k < histogram.size(); ++k) {
      text += std::string("NumLines") + (k < 10 ? "0" : "") + std::to_string(k) + " : " +
              FormatGcvt(static_cast<double>(histogram[k]), 8) + "\n";
    }
    reporter.ShowMessage(MessageKind::kInformation, text);
  }
  if (total_ticks >= n / 32) return kModeShaftEncoder;

  reporter.ShowMessage(
      MessageKind::kError,
      "Bad or invalid Encoder data.  File does not process properly with shaft encoded scanner mode selected.");
  return DefaultMode(data, scanner, reporter, positions, n, lpi, mode, progress);
}

}  // namespace tarvelo
