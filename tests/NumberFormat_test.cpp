#include <gtest/gtest.h>

#include <cmath>

#include "support/NumberFormat.h"

namespace tarvelo {
namespace {

TEST(FormatGcvt, FixedFormKeepsDecimalPoint) {
  EXPECT_EQ(FormatGcvt(2, 8), "2.");
  EXPECT_EQ(FormatGcvt(0.5, 8), "0.5");
  EXPECT_EQ(FormatGcvt(300, 8), "300.");
  EXPECT_EQ(FormatGcvt(-0.25, 8), "-0.25");
  EXPECT_EQ(FormatGcvt(12.85, 8), "12.85");
  EXPECT_EQ(FormatGcvt(0, 8), "0.");
  EXPECT_EQ(FormatGcvt(0.1, 10), "0.1");
  EXPECT_EQ(FormatGcvt(1.0, 8), "1.");
}

TEST(FormatGcvt, ExponentFormOutsideFixedRange) {
  EXPECT_EQ(FormatGcvt(0.02, 10), "2.e-002");
  EXPECT_EQ(FormatGcvt(0.0000123, 10), "1.23e-005");
  EXPECT_EQ(FormatGcvt(1e20, 8), "1.e+020");
  EXPECT_EQ(FormatGcvt(123456789.0, 8), "1.2345679e+008");
  EXPECT_EQ(FormatGcvt(12345678.0, 8), "12345678.");
}

TEST(FormatGcvt, RoundingCanMoveTheExponent) {
  // 0.0999999999 rounds to 0.1 (exponent -1): fixed form.
  EXPECT_EQ(FormatGcvt(0.09999999999, 8), "0.1");
  // 99999999.7 rounds to 1.0e8 with 8 digits: exponent 8 > 7.
  EXPECT_EQ(FormatGcvt(99999999.7, 8), "1.e+008");
}

TEST(FixedFormats, PrintfForms) {
  EXPECT_EQ(FormatInt6(80), "    80");
  EXPECT_EQ(FormatInt6(-1234567), "-1234567");
  EXPECT_EQ(FormatFixed6_3(1.5), " 1.500");
  EXPECT_EQ(FormatFixed6_3(-0.25), "-0.250");
  EXPECT_EQ(FormatFixed6_3(300.0), "300.000");
  EXPECT_EQ(FormatFixed(1.09805, 4), "1.0980");  // the binary value lies just below the half
  EXPECT_EQ(FormatFixed(99.995, 2), "100.00");   // just above the half: rounds up a digit
  EXPECT_EQ(FormatFixed(-0.00004, 4), "-0.0000");
  EXPECT_EQ(FormatFixed(1e300, 1).size(), size_t{303});  // every digit, none cut off
  EXPECT_EQ(FormatFixed(std::nan(""), 3), "nan");
}

}  // namespace
}  // namespace tarvelo
