#pragma once
// Truncation of doubles toward zero into integers without undefined behaviour: settings are
// not range-checked when read, so a product of them may be NaN or beyond the integer range.
// NaN gives 0; values beyond the range give its nearest end. Within the range the result is
// exactly the C++ conversion (truncation toward zero).

#include <cstdint>
#include <limits>

namespace tarvelo {

inline int64_t TruncToInt64(double value) {
  // 2^63 is exactly representable; every double below it converts without overflow.
  constexpr double kLimit = 9223372036854775808.0;
  if (value < kLimit && value > -kLimit) return static_cast<int64_t>(value);
  if (value != value) return 0;
  return value > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

inline int32_t TruncToInt32(double value) {
  if (value < 2147483648.0 && value > -2147483649.0) return static_cast<int32_t>(value);
  if (value != value) return 0;
  return value > 0 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
}

}  // namespace tarvelo
