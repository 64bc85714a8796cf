// write_nine_digits against std::to_chars with precision 9, the text it
// must equal, over edge values and random values of every magnitude.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "nine_digits.h"

namespace {

std::string nine_digits(double value) {
  char text[32];
  return std::string(text, write_nine_digits(text, value));
}

std::string reference(double value) {
  char text[32];
  return std::string(
      text, std::to_chars(text, text + sizeof text, value, std::chars_format::general, 9).ptr);
}

TEST(NineDigits, EqualsToCharsWithPrecisionNine) {
  const double edges[] = {0.0,    -0.0,      1e-4,         9.99999999e-5, 0.000123456789,
                          1.0,    -2.5,      999999999.4,  999999999.5,   99999999.95,
                          1e9,    0.1 + 0.2, 123.4564445,  1234.56785,    8.0000000050,
                          5e-324, 1e300,     std::nan(""), HUGE_VAL,      733.7041015625,
                          100.0,  -120.5,    123456789.0,  0.0012,        1.00000001,
                          -0.001, 12345678.9};
  for (double value : edges) EXPECT_EQ(nine_digits(value), reference(value)) << value;
  std::mt19937_64 random(27);
  std::uniform_real_distribution<double> exponent(-7.0, 11.0);
  for (int i = 0; i < 200000; ++i) {
    const double value = std::pow(10.0, exponent(random)) * (i % 2 != 0 ? -1.0 : 1.0);
    ASSERT_EQ(nine_digits(value), reference(value)) << value;
  }
}

}  // namespace
