// Random decimal texts converted by the capture number parser and by the C
// library in the C locale must give the same bits: the reader's fast paths
// may never round differently from a correctly rounded conversion.
#include <gtest/gtest.h>
#include <locale.h>

#include <cfloat>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "number_parser.h"
#include "reference_numbers.h"

namespace {

// Exact midpoints between adjacent doubles are built in long double, which
// must hold them: x86's extended format has 11 more mantissa bits.
static_assert(std::numeric_limits<long double>::digits >= 64,
              "midpoint texts need a long double wider than double");

using Random = std::mt19937_64;

int uniform(Random& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

bool chance(Random& random, int percent) { return uniform(random, 1, 100) <= percent; }

std::string digits(Random& random, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += static_cast<char>('0' + uniform(random, 0, 9));
  return text;
}

// Digits without a leading zero, so that the count is the significant count.
std::string significant_digits(Random& random, int count) {
  return static_cast<char>('1' + uniform(random, 0, 8)) + digits(random, count - 1);
}

std::string sign(Random& random) {
  const int pick = uniform(random, 0, 3);
  return pick == 0 ? "-" : pick == 1 ? "+" : "";
}

// Places a decimal point inside the digits, or before or after them.
std::string with_point(Random& random, const std::string& mantissa) {
  const int at = uniform(random, 0, static_cast<int>(mantissa.size()));
  return mantissa.substr(0, static_cast<size_t>(at)) + "." +
         mantissa.substr(static_cast<size_t>(at));
}

std::string exponent(Random& random, int low, int high) {
  const int value = uniform(random, low, high);
  std::string text = chance(random, 50) ? "e" : "E";
  if (value >= 0 && chance(random, 30)) text += "+";
  if (chance(random, 10)) text += "0";
  return text + std::to_string(value);
}

// The exact decimal expansion of value, in the %e form with every digit up
// to the last non-zero one.
std::string exact_text(long double value) {
  char buffer[1300];
  std::snprintf(buffer, sizeof buffer, "%.1100Le", value);
  std::string text = buffer;
  const size_t e = text.find('e');
  size_t last = e - 1;
  while (text[last] == '0') --last;
  if (text[last] == '.') --last;
  return text.substr(0, last + 1) + text.substr(e);
}

// The point halfway between a positive double and the next one up; above
// DBL_MAX the next step is 2^1024, where rounding overflows.
long double midpoint_above(double value) {
  const long double next = value == DBL_MAX
                               ? std::ldexp(1.0L, 1024)
                               : std::nextafter(value, std::numeric_limits<double>::infinity());
  return (static_cast<long double>(value) + next) / 2;
}

// Halfway texts and their close neighbours: the exact midpoint (a tie, broken
// to even), the midpoint cut to 17 .. 40 significant digits (just below it),
// and the midpoint with a 1 appended far out (just above it).
std::string near_midpoint(Random& random, long double midpoint) {
  std::string text = exact_text(midpoint);
  const size_t e = text.find('e');
  const std::string mantissa = text.substr(0, e);
  const std::string power = text.substr(e);
  switch (uniform(random, 0, 2)) {
    case 0: return text;
    case 1: {
      const size_t kept = static_cast<size_t>(uniform(random, 17, 40)) + 1;  // with the point
      return mantissa.substr(0, kept < mantissa.size() ? kept : mantissa.size()) + power;
    }
    default:
      return (mantissa.find('.') == std::string::npos ? mantissa + "." : mantissa) +
             std::string(static_cast<size_t>(uniform(random, 1, 30)), '0') + "1" + power;
  }
}

// A double of any finite positive magnitude, its bits drawn at random.
double random_normal(Random& random) {
  const uint64_t exponent_bits = static_cast<uint64_t>(uniform(random, 1, 2046)) << 52;
  const uint64_t mantissa_bits = random() & ((uint64_t{1} << 52) - 1);
  const uint64_t bits = exponent_bits | mantissa_bits;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

double random_denormal(Random& random) {
  const uint64_t bits = random() & ((uint64_t{1} << 52) - 1);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Coordinates as captures hold them: up to four digits and three decimals.
std::string plain_mm(Random& random) {
  return sign(random) + std::to_string(uniform(random, 0, 9999)) + "." + digits(random, 3);
}

// Up to 19 significant digits scaled anywhere in and beyond the double range.
std::string any_exponent(Random& random) {
  return sign(random) + with_point(random, significant_digits(random, uniform(random, 1, 19))) +
         exponent(random, -360, 330);
}

std::string long_mantissa(Random& random) {
  return sign(random) + with_point(random, significant_digits(random, uniform(random, 17, 40))) +
         (chance(random, 70) ? exponent(random, -40, 40) : "");
}

// Around the smallest denormal, 4.9e-324, where text rounds to 0 or 2^-1074.
std::string smallest_denormals(Random& random) {
  return sign(random) + significant_digits(random, uniform(random, 1, 25)) + "e" +
         std::to_string(uniform(random, -350, -320) - uniform(random, 0, 24));
}

// Around the smallest normal, 2.2250738585072014e-308, by its leading digits.
std::string smallest_normals(Random& random) {
  return sign(random) + "2.225073858507201" + digits(random, uniform(random, 0, 25)) + "e-308";
}

std::string normal_midpoints(Random& random) {
  return sign(random) + near_midpoint(random, midpoint_above(random_normal(random)));
}

std::string denormal_midpoints(Random& random) {
  return sign(random) + near_midpoint(random, midpoint_above(random_denormal(random)));
}

// Around DBL_MAX, 1.7976931348623157e308, and the overflow threshold halfway
// to 2^1024, where text starts to round to infinity.
std::string near_largest(Random& random) {
  if (chance(random, 30)) return sign(random) + near_midpoint(random, midpoint_above(DBL_MAX));
  if (chance(random, 30)) {
    const double below = std::nextafter(DBL_MAX, 0.0);
    return sign(random) + near_midpoint(random, midpoint_above(below));
  }
  return sign(random) + "1.79769313486231" + digits(random, uniform(random, 0, 25)) + "e308";
}

// Magnitudes far beyond the double range: infinity or zero.
std::string out_of_range(Random& random) {
  const bool huge = chance(random, 50);
  const int power = huge ? uniform(random, 309, 100000) : -uniform(random, 345, 100000);
  return sign(random) + with_point(random, significant_digits(random, uniform(random, 1, 30))) +
         "e" + std::to_string(power);
}

// Leading blanks, leading zeros, bare points and text after the number.
std::string odd_forms(Random& random) {
  static const char* const blanks[] = {"", " ", "\t", "  \t", "\n", "\v\f"};
  static const char* const tails[] = {"", ",", ",12", "\r", "x", "e", "e+", "E-", ".5", " 7"};
  const std::string zeros(static_cast<size_t>(uniform(random, 0, 30)), '0');
  const std::string mantissa =
      chance(random, 50)
          ? zeros + with_point(random, significant_digits(random, uniform(random, 1, 22)))
          : "." + zeros + significant_digits(random, uniform(random, 1, 22));
  return blanks[uniform(random, 0, 5)] + sign(random) + mantissa +
         (chance(random, 50) ? exponent(random, -330, 330) : "") + tails[uniform(random, 0, 9)];
}

// Columns: family name, text generator, how many texts.
struct Family {
  const char* name;
  std::string (*make)(Random&);
  int count;
};

const Family decimal_families[] = {
    {"plain mm", plain_mm, 3000},
    {"any exponent", any_exponent, 3000},
    {"long mantissa", long_mantissa, 3000},
    {"smallest denormals", smallest_denormals, 2000},
    {"smallest normals", smallest_normals, 1000},
    {"normal midpoints", normal_midpoints, 1500},
    {"denormal midpoints", denormal_midpoints, 600},
    {"near largest", near_largest, 1000},
    {"out of range", out_of_range, 1000},
    {"odd forms", odd_forms, 2000},
};

TEST(NumberRoundtrip, DecimalsMatchStrtodBitForBit) {
  Random random(20240611);
  for (const Family& family : decimal_families) {
    int mismatches = 0;
    for (int i = 0; i < family.count && mismatches < 10; ++i) {
      const std::string text = family.make(random);
      const double parsed = parse_decimal(text.data(), text.data() + text.size());
      const double expected = reference_decimal(text);
      if (bits_of(parsed) != bits_of(expected)) ++mismatches;
      EXPECT_EQ(bits_of(parsed), bits_of(expected))
          << family.name << ": \"" << text << "\" parsed as " << std::hexfloat << parsed
          << ", strtod gives " << expected;
    }
  }
}

// Sample-number texts: optional blanks and sign, up to 25 digits, and a
// fraction or other text after them.
std::string integer_text(Random& random) {
  static const char* const tails[] = {"", ".9", ",", "x", "\r", "e5"};
  return std::string(static_cast<size_t>(uniform(random, 0, 2)), ' ') + sign(random) +
         digits(random, uniform(random, 1, 25)) + tails[uniform(random, 0, 5)];
}

TEST(NumberRoundtrip, IntegersMatchStrtollSaturatedToInt32) {
  Random random(20240612);
  for (int i = 0; i < 5000; ++i) {
    const std::string text = integer_text(random);
    EXPECT_EQ(parse_integer(text.data(), text.data() + text.size()), reference_integer(text))
        << "\"" << text << "\"";
  }
}

}  // namespace
