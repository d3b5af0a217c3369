#pragma once
// "Picture Settings": how a roll scanned into an ordinary picture (PNG, TIFF, JPEG) is read into
// scan lines. None of them changes the conversion of a CIS file.

#include "settings/SettingsIo.h"

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

  PictureSettings() = default;
  explicit PictureSettings(const ProfileStore& store)
      : PictureHoles(ReadSettingInt(store, kSection, "PictureHoles")),
        PictureStart(ReadSettingInt(store, kSection, "PictureStart")),
        PictureLinesPerInch(ReadSettingInt(store, kSection, "PictureLinesPerInch")) {}

  Result Save(ProfileStore& store) const {
    ProfileWriter writer(store, kSection);
    writer.Int("PictureHoles", PictureHoles);
    writer.Int("PictureStart", PictureStart);
    writer.Int("PictureLinesPerInch", PictureLinesPerInch);
    return writer.Outcome();
  }

  bool IsDefault() const {
    return PictureHoles == kHolesAuto && PictureStart == kStartBottom && PictureLinesPerInch == 0;
  }

  int PictureHoles = kHolesAuto;
  int PictureStart = kStartBottom;
  int PictureLinesPerInch = 0;  // rows per inch along the roll; 0: the picture's DPI
};

}  // namespace tarvelo
