#include "geometry/DiagnosticFiles.h"

#include <cmath>

#include "support/AtomicFile.h"
#include "support/NumberFormat.h"
#include "support/SafeTruncate.h"

namespace tarvelo {

namespace {

constexpr int kDigits = 10;

std::string G10(double value) { return FormatGcvt(value, kDigits); }

Result WriteDiagnosticFile(const std::string& path, const std::string& text, Reporter& reporter) {
  Result written = WriteFileAtomically(path, text, Flush::kNo);
  if (!written.ok()) {
    reporter.ShowMessage(MessageKind::kError, "*** Unable to write the diagnostic file *** \n" + path + "\n" +
                                                  written.message() + "\nThe conversion goes on without it.");
  }
  return written;
}

}  // namespace

std::string CisDiagnosticFilePath(const CisFileName& names) {
  return SiblingFilePath(names, "_DiagnosticFileValues.txt");
}

std::string LookupMapDiagnosticFilePath(const CisFileName& names) {
  return SiblingFilePath(names, "_LookupMapDiagnosticFileValues.txt");
}

std::string CisDiagnosticText(const CisScanData& data, int dpi) {
  const ScanLineArray& lines = data.Lines;
  std::string text;
  text.reserve(static_cast<size_t>(lines.Size()) * 64 + lines.TotalTransitions() * 6 + 256);
  text += "TITLE: ," + data.Header.Title + "\n";
  text += "TEMPO: ," + std::to_string(data.Header.Tempo) + "\n";
  text += "Horiz DPI: ," + std::to_string(dpi) + "\n";
  text += "Number Of Scan Lines: ," + std::to_string(data.Header.LinesReadPlusTwo) + "\n";
  text += "ScanLineNumber , Yposition, Encoder, TrackingOffset, Num Events , TransitionString , TrackHoleString\n";
  for (int i = 0; i < lines.Size(); ++i) {
    const LineGeometry geometry = lines.Geometry(i);
    text += ' ';
    text += std::to_string(i);
    text += " , ";
    text += G10(geometry.Position);
    text += " , ";
    text += G10(static_cast<double>(lines.LineWord(i)));
    text += " , ";
    text += G10(geometry.TrackingOffset);
    text += " , ";
    text += G10(static_cast<double>(lines.TransitionCount(i)));
    text += " , |";
    for (const int32_t t : lines.Transitions(i)) {
      text += std::to_string(t);
      text += '|';
    }
    // The per-line track hole list is emptied by the per-line pass and never filled.
    text += " , |\n";
  }
  return text;
}

std::string LookupMapDiagnosticText(const TrackLookupMap& map) {
  std::string text;
  text += "OFFSET: " + G10(map.OffsetInches) + "\n";
  text += "Horiz DPI: " + std::to_string(TruncToInt64(map.Dpi)) + "\n";
  text += "Number Of Pixels in Map: " + std::to_string(map.MapWidth) + "\n";
  text += "PixelNumber , Closest Track, OffsetFromCenter, Weighting\n";
  for (int64_t p = 0; p < map.MapWidth; ++p) {
    text += ' ';
    text += std::to_string(p);
    text += " , ";
    text += G10(map.ClosestTrackAt(p));
    text += " , ";
    text += G10(map.OffsetFromCenterAt(p));
    text += " , ";
    text += G10(map.WeightingAt(p));
    text += '\n';
  }
  return text;
}

Result WriteCisDiagnosticFile(const CisScanData& data, int dpi, Reporter& reporter) {
  reporter.SetStatusText("Writing CIS Diagnostic file ");
  return WriteDiagnosticFile(CisDiagnosticFilePath(data.Header.Names), CisDiagnosticText(data, dpi), reporter);
}

Result WriteLookupMapDiagnosticFile(const TrackLookupMap& map, const CisScanData& data, Reporter& reporter) {
  reporter.SetStatusText("Writing Lookup Map Diagnostic file ");
  return WriteDiagnosticFile(LookupMapDiagnosticFilePath(data.Header.Names), LookupMapDiagnosticText(map), reporter);
}

}  // namespace tarvelo
