// Locale-independent conversion of capture fields to numbers.
#ifndef NUMBER_PARSER_H
#define NUMBER_PARSER_H

#include <cstdint>

namespace number_parser_detail {

// What a decimal text holds up to its exponent.
struct DecimalDigits {
  const char* start;     // the first digit or the point, after blanks and sign
  const char* stop;      // just after the digits and the point that were read
  uint64_t mantissa;     // all digits as one integer, point ignored; exact up to 19 digits
  long digit_count;      // digits before and after the point
  long fraction_digits;  // digits after the point
  bool negative;
};

// The white space of the C locale: blank, and tab to carriage return. The
// first test alone rejects every character of a number.
inline bool is_space(char c) {
  return static_cast<unsigned char>(c) <= ' ' && (c == ' ' || (c >= '\t' && c <= '\r'));
}

// Adds the digits from p on to mantissa; returns where they end.
inline const char* scan_digits(const char* p, const char* end, uint64_t& mantissa) {
  for (; p < end; ++p) {
    const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
    if (digit > 9) break;
    mantissa = mantissa * 10 + digit;
  }
  return p;
}

// The first position from p on that is not white space, or end.
inline const char* skip_space(const char* p, const char* end) {
  while (p < end && is_space(*p)) ++p;
  return p;
}

// Reads blanks, sign, digits, point and fraction from the start of [begin, end).
inline DecimalDigits scan_decimal_digits(const char* begin, const char* end) {
  // Locals, not the fields of the result, so that the loops keep them in registers.
  const char* p = skip_space(begin, end);
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  const char* const start = p;
  uint64_t mantissa = 0;
  p = scan_digits(p, end, mantissa);
  long digit_count = p - start;
  long fraction_digits = 0;
  if (p < end && *p == '.') {
    const char* const fraction_start = p + 1;
    p = scan_digits(fraction_start, end, mantissa);
    fraction_digits = p - fraction_start;
    digit_count += fraction_digits;
  }
  return {start, p, mantissa, digit_count, fraction_digits, negative};
}

// Powers of ten that a double holds exactly.
inline constexpr double exact_powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
// Up to 15 digits stay below 2^53 and need at most 10^15 as divisor.
constexpr long max_plain_digits = 15;

// scan_decimal for the texts that its inline part leaves: no digit, an
// exponent, or more digits than one operation converts exactly. Reads the
// text again from begin, so that the inline part keeps its parts in registers.
const char* scan_decimal_in_full(const char* begin, const char* end, double& value);

}  // namespace number_parser_detail

// Reads a decimal floating-point number from the start of [begin, end):
// optional white space, optional sign, digits with an optional point and
// fraction, an optional exponent. Whatever follows is ignored; no hex, inf or
// nan. The result is correctly rounded (overflow gives +-infinity). Returns
// where reading stopped (begin when no number begins there) and stores the
// number, or 0.0 when none begins, in value. Never allocates. Inline, since
// a capture holds millions of plain numbers such as "-1234.567", which it
// converts without a call.
inline const char* scan_decimal(const char* begin, const char* end, double& value) {
  using namespace number_parser_detail;
  const DecimalDigits digits = scan_decimal_digits(begin, end);
  const bool exponent_follows = digits.stop < end && (*digits.stop == 'e' || *digits.stop == 'E');
  if (digits.digit_count > 0 && digits.digit_count <= max_plain_digits && !exponent_follows) {
    // The mantissa and the power are exact, so the one division rounds correctly.
    const double magnitude = static_cast<double>(static_cast<int64_t>(digits.mantissa)) /
                             exact_powers_of_ten[digits.fraction_digits];
    value = digits.negative ? -magnitude : magnitude;
    return digits.stop;
  }
  return scan_decimal_in_full(begin, end, value);
}

// scan_decimal's value alone.
double parse_decimal(const char* begin, const char* end);

// Reads an integer from the start of [begin, end): optional white space,
// optional sign, digits; stops at the first other character, so "2.9" is 2.
// 0 when no digit follows; saturates at the limits of int32_t.
int32_t parse_integer(const char* begin, const char* end);

#endif  // NUMBER_PARSER_H
