#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "number_parser.h"

namespace {

double decimal(const char* text) { return parse_decimal(text, text + std::strlen(text)); }

int32_t integer(const char* text) { return parse_integer(text, text + std::strlen(text)); }

// Field text, value it reads as.
TEST(NumberParser, DecimalGrammar) {
  const double infinity = std::numeric_limits<double>::infinity();
  // clang-format off
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"", 0.0},           {"0.0", 0.0},        {"12.5", 12.5},       {"+7", 7.0},
      {" -.5", -0.5},      {"\t 3", 3.0},       {"1e", 1.0},          {"1e+", 1.0},
      {"1e-2", 0.01},      {"1E3", 1000.0},     {"2.5e2x", 250.0},    {"12.5\r", 12.5},
      {"5.", 5.0},         {".25", 0.25},       {"1.e2", 100.0},      {"inf", 0.0},
      {"nan", 0.0},        {"+-5", 0.0},        {"--5", 0.0},         {".", 0.0},
      {"e5", 0.0},         {"-", 0.0},          {"0x1A", 0.0},        {"1,5", 1.0},
      {"007", 7.0},        {"0.000", 0.0},      {"1e400", infinity},  {"-1e400", -infinity},
      {"1e-400", 0.0},     {"-1234.567", -1234.567},                  {"1 2", 1.0},
      {"123456789012345678901234567890", 1.2345678901234568e29},
      {"0.1000000000000000055511151231257827021181583404541015625", 0.1},
      {"4.9406564584124654e-324", 4.9406564584124654e-324},
      {"1.7976931348623157e308", 1.7976931348623157e308},
      {"1e99999999999999999999", infinity},
      {"999999999999999", 999999999999999.0},  {"0.000000000000001", 1e-15},
      {"9007199254740993", 9007199254740992.0}, {"-90071992547409.93", -90071992547409.93},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(decimal(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberParser, NegativeZeroKeepsItsSign) {
  EXPECT_TRUE(std::signbit(decimal("-0.0")));
  EXPECT_FALSE(std::signbit(decimal("-")));
}

// Reading stops where the number ends, and at begin when none begins.
TEST(NumberParser, ScanStopsAfterTheNumber) {
  const struct {
    const char* text;
    size_t consumed;
  } cases[] = {{"12.5,3", 4}, {"1e,", 1}, {"1e5,", 3}, {" -2.", 4}, {"abc", 0}, {",", 0}, {"", 0}};
  for (const auto& c : cases) {
    double value;
    const char* stop = scan_decimal(c.text, c.text + std::strlen(c.text), value);
    EXPECT_EQ(static_cast<size_t>(stop - c.text), c.consumed) << '"' << c.text << '"';
  }
}

TEST(NumberParser, DecimalStopsAtTheEndOfItsRange) {
  const char text[] = "12345";
  EXPECT_EQ(parse_decimal(text, text + 2), 12.0);
  EXPECT_EQ(parse_integer(text, text + 3), 123);
}

// Field text, integer it reads as.
TEST(NumberParser, IntegerGrammar) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"", 0},
      {"42", 42},
      {"2.9", 2},
      {"-3x", -3},
      {" +8", 8},
      {"x1", 0},
      {"--1", 0},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-99999999999999999999", -2147483647 - 1},
  };
  for (const auto& c : cases) EXPECT_EQ(integer(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
