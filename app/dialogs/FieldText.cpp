#include "app/dialogs/FieldText.h"

#include <climits>
#include <cmath>
#include <limits>

#include "support/LenientNumber.h"
#include "support/NumberFormat.h"

namespace tarvelo::app {

double FieldReal(const QString& text) {
  double value = 0;
  return ParseStrictDouble(ToUtf8(text), value) ? value : std::numeric_limits<double>::quiet_NaN();
}

int FieldInt(const QString& text) {
  int value = 0;
  return ParseStrictInt(ToUtf8(text), value) ? value : INT_MIN;
}

QString ShownReal(std::string_view stored, double value, int digits) {
  // Lenient reading gives 0 for text that is not a number, which is what the value in force
  // then is: such text is shown as it stands and refused if applied unchanged.
  if (LenientToDouble(stored) == value) return ToQString(stored);
  return ToQString(FormatGcvt(value, digits));
}

}  // namespace tarvelo::app
