#include "frame_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "nine_digits.h"
#include "shortest_text.h"

namespace {

// Room for one number with its comma: a double's shortest form takes at
// most 24 characters, a 64-bit frame number 20.
constexpr size_t longest_field = 32;

char* write_coordinate(char* out, double value, CoordinateDigits digits) {
  char* const end = out + longest_field;
  switch (digits) {
    case CoordinateDigits::shortest_float:
      return std::to_chars(out, end, static_cast<float>(value)).ptr;
    case CoordinateDigits::nine_significant: return write_nine_digits(out, value);
    case CoordinateDigits::shortest_double: break;
  }
  return write_shortest(out, value);
}

}  // namespace

size_t longest_frame_text(size_t points) { return longest_field * (2 + 3 * points); }

char* write_frame_text(char* out, const Frame& frame, double seconds, CoordinateDigits digits) {
  out = std::to_chars(out, out + longest_field, frame.number).ptr;
  *out++ = ',';
  out = write_shortest(out, seconds);
  for (const MarkerPoint& point : frame.points) {
    if (!point.seen) {
      std::memcpy(out, ",,,", 3);
      out += 3;
      continue;
    }
    for (double coordinate : {point.x, point.y, point.z}) {
      *out++ = ',';
      // A coordinate the recording lacks stays an empty field.
      if (!std::isnan(coordinate)) out = write_coordinate(out, coordinate, digits);
    }
  }
  *out++ = '\n';
  return out;
}
