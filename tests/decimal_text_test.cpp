// The writer's fast shortest text of a double, against std::to_chars.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "decimal_text.h"

namespace {

std::string fast_text(double value) {
  char text[32];
  return std::string(text, write_shortest(text, value));
}

std::string library_text(double value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Values at the edges of the fast path and of the notation std::to_chars
// picks, both signs.
TEST(DecimalText, EdgesMatchTheLibrary) {
  const double edges[] = {0.0,
                          0.001,
                          0.0009999,
                          0.0001,
                          0.00012,
                          1e-6,
                          0.001001,
                          0.1,
                          0.5,
                          1.0,
                          10.0,
                          12000.0,
                          99999.999,
                          99999.9999999,
                          100000.0,
                          1e5 + 0.5,
                          1234.567,
                          0.1 + 0.2,
                          1.0 / 3.0,
                          2366.027,
                          1e-300,
                          1e300,
                          std::numeric_limits<double>::denorm_min(),
                          std::nextafter(0.001, 0.0),
                          std::nextafter(1e5, 0.0),
                          1700.125};
  for (double edge : edges) {
    EXPECT_EQ(fast_text(edge), library_text(edge)) << library_text(edge);
    EXPECT_EQ(fast_text(-edge), library_text(-edge)) << library_text(-edge);
  }
}

// Decimals with 0 to 8 places of every magnitude the fast path takes, as
// recordings write them, read back as the reader does.
TEST(DecimalText, RandomDecimalsMatchTheLibrary) {
  std::mt19937_64 random(20261208);
  int mismatches = 0;
  for (int i = 0; i < 200000 && mismatches < 10; ++i) {
    const int places = static_cast<int>(random() % 9);
    const double whole = static_cast<double>(random() % 100000000000ULL) / std::pow(10.0, places);
    char text[48];
    const char* end =
        std::to_chars(text, text + sizeof text, whole, std::chars_format::fixed, places).ptr;
    double value = 0.0;
    std::from_chars(text, end, value);
    if (i % 2 == 1) value = -value;
    if (fast_text(value) != library_text(value)) {
      ADD_FAILURE() << fast_text(value) << " != " << library_text(value);
      ++mismatches;
    }
  }
}

}  // namespace
