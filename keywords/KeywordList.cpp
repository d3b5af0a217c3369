#include "keywords/KeywordList.h"

#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

// Keyword texts are trimmed of blanks (the space character) only.
std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view TrimLeadingBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

}  // namespace

int KeywordList::FindKey(std::string_view key) const {
  key = TrimTrailingBlanks(key);
  for (int i = Count() - 1; i >= 0; --i)
    if (items_[static_cast<size_t>(i)].Key == key) return i;
  return -1;
}

void KeywordList::AddKeyValue(std::string_view key, std::string_view value) {
  key = TrimTrailingBlanks(key);
  value = TrimLeadingBlanks(value);
  const int index = FindKey(key);
  if (index >= 0) {
    items_[static_cast<size_t>(index)].Value = std::string(value);
    return;
  }
  items_.push_back(KeywordItem{std::string(value), std::string(key)});
}

void KeywordList::AddText(std::string_view text) {
  text = TrimTrailingBlanks(text);
  if (text.empty()) return;
  std::string_view key = text, value;
  if (text.front() == '/') {
    const size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
      key = text.substr(0, colon + 1);
      value = text.substr(colon + 1);
    }
  }
  if (LowerAscii(key) == "/comment:") {
    key = text;
    value = {};
  }
  AddKeyValue(key, value);
}

void KeywordList::AddKeyInteger(std::string_view key, long long n, std::string_view a, std::string_view b) {
  AddKeyValue(key, FormatInt6(n) + " " + std::string(a) + " " + std::string(b));
}

void KeywordList::AddKeyReal(std::string_view key, double x, std::string_view a, std::string_view b) {
  AddKeyValue(key, FormatFixed6_3(x) + " " + std::string(a) + " " + std::string(b));
}

std::string KeywordList::ItemText(int i) const {
  if (i < 0 || i >= Count()) return {};
  const KeywordItem& item = items_[static_cast<size_t>(i)];
  return item.Key + " " + item.Value;
}

}  // namespace tarvelo
