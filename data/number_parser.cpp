#include "number_parser.h"

#include <charconv>
#include <limits>

namespace {

// The white space of the C locale.
bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

int digit_value(char c) { return c - '0'; }

const char* skip_space(const char* p, const char* end) {
  while (p < end && is_space(*p)) ++p;
  return p;
}

// Powers of ten that a double holds exactly.
constexpr double exact_powers_of_ten[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int max_exact_power = 22;
constexpr uint64_t max_exact_mantissa = uint64_t{1} << 53;
constexpr int max_kept_digits = 19;  // any 19 digits fit in uint64_t
constexpr int exponent_limit = 100000;  // far beyond any finite double

// The digits of a number as scanned: value = mantissa * 10^decimal_exponent,
// exactly unless digits beyond the first 19 significant ones were dropped.
struct DecimalDigits {
  uint64_t mantissa = 0;
  int kept_digits = 0;
  int decimal_exponent = 0;
  bool digits_dropped = false;
  bool any_digit = false;
};

const char* scan_digits(const char* p, const char* end, DecimalDigits& digits,
                        bool in_fraction) {
  for (; p < end && is_digit(*p); ++p) {
    digits.any_digit = true;
    const int d = digit_value(*p);
    if (digits.mantissa == 0 && d == 0) {
      if (in_fraction) --digits.decimal_exponent;
    } else if (digits.kept_digits < max_kept_digits) {
      digits.mantissa = digits.mantissa * 10 + static_cast<uint64_t>(d);
      ++digits.kept_digits;
      if (in_fraction) --digits.decimal_exponent;
    } else {
      digits.digits_dropped = true;
      if (!in_fraction) ++digits.decimal_exponent;
    }
  }
  return p;
}

// Reads "e", an optional sign and at least one digit; returns p unchanged
// when no complete exponent stands there.
const char* scan_exponent(const char* p, const char* end, int& exponent) {
  if (p == end || (*p != 'e' && *p != 'E')) return p;
  const char* q = p + 1;
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) negative = *q++ == '-';
  if (q == end || !is_digit(*q)) return p;
  int magnitude = 0;
  for (; q < end && is_digit(*q); ++q) {
    if (magnitude < exponent_limit) magnitude = magnitude * 10 + digit_value(*q);
  }
  exponent = negative ? -magnitude : magnitude;
  return q;
}

// The correctly rounded value of the unsigned number text [begin, end),
// which holds digits, an optional point and fraction and an optional exponent.
double convert_exactly(const char* begin, const char* end, const DecimalDigits& digits) {
  double value = 0.0;
  const auto result = std::from_chars(begin, end, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    const int leading_power = digits.kept_digits - 1 + digits.decimal_exponent;
    value = leading_power >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return value;
}

}  // namespace

const char* scan_decimal(const char* begin, const char* end, double& value) {
  value = 0.0;
  const char* p = skip_space(begin, end);
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  const char* number_start = p;

  DecimalDigits digits;
  p = scan_digits(p, end, digits, false);
  if (p < end && *p == '.') p = scan_digits(p + 1, end, digits, true);
  if (!digits.any_digit) return begin;
  int exponent = 0;
  p = scan_exponent(p, end, exponent);

  double magnitude = 0.0;
  if (digits.mantissa != 0) {
    const int power = digits.decimal_exponent + exponent;
    const bool exact_path = !digits.digits_dropped &&
                            digits.mantissa <= max_exact_mantissa &&
                            power >= -max_exact_power && power <= max_exact_power;
    if (exact_path) {
      // Both operands are exact, so one IEEE operation rounds correctly.
      const auto mantissa = static_cast<double>(digits.mantissa);
      magnitude = power < 0 ? mantissa / exact_powers_of_ten[-power]
                            : mantissa * exact_powers_of_ten[power];
    } else {
      digits.decimal_exponent += exponent;
      magnitude = convert_exactly(number_start, p, digits);
    }
  }
  value = negative ? -magnitude : magnitude;
  return p;
}

double parse_decimal(const char* begin, const char* end) {
  double value;
  scan_decimal(begin, end, value);
  return value;
}

int32_t parse_integer(const char* begin, const char* end) {
  constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  const char* p = skip_space(begin, end);
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  int64_t magnitude = 0;
  for (; p < end && is_digit(*p); ++p) {
    if (magnitude < limit) magnitude = magnitude * 10 + digit_value(*p);
  }
  if (magnitude > limit) magnitude = limit;
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}
