#include "settings/SettingsFields.h"

#include "settings/SettingsTable.h"

namespace tarvelo {

namespace {

template <typename... Forms>
struct Overloaded : Forms... {
  using Forms::operator()...;
};
template <typename... Forms>
Overloaded(Forms...) -> Overloaded<Forms...>;

}  // namespace

std::string StoredFieldKey(std::string_view key, int preset_index) {
  std::string stored(key);
  if (preset_index >= 0) stored += std::to_string(preset_index);
  return stored;
}

size_t TablePosition(std::string_view section, std::string_view key) {
  const std::span<const SettingRule> table = SettingsTable();
  const SettingRule* rule = FindSettingRule(section, key);
  return rule ? static_cast<size_t>(rule - table.data()) : table.size();
}

void LoadFieldValue(const ProfileStore& store, std::string_view section, const std::string& key, FieldValue value) {
  std::visit(Overloaded{
                 [&](std::string* text) { *text = ReadSettingText(store, section, key); },
                 [&](int* number) { *number = ReadSettingInt(store, section, key); },
                 [&](bool* on) { *on = ReadSettingSwitch(store, section, key); },
                 [&](double* number) { *number = ReadSettingReal(store, section, key); },
                 [&](long long* number) { *number = ReadSettingInt(store, section, key); },
             },
             value);
}

void SaveFieldValue(ProfileWriter& writer, std::string_view section, const std::string& key, ConstFieldValue value) {
  writer.SetSection(section);
  std::visit(Overloaded{
                 [&](const std::string* text) { writer.String(key, *text); },
                 [&](const int* number) { writer.Int(key, *number); },
                 [&](const bool* on) { writer.Switch(key, *on); },
                 [&](const double* number) {
                   const SettingRule* rule = FindSettingRule(section, key);
                   writer.Real(key, *number, rule && rule->PerPreset ? 8 : 10);
                 },
                 [&](const long long* number) { writer.String(key, std::to_string(*number)); },
             },
             value);
}

void CheckFieldValue(SettingsCheck& check, std::string_view section, std::string_view key, ConstFieldValue value) {
  std::visit(Overloaded{
                 [&](const std::string* text) { check.Field(section, key, std::string_view(*text)); },
                 [&](const int* number) { check.Field(section, key, static_cast<double>(*number)); },
                 [](const bool*) {},  // a switch is on or off: nothing to refuse
                 [&](const double* number) { check.Field(section, key, *number); },
                 [&](const long long* number) { check.Field(section, key, static_cast<double>(*number)); },
             },
             value);
}

}  // namespace tarvelo
