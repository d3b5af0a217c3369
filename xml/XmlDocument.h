#pragma once
// A small read-only XML reader for the roll type library. The whole text is parsed once into
// a table of element positions; a navigator then walks the element tree by name (find among
// siblings, step in, step out) and cuts out attribute values and text content on demand.
//
// It is deliberately not a general XML parser:
// - only the first top-level element is parsed; declarations, processing instructions and
//   comments in front of it are stepped over, and nothing after its end tag is examined;
// - text between tags is never parsed, only read on demand by GetData;
// - the first ">" after a start tag's name closes the tag, quotes are not considered there;
// - attribute values must be quoted, and only the five predefined entities are decoded
//   (numeric character references are kept as written);
// - element nesting deeper than kMaxNestingDepth is refused, so a hostile file cannot
//   exhaust the stack.
//
// The text is held as UTF-8 bytes (it ends at its first NUL byte); positions are byte indexes,
// and wherever the reader steps by one character it steps one whole UTF-8 character.
// Nothing here throws; failures are return values.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/Result.h"

namespace tarvelo {

class XmlDocument {
 public:
  // Deepest element nesting accepted (the top element is level 1).
  static constexpr int kMaxNestingDepth = 256;

  // An empty document: every search fails.
  XmlDocument();

  // Stores `text` (null gives an empty text; the text ends at its first NUL byte), resets
  // the navigator and parses. Ok when the top element and everything inside it parsed; on
  // failure (kCorrupt, with the text Error() also gives) the tree is empty and every search fails.
  Result SetDocument(const char* text);
  Result SetDocument(std::string_view text);

  // The next FindElement searches the top level.
  void ResetPosition();
  // The next FindElement searches the children of the current parent again from the first.
  void ResetMainPosition();

  // Finds, among the children of the current parent and after the element found last at
  // this level, the first element whose tag name is `name` (case-sensitive; an empty name
  // matches any element). On success that element becomes current and true is returned;
  // on failure nothing changes.
  bool FindElement(std::string_view name);
  // Makes the current element the parent, so that the next FindElement searches its
  // children. Fails when no element is current.
  bool IntoElement();
  // Returns to the parent level; the element stepped out of becomes current again and
  // IntoElement later returns to the child that was current. Fails at the top level.
  bool OutOfElement();

  // Value of the quoted attribute `name` of the current element, entity-decoded; empty when
  // there is no current element or the attribute is absent (an unquoted value reads as absent).
  std::string Attribute(std::string_view name) const;
  // Text content of the current element: empty for an element with child elements or an
  // empty element; the raw content of a leading CDATA section; otherwise the whole content,
  // entity-decoded, surrounding white space included.
  std::string Data() const;
  // Tag name of the current element (empty when none is current).
  std::string TagName() const;
  // Message of the last parse error, empty if the last SetDocument succeeded.
  const std::string& Error() const { return error_; }

  // The stored text (for diagnostics and tests).
  const std::string& Text() const { return text_; }

 private:
  struct ElementPosition {
    int32_t startTagBegin = 0;  // the "<" that opens the start tag
    int32_t startTagEnd = 0;    // the ">" that closes the start tag
    int32_t endTagBegin = 0;    // "<" of the end tag ("/" of an empty element); parse cursor
    int32_t endTagEnd = 0;      // ">" of the end tag (startTagEnd for an empty element)
    int32_t parent = 0;
    int32_t firstChild = 0;
    int32_t nextSibling = 0;
  };

  struct XmlToken {
    int32_t tokenBegin = 0;  // first character of the token
    int32_t tokenEnd = -1;   // last character of the token (inclusive)
    int32_t next = 0;        // where scanning continues
    bool quoted = false;     // a quoted string; begin/end exclude the quotes
  };

  // The byte at `index`, or NUL beyond the text.
  char At(int32_t index) const {
    return index >= 0 && static_cast<size_t>(index) < text_.size() ? text_[static_cast<size_t>(index)] : '\0';
  }
  // Index of the character after the one starting at `index` (whole UTF-8 characters;
  // a malformed sequence steps one byte).
  int32_t NextChar(int32_t index) const;

  int32_t ParseElement(int32_t parent_index, int depth);
  int32_t Fail(const char* message, std::string_view name = {});
  int32_t AllocPosition();
  void FreeLastPosition();

  // Steps over the node at token.next and returns its kind (0 = cannot be stepped over,
  // 1 element, 2 text, 4 white space, 8 CDATA, 16 processing instruction, 32 comment,
  // 64 declaration).
  int SkipNode(XmlToken& token) const;
  bool ScanToChar(int32_t& index, char c) const;
  bool SkipSpaces(int32_t& index) const;
  bool NextToken(XmlToken& token) const;
  bool TokenMatches(const XmlToken& token, std::string_view name) const;
  // The name token of the element at `index`.
  XmlToken NameToken(int32_t index) const;
  std::string DecodeText(int32_t from, int32_t to) const;

  std::string text_;
  std::string error_;
  std::vector<ElementPosition> positions_;
  int32_t parent_ = 0;
  int32_t current_ = 0;
  int32_t child_ = 0;
  int32_t next_free_ = 1;
  int32_t node_type_ = 0;
};

}  // namespace tarvelo
