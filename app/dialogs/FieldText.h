#pragma once
// Numbers and texts as the dialogs' fields hold them. A field's text is taken as a number only
// when the whole of it (blanks around it allowed) is one; anything else becomes a value that
// every range check refuses, so the check's own message names the field and its range.

#include <QString>
#include <string>
#include <string_view>

#include "settings/ProfileStore.h"

namespace tarvelo::app {

// The real a field holds, or NaN when its text is not a decimal number.
double FieldReal(const QString& text);
// The integer a field holds, or the smallest int when its text is not a 32-bit decimal integer.
int FieldInt(const QString& text);

// The text a number field shows: the value as the profile holds it (a hand-edited "1.00", or
// even "abc", is shown as it stands and refused only if applied unchanged), or `absent_text`
// when the profile holds no value for the key.
QString ProfileText(const ProfileStore& store, std::string_view section, std::string_view key,
                    std::string_view absent_text);

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

}  // namespace tarvelo::app
