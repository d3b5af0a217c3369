#pragma once
// The descriptive roll information embedded into every MIDI file (title, composer, roll
// maker, who scanned it, ...). Six entries form a template kept in the profile (section
// "Embedded Roll Info Settings"); the others are cleared for every newly read CIS file. An
// ANN file beside the CIS file can pre-fill the entries, and the user completes them in the
// roll information dialog of the front end.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ProfileStore.h"
#include "settings/SettingsIo.h"

namespace tarvelo {

struct CisHeader;

struct RollInfo {
  static constexpr const char* kSection = "Embedded Roll Info Settings";

  // One entry, in the order the MIDI outputs embed them.
  struct Field {
    std::string RollInfo::*entry;
    const char* keyword;           // embedded before the entry ("/title: "); "" for the misc info
    const char* name;              // the keyword's name ("title"), also the ANN keyword after "/"
    bool in_ann_file;              // recognised in ANN files (all but the roll type)
    size_t max_characters;         // the longest text the dialog accepts
    const char* template_key;      // profile key of a template entry, else nullptr
    const char* template_default;  // its default text
  };
  // The 24 entries in embedding order; the misc info is the last.
  static std::span<const Field> Fields();

  // All entries empty, the template flag clear.
  RollInfo() = default;
  // As above, then the six template entries from the profile (defaults when absent).
  explicit RollInfo(const ProfileStore& store);

  // Reads / writes the six template entries; writing fails when the profile could not store
  // them.
  void LoadTemplate(const ProfileStore& store);
  Result SaveTemplate(ProfileStore& store) const;

  // For a newly read file: every entry that is not a template entry becomes empty and the
  // template flag is cleared; then title and roll tempo (in decimal) come from `scan`.
  void ResetForNewFile(const CisHeader& header);
  void SetRollType(std::string_view name) { RollType = std::string(name); }

  // Fills entries from the ANN file at `path` ("folder/name.ann"). When no file of exactly
  // that name exists, a file in the same folder whose name differs only in letter case is
  // used, as the file would be found on a case-insensitive file system. kNotFound when there
  // is no such file, kIoError when it cannot be read: neither is an error of a conversion, and
  // the entries are left as they are.
  Result ReadAnnFile(const std::string& path);
  // Fills entries from ANN file text: lines end with carriage returns, line feeds are
  // ignored; each line "keyword: value" whose keyword (blanks removed, lower-cased) is a
  // recognised one sets that entry to the value with its blanks removed (a later line wins).
  // Blanks are the space character only. Anything else is ignored.
  void ReadAnnText(std::string_view text);

  // Sets the entry named `name` ("composer", "/composer", "Composer:", "misc_info",
  // "roll_type"; letter case and a leading "/" or trailing ":" do not matter).
  // Returns false, changing nothing, for an unknown name.
  bool SetEntry(std::string_view name, std::string value);

  // The dialog's checks: every entry within its longest text (the first too long is named).
  Result Validate() const;

  // Whether the entry of `field` still holds its template's shipped default and that default
  // is a stand-in, not a fact about the roll: "Your Name Here", "Today's Date", "Name Of Roll
  // Owner", "Type Of Scanning System" and the music category "Piano_Roll : Classical" (the
  // printed image capture's "n/a" is true of a scan and is not one). Blanks around the entry
  // do not matter.
  bool HoldsPlaceholder(const Field& field) const;

  // The texts embedded as text events, in order: each keyword followed by its entry with
  // surrounding white space removed, and lastly the misc info alone. With
  // `leave_out_placeholders` the entries that HoldsPlaceholder are not among them.
  std::vector<std::string> EmbeddedTexts(bool leave_out_placeholders = false) const;

  std::string MusicCategory;
  std::string Title;
  std::string Subtitle;
  std::string RollType;
  std::string RollManufacturer;
  std::string RollClass;
  std::string RollNumber;
  std::string RollAuthenticity;
  std::string Performer;
  std::string Composer;
  std::string Lyricist;
  std::string RollTempo;
  std::string SongType;
  std::string Key;
  std::string Meter;
  std::string RollCopyright;
  std::string RollDate;
  std::string RollCity;
  std::string ScannedBy;
  std::string DateScanned;
  std::string ScanningSystem;
  std::string PrintedImageCapture;
  std::string Owner;
  std::string MiscInfo;
  // "Save (*) Entry Values As New Default Template".
  bool SaveAsTemplate = false;
};

}  // namespace tarvelo
