#pragma once
// A profile as a run reads it: every value of the settings table (settings/SettingsTable.h) is
// checked as it is read, the way the dialog that edits it checks it on OK. The profile may have
// been edited by hand or written by another program, so a value may not be a number or may lie
// outside its range:
//   - a value that is not a number (or not a finite one) reads as the key's default;
//   - a number outside its range reads as the default where the table says no sensible result
//     can come from it (the scanner geometry, clean-up and tracking thresholds), and as stored
//     otherwise;
//   - a text longer than its field reads as stored.
// Each such value gives one finding, whose message names the section, key, value and range and
// says what is used instead. Only the current scanner preset is checked: the others are not
// used by a run.

#include <set>
#include <string>
#include <vector>

#include "settings/ProfileStore.h"

namespace tarvelo {

// One value of the profile a run does not use as its dialog would have accepted it.
struct SettingFinding {
  std::string Section;
  std::string Key;
  std::string Value;    // as stored
  std::string Message;  // the warning a run reports
};

class CheckedProfile : public ProfileStore {
 public:
  // `base` must outlive this object.
  explicit CheckedProfile(const ProfileStore& base);

  int GetProfileInt(std::string_view section, std::string_view key, int default_value) const override;
  std::string GetProfileString(std::string_view section, std::string_view key,
                               std::string_view default_value) const override;
  std::optional<std::string> Find(std::string_view section, std::string_view key) const override;
  // A run's view of the profile is never written: kInvalid.
  Result WriteProfileInt(std::string_view section, std::string_view key, int value) override;
  Result WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;

  // The values found wanting so far, in the order they were read, each once.
  const std::vector<SettingFinding>& Findings() const { return findings_; }

 private:
  void Note(std::string_view section, std::string_view key, const std::string& value, const std::string& problem,
            const std::string& used) const;

  const ProfileStore& base_;
  int current_preset_ = 0;
  mutable std::vector<SettingFinding> findings_;
  mutable std::set<std::string> noted_;  // folded "section\nkey" of every finding
};

}  // namespace tarvelo
