#include "xml/XmlDocument.h"

#include <cstring>
#include <limits>

namespace tarvelo {

namespace {

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsDelimiter(char c) {
  return IsWhite(c) || c == '<' || c == '>' || c == '=' || c == '\\' || c == '/' || c == '?' || c == '!';
}

// Positions are 32-bit; longer texts are refused.
constexpr size_t kMaxTextLength = static_cast<size_t>(std::numeric_limits<int32_t>::max()) - 16;

}  // namespace

XmlDocument::XmlDocument() { SetDocument(nullptr).Ignore(); }

int32_t XmlDocument::NextChar(int32_t index) const {
  const auto lead = static_cast<unsigned char>(At(index));
  int length = 1;
  if (lead >= 0xF0 && lead < 0xF8)
    length = 4;
  else if (lead >= 0xE0 && lead < 0xF0)
    length = 3;
  else if (lead >= 0xC0 && lead < 0xE0)
    length = 2;
  for (int k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(At(index + k)) & 0xC0) != 0x80) return index + 1;
  }
  return index + length;
}

Result XmlDocument::SetDocument(const char* text) {
  return SetDocument(text ? std::string_view(text) : std::string_view());
}

Result XmlDocument::SetDocument(std::string_view text) {
  next_free_ = 1;
  ResetPosition();
  error_.clear();
  // The text is a C string: it ends at its first NUL byte.
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  if (text.size() > kMaxTextLength) {
    text_.clear();
    error_ = "Document too large";
  } else {
    text_.assign(text);
  }

  const size_t wanted = text_.size() / 64 + 8;
  if (positions_.size() < wanted) positions_.resize(wanted);

  if (!text_.empty()) {
    positions_[0] = ElementPosition{};
    const int32_t top = ParseElement(0, 1);
    if (top > 0) {
      positions_[0].firstChild = top;
      ResetPosition();
      return Result::Ok();
    }
  }
  positions_[0] = ElementPosition{};
  next_free_ = 1;
  ResetPosition();
  return Result::Corrupt(error_.empty() ? std::string("the document holds no element") : error_);
}

void XmlDocument::ResetPosition() {
  parent_ = current_ = child_ = 0;
  node_type_ = 0;
}

void XmlDocument::ResetMainPosition() {
  current_ = child_ = 0;
  node_type_ = 0;
}

int32_t XmlDocument::AllocPosition() {
  if (static_cast<size_t>(next_free_) >= positions_.size()) {
    const size_t size = positions_.size();
    positions_.resize(size + size / 2 + (size < 2 ? 2 : 0));
  }
  positions_[static_cast<size_t>(next_free_)] = ElementPosition{};
  return next_free_++;
}

void XmlDocument::FreeLastPosition() {
  if (next_free_ > 1) --next_free_;
}

int32_t XmlDocument::Fail(const char* message, std::string_view name) {
  error_ = message;
  const size_t at = error_.find("%s");
  if (at != std::string::npos) error_.replace(at, 2, name);
  FreeLastPosition();
  return -1;
}

int32_t XmlDocument::ParseElement(int32_t parent_index, int depth) {
  const int32_t index = AllocPosition();
  // `positions_` may grow in the recursive calls below: always index, never hold references.
  auto pos = [this](int32_t i) -> ElementPosition& { return positions_[static_cast<size_t>(i)]; };
  pos(index).startTagBegin = pos(parent_index).endTagBegin;
  pos(index).parent = parent_index;
  pos(index).firstChild = pos(index).nextSibling = 0;

  XmlToken token;
  token.next = pos(parent_index).endTagBegin;
  std::string_view name;
  while (name.empty()) {
    int32_t lt = token.next;
    if (!ScanToChar(lt, '<')) return Fail("Element tag not found");
    pos(index).startTagBegin = lt;
    pos(parent_index).endTagBegin = lt;
    token.next = lt + 1;
    if (!NextToken(token)) return Fail("Abrupt end within tag");
    if (token.quoted) return Fail("Tag starts with quote");
    const char first = At(token.tokenBegin);
    if (first == '!' || first == '?') {
      token.next = lt;
      const int kind = SkipNode(token);
      // A step that does not move past the "<" (for example "< !--", which reads as an
      // element at the "<") would be taken again for ever: refuse it.
      if (kind == 0 || token.next <= lt) return Fail("Invalid node");
      continue;
    }
    if (first == '/') {
      // The end tag of the parent: no further child.
      FreeLastPosition();
      return 0;
    }
    int32_t end = token.tokenEnd;
    if (static_cast<size_t>(end) >= text_.size()) end = static_cast<int32_t>(text_.size()) - 1;
    name = std::string_view(text_).substr(static_cast<size_t>(token.tokenBegin),
                                          static_cast<size_t>(end - token.tokenBegin + 1));
  }
  if (depth > kMaxNestingDepth) return Fail("Elements nested too deeply");

  int32_t gt = token.next;
  if (!ScanToChar(gt, '>')) return Fail("End of tag not found");
  pos(index).startTagEnd = gt;
  if (At(gt - 1) == '/') {
    pos(index).endTagBegin = gt - 1;
    pos(index).endTagEnd = gt;
    return index;
  }

  pos(index).endTagBegin = gt + 1;
  int32_t last_child = 0;
  for (;;) {
    const int32_t child = ParseElement(index, depth + 1);
    if (child < 0) return -1;
    if (child == 0) break;
    if (last_child == 0)
      pos(index).firstChild = child;
    else
      pos(last_child).nextSibling = child;
    last_child = child;
    pos(index).endTagBegin = pos(child).endTagEnd + 1;
  }

  int32_t lt = pos(index).endTagBegin;
  if (!ScanToChar(lt, '<')) return Fail("End tag of %s element not found", name);
  pos(index).endTagBegin = lt;

  token = XmlToken{};
  token.next = lt + 1;
  int count = 0;
  bool closed = false;
  while (NextToken(token)) {
    ++count;
    if (token.quoted) continue;
    const char first = At(token.tokenBegin);
    if (count == 1 && first != '/') return Fail("Expecting end tag of element %s", name);
    if (count == 2 && !TokenMatches(token, name)) return Fail("End tag does not correspond to %s", name);
    if (first == '>') {
      closed = true;
      break;
    }
  }
  if (!closed || count < 2) return Fail("End tag not completed for element %s", name);
  pos(index).endTagEnd = token.tokenBegin;
  return index;
}

