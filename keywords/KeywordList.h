#pragma once
// The ordered list of keyword items ("/key: value") that every MIDI output embeds as text
// events. A key occurs at most once: adding an item whose key is present replaces that
// item's value in place, so the order is the order of first insertion.

#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {

struct KeywordItem {
  std::string Value;  // everything after the key, leading blanks removed
  std::string Key;    // the keyword with its colon, trailing blanks removed (case-sensitive)
};

class KeywordList {
 public:
  void Clear() { items_.clear(); }
  int Count() const { return static_cast<int>(items_.size()); }

  // Index of the last item whose key equals `key` (trailing blanks ignored), or -1.
  int FindKey(std::string_view key) const;
  void AddKeyValue(std::string_view key, std::string_view value);
  // Splits "/key: value" at the first colon; texts without a leading "/" are all key, and
  // every distinct "/comment:" text is an item of its own.
  void AddText(std::string_view text);
  // value = "%6i" of n, " ", a, " ", b.
  void AddKeyInteger(std::string_view key, long long n, std::string_view a = "", std::string_view b = "");
  // value = "%6.3f" of x, " ", a, " ", b.
  void AddKeyReal(std::string_view key, double x, std::string_view a = "", std::string_view b = "");

  // key + " " + value of item i; empty when i is out of range.
  std::string ItemText(int i) const;
  const std::vector<KeywordItem>& Items() const { return items_; }

 private:
  std::vector<KeywordItem> items_;
};

}  // namespace tarvelo
