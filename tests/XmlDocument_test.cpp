#include <gtest/gtest.h>

#include <string>

#include "xml/XmlDocument.h"

namespace tarvelo {
namespace {

// Parses `text`, expecting failure with `message`.
void ExpectParseError(const std::string& text, const std::string& message) {
  XmlDocument doc;
  EXPECT_FALSE(doc.SetDocument(text)) << text;
  EXPECT_EQ(doc.Error(), message) << text;
  doc.ResetPosition();
  EXPECT_FALSE(doc.FindElement("")) << "a failed document must have an empty tree: " << text;
}

TEST(XmlDocument, EveryParseErrorHasItsMessage) {
  ExpectParseError("no element here", "Element tag not found");
  ExpectParseError("<a><b>text", "Element tag not found");  // ends inside content
  ExpectParseError("<   ", "Abrupt end within tag");
  ExpectParseError("<\"a\">", "Tag starts with quote");
  ExpectParseError("<!-- never closed <a/>", "Invalid node");
  ExpectParseError("<?pi without end <a/>", "Invalid node");
  ExpectParseError("<a attr='1'", "End of tag not found");
  ExpectParseError("<a><b>x</c></a>", "End tag does not correspond to b");
  ExpectParseError("<a></a", "End tag not completed for element a");
  ExpectParseError("<a></", "End tag not completed for element a");
  ExpectParseError("<a><b></b>", "Element tag not found");
  ExpectParseError("", "");
  ExpectParseError("</a>", "");  // an end tag where the top element should be
}

TEST(XmlDocument, RefusesNodesThatWouldNotAdvance) {
  // "< !" reads as a node starting with "!" whose "<" is not followed by "!": stepping over
  // it would not move, so the parse must fail rather than loop.
  ExpectParseError("< !-- comment --><a/>", "Invalid node");
  ExpectParseError("<a>< ?x?></a>", "Invalid node");
  ExpectParseError("<a>\n<\t!DOCTYPE x></a>", "Invalid node");
}

TEST(XmlDocument, NestingBeyondTheLimitIsAParseError) {
  auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<e>";
    for (int i = 0; i < depth; ++i) text += "</e>";
    return text;
  };
  XmlDocument doc;
  EXPECT_TRUE(doc.SetDocument(nested(XmlDocument::kMaxNestingDepth)));
  ExpectParseError(nested(XmlDocument::kMaxNestingDepth + 1), "Elements nested too deeply");
  // Far deeper than any stack could take if each level recursed.
  ExpectParseError(nested(200000), "Elements nested too deeply");
}

TEST(XmlDocument, DeclarationsAndCommentsBeforeTheRootAreSteppedOver) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(
      "<?xml version=\"1.0\"?>\n<!-- header -->\n<!DOCTYPE r [ <!ENTITY x \"y\"> ]>\n<r><c/></r> trailing <<< junk"));
  doc.ResetPosition();
  ASSERT_TRUE(doc.FindElement(""));
  EXPECT_EQ(doc.TagName(), "r");
  EXPECT_FALSE(doc.FindElement("")) << "only one top element is parsed";
}

TEST(XmlDocument, DataOfEmptyAndChildlessElements) {
  XmlDocument doc;
  ASSERT_TRUE(
      doc.SetDocument("<r><empty/><pair></pair><spaced>  a &amp; b  </spaced><parent>x<c/>y</parent>"
                      "<withcomment>1<!-- two -->3</withcomment><cdata> <![CDATA[<raw> &amp;]]>ignored</cdata>"
                      "<refs>&amp;lt; &#65; &bogus; &quot;&apos;&gt;&lt;</refs><cut>&amp</cut></r>"));
  doc.ResetPosition();
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.IntoElement());
  auto data_of = [&doc](const char* name) {
    doc.ResetMainPosition();
    EXPECT_TRUE(doc.FindElement(name)) << name;
    return doc.Data();
  };
  EXPECT_EQ(data_of("empty"), "");
  EXPECT_EQ(data_of("pair"), "");
  EXPECT_EQ(data_of("spaced"), "  a & b  ");
  EXPECT_EQ(data_of("parent"), "") << "an element with a child element has no data";
  EXPECT_EQ(data_of("withcomment"), "1<!-- two -->3") << "comments make no positions";
  EXPECT_EQ(data_of("cdata"), "<raw> &amp;");
  // Decoded once; numeric references and unknown names are kept as written.
  EXPECT_EQ(data_of("refs"), "&lt; &#65; &bogus; \"'><");
  EXPECT_EQ(data_of("cut"), "&amp") << "a reference needs its semicolon inside the text";
}

