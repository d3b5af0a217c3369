#include "services/UiServices.h"

#include "support/NumberFormat.h"

namespace tarvelo {

void UiServices::ShowMessageWithValue(std::string_view text, double value) {
  ShowMessage(std::string(text) + " : " + FormatGcvt(value, 8));
}

void UiServices::ShowMessageWithTwoValues(std::string_view text1, double value1, std::string_view text2,
                                          double value2) {
  ShowMessage(std::string(text1) + " : " + FormatGcvt(value1, 8) + "\n" + std::string(text2) + " : " +
              FormatGcvt(value2, 8));
}

void UiServices::SetReprocessPending(bool pending) {
  OnReprocessPending(pending);
  if (!pending) {
    SetProgress(kProgressFinished, 100);
    SetStatusText("Ready");
  }
}

}  // namespace tarvelo
