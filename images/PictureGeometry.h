#pragma once
// The DPI, lines per inch and tempo of a picture read by ReadPictureFile, which a CIS file keeps
// in its header and a picture mostly does not.
//
// DPI: the file's own (PNG pHYs, TIFF resolution, JFIF density) when it fits the width of the
// paper seen in the picture; else the one the paper's width gives for the roll type's paper
// width (rounded to a scanner's usual resolution when within 2.5 % of one), reported as a warning
// when the file stated another; else the file's; else the preset's, with a warning. Lines per
// inch: the DPI (rows are square pixels) unless the settings give them. Tempo: an ANN file
// beside the picture ("/roll_tempo: 90"), else the file name ("... tempo90", "tempo: 90", in any
// letter case), else 100, as for a CIS file that states none.

#include <string_view>

#include "cis/CisScanData.h"
#include "services/Reporter.h"
#include "settings/PictureSettings.h"

namespace tarvelo {

// The paper width taken when the roll type in force states none: the common 11 1/4 inch roll.
inline constexpr double kUsualPaperWidth = 11.25;

void SettlePictureGeometry(CisScanData& data, const PictureSettings& settings, double paper_width_inches,
                           int preset_dpi, Reporter& reporter);

// A tempo named in `name` ("tempo90", "Tempo 90", "tempo: 90", "TEMPO=90"), 0 when none is, or
// when it lies outside 10..500.
int TempoInText(std::string_view name);

}  // namespace tarvelo
