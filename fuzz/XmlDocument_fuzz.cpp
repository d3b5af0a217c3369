// Fuzz target: any bytes as a roll type library. Parsing, walking the whole tree with the
// navigator, reading every attribute and text, and applying a roll type must neither crash,
// leak, hang nor exhaust the stack.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "helpers/RecordingFrontEnd.h"
#include "rolltypes/ApplyRollType.h"
#include "rolltypes/RollTypeDefinition.h"
#include "rolltypes/RollTypeLibrary.h"
#include "xml/XmlDocument.h"

namespace {

// Visits every element: depth first, through IntoElement / OutOfElement only.
void Walk(tarvelo::XmlDocument& doc, std::string_view extra_name) {
  doc.ResetPosition();
  size_t guard = 0;
  int depth = 0;
  for (;;) {
    if (++guard > 1000000) __builtin_trap();  // the walk itself must end
    if (doc.FindElement("")) {
      (void)doc.TagName();
      (void)doc.Attribute("Name");
      (void)doc.Attribute("number");
      if (!extra_name.empty()) (void)doc.Attribute(extra_name);
      (void)doc.Data();
      if (!doc.IntoElement()) __builtin_trap();
      ++depth;
      continue;
    }
    if (depth == 0) break;
    if (!doc.OutOfElement()) __builtin_trap();
    --depth;
  }
  doc.ResetPosition();
  if (!extra_name.empty()) (void)doc.FindElement(extra_name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  // The first line, if short, doubles as a name to look for.
  const size_t line_end = bytes.find('\n');
  const std::string_view name =
      line_end != std::string::npos && line_end < 40 ? std::string_view(bytes).substr(0, line_end) : std::string_view();

  std::string text;
  tarvelo::RollTypeFileText(bytes, text).Ignore();  // a refused text is parsed all the same
  tarvelo::XmlDocument doc;
  doc.SetDocument(text).Ignore();  // a text that does not parse is walked all the same
  Walk(doc, name);

  // Built once: the record and the front end are not what is being fuzzed.
  static tarvelo::testing::RecordingFrontEnd ui;
  static tarvelo::RollTypeDefinition record;
  ui.record_status = false;
  ui.messages.clear();  // only this input's messages are kept
  ui.kinds.clear();
  doc.ResetPosition();
  if (doc.FindElement("RollTypeDefinitions") && doc.IntoElement() && doc.FindElement("RollType"))
    tarvelo::ApplyActiveRollType(record, doc.Attribute("Name"), doc, ui).Ignore();
  if (!name.empty()) tarvelo::ApplyActiveRollType(record, name, doc, ui).Ignore();
  return 0;
}
