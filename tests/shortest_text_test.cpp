// The writer's shortest text of a double, against std::to_chars.
#include "shortest_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace {

std::string written(double value) {
  char text[32];
  return std::string(text, write_shortest(text, value));
}

std::string reference(double value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

TEST(ShortestText, EdgesOfTheFastPathMatchToChars) {
  // Where fixed and scientific forms trade places, zeros lead or trail, and
  // the fast path hands over to to_chars.
  const double values[] = {0.0,
                           -0.0,
                           1.0,
                           -1.0,
                           0.5,
                           0.0025,
                           0.00015,
                           1e-05,
                           1.5e-05,
                           1e-09,
                           1.2e-09,
                           1e-10,
                           1000.0,
                           10000.0,
                           100000.0,
                           123000.0,
                           1200000,
                           1e15,
                           1e15 - 1,
                           999999999999999.9,
                           733.7041,
                           -12.4,
                           0.1,
                           0.3,
                           1.0 / 3,
                           2.0 / 3,
                           1e22,
                           123456789.123456,
                           0.7337040901184082,
                           5e-324,
                           HUGE_VAL,
                           -HUGE_VAL};
  for (double value : values) EXPECT_EQ(written(value), reference(value)) << value;
  EXPECT_EQ(written(std::nan("")), reference(std::nan("")));
}

TEST(ShortestText, RandomDecimalsAndBitPatternsMatchToChars) {
  std::mt19937_64 random(20261208);
  std::uniform_int_distribution<int> decimals(0, 12);
  std::uniform_int_distribution<int> exponent(-12, 17);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int i = 0; i < 200000; ++i) {
    // A recording's kind of value: a decimal with a few places.
    const double scale = std::pow(10.0, decimals(random));
    const double value =
        std::round(unit(random) * std::pow(10.0, exponent(random)) * scale) / scale;
    ASSERT_EQ(written(value), reference(value)) << value;
    // Any double at all.
    const uint64_t bits = random();
    double any;
    std::memcpy(&any, &bits, sizeof any);
    ASSERT_EQ(written(any), reference(any)) << any;
  }
}

}  // namespace
