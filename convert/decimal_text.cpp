#include "decimal_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

constexpr double millionths = 1e6;
// Between these bounds std::to_chars writes plain (not exponent) notation,
// and millionths are far coarser than a double's spacing, so a value that is
// exactly a whole number of millionths has that decimal as its shortest text.
constexpr double fast_low = 1e-3;
constexpr double fast_high = 1e5;

}  // namespace

char* write_shortest(char* out, double value) {
  const double magnitude = std::fabs(value);
  if (!(magnitude >= fast_low && magnitude < fast_high))
    return std::to_chars(out, out + 24, value).ptr;
  const double scaled = std::nearbyint(magnitude * millionths);
  if (scaled / millionths != magnitude) return std::to_chars(out, out + 24, value).ptr;

  uint64_t digits = static_cast<uint64_t>(scaled);  // below 10^11
  int decimals = 6;
  while (decimals > 0 && digits % 10 == 0) {
    digits /= 10;
    --decimals;
  }
  char text[24];
  char* start = text + sizeof text;
  for (int written = 0; digits != 0 || written <= decimals; ++written) {
    if (written == decimals && decimals > 0) *--start = '.';
    *--start = static_cast<char>('0' + digits % 10);
    digits /= 10;
  }
  if (value < 0.0) *out++ = '-';
  for (const char* c = start; c != text + sizeof text; ++c) *out++ = *c;
  return out;
}
