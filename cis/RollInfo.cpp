#include "cis/RollInfo.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "cis/CisHeader.h"
#include "support/AtomicFile.h"
#include "support/TextTrim.h"
#include "support/Utf8Path.h"

namespace tarvelo {

namespace {

using R = RollInfo;

const std::array<R::Field, 24> kFields = {{
    {&R::MusicCategory, "/music_category: ", "music_category", true, 128, "MusicCategory", "Piano_Roll : Classical"},
    {&R::Title, "/title: ", "title", true, 128, nullptr, nullptr},
    {&R::Subtitle, "/subtitle: ", "subtitle", true, 128, nullptr, nullptr},
    {&R::RollType, "/roll_type: ", "roll_type", false, 32, nullptr, nullptr},
    {&R::RollManufacturer, "/roll_manufacturer: ", "roll_manufacturer", true, 64, nullptr, nullptr},
    {&R::RollClass, "/roll_class: ", "roll_class", true, 64, nullptr, nullptr},
    {&R::RollNumber, "/roll_number: ", "roll_number", true, 64, nullptr, nullptr},
    {&R::RollAuthenticity, "/roll_authenticity: ", "roll_authenticity", true, 63, nullptr, nullptr},
    {&R::Performer, "/performer: ", "performer", true, 128, nullptr, nullptr},
    {&R::Composer, "/composer: ", "composer", true, 128, nullptr, nullptr},
    {&R::Lyricist, "/lyricist: ", "lyricist", true, 128, nullptr, nullptr},
    {&R::RollTempo, "/roll_tempo: ", "roll_tempo", true, 64, nullptr, nullptr},
    {&R::SongType, "/song_type: ", "song_type", true, 63, nullptr, nullptr},
    {&R::Key, "/key: ", "key", true, 64, nullptr, nullptr},
    {&R::Meter, "/meter: ", "meter", true, 64, nullptr, nullptr},
    {&R::RollCopyright, "/roll_copyright: ", "roll_copyright", true, 128, nullptr, nullptr},
    {&R::RollDate, "/roll_date: ", "roll_date", true, 64, nullptr, nullptr},
    {&R::RollCity, "/roll_city: ", "roll_city", true, 128, nullptr, nullptr},
    {&R::ScannedBy, "/scanned_by: ", "scanned_by", true, 64, "ScannedBy", "Your Name Here"},
    {&R::DateScanned, "/date_scanned: ", "date_scanned", true, 128, "DateScanned", "Today's Date"},
    {&R::ScanningSystem, "/scanning_system: ", "scanning_system", true, 127, "ScanningSystem",
     "Type Of Scanning System"},
    {&R::PrintedImageCapture, "/printed_image_capture: ", "printed_image_capture", true, 24, "PrintedImageCapture",
     "n/a"},
    {&R::Owner, "/owner: ", "owner", true, 128, "RollOwner", "Name Of Roll Owner"},
    {&R::MiscInfo, "", "misc_info", true, 128, nullptr, nullptr},
}};

// Template entries in the order they are stored.
constexpr std::array<const char*, 6> kTemplateOrder = {"ScannedBy", "MusicCategory",  "DateScanned",
                                                       "RollOwner", "ScanningSystem", "PrintedImageCapture"};

// A file in the folder of `path` whose name equals the wanted one but for letter case;
// a name that differs only in its extension's case is preferred. Empty when there is none.
std::string FindIgnoringCase(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path wanted = PathFromUtf8(path);
  const std::string wanted_name = Utf8FromPath(wanted.filename());
  const std::string wanted_stem = Utf8FromPath(wanted.stem());
  const std::string wanted_lower = ToLowerAscii(wanted_name);
  const fs::path folder = wanted.has_parent_path() ? wanted.parent_path() : fs::path(".");

  std::vector<std::string> candidates;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = Utf8FromPath(it->path().filename());
    std::error_code type_error;
    if (ToLowerAscii(name) == wanted_lower && it->is_regular_file(type_error)) candidates.push_back(name);
  }
  if (candidates.empty()) return "";
  std::sort(candidates.begin(), candidates.end());
  const auto same_stem = std::find_if(candidates.begin(), candidates.end(), [&](const std::string& name) {
    return Utf8FromPath(PathFromUtf8(name).stem()) == wanted_stem;
  });
  const std::string& chosen = same_stem != candidates.end() ? *same_stem : candidates.front();
  return Utf8FromPath(wanted.has_parent_path() ? (folder / PathFromUtf8(chosen)) : PathFromUtf8(chosen));
}

}  // namespace