TEST(XmlDocument, AttributesNeedQuotesAndMatchWholeNames) {
  XmlDocument doc;
  ASSERT_TRUE(
      doc.SetDocument("<r><a Name=\"one\" Names='two' N=\"three\" bare=four esc=\"&lt;&amp;&gt;\" empty=\"\"/>"
                      "<b x=\"1>2\">tail</b></r>"));
  doc.ResetPosition();
  doc.FindElement("r");
  doc.IntoElement();
  ASSERT_TRUE(doc.FindElement("a"));
  EXPECT_EQ(doc.Attribute("Name"), "one");
  EXPECT_EQ(doc.Attribute("Names"), "two");
  EXPECT_EQ(doc.Attribute("N"), "three");
  EXPECT_EQ(doc.Attribute("Nam"), "");
  EXPECT_EQ(doc.Attribute("bare"), "") << "an unquoted value reads as absent";
  EXPECT_EQ(doc.Attribute("esc"), "<&>");
  EXPECT_EQ(doc.Attribute("empty"), "");
  EXPECT_EQ(doc.Attribute("missing"), "");
  // The first ">" closes the start tag even inside quotes: the rest is content.
  ASSERT_TRUE(doc.FindElement("b"));
  EXPECT_EQ(doc.Data(), "2\">tail");
  // No current element: no attribute.
  doc.ResetMainPosition();
  EXPECT_EQ(doc.Attribute("Name"), "");
  EXPECT_EQ(doc.Data(), "");
}

TEST(XmlDocument, FindElementMatchesWholeCaseSensitiveNames) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument("<r><Names/><Nam/><name/><Name id='1'/><x/><Name id='2'/></r>"));
  doc.ResetPosition();
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement("Name"));
  EXPECT_EQ(doc.Attribute("id"), "1");
  ASSERT_TRUE(doc.FindElement("Name")) << "a second search continues after the first find";
  EXPECT_EQ(doc.Attribute("id"), "2");
  EXPECT_FALSE(doc.FindElement("Name"));
  EXPECT_EQ(doc.Attribute("id"), "2") << "a failed search changes nothing";
  doc.ResetMainPosition();
  ASSERT_TRUE(doc.FindElement("Name"));
  EXPECT_EQ(doc.Attribute("id"), "1");
}

TEST(XmlDocument, NavigatorStepsInAndOut) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument("<r><a><x>1</x><y>2</y></a><b><x>3</x></b></r>"));
  EXPECT_FALSE(doc.IntoElement()) << "nothing current yet";
  EXPECT_FALSE(doc.OutOfElement()) << "already at the top level";
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement("b"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement("x"));
  EXPECT_EQ(doc.Data(), "3");
  ASSERT_TRUE(doc.OutOfElement());
  EXPECT_EQ(doc.TagName(), "b");
  ASSERT_TRUE(doc.IntoElement()) << "returns to the child that was current";
  EXPECT_EQ(doc.TagName(), "x");
  // Into an element without children: nothing current, searches fail, out works.
  doc.ResetPosition();
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement("a"));
  ASSERT_TRUE(doc.IntoElement());
  ASSERT_TRUE(doc.FindElement("y"));
  ASSERT_TRUE(doc.IntoElement());
  EXPECT_FALSE(doc.FindElement(""));
  EXPECT_FALSE(doc.IntoElement());
  EXPECT_EQ(doc.Data(), "");
  ASSERT_TRUE(doc.OutOfElement());
  EXPECT_EQ(doc.Data(), "2");
}

TEST(XmlDocument, EndTagsMayCarryBlanksAndAttributesAndUtf8NamesWork) {
  XmlDocument doc;
  ASSERT_TRUE(
      doc.SetDocument("<r><caf\xC3\xA9 n=\"\xE4\xB8\xAD\xE6\x96\x87\">\xC3\xA9t\xC3\xA9</caf\xC3\xA9 ><b></ b></r >"));
  doc.ResetPosition();
  doc.FindElement("r");
  doc.IntoElement();
  ASSERT_TRUE(doc.FindElement("caf\xC3\xA9"));
  EXPECT_EQ(doc.Attribute("n"), "\xE4\xB8\xAD\xE6\x96\x87");
  EXPECT_EQ(doc.Data(), "\xC3\xA9t\xC3\xA9");
  EXPECT_TRUE(doc.FindElement("b"));
}

TEST(XmlDocument, TextEndsAtNulAndASecondDocumentReplacesTheFirst) {
  XmlDocument doc;
  const std::string with_nul("<a>x</a>\0<b/>", 13);
  ASSERT_TRUE(doc.SetDocument(with_nul));
  EXPECT_EQ(doc.Text(), "<a>x</a>");
  EXPECT_FALSE(doc.SetDocument("<a>"));
  doc.ResetPosition();
  EXPECT_FALSE(doc.FindElement("a"));
  ASSERT_TRUE(doc.SetDocument("<b/>"));
  EXPECT_EQ(doc.Error(), "");
  EXPECT_TRUE(doc.FindElement("b"));
  EXPECT_FALSE(doc.SetDocument(static_cast<const char*>(nullptr)));
}

TEST(XmlDocument, ManyElementsGrowThePositionTable) {
  // Far more elements than length / 64 + 8, so the table must grow many times.
  std::string text = "<r>";
  for (int i = 0; i < 5000; ++i) text += "<i v='" + std::to_string(i) + "'/>";
  text += "</r>";
  XmlDocument doc;
  ASSERT_TRUE(doc.SetDocument(text));
  doc.FindElement("r");
  doc.IntoElement();
  int count = 0;
  while (doc.FindElement("i")) {
    ASSERT_EQ(doc.Attribute("v"), std::to_string(count));
    ++count;
  }
  EXPECT_EQ(count, 5000);
}

}  // namespace
}  // namespace tarvelo
