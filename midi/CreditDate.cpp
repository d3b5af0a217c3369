#include "midi/CreditDate.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace tarvelo {

namespace {

constexpr const char* kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

// SOURCE_DATE_EPOCH as seconds, or false when it is unset or not a plain decimal number.
bool SourceDateEpoch(std::time_t& seconds) {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (text == nullptr || *text == '\0') return false;
  for (const char* p = text; *p != '\0'; ++p)
    if (*p < '0' || *p > '9') return false;
  errno = 0;
  const long long value = std::strtoll(text, nullptr, 10);
  if (errno == ERANGE) return false;
  seconds = static_cast<std::time_t>(value);
  return true;
}

}  // namespace

std::string FormatCreditDate(const std::tm& date) {
  const int weekday = date.tm_wday >= 0 && date.tm_wday < 7 ? date.tm_wday : 0;
  const int month = date.tm_mon >= 0 && date.tm_mon < 12 ? date.tm_mon : 0;
  char day[16];
  std::snprintf(day, sizeof day, "%02d", date.tm_mday);
  return std::string(kDays[weekday]) + ", " + kMonths[month] + " " + day + ", " +
         std::to_string(static_cast<long long>(date.tm_year) + 1900);
}

std::string CreditDateText() {
  std::time_t seconds = 0;
  std::tm date{};
  if (SourceDateEpoch(seconds) && gmtime_r(&seconds, &date) != nullptr) return FormatCreditDate(date);
  seconds = std::time(nullptr);
  if (localtime_r(&seconds, &date) == nullptr) date = std::tm{};
  return FormatCreditDate(date);
}

}  // namespace tarvelo
