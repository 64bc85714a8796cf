// The capture writer's quick shortest text of a double, byte for byte
// against std::to_chars.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "shortest_decimal.h"

namespace {

std::string quick_text(double value) {
  char text[64];
  return std::string(text, write_shortest_decimal(text, text + sizeof text, value));
}

std::string reference_text(double value) {
  char text[64];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Values at the edges of the quick path: the text, then what to_chars
// writes for it.
TEST(ShortestDecimal, EdgesOfTheQuickPathMatchToChars) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.1, "0.1"},
      {-276.862, "-276.862"},
      {0.001, "0.001"},
      {0.0001, "1e-04"},
      {1.5e-07, "1.5e-07"},
      {1.25e-07, "1.25e-07"},
      {100000.0, "1e+05"},
      {120000.0, "120000"},
      {99999999.9999999, "99999999.9999999"},
      {12345678.91, "12345678.91"},
      {-0.0, "-0"},
      {0.0, "0"},
      {1.0 / 3.0, "0.3333333333333333"},
      {1e300, "1e+300"},
      {5e-324, "5e-324"},
      {44.1628, "44.1628"},
      {-2.0, "-2"},
      {1000.00001, "1000.00001"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(reference_text(c.value), c.text) << c.text;
    EXPECT_EQ(quick_text(c.value), c.text) << c.text;
  }
}

// Decimals of 0 to 9 places, as recordings write them, and random doubles.
TEST(ShortestDecimal, RandomValuesMatchToChars) {
  std::mt19937_64 random(20261208);
  char text[64];
  for (int i = 0; i < 300000; ++i) {
    const int decimals = static_cast<int>(random() % 10);
    const double spread = std::pow(10.0, static_cast<double>(random() % 12) - 3.0);
    const double draw = (static_cast<double>(random() % 2000001) - 1e6) * 1e-6 * spread;
    std::snprintf(text, sizeof text, "%.*f", decimals, draw);
    const double value = i % 5 == 0 ? std::ldexp(static_cast<double>(random() >> 11),
                                                 static_cast<int>(random() % 120) - 80)
                                    : std::strtod(text, nullptr);
    ASSERT_EQ(quick_text(value), reference_text(value)) << text;
  }
}

}  // namespace
