#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "settings/ActiveTrackingSettings.h"
#include "settings/AudioSettings.h"
#include "settings/CheckedProfile.h"
#include "settings/DiagnosticSettings.h"
#include "settings/ERollSettings.h"
#include "settings/GeneralSettings.h"
#include "settings/IniProfile.h"
#include "settings/OutputSettings.h"
#include "settings/PictureSettings.h"
#include "settings/ScannerPresets.h"
#include "settings/SettingsFields.h"
#include "settings/SettingsTable.h"
#include "settings/TwinArraySettings.h"
#include "support/LenientNumber.h"
#include "support/NumberFormat.h"

namespace tarvelo {
namespace {

template <typename Group>
std::span<const SettingField<Group>> FieldsOf() {
  if constexpr (std::is_same_v<Group, ScannerPreset>)
    return ScannerPresets::StoredFields();
  else if constexpr (std::is_same_v<Group, ScannerSettings>)
    return ScannerPresets::EditedFields();
  else
    return Group::Fields();
}

// Whether a member of type Value can be one of Group's: the visits below skip the forms no
// member of the group has, which the compiler would otherwise see written past its end.
template <typename Value, typename Group>
constexpr bool Fits = sizeof(Value) <= sizeof(Group);

// The preset a preset's values are stored as; other groups have no index.
template <typename Group>
constexpr int kIndex = std::is_same_v<Group, ScannerPreset> || std::is_same_v<Group, ScannerSettings> ? 5 : -1;

// A number within the setting's range that is not its default, different from row to row, and
// short enough as text to read back as the same double.
double OffDefaultNumber(const SettingRule& rule, size_t row) {
  const double fallback = LenientToDouble(DefaultValue(rule));
  if (rule.Kind == SettingKind::kSwitch) return fallback != 0 ? 0 : 1;
  double value = rule.Low + (rule.High - rule.Low) * static_cast<double>(row % 7 + 2) / 10.0;
  value = rule.Kind == SettingKind::kInteger ? std::round(value) : LenientToDouble(FormatGcvt(value, 3));
  return value == fallback ? rule.High : value;
}

// Sets every field of `group` to a value that is not the default: texts spell their row.
template <typename Group>
void SetOffDefault(Group& group) {
  const auto fields = FieldsOf<Group>();
  for (size_t row = 0; row < fields.size(); ++row) {
    const SettingRule* rule = FindSettingRule(fields[row].Section, fields[row].Key);
    ASSERT_NE(rule, nullptr) << fields[row].Key;
    const double number = OffDefaultNumber(*rule, row);
    std::visit(
        [&](auto member) {
          using Value = std::decay_t<decltype(group.*member)>;
          if constexpr (Fits<Value, Group>) {
            if constexpr (std::is_same_v<Value, std::string>)
              group.*member = rule->Kind == SettingKind::kReal ? FormatGcvt(number, 8) : "text" + std::to_string(row);
            else
              group.*member = static_cast<Value>(number);
          }
        },
        fields[row].Member);
  }
}

template <typename Group>
void ExpectSameFields(const Group& expected, const Group& actual) {
  for (const SettingField<Group>& field : FieldsOf<Group>()) {
    std::visit(
        [&](auto member) {
          if constexpr (Fits<std::decay_t<decltype(actual.*member)>, Group>) {
            EXPECT_EQ(actual.*member, expected.*member) << field.Key;
          }
        },
        field.Member);
  }
}

template <typename Group>
class FieldTable : public ::testing::Test {};
using Groups =
    ::testing::Types<GeneralSettings, ERollSettings, DiagnosticSettings, ActiveTrackingSettings, TwinArraySettings,
                     OutputSettings, RollSettings, AudioSettings, PictureSettings, ScannerPreset, ScannerSettings>;
TYPED_TEST_SUITE(FieldTable, Groups);

// Every row names a setting of the table, once, in a form its member can hold.
TYPED_TEST(FieldTable, EveryRowIsASettingOfTheTableBoundOnce) {
  std::set<std::string> keys;
  for (const SettingField<TypeParam>& field : FieldsOf<TypeParam>()) {
    const SettingRule* rule = FindSettingRule(field.Section, field.Key);
    ASSERT_NE(rule, nullptr) << field.Section << "/" << field.Key;
    EXPECT_EQ(rule->PerPreset, field.Section == ScannerPresets::kSection) << field.Key;
    EXPECT_TRUE(keys.insert(FoldProfileName(field.Section) + "/" + FoldProfileName(field.Key)).second) << field.Key;
    if (std::holds_alternative<bool TypeParam::*>(field.Member)) {
      EXPECT_EQ(rule->Kind, SettingKind::kSwitch) << field.Key;
    }
    if (std::holds_alternative<double TypeParam::*>(field.Member)) {
      EXPECT_EQ(rule->Kind, SettingKind::kReal) << field.Key;
    }
    if (rule->Kind == SettingKind::kText) {
      EXPECT_TRUE(std::holds_alternative<std::string TypeParam::*>(field.Member)) << field.Key;
    }
  }
}

TYPED_TEST(FieldTable, ReadsBackWhatItSaved) {
  TypeParam saved{};
  SetOffDefault(saved);
  IniProfile profile;
  ASSERT_TRUE(SaveFields(profile, FieldsOf<TypeParam>(), saved, kIndex<TypeParam>).ok());
  const std::vector<IniProfile::Entry> entries = profile.Entries();
  ASSERT_EQ(entries.size(), FieldsOf<TypeParam>().size());
  EXPECT_EQ(entries.front().key, StoredFieldKey(FieldsOf<TypeParam>().front().Key, kIndex<TypeParam>));
  TypeParam loaded{};
  LoadFields(profile, FieldsOf<TypeParam>(), loaded, kIndex<TypeParam>);
  ExpectSameFields(saved, loaded);
  // Values the dialog accepts pass its checks; an empty profile gives the table's defaults.
  EXPECT_TRUE(CheckFields(FieldsOf<TypeParam>(), loaded).ok()) << CheckFields(FieldsOf<TypeParam>(), loaded).message();
  TypeParam defaults{};
  LoadFields(IniProfile(), FieldsOf<TypeParam>(), defaults, kIndex<TypeParam>);
  for (const SettingField<TypeParam>& field : FieldsOf<TypeParam>()) {
    const SettingRule& rule = *FindSettingRule(field.Section, field.Key);
    std::visit(
        [&](auto member) {
          using Value = std::decay_t<decltype(defaults.*member)>;
          const std::string expected = DefaultValue(rule, std::max(0, kIndex<TypeParam>));
          if constexpr (std::is_same_v<Value, std::string> && Fits<Value, TypeParam>) {
            EXPECT_EQ(defaults.*member, expected) << field.Key;
          } else if constexpr (!std::is_same_v<Value, std::string>) {
            EXPECT_EQ(static_cast<double>(defaults.*member), LenientToDouble(expected)) << field.Key;
          }
        },
        field.Member);
  }
}

// Each setting of the table is bound by exactly one group (the current preset's index is the
// presets' own), so that none is left out of a Load or a Save.
TEST(FieldTables, BindEverySettingOfTheTable) {
  std::multiset<std::string> bound;
  const auto add = [&bound](const auto& fields) {
    for (const auto& field : fields) bound.insert(std::string(field.Section) + "/" + std::string(field.Key));
  };
  add(GeneralSettings::Fields());
  add(ERollSettings::Fields());
  add(DiagnosticSettings::Fields());
  add(ActiveTrackingSettings::Fields());
  add(TwinArraySettings::Fields());
  add(OutputSettings::Fields());
  add(RollSettings::Fields());
  add(AudioSettings::Fields());
  add(PictureSettings::Fields());
  add(ScannerPresets::StoredFields());
  for (const SettingRule& rule : SettingsTable()) {
    const std::string name = std::string(rule.Section) + "/" + std::string(rule.Key);
    EXPECT_EQ(bound.count(name), rule.Key == "CurrentPreset" ? 0U : 1U) << name;
  }
}

TEST(FieldTables, ARefusalCarriesTheKeyOfItsSetting) {
  GeneralSettings general{};
  SetOffDefault(general);
  general.SpeckThresholdWidthPct = 0;
  const Result refused = general.Validate();
  EXPECT_EQ(refused.kind(), Result::Kind::kInvalid);
  EXPECT_EQ(refused.key(), "SpeckThresholdWidthPct");
  EXPECT_EQ(refused.message(), "Remove as speck if width less than (percent of track) must be between 1 and 100.");
  // Refused for two reasons: the field that stands first in the dialog is named.
  general.MidiCopyrightInfoString = std::string(128, 'c');
  EXPECT_EQ(general.Validate().key(), "MidiCopyrightInfoString");
  general.ScanMidiFileSuffix = "../up";
  EXPECT_EQ(general.Validate().key(), "ScanMidiFileSuffix");

  DiagnosticSettings diagnostic{};
  SetOffDefault(diagnostic);
  diagnostic.EncoderTicksToAverage = 21;
  EXPECT_EQ(diagnostic.Validate().key(), "EncoderTicksToAverage");

  // A preset field is named without the preset's index, as the dialog names its field.
  ScannerSettings edit{};
  SetOffDefault(edit);
  EXPECT_TRUE(ValidatePresetEdit(edit).ok());
  edit.ScannerAlignStretch = std::nan("");
  EXPECT_EQ(ValidatePresetEdit(edit).key(), "ScannerAlignStretch");
  edit.ScannerDPI = 5'000'000'000LL;  // wider than the profile's integers
  EXPECT_EQ(ValidatePresetEdit(edit).key(), "ScannerDPI");
  EXPECT_TRUE(Result::Ok().key().empty());
}

// Values of a hand-edited profile are found wanting in the dialog's order, whatever order the
// group saves them in.
TEST(FieldTables, LoadsInTheTablesOrder) {
  IniProfile profile;
  profile.WriteProfileInt(TwinArraySettings::kSection, "BlendWidthInThousandths", 500).Ignore();
  profile.WriteProfileString(TwinArraySettings::kSection, "DisableTwinArrayProcessing", "yes").Ignore();
  profile.WriteProfileInt(GeneralSettings::kSection, "SpeckThresholdWidthPct", 500).Ignore();
  profile.WriteProfileString(GeneralSettings::kSection, "MidiCopyrightInfoString", std::string(200, 'c')).Ignore();
  const CheckedProfile checked(profile);
  const TwinArraySettings twin_array(checked);
  const GeneralSettings general(checked);
  std::vector<std::string> keys;
  for (const SettingFinding& finding : checked.Findings()) keys.push_back(finding.Key);
  EXPECT_EQ(keys, (std::vector<std::string>{"DisableTwinArrayProcessing", "BlendWidthInThousandths",
                                            "MidiCopyrightInfoString", "SpeckThresholdWidthPct"}));
  EXPECT_FALSE(twin_array.DisableTwinArrayProcessing);
  EXPECT_EQ(general.SpeckThresholdWidthPct, 15);
}

TEST(FieldTables, SavesOneSwitchAlone) {
  IniProfile profile;
  OutputSettings outputs;
  outputs.eRollMidi = false;
  ASSERT_TRUE(outputs.SaveERollMidi(profile).ok());
  ASSERT_EQ(profile.Entries().size(), 1U);
  EXPECT_EQ(profile.Entries()[0].key, "eRollMidi");
  EXPECT_EQ(profile.Entries()[0].value, "0");
}

}  // namespace
}  // namespace tarvelo
