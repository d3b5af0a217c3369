#include "images/PictureGeometry.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "cis/RollInfo.h"
#include "support/NumberFormat.h"
#include "support/TextTrim.h"

namespace tarvelo {

namespace {

// The resolutions scanners and cameras' software usually store.
constexpr std::array kUsualDpis = {72,  75,  96,  100, 120, 144, 150, 160, 180, 192, 200,  240,  254,
                                   288, 300, 320, 360, 400, 480, 508, 600, 720, 800, 1200, 1600, 2400};

// The nearest usual resolution within 2.5 % (paper shrinks and swells by about that much with
// the air it was kept in), else the measured one.
int NearUsualDpi(double pixels_per_inch) {
  int nearest = static_cast<int>(std::lround(pixels_per_inch));
  double nearest_miss = 0.025;
  for (const int usual : kUsualDpis) {
    const double miss = std::abs(pixels_per_inch - usual) / usual;
    if (miss <= nearest_miss) {
      nearest = usual;
      nearest_miss = miss;
    }
  }
  return nearest;
}

// The DPI the paper's width gives, 0 when the paper's edges were not seen.
double MeasuredPixelsPerInch(const PictureOrigin& origin, double paper_width_inches) {
  if (origin.PaperFirstPixel < 0 || origin.PaperLastPixel <= origin.PaperFirstPixel) return 0;
  const double pixels = origin.PaperLastPixel - origin.PaperFirstPixel + 1;
  const double ppi = pixels / paper_width_inches;
  return ppi >= 30 && ppi <= 4800 ? ppi : 0;
}

int TempoOfAnnFile(const CisScanData& data) {
  RollInfo info;
  if (!info.ReadAnnFile(SiblingFilePath(data.Header.Names, ".ann"))) return 0;
  const std::string_view text = TrimWhiteSpace(info.RollTempo);
  if (text.empty()) return 0;
  const int tempo = std::atoi(std::string(text).c_str());
  return tempo >= 10 && tempo <= 500 ? tempo : 0;
}

}  // namespace

int TempoInText(std::string_view name) {
  const std::string lower = ToLowerAscii(std::string(name));
  for (size_t at = lower.find("tempo"); at != std::string::npos; at = lower.find("tempo", at + 1)) {
    size_t digits = at + 5;
    while (digits < lower.size() && (lower[digits] == ' ' || lower[digits] == ':' || lower[digits] == '=' ||
                                     lower[digits] == '_' || lower[digits] == '-'))
      ++digits;
    size_t end = digits;
    while (end < lower.size() && end - digits < 4 && lower[end] >= '0' && lower[end] <= '9') ++end;
    if (end == digits || (end < lower.size() && lower[end] >= '0' && lower[end] <= '9')) continue;
    const int tempo = std::atoi(lower.substr(digits, end - digits).c_str());
    if (tempo >= 10 && tempo <= 500) return tempo;
  }
  return 0;
}

void SettlePictureGeometry(CisScanData& data, const PictureSettings& settings, double paper_width_inches,
                           int preset_dpi, Reporter& reporter) {
  PictureOrigin& origin = data.Header.Picture;
  if (!(paper_width_inches > 0.5)) paper_width_inches = kUsualPaperWidth;
  const double measured = MeasuredPixelsPerInch(origin, paper_width_inches);
  const std::string width_text = FormatFixed(paper_width_inches, 2) + " inch";
  const int stored = origin.StoredDpi;
  if (stored > 0 && (measured == 0 || std::abs(stored - measured) <= 0.04 * measured)) {
    origin.Dpi = stored;
    origin.DpiSource = PictureDpiSource::kStored;
    origin.DpiNote = "DPI " + std::to_string(stored) + " as the file states it";
  } else if (measured > 0) {
    origin.Dpi = NearUsualDpi(measured);
    origin.DpiSource = PictureDpiSource::kMeasured;
    origin.DpiNote = "DPI " + std::to_string(origin.Dpi) + " measured from the paper's width (" +
                     std::to_string(origin.PaperLastPixel - origin.PaperFirstPixel + 1) + " pixels for " + width_text +
                     ")";
    if (stored > 0) {
      reporter.ShowMessage(MessageKind::kWarning,
                           "The picture states " + std::to_string(stored) +
                               " DPI, which does not fit the width of its paper: " + origin.DpiNote + " is used.");
    }
  } else {
    origin.Dpi = preset_dpi >= 1 ? preset_dpi : 300;
    origin.DpiSource = PictureDpiSource::kNone;
    origin.DpiNote = "DPI " + std::to_string(origin.Dpi) + " of the preset";
    reporter.ShowMessage(MessageKind::kWarning,
                         "The picture states no DPI and its paper's edges do not show: the preset's DPI (" +
                             std::to_string(origin.Dpi) + ") is used; align measures a better one.");
  }
  origin.Dpi = std::min(origin.Dpi, 32767);
  const int lines_per_inch = settings.PictureLinesPerInch > 0 ? settings.PictureLinesPerInch : origin.Dpi;
  data.Header.HorizontalDpi = static_cast<int16_t>(origin.Dpi);
  // Where a CIS header keeps it, so that the header summary shows it and a CIS file saved from
  // the picture states it.
  data.Header.HeaderText.resize(40, '\0');
  data.Header.HeaderText[38] = static_cast<char>(origin.Dpi & 0xff);
  data.Header.HeaderText[39] = static_cast<char>(origin.Dpi >> 8);
  data.Header.LinesPerInch = static_cast<int16_t>(std::min(lines_per_inch, 32767));
  data.Header.RawLinesPerInch = data.Header.LinesPerInch;

  int tempo = TempoOfAnnFile(data);
  origin.TempoSource = "ANN file";
  if (tempo == 0) {
    tempo = TempoInText(data.Header.Names.Name);
    origin.TempoSource = "file name";
  }
  if (tempo == 0) {
    tempo = 100;
    origin.TempoSource = "default";
  }
  data.Header.Tempo = static_cast<int16_t>(tempo);
  data.Header.RawTempo = data.Header.Tempo;
}

}  // namespace tarvelo
