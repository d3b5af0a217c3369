#include "settings/PictureSettings.h"

namespace tarvelo {

namespace {

constexpr SettingField<PictureSettings> kFields[] = {
    {PictureSettings::kSection, "PictureHoles", &PictureSettings::PictureHoles},
    {PictureSettings::kSection, "PictureStart", &PictureSettings::PictureStart},
    {PictureSettings::kSection, "PictureLinesPerInch", &PictureSettings::PictureLinesPerInch},
};

}  // namespace

std::span<const SettingField<PictureSettings>> PictureSettings::Fields() { return kFields; }

}  // namespace tarvelo
