#include "decimal_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double millionths = 1e6;
// Between these bounds std::to_chars writes plain (not exponent) notation,
// and millionths are far coarser than a double's spacing, so a value that is
// exactly a whole number of millionths has that decimal as its shortest text.
constexpr double fast_low = 1e-3;
constexpr double fast_high = 1e5;

constexpr char digit_pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

}  // namespace

char* write_shortest(char* out, double value) {
  const double magnitude = std::fabs(value);
  if (!(magnitude >= fast_low && magnitude < fast_high))
    return std::to_chars(out, out + 24, value).ptr;
  const double scaled = std::nearbyint(magnitude * millionths);
  if (scaled / millionths != magnitude) return std::to_chars(out, out + 24, value).ptr;

  const uint64_t whole_millionths = static_cast<uint64_t>(scaled);
  uint32_t whole = static_cast<uint32_t>(whole_millionths / 1000000);  // below 10^5
  const uint32_t fraction = static_cast<uint32_t>(whole_millionths % 1000000);

  if (value < 0.0) *out++ = '-';
  const int whole_digits = whole >= 10000  ? 5
                           : whole >= 1000 ? 4
                           : whole >= 100  ? 3
                           : whole >= 10   ? 2
                                           : 1;
  char* at = out + whole_digits;
  for (; whole >= 100; whole /= 100) {
    at -= 2;
    std::memcpy(at, digit_pairs + 2 * (whole % 100), 2);
  }
  if (whole >= 10) {
    std::memcpy(at - 2, digit_pairs + 2 * whole, 2);
  } else {
    at[-1] = static_cast<char>('0' + whole);
  }
  out += whole_digits;
  if (fraction == 0) return out;

  // Six places, of which the trailing zeros are dropped.
  *out++ = '.';
  std::memcpy(out, digit_pairs + 2 * (fraction / 10000), 2);
  std::memcpy(out + 2, digit_pairs + 2 * (fraction / 100 % 100), 2);
  std::memcpy(out + 4, digit_pairs + 2 * (fraction % 100), 2);
  int places = 6;
  while (out[places - 1] == '0') --places;
  return out + places;
}
