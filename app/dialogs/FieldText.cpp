#include "app/dialogs/FieldText.h"

#include <climits>
#include <cmath>
#include <limits>

#include "support/LenientNumber.h"

namespace tarvelo::app {

double FieldReal(const QString& text) {
  double value = 0;
  return ParseStrictDouble(ToUtf8(text), value) ? value : std::numeric_limits<double>::quiet_NaN();
}

int FieldInt(const QString& text) {
  int value = 0;
  return ParseStrictInt(ToUtf8(text), value) ? value : INT_MIN;
}

QString ProfileText(const ProfileStore& store, std::string_view section, std::string_view key,
                    std::string_view absent_text) {
  return ToQString(store.GetProfileString(section, key, absent_text));
}

}  // namespace tarvelo::app
