#include "helpers/Environment.h"

#include <cstdlib>

#include "support/ProcessEnvironment.h"
#include "support/TextEncoding.h"

namespace tarvelo::testing {

void SetEnvironment(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // Through the wide-character environment, which the program reads; an empty value removes.
  const std::u16string wide_name = Utf8ToUtf16(name), wide_value = Utf8ToUtf16(value.value_or(""));
  _wputenv_s(std::wstring(wide_name.begin(), wide_name.end()).c_str(),
             std::wstring(wide_value.begin(), wide_value.end()).c_str());
#else
  if (value)
    ::setenv(name, value->c_str(), 1);
  else
    ::unsetenv(name);
#endif
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::optional<std::string>& value)
    : name_(name), old_(EnvironmentValue(name)) {
  SetEnvironment(name, value);
}

ScopedEnvironment::~ScopedEnvironment() { SetEnvironment(name_, old_); }

}  // namespace tarvelo::testing
