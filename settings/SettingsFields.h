#pragma once
// A settings group's fields, each declared once: a row names a setting of the table
// (settings/SettingsTable.h) by its section and key and binds it to the member of the group that
// holds it. The table supplies the rest (form, default, range, label), so one piece of code
// reads, writes and checks any group from its rows:
//   - LoadFields reads the rows in the table's order (the order of the dialog's fields, which
//     the findings of a checked profile follow), each with the table's default when absent;
//   - SaveFields writes them in the rows' own order, the order the profile has always held them
//     in (reals as their 10-digit _gcvt text, 8 digits for a scanner preset);
//   - CheckFields makes the dialog's checks on OK in the table's order; the first refusal names
//     its field and carries the key (Result::key()).
// A scanner preset's rows hold the key without its index; the functions take the index.

#include <algorithm>
#include <numeric>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "settings/ProfileStore.h"
#include "settings/SettingsIo.h"
#include "support/Result.h"

namespace tarvelo {

// The member of `Group` a field binds, of one of the forms settings are held in.
template <typename Group>
using FieldMember =
    std::variant<std::string Group::*, int Group::*, bool Group::*, double Group::*, long long Group::*>;

template <typename Group>
struct SettingField {
  std::string_view Section;
  std::string_view Key;  // a scanner preset key without its index
  FieldMember<Group> Member;
};

// A group's member as the code below reads and writes it.
using FieldValue = std::variant<std::string*, int*, bool*, double*, long long*>;
using ConstFieldValue = std::variant<const std::string*, const int*, const bool*, const double*, const long long*>;

// The key a field is stored under: `key` followed by the preset's index, or `key` alone when
// `preset_index` is negative.
std::string StoredFieldKey(std::string_view key, int preset_index);
// Where the setting stands in the table; past its end for a key the table does not know.
size_t TablePosition(std::string_view section, std::string_view key);

void LoadFieldValue(const ProfileStore& store, std::string_view section, const std::string& key, FieldValue value);
void SaveFieldValue(ProfileWriter& writer, std::string_view section, const std::string& key, ConstFieldValue value);
void CheckFieldValue(SettingsCheck& check, std::string_view section, std::string_view key, ConstFieldValue value);

namespace fields_detail {

template <typename Group>
FieldValue Bind(const FieldMember<Group>& member, Group& group) {
  return std::visit([&group](auto pointer) -> FieldValue { return &(group.*pointer); }, member);
}

template <typename Group>
ConstFieldValue Bind(const FieldMember<Group>& member, const Group& group) {
  return std::visit([&group](auto pointer) -> ConstFieldValue { return &(group.*pointer); }, member);
}

// The rows' indexes in the table's order (rows the table does not know last, as listed).
template <typename Group>
std::vector<size_t> TableOrder(std::span<const SettingField<Group>> fields) {
  std::vector<size_t> positions(fields.size());
  for (size_t row = 0; row < fields.size(); ++row) positions[row] = TablePosition(fields[row].Section, fields[row].Key);
  std::vector<size_t> order(fields.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&positions](size_t a, size_t b) { return positions[a] < positions[b]; });
  return order;
}

}  // namespace fields_detail

// Reads every field of `group` from `store` (the values of preset `preset_index` for a preset).
template <typename Group>
void LoadFields(const ProfileStore& store, std::type_identity_t<std::span<const SettingField<Group>>> fields,
                Group& group, int preset_index = -1) {
  for (const size_t row : fields_detail::TableOrder(fields)) {
    const SettingField<Group>& field = fields[row];
    LoadFieldValue(store, field.Section, StoredFieldKey(field.Key, preset_index),
                   fields_detail::Bind(field.Member, group));
  }
}

// Writes every field of `group` into `store`; the first failure, or ok.
template <typename Group>
Result SaveFields(ProfileStore& store, std::type_identity_t<std::span<const SettingField<Group>>> fields,
                  const Group& group, int preset_index = -1) {
  ProfileWriter writer(store, fields.empty() ? std::string_view() : fields.front().Section);
  for (const SettingField<Group>& field : fields) {
    SaveFieldValue(writer, field.Section, StoredFieldKey(field.Key, preset_index),
                   fields_detail::Bind(field.Member, group));
  }
  return writer.Outcome();
}

// Writes the one field that binds `member` (a switch the user clicks is stored at once).
template <typename Group, typename Value>
Result SaveField(ProfileStore& store, std::type_identity_t<std::span<const SettingField<Group>>> fields,
                 const Group& group, Value Group::*member) {
  const auto row = std::find_if(fields.begin(), fields.end(), [member](const SettingField<Group>& field) {
    return field.Member == FieldMember<Group>(member);
  });
  if (row == fields.end()) return Result::Invalid("no setting holds this value");
  return SaveFields<Group>(store, std::span<const SettingField<Group>>(&*row, 1), group);
}

// The checks of the dialog that edits the group: ok, or the first refusal.
template <typename Group>
Result CheckFields(std::type_identity_t<std::span<const SettingField<Group>>> fields, const Group& group) {
  SettingsCheck check;
  for (const size_t row : fields_detail::TableOrder(fields)) {
    const SettingField<Group>& field = fields[row];
    CheckFieldValue(check, field.Section, field.Key, fields_detail::Bind(field.Member, group));
  }
  return check.Outcome();
}

}  // namespace tarvelo
