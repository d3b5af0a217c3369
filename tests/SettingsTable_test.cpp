#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "settings/IniProfile.h"
#include "settings/SettingsCatalog.h"
#include "settings/SettingsTable.h"
#include "support/LenientNumber.h"

namespace tarvelo {
namespace {

// The table and the settings the program lists are the same set, and the groups load the table's
// defaults from an empty profile.
TEST(SettingsTable, CoversEverySettingWithTheDefaultsTheGroupsLoad) {
  IniProfile empty;
  const std::vector<SettingValue> listed = EffectiveSettings(empty);
  size_t per_preset = 0;
  for (const SettingRule& rule : SettingsTable()) per_preset += rule.PerPreset ? 1 : 0;
  EXPECT_EQ(listed.size(), SettingsTable().size() + per_preset * 15);
  for (const SettingValue& value : listed) {
    const SettingRule* rule = FindSettingRule(value.section, value.key);
    ASSERT_NE(rule, nullptr) << value.section << "/" << value.key;
    const std::string expected = DefaultValue(*rule, std::max(0, PresetIndexOfKey(value.key)));
    if (rule->Kind == SettingKind::kReal) {
      EXPECT_EQ(LenientToDouble(value.value), LenientToDouble(expected)) << value.key;
      EXPECT_EQ(value.kind, SettingValue::kReal);
    } else {
      EXPECT_EQ(value.value, expected) << value.key;
    }
    if (rule->Kind != SettingKind::kText) {
      EXPECT_TRUE(IsInRange(*rule, LenientToDouble(expected))) << value.key;
    }
  }
  EXPECT_EQ(DefaultValue(*FindSettingRule("Scanner Settings", "TakeupAccelPct9"), 9), "0.27");
}

TEST(SettingsTable, FindsKeysCaseInsensitivelyAndPresetKeysByIndex) {
  EXPECT_NE(FindSettingRule("scanner settings", "scannerdpi15"), nullptr);
  EXPECT_NE(FindSettingRule("Scanner Settings", "ScannerDPI"), nullptr);  // a dialog field
  EXPECT_EQ(FindSettingRule("Scanner Settings", "ScannerDPI16"), nullptr);
  EXPECT_EQ(FindSettingRule("Scanner Settings", "ScannerDPI01"), nullptr);
  EXPECT_EQ(FindSettingRule("Midi Gen Settings", "ScannerDPI0"), nullptr);
  EXPECT_EQ(FindSettingRule("Scanner Settings", "CurrentPreset")->Kind, SettingKind::kInteger);
  EXPECT_EQ(PresetIndexOfKey("ScannerOffset12"), 12);
  EXPECT_EQ(PresetIndexOfKey("CurrentPreset"), -1);
}

TEST(SettingsTable, FieldChecksNameTheFieldAndTheRange) {
  const SettingRule& stretch = *FindSettingRule("Scanner Settings", "ScannerAlignStretch");
  EXPECT_TRUE(CheckField(stretch, 0.5).ok());
  const Result refused = CheckField(stretch, 2.01);
  EXPECT_EQ(refused.kind(), Result::Kind::kInvalid);
  EXPECT_EQ(refused.message(), "Stretch Factor (1.0 typical) must be between 0.5 and 2.");
  EXPECT_FALSE(CheckField(stretch, std::nan("")).ok());
  EXPECT_EQ(CheckField(*FindSettingRule("Scanner Settings", "PresetName"), std::string(129, 'x')).message(),
            "Rename must be at most 128 characters.");
  EXPECT_TRUE(CheckField(*FindSettingRule("Scanner Settings", "PresetName"), std::string(128, 'x')).ok());
  EXPECT_TRUE(CheckField(*FindSettingRule("OutputFiles", "ScanMidi"), 7).ok());  // a switch takes any integer

  std::string stored;
  const SettingRule& dpi = *FindSettingRule("Scanner Settings", "ScannerDPI");
  EXPECT_EQ(CheckEntry(dpi, "3e2", stored).message(), "Scanner Horizontal DPI must be an integer between 10 and 1000.");
  ASSERT_TRUE(CheckEntry(dpi, " 300 ", stored).ok());
  EXPECT_EQ(stored, "300");
  EXPECT_EQ(CheckEntry(stretch, "nan", stored).message(),
            "Stretch Factor (1.0 typical) must be a number between 0.5 and 2.");
  ASSERT_TRUE(CheckEntry(stretch, "1", stored).ok());
  EXPECT_EQ(stored, "1.");
  ASSERT_TRUE(CheckEntry(*FindSettingRule("Midi Gen Settings", "SpeckThresholdLength"), "0.02", stored).ok());
  EXPECT_EQ(stored, "2.e-002");  // ten digits outside the presets
}

TEST(SettingsTable, SettingOneKeyChecksOnlyThatField) {
  IniProfile profile;
  // A value no dialog would accept, written by hand: another key of its dialog can still be set.
  profile.WriteProfileInt("Diagnostic Settings", "EncoderTicksToAverage", 25).Ignore();
  EXPECT_TRUE(SetSetting(profile, "Diagnostic Settings", "UseAnnFile", "1").ok());
  EXPECT_EQ(SetSetting(profile, "Scanner Settings", "ScanLightingMethod0", "3").message(),
            "Scan Illumination Method must be between 0 and 2.");
}

}  // namespace
}  // namespace tarvelo
