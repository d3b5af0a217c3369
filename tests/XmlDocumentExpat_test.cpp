// Differential test: on well-formed documents of the kind the roll type library uses, the
// element tree, attribute values and text content read through XmlDocument agree with an
// established XML parser (expat). The generated documents stay inside the subset the reader
// supports: quoted attributes without a raw ">", only the five predefined entities, no
// comments or markup inside text-only elements, no carriage returns.

#include <gtest/gtest.h>

#ifdef TARVELO_HAVE_EXPAT

#include <expat.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "helpers/TestPaths.h"
#include "xml/XmlDocument.h"

namespace tarvelo {
namespace {

struct Node {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::string text;  // character data directly inside the element
  std::vector<std::unique_ptr<Node>> children;
};

struct ExpatBuilder {
  std::unique_ptr<Node> root;
  std::vector<Node*> open;

  static void Start(void* user, const XML_Char* name, const XML_Char** attributes) {
    auto* self = static_cast<ExpatBuilder*>(user);
    auto node = std::make_unique<Node>();
    node->name = name;
    for (int i = 0; attributes[i]; i += 2) node->attributes.emplace_back(attributes[i], attributes[i + 1]);
    Node* raw = node.get();
    if (self->open.empty())
      self->root = std::move(node);
    else
      self->open.back()->children.push_back(std::move(node));
    self->open.push_back(raw);
  }
  static void End(void* user, const XML_Char*) { static_cast<ExpatBuilder*>(user)->open.pop_back(); }
  static void Text(void* user, const XML_Char* text, int length) {
    auto* self = static_cast<ExpatBuilder*>(user);
    if (!self->open.empty()) self->open.back()->text.append(text, static_cast<size_t>(length));
  }
};

std::unique_ptr<Node> ParseWithExpat(const std::string& text) {
  ExpatBuilder builder;
  XML_Parser parser = XML_ParserCreate("UTF-8");
  XML_SetUserData(parser, &builder);
  XML_SetElementHandler(parser, &ExpatBuilder::Start, &ExpatBuilder::End);
  XML_SetCharacterDataHandler(parser, &ExpatBuilder::Text);
  const bool ok = XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_OK;
  XML_ParserFree(parser);
  return ok ? std::move(builder.root) : nullptr;
}

// Compares the current element of `doc` (and everything below it) with `node`.
void ExpectSameElement(XmlDocument& doc, const Node& node, const std::string& path) {
  const std::string here = path + "/" + node.name;
  ASSERT_EQ(doc.TagName(), node.name) << here;
  for (const auto& [name, value] : node.attributes) EXPECT_EQ(doc.Attribute(name), value) << here << " @" << name;
  if (node.children.empty())
    EXPECT_EQ(doc.Data(), node.text) << here;
  else
    EXPECT_EQ(doc.Data(), "") << here;
  ASSERT_TRUE(doc.IntoElement()) << here;
  for (const auto& child : node.children) {
    ASSERT_TRUE(doc.FindElement("")) << here << " missing child " << child->name;
    ExpectSameElement(doc, *child, here);
    if (::testing::Test::HasFatalFailure()) return;
  }
  EXPECT_FALSE(doc.FindElement("")) << here << " has more children than expat reports";
  ASSERT_TRUE(doc.OutOfElement()) << here;
}

void ExpectSameDocument(const std::string& text) {
  const std::unique_ptr<Node> expected = ParseWithExpat(text);
  ASSERT_TRUE(expected) << "expat refused the generated document:\n" << text;
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(text)) << doc.Error() << "\n" << text;
  doc.ResetPosition();
  ASSERT_TRUE(doc.FindElement(""));
  ExpectSameElement(doc, *expected, "");
}

// Random well-formed documents in the supported subset.
class DocumentGenerator {
 public:
  explicit DocumentGenerator(unsigned seed) : random_(seed) {}

  std::string Document() {
    std::string out;
    if (Chance(50)) out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    if (Chance(30)) out += "<!DOCTYPE RollTypeDefinitions>\n";
    if (Chance(50)) out += "<!-- " + CommentText() + "-->\n";
    Element(out, 0);
    if (Chance(50)) out += "\n<!-- after -->\n";
    return out;
  }

 private:
  bool Chance(int percent) { return static_cast<int>(random_() % 100) < percent; }
  int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

  std::string Name() {
    static const std::vector<std::string> kNames = {
        "RollType", "RollTypes", "Roll",  "track", "Track",   "center", "width",       "a",           "ab",
        "b",        "Name",      "Names", "x_1",   "my-name", "n.v",    "caf\xC3\xA9", "\xE4\xB8\xAD"};
    return kNames[static_cast<size_t>(Below(static_cast<int>(kNames.size())))];
  }

