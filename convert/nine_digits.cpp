#include "nine_digits.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

constexpr int digits = 9;
// 10^n for n from 0 to 13, all exact in a double.
constexpr double powers_of_ten[] = {1e0, 1e1, 1e2, 1e3,  1e4,  1e5,  1e6,
                                    1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13};
constexpr double smallest_fixed = 1e-4;  // %g turns to the scientific form below
constexpr double largest_fixed = 1e9;    // and at or above
// The scaled value is formed with an error far below this, so a fraction
// this far from a half rounds the same as the exact value would.
constexpr double tie_margin = 1e-6;

char* to_chars_nine(char* out, double value) {
  return std::to_chars(out, out + 32, value, std::chars_format::general, digits).ptr;
}

}  // namespace

char* write_nine_digits(char* out, double value) {
  const double magnitude = std::fabs(value);
  if (!(magnitude >= smallest_fixed && magnitude < largest_fixed)) return to_chars_nine(out, value);
  // exponent: the power of ten of the first digit, from -4 to 8.
  int exponent = digits - 1;
  while (magnitude < powers_of_ten[exponent] && exponent > 0) --exponent;
  if (magnitude < 1.0) {
    exponent = -1;
    while (exponent > -4 && magnitude * powers_of_ten[-exponent] < 1.0) --exponent;
  }
  const double scaled = magnitude * powers_of_ten[digits - 1 - exponent];
  const double floor = std::floor(scaled);
  const double fraction = scaled - floor;
  if (std::fabs(fraction - 0.5) < tie_margin) return to_chars_nine(out, value);
  const auto whole = static_cast<uint64_t>(floor) + (fraction > 0.5 ? 1 : 0);
  // A first digit misjudged at a power of ten, or 9.999999996 rounded to 10.
  if (whole < 100000000 || whole >= 1000000000) return to_chars_nine(out, value);
  char text[digits];
  std::to_chars(text, text + digits, whole);
  int last = digits;  // digits written, trailing zeros of the fraction dropped
  while (last > exponent + 1 && text[last - 1] == '0') --last;
  if (value < 0) *out++ = '-';
  if (exponent < 0) {
    *out++ = '0';
    *out++ = '.';
    for (int i = -1; i > exponent; --i) *out++ = '0';
    for (int i = 0; i < last; ++i) *out++ = text[i];
    return out;
  }
  for (int i = 0; i < last; ++i) {
    if (i == exponent + 1) *out++ = '.';
    *out++ = text[i];
  }
  return out;
}
