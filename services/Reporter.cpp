#include "services/Reporter.h"

#include <string>

#include "support/NumberFormat.h"

namespace tarvelo {

const char* MessageKindName(MessageKind kind) {
  switch (kind) {
    case MessageKind::kInformation:
      return "information";
    case MessageKind::kWarning:
      return "warning";
    case MessageKind::kError:
      return "error";
  }
  return "error";
}

void Reporter::ShowMessageWithValue(MessageKind kind, std::string_view text, double value) {
  ShowMessage(kind, std::string(text) + " : " + FormatGcvt(value, 8));
}

void Reporter::ShowMessageWithTwoValues(MessageKind kind, std::string_view text1, double value1, std::string_view text2,
                                        double value2) {
  ShowMessage(kind, std::string(text1) + " : " + FormatGcvt(value1, 8) + "\n" + std::string(text2) + " : " +
                        FormatGcvt(value2, 8));
}

}  // namespace tarvelo
