#pragma once
// A moment as a calendar date and time, in universal time or in the user's local time zone;
// thread-safe on every system (localtime_r and gmtime_r elsewhere, localtime_s and gmtime_s on
// Windows). False, with `date` untouched, when the moment cannot be shown.

#include <ctime>

namespace tarvelo {

bool UniversalTime(std::time_t moment, std::tm& date);
bool LocalTime(std::time_t moment, std::tm& date);

}  // namespace tarvelo
