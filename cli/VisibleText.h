#pragma once
// Text from files (roll type names, file names, header titles, messages that quote them) made
// safe for a terminal: a control character in it could move the cursor, change colours, retitle
// the window or ring the bell, so each one is shown as an escape ("\x1B") instead.

#include <string>
#include <string_view>

namespace tarvelo::cli {

// `text` with every control character but the line feed and the tab (bytes 0x00-0x1F and
// 0x7F, and the C1 controls U+0080-U+009F in UTF-8) written as "\xHH" for each of its bytes.
// A backslash stays as it is; other bytes, valid UTF-8 or not, are kept.
std::string VisibleText(std::string_view text);

}  // namespace tarvelo::cli
