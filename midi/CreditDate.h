#pragma once
// The date written into the credit texts of the MIDI outputs ("Saturday, June 23, 2007").
//
// For reproducible files the date comes from the SOURCE_DATE_EPOCH environment variable
// when it is set to a whole number of seconds since 1970 (taken as UTC, as that convention
// asks); otherwise, or when the variable holds anything else, from the local clock.

#include <ctime>
#include <string>

namespace tarvelo {

// "%A, %B %d, %Y" with English day and month names and a two-digit day of the month,
// whatever the process locale.
std::string FormatCreditDate(const std::tm& date);

// The date of "now" as described above.
std::string CreditDateText();

}  // namespace tarvelo
