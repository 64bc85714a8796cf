#include "nine_digits.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr int digits = 9;
// 10^n for n from -5 to 13: from 1 on exact in a double, below 1 rounded,
// as doubles must be.
constexpr double decades[] = {1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0,  1e1,  1e2,  1e3, 1e4,
                              1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13};
constexpr int decade_of_one = 5;         // the index of 1e0 in decades
constexpr double smallest_fixed = 1e-4;  // %g turns to the scientific form below
constexpr double largest_fixed = 1e9;    // and at or above
// The scaled value is formed with an error far below this, so a fraction
// this far from a half rounds the same as the exact value would.
constexpr double tie_margin = 1e-6;

char* to_chars_nine(char* out, double value) {
  return std::to_chars(out, out + 32, value, std::chars_format::general, digits).ptr;
}

// The power of ten of the first digit of magnitude, from -4 to 8, for
// smallest_fixed <= magnitude < largest_fixed; one too small right at a
// power of ten below 1, which the caller's range check of the digits
// catches. Found from the binary exponent without a loop, whose varying
// count of turns the processor would mispredict.
int first_digit_power(double magnitude) {
  uint64_t bits;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const int binary = static_cast<int>((bits >> 52) & 0x7ff) - 1023;  // 2^binary <= magnitude
  // floor(binary × log10 2), which is the power of ten or one less.
  int exponent = (binary * 1233) >> 12;
  if (magnitude >= decades[decade_of_one + exponent + 1]) ++exponent;
  return exponent;
}

// The 8 decimal digits of n < 10^8, one a byte (0 to 9, not yet characters),
// the first in the lowest byte: split into halves, quarters and digits in
// the lanes of one 64-bit word, each division by a constant done as a
// multiplication that is exact for the lane's range.
uint64_t eight_digits(uint32_t n) {
  uint64_t v = (n / 10000) | (uint64_t{n % 10000} << 32);
  const uint64_t hundreds = ((v * 5243) >> 19) & 0x0000007F0000007F;  // / 100 below 43,699
  v = hundreds | ((v - hundreds * 100) << 16);
  const uint64_t tens = ((v * 103) >> 10) & 0x000F000F000F000F;  // / 10 below 179
  return tens | ((v - tens * 10) << 8);
}

}  // namespace

char* write_nine_digits(char* out, double value) {
  const double magnitude = std::fabs(value);
  if (!(magnitude >= smallest_fixed && magnitude < largest_fixed)) return to_chars_nine(out, value);
  const int exponent = first_digit_power(magnitude);
  const double scaled = magnitude * decades[decade_of_one + digits - 1 - exponent];
  const auto truncated = static_cast<uint64_t>(scaled);
  const double fraction = scaled - static_cast<double>(truncated);
  if (std::fabs(fraction - 0.5) < tie_margin) return to_chars_nine(out, value);
  const uint64_t whole = truncated + (fraction > 0.5 ? 1 : 0);
  // A first digit misjudged at a power of ten, or 9.999999996 rounded to 10.
  if (whole < 100000000 || whole >= 1000000000) return to_chars_nine(out, value);

  const char first = static_cast<char>('0' + whole / 100000000);
  const uint64_t rest = eight_digits(static_cast<uint32_t>(whole % 100000000));
  // Digits written: all 9 less the trailing zeros, the highest bytes of rest.
  int last = rest == 0 ? 1 : digits - __builtin_clzll(rest) / 8;
  const uint64_t text = rest + 0x3030303030303030;  // each digit as its character
  // The sign without a branch, which random signs would mispredict half the time.
  *out = '-';
  out += std::signbit(value);
  if (exponent < 0) {
    std::memcpy(out, "0.000", 5);
    out += 1 - exponent;
    *out = first;
    std::memcpy(out + 1, &text, 8);
    return out + last;
  }
  // The integer digits stay, whatever the zeros; the fraction's follow a point.
  const int integer_digits = exponent + 1;
  if (last < integer_digits) last = integer_digits;
  *out = first;
  std::memcpy(out + 1, &text, 8);
  if (last == integer_digits) return out + last;
  out[integer_digits] = '.';
  const uint64_t fraction_text = text >> (8 * (integer_digits - 1));
  std::memcpy(out + integer_digits + 1, &fraction_text, 8);
  return out + last + 1;
}
