#pragma once
// "Picture Settings": how a roll scanned into an ordinary picture (PNG, TIFF, JPEG) is read into
// scan lines. None of them changes the conversion of a CIS file.

#include "settings/SettingsFields.h"

namespace tarvelo {

struct PictureSettings {
  static constexpr const char* kSection = "Picture Settings";

  // Which pixels are holes: found from the picture, or the light ones, or the dark ones.
  static constexpr int kHolesAuto = 0;
  static constexpr int kHolesLight = 1;
  static constexpr int kHolesDark = 2;
  // Which row of the picture is the roll's leading end, played first.
  static constexpr int kStartBottom = 0;
  static constexpr int kStartTop = 1;

  static std::span<const SettingField<PictureSettings>> Fields();

  PictureSettings() = default;
  explicit PictureSettings(const ProfileStore& store) { LoadFields(store, Fields(), *this); }

  Result Save(ProfileStore& store) const { return SaveFields(store, Fields(), *this); }

  bool IsDefault() const {
    return PictureHoles == kHolesAuto && PictureStart == kStartBottom && PictureLinesPerInch == 0;
  }

  int PictureHoles = kHolesAuto;
  int PictureStart = kStartBottom;
  int PictureLinesPerInch = 0;  // rows per inch along the roll; 0: the picture's DPI
};

}  // namespace tarvelo
