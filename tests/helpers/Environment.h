#pragma once
// Environment variables of the test process, set and removed the same way on every system.

#include <optional>
#include <string>

namespace tarvelo::testing {

// Sets `name` to `value`, or removes it when `value` is empty (std::nullopt).
void SetEnvironment(const char* name, const std::optional<std::string>& value);

// Sets (or, with std::nullopt, removes) an environment variable for the life of the object,
// then restores what was there.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::optional<std::string>& value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace tarvelo::testing
