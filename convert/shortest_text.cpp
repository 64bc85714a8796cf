#include "shortest_text.h"

#include <charconv>
#include <cmath>

namespace {

constexpr double powers_of_ten[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr int most_decimals = 9;
// Below 2^52 only one integer of a given count of decimals reads back to
// the value, so the one found is the nearest, as to_chars chooses.
constexpr double largest_digits = 1e15;

// Length of the scientific form of `digits` significant digits with an
// exponent of one or two figures ("1.25e-05").
int scientific_length(int digits) { return digits + (digits > 1 ? 1 : 0) + 4; }

}  // namespace

bool shortest_decimal(double value, uint64_t& whole, int& decimals) {
  const double magnitude = std::fabs(value);
  if (!(magnitude < largest_digits) || magnitude < 1e-9) return false;
  // The most places that keep the digits below largest_digits. Of the
  // decimals with that many places only one can read back to the value, and
  // when it ends in zeros, the same decimal with fewer places is the shortest.
  decimals = most_decimals;
  while (decimals > 0 && magnitude * powers_of_ten[decimals] >= largest_digits) --decimals;
  // The nearest whole number; a value near a decimal of these places is
  // far from a half, so adding one half and truncating rounds it right.
  whole = static_cast<uint64_t>(magnitude * powers_of_ten[decimals] + 0.5);
  if (static_cast<double>(whole) / powers_of_ten[decimals] != magnitude) return false;
  while (decimals >= 3 && whole % 1000 == 0) {
    whole /= 1000;
    decimals -= 3;
  }
  while (decimals > 0 && whole % 10 == 0) {
    whole /= 10;
    --decimals;
  }
  return true;
}

char* write_shortest(char* out, double value) {
  uint64_t whole = 0;
  int decimals = 0;
  if (!shortest_decimal(value, whole, decimals)) return std::to_chars(out, out + 32, value).ptr;
  char digits[24];
  const int all_digits =
      static_cast<int>(std::to_chars(digits, digits + sizeof digits, whole).ptr - digits);
  int trailing_zeros = 0;
  while (trailing_zeros + 1 < all_digits && digits[all_digits - 1 - trailing_zeros] == '0') {
    ++trailing_zeros;
  }
  const int integer_digits = all_digits > decimals ? all_digits - decimals : 1;
  const int fixed_length = integer_digits + (decimals > 0 ? 1 + decimals : 0);
  // Where the scientific form is shorter ("1e+05"), to_chars writes it.
  if (fixed_length > scientific_length(all_digits - trailing_zeros)) {
    return std::to_chars(out, out + 32, value).ptr;
  }
  if (value < 0) *out++ = '-';
  // Leading zeros of a value below 1: "0.0025".
  const int zeros = integer_digits + decimals - all_digits;
  const char* from = digits;
  for (int i = 0; i < integer_digits; ++i) *out++ = i < zeros ? '0' : *from++;
  if (decimals > 0) {
    *out++ = '.';
    for (int i = integer_digits; i < zeros; ++i) *out++ = '0';
    while (from < digits + all_digits) *out++ = *from++;
  }
  return out;
}

std::string shortest_string(double value) {
  char text[32];
  return std::string(text, write_shortest(text, value));
}
