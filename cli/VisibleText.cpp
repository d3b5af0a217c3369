#include "cli/VisibleText.h"

namespace tarvelo::cli {

namespace {

void AppendEscape(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 15];
}

}  // namespace

std::string VisibleText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool c1 = byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (c1) {
      AppendEscape(out, byte);
      AppendEscape(out, static_cast<unsigned char>(text[++i]));
    } else if ((byte < 0x20 && byte != '\n' && byte != '\t') || byte == 0x7F) {
      AppendEscape(out, byte);
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace tarvelo::cli