int XmlDocument::SkipNode(XmlToken& token) const {
  const int32_t at = token.next;
  if (At(at) != '<') {
    int32_t i = at;
    while (IsWhite(At(i))) ++i;
    if (At(i) == '\0') return 0;
    if (At(i) == '<') return 4;
    ScanToChar(i, '<');
    token.next = i;
    return 2;
  }
  if (At(at + 1) == '\0' || At(at + 2) == '\0') return 0;

  const auto find_from = [this](int32_t from, const char* what) -> int32_t {
    const size_t found = text_.find(what, static_cast<size_t>(from));
    return found == std::string::npos ? -1 : static_cast<int32_t>(found);
  };
  const char second = At(at + 1);
  if (second == '?') {
    const int32_t end = find_from(at, "?>");
    if (end < 0) return 0;
    token.next = end + 2;
    return 16;
  }
  if (second == '!' && At(at + 2) == '-') {
    const int32_t end = find_from(at, "-->");
    if (end < 0) return 0;
    token.next = end + 3;
    return 32;
  }
  if (second == '!' && At(at + 2) == '[') {
    const int32_t end = find_from(at, "]]>");
    if (end < 0) return 0;
    token.next = end + 3;
    return 8;
  }
  if (second == '!') {
    // A declaration, possibly with an internal subset in brackets.
    XmlToken scan;
    scan.next = at + 2;
    int depth = 0;
    while (NextToken(scan)) {
      if (scan.quoted) continue;
      const char first = At(scan.tokenBegin);
      if (first == '[')
        ++depth;
      else if (first == ']')
        --depth;
      else if (first == '>' && depth == 0) {
        token.next = scan.next;
        return 64;
      }
    }
    return 0;
  }
  if (second == '/') return 0;
  return 1;
}

bool XmlDocument::ScanToChar(int32_t& index, char c) const {
  while (At(index) != '\0' && At(index) != c) index = NextChar(index);
  return At(index) == c && c != '\0';
}

bool XmlDocument::SkipSpaces(int32_t& index) const {
  while (IsWhite(At(index)) && At(index + 1) != '\0') index = NextChar(index);
  return At(index) != '\0';
}

bool XmlDocument::NextToken(XmlToken& token) const {
  int32_t i = token.next;
  while (IsWhite(At(i))) ++i;
  token.quoted = false;
  if (At(i) == '\0') {
    token.tokenBegin = token.tokenEnd = token.next = i;
    return false;
  }
  const char c = At(i);
  if (c == '"' || c == '\'') {
    int32_t j = i + 1;
    while (At(j) != '\0' && At(j) != c) j = NextChar(j);
    token.tokenBegin = i + 1;
    token.tokenEnd = j - 1;
    token.next = At(j) == c ? j + 1 : j;
    token.quoted = true;
  } else if (IsDelimiter(c)) {
    token.tokenBegin = token.tokenEnd = i;
    token.next = i + 1;
  } else {
    int32_t j = i;
    while (At(j) != '\0' && !IsDelimiter(At(j))) j = NextChar(j);
    token.tokenBegin = i;
    token.tokenEnd = j - 1;
    token.next = j;
  }
  return true;
}

bool XmlDocument::TokenMatches(const XmlToken& token, std::string_view name) const {
  const int32_t length = token.tokenEnd - token.tokenBegin + 1;
  if (length < 0 || static_cast<size_t>(length) > name.size()) return false;
  if (static_cast<size_t>(token.tokenBegin) + static_cast<size_t>(length) > text_.size()) return false;
  if (text_.compare(static_cast<size_t>(token.tokenBegin), static_cast<size_t>(length), name.data(),
                    static_cast<size_t>(length)) != 0)
    return false;
  if (static_cast<size_t>(length) == name.size()) return true;
  const char after = name[static_cast<size_t>(length)];
  return after == ' ' || after == '=' || after == '/' || after == '[';
}

