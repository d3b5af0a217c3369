#include "settings/IniProfile.h"

#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "support/AtomicFile.h"
#include "support/FileLock.h"
#include "support/LenientNumber.h"
#include "support/NativeFile.h"
#include "support/ProcessEnvironment.h"
#include "support/StopRequest.h"
#include "support/TextTrim.h"
#include "support/Utf8Path.h"

namespace tarvelo {

std::string FoldProfileName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

bool SameProfileName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Quote(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (u < 0x20 || u == 0x7F) {
          out += "\\x";
          out += kHex[u >> 4];
          out += kHex[u & 15];
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

// Decodes a quoted value; false when the quoting is broken.
bool Unquote(std::string_view text, std::string& out) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
  out.clear();
  for (size_t i = 1; i + 1 < text.size(); ++i) {
    char c = text[i];
    if (c == '"') return false;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (i + 2 >= text.size()) return false;  // a backslash just before the closing quote
    c = text[++i];
    switch (c) {
      case '\\':
        out += '\\';
        break;
      case '"':
        out += '"';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'x': {
        if (i + 3 >= text.size()) return false;
        const int high = HexDigit(text[i + 1]), low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

}  // namespace

IniProfile::IniProfile() { sections_.push_back(Section{}); }

IniProfile::IniProfile(std::string path) : path_(std::move(path)) {
  sections_.push_back(Section{});
  std::error_code ec;
  if (!std::filesystem::exists(PathFromUtf8(path_), ec)) return;
  std::string text;
  if (const Result read = ReadWholeFile(path_, text, kMaxProfileBytes); !read.ok()) {
    problems_.push_back(read.message() + "; none of its values is used");
    return;
  }
  LoadFromText(text);
}

void IniProfile::LoadFromText(std::string_view text) { ParseText(text, sections_, &problems_); }

void IniProfile::ParseText(std::string_view text, std::vector<Section>& sections, std::vector<std::string>* problems) {
  sections.clear();
  sections.push_back(Section{});
  // A UTF-8 byte order mark (which some editors put first) is not part of the first line.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  // Each section's keys (folded) with the index and the line number of the line that holds
  // each, so that a repeated key is found at once however many keys the section holds.
  struct KeyLine {
    size_t index = 0;
    size_t line_number = 0;
  };
  std::vector<std::unordered_map<std::string, KeyLine>> keys_of(1);
  bool dropped_any = false;
  size_t line_number = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    // Lines end in LF, CR LF or a CR alone (as old Mac editors wrote them).
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view raw = text.substr(pos, end - pos);
    pos = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
    ++line_number;
    // Nor is a mark at the start of any other line: an editor that adds one to a file that has
    // one leaves two, and files joined together carry theirs into the middle. Each line is read
    // alike wherever it stands, so a save, which leaves out replaced lines, cannot move a mark
    // to the start of the file and change what the line after it means.
    std::string_view line = TrimWhiteSpace(raw);
    while (line.starts_with(kByteOrderMark)) line = TrimWhiteSpace(line.substr(kByteOrderMark.size()));
    Section& current = sections.back();
    auto report = [&](const std::string& why) {
      if (problems) problems->push_back("line " + std::to_string(line_number) + ": " + why);
    };
    auto keep_raw = [&](const std::string& why) {
      Line kept;
      kept.kind = Line::kRaw;
      kept.raw = std::string(raw);
      current.lines.push_back(std::move(kept));
      if (!why.empty()) report(why);
    };
    if (line.empty() || line.front() == ';' || line.front() == '#') {
      keep_raw("");
      continue;
    }
    if (line.front() == '[') {
      const std::string_view name = line.back() == ']' ? TrimWhiteSpace(line.substr(1, line.size() - 2)) : "";
      if (name.empty()) {
        keep_raw("a section header must read [Name]; the line is not used");
        continue;
      }
      sections.push_back(Section{std::string(name), {}});
      keys_of.emplace_back();
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || TrimWhiteSpace(line.substr(0, equals)).empty()) {
      keep_raw("not a Key=Value line; it is not used");
      continue;
    }
    Line entry;
    entry.key = std::string(TrimWhiteSpace(line.substr(0, equals)));
    const std::string_view value = TrimWhiteSpace(line.substr(equals + 1));
    if (!value.empty() && value.front() == '"') {
      if (!Unquote(value, entry.value)) {
        keep_raw("the quoted value of " + entry.key + " is not closed properly; the line is not used");
        continue;
      }
      entry.is_text = true;
    }
    if (!entry.is_text) entry.value = std::string(value);
    if (current.name.empty()) report(entry.key + " stands before any [Section] header; the line is not used");
    // A later line for the same key replaces the earlier one.
    const std::string folded = FoldProfileName(entry.key);
    auto& keys = keys_of.back();
    const KeyLine here{current.lines.size(), line_number};
    if (const auto earlier = keys.find(folded); earlier != keys.end()) {
      current.lines[earlier->second.index].dropped = true;
      dropped_any = true;
      report(entry.key + " is given again (earlier on line " + std::to_string(earlier->second.line_number) +
             "); this later value is used");
      earlier->second = here;
    } else {
      keys.emplace(folded, here);
    }
    current.lines.push_back(std::move(entry));
  }
  if (!dropped_any) return;
  for (Section& section : sections) std::erase_if(section.lines, [](const Line& line) { return line.dropped; });
}

const IniProfile::Line* IniProfile::FindLine(std::string_view section, std::string_view key) const {
  // Sections may appear more than once in a hand-edited file; the last one wins.
  for (auto s = sections_.rbegin(); s != sections_.rend(); ++s) {
    if (!SameProfileName(s->name, section) || s->name.empty()) continue;
    for (const Line& line : s->lines)
      if (line.kind == Line::kValue && SameProfileName(line.key, key)) return &line;
  }
  return nullptr;
}

std::optional<std::string> IniProfile::Find(std::string_view section, std::string_view key) const {
  const Line* line = FindLine(section, key);
  if (!line) return std::nullopt;
  return line->value;
}

int IniProfile::GetProfileInt(std::string_view section, std::string_view key, int default_value) const {
  const Line* line = FindLine(section, key);
  int value = 0;
  if (!line || !ParseStrictInt(line->value, value)) return default_value;
  return value;
}

std::string IniProfile::GetProfileString(std::string_view section, std::string_view key,
                                         std::string_view default_value) const {
  const Line* line = FindLine(section, key);
  return line ? line->value : std::string(default_value);
}

Result IniProfile::WriteProfileInt(std::string_view section, std::string_view key, int value) {
  return Store(section, key, std::to_string(value), false);
}

Result IniProfile::WriteProfileString(std::string_view section, std::string_view key, std::string_view value) {
  return Store(section, key, std::string(value), true);
}

Result IniProfile::Store(std::string_view section, std::string_view key, std::string value, bool is_text) {
  if (path_.empty()) {
    SetValue(section, key, std::move(value), is_text);
    return Result::Ok();
  }
  // The profile is read, changed and written back under the lock, so that a change another
  // process made since this profile was loaded is kept. Whatever fails, this profile holds the
  // new value for the rest of the session.
  std::error_code ec;
  const std::filesystem::path folder = PathFromUtf8(path_).parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
    std::filesystem::create_directories(folder, ec);
    if (ec) {
      SetValue(section, key, std::move(value), is_text);
      return SaveFailure(Result::IoError("cannot create the folder " + Utf8FromPath(folder) + ": " + ec.message()));
    }
  }
  // The lock belongs to the file itself: a profile named through a link and by its own name
  // takes one lock.
  std::string target;
  bool streamed = false;
  if (!ResolveLinks(path_, target, streamed)) target = path_;
  const FileLock lock(target + ".lock");
  if (!lock.Outcome().ok()) {
    SetValue(section, key, std::move(value), is_text);
    return SaveFailure(lock.Outcome());
  }
  // A request to stop that came while the lock was awaited means: write nothing.
  if (StopRequested() != 0) {
    SetValue(section, key, std::move(value), is_text);
    return SaveFailure(Result::Cancelled("stopped before the change was written"));
  }
  std::string text;
  const Result read = ReadWholeFile(path_, text, kMaxProfileBytes);
  if (read.ok()) {
    std::vector<Section> current;
    ParseText(text, current, nullptr);  // its problems were reported when it was loaded
    sections_ = std::move(current);
  } else if (read.kind() != Result::Kind::kNotFound) {
    // Writing without the file's present contents could lose another process's changes.
    SetValue(section, key, std::move(value), is_text);
    return SaveFailure(read);
  }
  SetValue(section, key, std::move(value), is_text);
  if (Result written = WriteFileAtomically(path_, ToText()); !written.ok()) return SaveFailure(written);
  return Result::Ok();
}

void IniProfile::SetValue(std::string_view section, std::string_view key, std::string value, bool is_text) {
  Section* target = nullptr;
  for (auto s = sections_.rbegin(); s != sections_.rend() && !target; ++s)
    if (!s->name.empty() && SameProfileName(s->name, section)) target = &*s;
  if (!target) {
    sections_.push_back(Section{std::string(section), {}});
    target = &sections_.back();
  }
  Line* line = nullptr;
  for (Line& l : target->lines)
    if (l.kind == Line::kValue && SameProfileName(l.key, key)) line = &l;
  if (!line) {
    target->lines.push_back(Line{});
    line = &target->lines.back();
    line->key = std::string(key);
  }
  line->value = std::move(value);
  line->is_text = is_text;
}

Result IniProfile::SaveFailure(const Result& failure) {
  // The underlying message names the file (or its folder or lock file) and the system's reason.
  const std::string message = "the profile " + path_ + " could not be saved: " + failure.message();
  Result reported = failure.kind() == Result::Kind::kCancelled ? Result::Cancelled(message) : Result::IoError(message);
  problems_.push_back(reported.message());
  return reported;
}

std::string IniProfile::ToText() const {
  std::string text;
  for (const Section& s : sections_) {
    if (!s.name.empty()) text += "[" + s.name + "]\n";
    for (const Line& line : s.lines) {
      if (line.kind == Line::kRaw)
        text += line.raw;
      else
        text += line.key + "=" + (line.is_text ? Quote(line.value) : line.value);
      text += '\n';
    }
  }
  return text;
}

std::vector<IniProfile::Entry> IniProfile::Entries() const {
  std::vector<Entry> entries;
  for (const Section& s : sections_) {
    if (s.name.empty()) continue;
    for (const Line& line : s.lines)
      if (line.kind == Line::kValue) entries.push_back(Entry{s.name, line.key, line.value, line.is_text});
  }
  return entries;
}

std::string DefaultProfilePath() {
  if (const auto explicit_path = EnvironmentValue("TARVELO_PROFILE"); explicit_path && !explicit_path->empty())
    return *explicit_path;
  std::string base;
  if (const auto xdg = EnvironmentValue("XDG_CONFIG_HOME"); xdg && !xdg->empty()) {
    base = *xdg;
  } else if (const auto home = EnvironmentValue("HOME"); home && !home->empty()) {
    base = *home + "/.config";
  } else {
    base = ".";
  }
  return base + "/Quenby_Software/Tarvelo.ini";
}

}  // namespace tarvelo
