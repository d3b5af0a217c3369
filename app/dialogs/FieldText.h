#pragma once
// Numbers and texts as the dialogs' fields hold them. A field's text is taken as a number only
// when the whole of it (blanks around it allowed) is one; anything else becomes a value that
// every range check refuses, so the check's own message names the field and its range.

#include <QString>
#include <string>
#include <string_view>

namespace tarvelo::app {

// The real a field holds, or NaN when its text is not a decimal number.
double FieldReal(const QString& text);
// The integer a field holds, or the smallest int when its text is not a 32-bit decimal integer.
int FieldInt(const QString& text);

// The text to show for a real that the profile holds as `stored` and that is in force as
// `value`: the stored text itself (a hand-edited "1.00" or even "abc" is shown as it is), or,
// when the two disagree, `value` with `digits` significant digits as it would be stored.
QString ShownReal(std::string_view stored, double value, int digits);

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

}  // namespace tarvelo::app
