// Unit names and the exact decimal shift into millimetres.
#include "millimetres.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

std::string shortest(double value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

TEST(Millimetres, UnitNamesGiveTheirPowerOfTen) {
  // columns: the unit as a file writes it, the power (-1: unknown)
  const struct {
    const char* units;
    int power;
  } cases[] = {
      {"m", 3},           {"Meters", 3}, {"METRES", 3},       {" m ", 3}, {"cm", 1},
      {"Centimeters", 1}, {"mm", 0},     {"millimetres", 0},  {"MM", 0},  {"", -1},
      {"in", -1},         {"km", -1},    {"millimeter s", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(millimetre_power(c.units).value_or(-1), c.power) << "'" << c.units << "'";
  }
}

TEST(Millimetres, TheDecimalPointMovesExactly) {
  // columns: value, power, stored as a float, the millimetres' shortest text
  const struct {
    double value;
    int power;
    bool single_precision;
    const char* expected;
  } cases[] = {
      {0.7337041, 3, false, "733.7041"},
      {0.7337041f, 3, true, "733.7041"},  // the float's own text, not 733.7040901184082
      {-0.25, 3, false, "-250"},
      {0.1, 3, false, "100"},
      {0.001, 1, false, "0.01"},
      {12.0, 1, false, "120"},
      {1.5e-7, 3, false, "0.00015"},
      {123456789.123456, 3, false, "123456789123.456"},
      {1e300, 3, false, "1e+303"},
      {2.5, 0, false, "2.5"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shortest(shift_decimal_point(c.value, c.power, c.single_precision)), c.expected)
        << c.value << " x 10^" << c.power;
  }
}

// Against strtod of the shortest text with the power as its exponent, the
// shift's meaning, for decimals of every size a recording may hold.
TEST(Millimetres, RandomDecimalsShiftLikeTheirTextWithAnExponent) {
  std::mt19937_64 random(8122026);
  std::uniform_int_distribution<int> decimals(0, 10);
  std::uniform_int_distribution<int> magnitude(-6, 12);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int i = 0; i < 100000; ++i) {
    const double scale = std::pow(10.0, decimals(random));
    const double value =
        std::round(unit(random) * std::pow(10.0, magnitude(random)) * scale) / scale;
    const std::string text = shortest(value);
    if (text.find('e') != std::string::npos) continue;
    for (int power : {1, 3}) {
      const std::string shifted = text + "e" + std::to_string(power);
      ASSERT_EQ(shortest(shift_decimal_point(value, power, false)),
                shortest(std::strtod(shifted.c_str(), nullptr)))
          << text << " x 10^" << power;
    }
  }
}

// Columns: the text, the power, the characters read (0: none; its
// value then is not looked at). What is read must be the double that
// shift_decimal_point gives for the value read, to the bit.
TEST(Millimetres, PlainDecimalsAreReadShifted) {
  const struct {
    const char* text;
    int power;
    size_t read;
  } cases[] = {
      {"1.252442", 3, 8},
      {"-0.147178,", 3, 9},
      {"0.100000", 3, 8},
      {"-0.000000", 3, 9},
      {" .5", 1, 3},
      {"12", 3, 2},
      {"2.5", 0, 3},
      {"123456789.123456", 3, 16},
      {"0.7337041 x", 3, 9},
      {"1234567890123456", 3, 0},
      {"1e3", 3, 0},
      {"1.5E-2", 3, 0},
      {"-", 3, 0},
      {".", 3, 0},
      {"", 3, 0},
      {"nan", 3, 0},
  };
  for (const auto& c : cases) {
    const char* const end = c.text + std::strlen(c.text);
    double value = -1.0;
    const char* const stop = scan_shifted_decimal(c.text, end, c.power, value);
    ASSERT_EQ(static_cast<size_t>(stop - c.text), c.read) << c.text;
    if (c.read == 0) continue;
    const double expected = shift_decimal_point(std::strtod(c.text, nullptr), c.power, false);
    EXPECT_EQ(std::signbit(value), std::signbit(expected)) << c.text;
    EXPECT_EQ(value, expected) << c.text << " x 10^" << c.power;
  }
}

// Random decimals of 1 to 15 digits, zeros at either end included: read
// shifted in one step as shifted after reading.
TEST(Millimetres, RandomDecimalsReadShiftedAsShiftedAfterReading) {
  std::mt19937_64 random(9122026);
  std::uniform_int_distribution<int> digits(1, 15);
  std::uniform_int_distribution<int> digit(0, 9);
  for (int i = 0; i < 100000; ++i) {
    const int count = digits(random);
    std::string text = random() % 2 ? "-" : "";
    const int point = std::uniform_int_distribution<int>(0, count)(random);
    for (int d = 0; d < count; ++d) {
      if (d == point && d > 0) text += '.';
      text += static_cast<char>('0' + digit(random));
    }
    for (int power : {0, 1, 3}) {
      double value = 0.0;
      const char* const end = text.data() + text.size();
      ASSERT_EQ(scan_shifted_decimal(text.data(), end, power, value), end) << text;
      ASSERT_EQ(shortest(value),
                shortest(shift_decimal_point(std::strtod(text.c_str(), nullptr), power, false)))
          << text << " x 10^" << power;
    }
  }
}

}  // namespace
