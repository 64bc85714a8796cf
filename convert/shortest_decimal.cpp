#include "shortest_decimal.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr int most_decimals = 7;
constexpr double scale = 1e7;            // 10^most_decimals
constexpr double largest_digits = 1e15;  // below 2^53: every whole number is exact

}  // namespace

char* write_shortest_decimal(char* out, char* end, double value) {
  const double magnitude = std::fabs(value);
  const double scaled = std::nearbyint(magnitude * scale);
  // Both numbers are exact, so the quotient is the double nearest to the
  // decimal scaled x 10^-7: the text reads back to value exactly when they
  // are equal. No other decimal of 7 places does, as 10^-7 is wider than
  // the gap between doubles below 10^8.
  if (!(scaled < largest_digits) || scaled == 0.0 || scaled / scale != magnitude) {
    return std::to_chars(out, end, value).ptr;
  }
  uint64_t digits = static_cast<uint64_t>(scaled);
  int decimals = most_decimals;
  for (; decimals > 0 && digits % 10 == 0; --decimals) digits /= 10;
  int whole_zeros = 0;
  for (uint64_t whole = digits; decimals == 0 && whole % 10 == 0; whole /= 10) ++whole_zeros;
  char text[24];
  const int count = static_cast<int>(std::to_chars(text, text + sizeof text, digits).ptr - text);
  // std::to_chars writes scientific text ("1e-05", "1.5e+07") when it is
  // shorter than fixed text ("0.00001", "15000000").
  const int significant = count - whole_zeros;
  const int fixed_length = decimals == 0 ? count : (count > decimals ? count : decimals + 1) + 1;
  const int scientific_length = significant + (significant > 1 ? 1 : 0) + 4;
  if (scientific_length < fixed_length) return std::to_chars(out, end, value).ptr;

  if (value < 0.0) *out++ = '-';
  const int whole_digits = count - decimals;
  if (whole_digits > 0) {
    std::memcpy(out, text, static_cast<size_t>(whole_digits));
    out += whole_digits;
  } else {
    *out++ = '0';
  }
  if (decimals == 0) return out;
  *out++ = '.';
  for (int zero = whole_digits; zero < 0; ++zero) *out++ = '0';
  const int shown = whole_digits > 0 ? decimals : count;
  std::memcpy(out, text + count - shown, static_cast<size_t>(shown));
  return out + shown;
}
