#pragma once
// A profile kept in an INI file (or only in memory when no path is given).
//
// File form: "[Section]" lines, then "Key=Value" lines. Integers are written as plain
// decimal digits; strings are written in double quotes with backslash escapes
// (\\ \" \n \r \t and \xHH for other control bytes), so that any text, with leading or
// trailing blanks, '=', ';', '#' or non-ASCII bytes, reads back exactly. An unquoted value
// is taken as written. Lines starting with ';' or '#' are comments.
//
// Lines that cannot be understood are reported by Problems() and kept verbatim when the
// file is saved again, so nothing a user wrote by hand is lost.
//
// Every write is a read-modify-write of the file under an advisory lock (support/FileLock.h,
// the lock file is the profile's path + ".lock"): the file is read again as it is now, the one
// value changed and the file replaced through a temporary file and a rename. Two processes
// that change different keys at once therefore both keep their change, and after a write this
// profile holds what the file holds. The replacement keeps the file's permissions; a
// read-only profile is never replaced. A write that fails keeps the value in memory and
// returns (and lists in Problems) "the profile <path> could not be saved: " and the reason.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/ProfileStore.h"

namespace tarvelo {

// The largest profile file read: a profile holds some thousand lines of a few dozen bytes; a
// larger file is not a profile, and is neither read nor replaced (a write fails).
inline constexpr size_t kMaxProfileBytes = 1024 * 1024;

class IniProfile : public ProfileStore {
 public:
  // An empty profile held in memory only; writes always succeed.
  IniProfile();
  // Loads `path` if it exists (a missing file is an empty profile); writes save to it.
  explicit IniProfile(std::string path);

  int GetProfileInt(std::string_view section, std::string_view key, int default_value) const override;
  std::string GetProfileString(std::string_view section, std::string_view key,
                               std::string_view default_value) const override;
  Result WriteProfileInt(std::string_view section, std::string_view key, int value) override;
  Result WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;

  std::optional<std::string> Find(std::string_view section, std::string_view key) const override;

  struct Entry {
    std::string section;
    std::string key;
    std::string value;     // decoded text
    bool is_text = false;  // stored as a quoted string
  };
  // Every readable entry in file order.
  std::vector<Entry> Entries() const;

  const std::string& Path() const { return path_; }
  // Problems met while loading or saving, in order ("line 7: ...", "cannot write ...").
  const std::vector<std::string>& Problems() const { return problems_; }

  // Parses INI text; exposed for tests and the fuzz target.
  void LoadFromText(std::string_view text);
  // The file text the profile would be saved as.
  std::string ToText() const;

 private:
  struct Line {
    enum Kind { kValue, kRaw } kind = kValue;
    std::string key;    // original spelling
    std::string value;  // decoded
    bool is_text = false;
    std::string raw;       // kRaw: the line as found
    bool dropped = false;  // while parsing: a later line of the same key replaces this one
  };
  struct Section {
    std::string name;  // original spelling
    std::vector<Line> lines;
  };

  // Parses INI text into `sections`, adding what cannot be understood to `problems` (if given).
  static void ParseText(std::string_view text, std::vector<Section>& sections, std::vector<std::string>* problems);
  const Line* FindLine(std::string_view section, std::string_view key) const;
  // Writes one value: into memory, and for a profile with a path, into the file as it is now.
  Result Store(std::string_view section, std::string_view key, std::string value, bool is_text);
  void SetValue(std::string_view section, std::string_view key, std::string value, bool is_text);
  // Keeps and returns a failure to save as "the profile <path> could not be saved: ...".
  Result SaveFailure(const Result& failure);

  std::string path_;
  std::vector<Section> sections_;  // sections_[0] holds lines before any header (name "")
  std::vector<std::string> problems_;
};

// Where the profile lives: $TARVELO_PROFILE if set, else
// $XDG_CONFIG_HOME/Quenby_Software/Tarvelo.ini, with ~/.config when XDG_CONFIG_HOME is unset.
std::string DefaultProfilePath();

}  // namespace tarvelo
