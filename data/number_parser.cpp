#include "number_parser.h"

#include <charconv>
#include <limits>

using namespace number_parser_detail;

namespace {

constexpr long max_exact_power = 22;
constexpr uint64_t max_exact_mantissa = uint64_t{1} << 53;
constexpr long max_uint64_digits = 19;  // any 19 digits fit in uint64_t
constexpr int exponent_limit = 100000;  // far beyond any finite double

bool is_digit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

int digit_value(char c) { return c - '0'; }

// True when the mantissa of digits times 10^power is one IEEE operation on
// two exact operands, which rounds correctly.
bool is_exact(const DecimalDigits& digits, long power) {
  return digits.digit_count <= max_uint64_digits && digits.mantissa <= max_exact_mantissa &&
         power >= -max_exact_power && power <= max_exact_power;
}

// The value of digits times 10^power, sign included; is_exact must hold.
double exact_value(const DecimalDigits& digits, long power) {
  const auto mantissa = static_cast<double>(digits.mantissa);
  const double magnitude =
      power < 0 ? mantissa / exact_powers_of_ten[-power] : mantissa * exact_powers_of_ten[power];
  return digits.negative ? -magnitude : magnitude;
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

const char* number_parser_detail::scan_decimal_in_full(const char* begin, const char* end,
                                                       double& value) {
  const DecimalDigits digits = scan_decimal_digits(begin, end);
  value = 0.0;
  if (digits.digit_count == 0) return begin;
  int exponent = 0;
  const char* p = scan_exponent(digits.stop, end, exponent);
  const long power = exponent - digits.fraction_digits;
  if (is_exact(digits, power)) {
    value = exact_value(digits, power);
  } else if (digits.digit_count > max_uint64_digits || digits.mantissa != 0) {
    const double magnitude = convert_exactly(digits.start, p, exponent);
    value = digits.negative ? -magnitude : magnitude;
  } else {
    value = digits.negative ? -0.0 : 0.0;
  }
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