std::span<const RollInfo::Field> RollInfo::Fields() { return kFields; }

RollInfo::RollInfo(const ProfileStore& store) { LoadTemplate(store); }

void RollInfo::LoadTemplate(const ProfileStore& store) {
  for (const Field& field : kFields)
    if (field.template_key)
      this->*field.entry = store.GetProfileString(kSection, field.template_key, field.template_default);
}

Result RollInfo::SaveTemplate(ProfileStore& store) const {
  ProfileWriter writer(store, kSection);
  for (const char* key : kTemplateOrder) {
    for (const Field& field : kFields)
      if (field.template_key && std::string_view(field.template_key) == key) writer.String(key, this->*field.entry);
  }
  return writer.Outcome();
}

void RollInfo::ResetForNewFile(const CisHeader& header) {
  for (const Field& field : kFields)
    if (!field.template_key) (this->*field.entry).clear();
  SaveAsTemplate = false;
  Title = header.Title;
  RollTempo = std::to_string(header.Tempo);
}

Result RollInfo::ReadAnnFile(const std::string& path) {
  std::string text;
  if (Result read = ReadWholeFile(path, text); !read.ok()) {
    const std::string other = FindIgnoringCase(path);
    if (other.empty()) return read;
    if (Result again = ReadWholeFile(other, text); !again.ok()) return again;
  }
  ReadAnnText(text);
  return Result::Ok();
}

void RollInfo::ReadAnnText(std::string_view file_text) {
  std::string text;
  text.reserve(file_text.size());
  for (const char c : file_text)
    if (c != '\n') text.push_back(c);

  size_t start = 0;  // the remaining text begins here
  while (text.size() - start > 1) {
    const size_t end = text.find('\r', start);
    const std::string_view line =
        std::string_view(text).substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? text.size() : end + 1;
    if (line.size() <= 1) continue;

    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    // Keywords and values are trimmed of blanks only: a tab is part of the text, so
    // "/composer\t: x" names no known keyword.
    const std::string keyword = ToLowerAscii(TrimBlanks(line.substr(0, colon)));
    const std::string_view value = TrimBlanks(line.substr(colon + 1));
    for (const Field& field : kFields) {
      if (field.in_ann_file && keyword.size() == std::string_view(field.name).size() + 1 && keyword[0] == '/' &&
          keyword.compare(1, std::string::npos, field.name) == 0) {
        this->*field.entry = std::string(value);
        break;
      }
    }
  }
}

bool RollInfo::SetEntry(std::string_view name, std::string value) {
  std::string_view wanted = TrimWhiteSpace(name);
  if (!wanted.empty() && wanted.front() == '/') wanted.remove_prefix(1);
  if (!wanted.empty() && wanted.back() == ':') wanted.remove_suffix(1);
  const std::string lower = ToLowerAscii(TrimWhiteSpace(wanted));
  for (const Field& field : kFields) {
    if (lower == field.name) {
      this->*field.entry = std::move(value);
      return true;
    }
  }
  return false;
}

Result RollInfo::Validate() const {
  SettingsCheck check;
  for (const Field& field : kFields) check.Length(field.name, this->*field.entry, field.max_characters);
  return check.Outcome();
}

bool RollInfo::HoldsPlaceholder(const Field& field) const {
  if (!field.template_key || std::string_view(field.template_key) == "PrintedImageCapture") return false;
  return TrimWhiteSpace(this->*field.entry) == field.template_default;
}

std::vector<std::string> RollInfo::EmbeddedTexts(bool leave_out_placeholders) const {
  std::vector<std::string> texts;
  texts.reserve(kFields.size());
  for (const Field& field : kFields) {
    if (leave_out_placeholders && HoldsPlaceholder(field)) continue;
    texts.push_back(field.keyword + std::string(TrimWhiteSpace(this->*field.entry)));
  }
  return texts;
}

}  // namespace tarvelo
