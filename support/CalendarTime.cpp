#include "support/CalendarTime.h"

#include <time.h>

namespace tarvelo {

bool UniversalTime(std::time_t moment, std::tm& date) {
  std::tm result{};
#ifdef _WIN32
  if (gmtime_s(&result, &moment) != 0) return false;
#else
  if (gmtime_r(&moment, &result) == nullptr) return false;
#endif
  date = result;
  return true;
}

bool LocalTime(std::time_t moment, std::tm& date) {
  std::tm result{};
#ifdef _WIN32
  if (localtime_s(&result, &moment) != 0) return false;
#else
  if (localtime_r(&moment, &result) == nullptr) return false;
#endif
  date = result;
  return true;
}

}  // namespace tarvelo