  std::string Text(bool in_attribute, int max_length) {
    static const std::vector<std::string> kPieces = {"a",
                                                     "Z",
                                                     "0",
                                                     "9",
                                                     " ",
                                                     " ",
                                                     ".",
                                                     "-",
                                                     "'",
                                                     "\"",
                                                     "/",
                                                     "=",
                                                     "?",
                                                     "!",
                                                     "#",
                                                     ";",
                                                     "[",
                                                     "]",
                                                     "&lt;",
                                                     "&gt;",
                                                     "&amp;",
                                                     "&apos;",
                                                     "&quot;",
                                                     "&amp;lt;",
                                                     "\xC3\xA9",
                                                     "\xE2\x82\xAC",
                                                     "\xF0\x9F\x8E\xB9"};
    std::string out;
    const int length = Below(max_length + 1);
    for (int i = 0; i < length; ++i) out += kPieces[static_cast<size_t>(Below(static_cast<int>(kPieces.size())))];
    if (!in_attribute) {
      if (Chance(20)) out += ">";  // legal in text
      if (Chance(20)) out = "\n  " + out + "\n\t";
    }
    // "]]>" may not appear in text or CDATA.
    for (size_t at; (at = out.find("]]>")) != std::string::npos;) out.replace(at, 3, "] ]>");
    return out;
  }

  // Text for a comment: no "--" and no "-" at the end.
  std::string CommentText() {
    std::string out = Text(false, 20);
    for (size_t at; (at = out.find("--")) != std::string::npos;) out.replace(at, 2, "- ");
    return out + " ";
  }

  void Element(std::string& out, int depth) {
    const std::string name = Name();
    out += "<" + name;
    std::vector<std::string> used;
    const int attributes = Below(4);
    for (int i = 0; i < attributes; ++i) {
      std::string attribute = Name();
      if (std::find(used.begin(), used.end(), attribute) != used.end()) continue;
      used.push_back(attribute);
      const bool single = Chance(30);
      std::string value = Text(true, 6);
      // The value may not hold its own quote character raw.
      for (size_t at; (at = value.find(single ? '\'' : '"')) != std::string::npos;)
        value.replace(at, 1, single ? "&apos;" : "&quot;");
      out += (Chance(20) ? "  " : " ") + attribute + (Chance(20) ? " = " : "=") + (single ? "'" : "\"") + value +
             (single ? "'" : "\"");
    }
    if (Chance(10)) out += " ";
    const int kind = depth >= 5 ? Below(3) : Below(5);
    if (kind == 0) {
      out += "/>";
      return;
    }
    out += ">";
    if (kind == 1) {
      out += Text(false, 12);
    } else if (kind == 2) {
      std::string raw = Text(false, 8);
      out += "<![CDATA[" + raw + "<b>&amp;" + "]]>";
    } else {
      const int children = 1 + Below(5);
      for (int i = 0; i < children; ++i) {
        if (Chance(30)) out += "\n    ";
        if (Chance(15)) out += "<!-- c " + std::to_string(i) + " -->";
        if (Chance(10)) out += "<?pi data?>";
        if (Chance(10)) out += "loose text";
        Element(out, depth + 1);
      }
      if (Chance(30)) out += "\n";
    }
    out += "</" + name + (Chance(15) ? " " : "") + ">";
  }

  std::mt19937 random_;
};

TEST(XmlDocumentAgainstExpat, GeneratedDocumentsAgree) {
  DocumentGenerator generator(20240611u);
  for (int i = 0; i < 2000; ++i) {
    const std::string text = generator.Document();
    SCOPED_TRACE(text);
    ExpectSameDocument(text);
    if (HasFailure()) return;
  }
}

TEST(XmlDocumentAgainstExpat, ShippedRollTypeLibraryAgrees) {
  const std::string path = std::string(TARVELO_SOURCE_DIR) + "/data/RollTypeDefinitions.xml";
  ASSERT_TRUE(std::filesystem::exists(path));
  ExpectSameDocument(testing::ReadBytes(path));
}

TEST(XmlDocumentAgainstExpat, RollTypeShapedDocumentAgrees) {
  ExpectSameDocument(
      "<?xml version=\"1.0\"?>\n<!-- library -->\n<RollTypeDefinitions>\n"
      "  <RollType Name=\"Test &amp; Co\">\n"
      "    <LowestTrackHoleNumber> 10 </LowestTrackHoleNumber>\n"
      "    <SetChannelToInstrument Channel='1'>19</SetChannelToInstrument>\n"
      "    <track number=\"18\"><BackgroundColor>#FF0000</BackgroundColor><center><![CDATA[2.05]]></center></track>\n"
      "  </RollType>\n  <RollType Name=\"\"/>\n</RollTypeDefinitions>\n");
}

}  // namespace
}  // namespace tarvelo

#endif  // TARVELO_HAVE_EXPAT
