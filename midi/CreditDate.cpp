#include "midi/CreditDate.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "support/CalendarTime.h"
#include "support/ProcessEnvironment.h"

namespace tarvelo {

namespace {

constexpr const char* kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

// SOURCE_DATE_EPOCH as seconds, or false when it is unset or not a plain decimal number.
bool SourceDateEpoch(std::time_t& seconds) {
  const std::optional<std::string> variable = EnvironmentValue("SOURCE_DATE_EPOCH");
  if (!variable || variable->empty()) return false;
  const char* text = variable->c_str();
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
  if (SourceDateEpoch(seconds) && UniversalTime(seconds, date)) return FormatCreditDate(date);
  seconds = std::time(nullptr);
  if (!LocalTime(seconds, date)) date = std::tm{};
  return FormatCreditDate(date);
}

}  // namespace tarvelo