XmlDocument::XmlToken XmlDocument::NameToken(int32_t index) const {
  XmlToken token;
  token.next = positions_[static_cast<size_t>(index)].startTagBegin + 1;
  NextToken(token);
  return token;
}

bool XmlDocument::FindElement(std::string_view name) {
  if (positions_.empty() || positions_[0].firstChild == 0) return false;
  int32_t i = current_ != 0 ? positions_[static_cast<size_t>(current_)].nextSibling
                            : positions_[static_cast<size_t>(parent_)].firstChild;
  while (i != 0) {
    if (name.empty() || TokenMatches(NameToken(i), name)) {
      current_ = i;
      parent_ = positions_[static_cast<size_t>(i)].parent;
      child_ = 0;
      node_type_ = 1;
      return true;
    }
    i = positions_[static_cast<size_t>(i)].nextSibling;
  }
  return false;
}

bool XmlDocument::IntoElement() {
  if (current_ == 0 || node_type_ != 1) return false;
  parent_ = current_;
  current_ = child_;
  child_ = 0;
  node_type_ = current_ != 0 ? 1 : 0;
  return true;
}

bool XmlDocument::OutOfElement() {
  if (parent_ == 0) return false;
  child_ = current_;
  current_ = parent_;
  parent_ = positions_[static_cast<size_t>(parent_)].parent;
  node_type_ = 1;
  return true;
}

std::string XmlDocument::TagName() const {
  if (current_ == 0 || node_type_ != 1) return {};
  const XmlToken token = NameToken(current_);
  if (token.quoted || token.tokenEnd < token.tokenBegin) return {};
  return text_.substr(static_cast<size_t>(token.tokenBegin),
                      static_cast<size_t>(token.tokenEnd - token.tokenBegin + 1));
}

std::string XmlDocument::Attribute(std::string_view name) const {
  if (current_ == 0 || node_type_ != 1 || name.empty()) return {};
  XmlToken token;
  token.next = positions_[static_cast<size_t>(current_)].startTagBegin + 1;
  int count = 0;
  int matched_at = -1;
  for (; NextToken(token); ++count) {
    if (matched_at >= 0 && count == matched_at + 2) {
      if (!token.quoted) return {};  // an unquoted value is not recognised
      return DecodeText(token.tokenBegin, token.tokenEnd);
    }
    if (token.quoted) continue;
    const char first = At(token.tokenBegin);
    if (first == '/' || first == '>' || first == '?') return {};
    if (first == '=') continue;
    if (count > 0 && matched_at < 0 && TokenMatches(token, name)) matched_at = count;
  }
  return {};
}

std::string XmlDocument::Data() const {
  if (current_ == 0 || node_type_ != 1) return {};
  const ElementPosition& element = positions_[static_cast<size_t>(current_)];
  if (element.firstChild != 0) return {};
  if (element.startTagEnd == element.endTagBegin + 1) return {};  // empty element

  int32_t begin = element.startTagEnd + 1;
  SkipSpaces(begin);
  static constexpr char kCdataOpen[] = "<![CDATA[";
  static constexpr int32_t kCdataOpenLength = sizeof(kCdataOpen) - 1;
  if (text_.compare(static_cast<size_t>(begin), kCdataOpenLength, kCdataOpen) == 0 &&
      begin + 11 < element.endTagBegin) {
    const size_t close = text_.find("]]>", static_cast<size_t>(begin + kCdataOpenLength));
    if (close != std::string::npos && static_cast<int32_t>(close) < element.endTagBegin) {
      return text_.substr(static_cast<size_t>(begin + kCdataOpenLength),
                          close - static_cast<size_t>(begin + kCdataOpenLength));
    }
  }
  return DecodeText(element.startTagEnd + 1, element.endTagBegin - 1);
}

std::string XmlDocument::DecodeText(int32_t from, int32_t to) const {
  struct Entity {
    const char* name;
    int32_t length;
    char replacement;
  };
  static constexpr Entity kEntities[] = {
      {"lt;", 3, '<'}, {"amp;", 4, '&'}, {"gt;", 3, '>'}, {"apos;", 5, '\''}, {"quot;", 5, '"'},
  };
  std::string out;
  if (to < from) return out;
  out.reserve(static_cast<size_t>(to - from + 1));
  int32_t i = from;
  while (i <= to && At(i) != '\0') {
    if (At(i) == '&') {
      bool replaced = false;
      for (const Entity& entity : kEntities) {
        if (i + entity.length <= to &&
            text_.compare(static_cast<size_t>(i + 1), static_cast<size_t>(entity.length), entity.name) == 0) {
          out += entity.replacement;
          i += 1 + entity.length;
          replaced = true;
          break;
        }
      }
      if (!replaced) {
        out += '&';
        ++i;
      }
      continue;
    }
    int32_t next = NextChar(i);
    if (next > to + 1) next = to + 1;
    out.append(text_, static_cast<size_t>(i), static_cast<size_t>(next - i));
    i = next;
  }
  return out;
}

}  // namespace tarvelo
