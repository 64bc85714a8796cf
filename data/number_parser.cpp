#include "number_parser.h"

#include <charconv>
#include <limits>

namespace {

// The white space of the C locale: blank, and tab to carriage return.
bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool is_digit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

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
constexpr long max_uint64_digits = 19;  // any 19 digits fit in uint64_t
constexpr int exponent_limit = 100000;  // far beyond any finite double

// Adds the digits from p on to mantissa; returns where they end.
const char* scan_digits(const char* p, const char* end, uint64_t& mantissa) {
  for (; p < end && is_digit(*p); ++p) {
    mantissa = mantissa * 10 + static_cast<uint64_t>(digit_value(*p));
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

// The power of ten of the first non-zero digit of the unsigned number text
// [begin, end), which holds digits, an optional point and fraction and the
// given exponent; at least one digit is not zero.
long leading_power_of_ten(const char* begin, const char* end, int exponent) {
  const char* point = begin;
  while (point < end && is_digit(*point)) ++point;
  const char* first = begin;
  while (first < end && (*first == '0' || *first == '.')) ++first;
  const long digits_from_point = first < point ? point - first - 1 : point - first;
  return digits_from_point + exponent;
}

// The correctly rounded value of the unsigned number text [begin, end),
// which holds digits, an optional point and fraction and the given exponent.
double convert_exactly(const char* begin, const char* end, int exponent) {
  double value = 0.0;
  const auto result = std::from_chars(begin, end, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    value = leading_power_of_ten(begin, end, exponent) >= 0
                ? std::numeric_limits<double>::infinity()
                : 0.0;
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

  uint64_t mantissa = 0;
  p = scan_digits(p, end, mantissa);
  long digit_count = p - number_start;
  long fraction_digits = 0;
  if (p < end && *p == '.') {
    const char* fraction_start = p + 1;
    p = scan_digits(fraction_start, end, mantissa);
    fraction_digits = p - fraction_start;
    digit_count += fraction_digits;
  }
  if (digit_count == 0) return begin;
  int exponent = 0;
  p = scan_exponent(p, end, exponent);

  double magnitude = 0.0;
  const long power = exponent - fraction_digits;
  const bool exact_path = digit_count <= max_uint64_digits && mantissa <= max_exact_mantissa &&
                          power >= -max_exact_power && power <= max_exact_power;
  if (exact_path) {
    // Both operands are exact, so one IEEE operation rounds correctly.
    const auto exact_mantissa = static_cast<double>(mantissa);
    magnitude = power < 0 ? exact_mantissa / exact_powers_of_ten[-power]
                          : exact_mantissa * exact_powers_of_ten[power];
  } else if (digit_count > max_uint64_digits || mantissa != 0) {
    magnitude = convert_exactly(number_start, p, exponent);
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
