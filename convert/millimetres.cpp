#include "millimetres.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "number_parser.h"
#include "shortest_text.h"

std::optional<int> millimetre_power(const std::string& units) {
  std::string name;
  for (char c : units) {
    if (c != ' ' && c != '\t')
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (name == "m" || name == "meter" || name == "meters" || name == "metre" || name == "metres") {
    return 3;
  }
  if (name == "cm" || name == "centimeter" || name == "centimeters" || name == "centimetre" ||
      name == "centimetres") {
    return 1;
  }
  if (name == "mm" || name == "millimeter" || name == "millimeters" || name == "millimetre" ||
      name == "millimetres") {
    return 0;
  }
  return std::nullopt;
}

namespace {

// The decimal digits hold (no exponent after them) times 10^power, when an
// exact mantissa of at most 15 digits and an exact power of ten make it one
// correctly rounded division or multiplication; false otherwise.
bool shift_plain_digits(const number_parser_detail::DecimalDigits& digits, int power,
                        double& value) {
  using namespace number_parser_detail;
  const long places = digits.fraction_digits - power;
  const long largest_power = static_cast<long>(std::size(exact_powers_of_ten)) - 1;
  if (digits.digit_count == 0 || digits.digit_count > max_plain_digits || places > largest_power ||
      -places > largest_power) {
    return false;
  }
  const double mantissa = static_cast<double>(static_cast<int64_t>(digits.mantissa));
  const double magnitude = places >= 0 ? mantissa / exact_powers_of_ten[places]
                                       : mantissa * exact_powers_of_ten[-places];
  value = digits.negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

const char* scan_shifted_decimal(const char* begin, const char* end, int power, double& value) {
  const number_parser_detail::DecimalDigits digits =
      number_parser_detail::scan_decimal_digits(begin, end);
  const bool exponent_follows = digits.stop < end && (*digits.stop == 'e' || *digits.stop == 'E');
  return !exponent_follows && shift_plain_digits(digits, power, value) ? digits.stop : begin;
}

double shift_decimal_point(double value, int power, bool single_precision) {
  if (power == 0 || !std::isfinite(value)) return value;
  uint64_t whole = 0;
  int decimals = 0;
  if (!single_precision && shortest_decimal(value, whole, decimals) && decimals >= power) {
    // An exact whole number over an exact power of ten: one correctly
    // rounded division.
    const double magnitude =
        static_cast<double>(whole) / number_parser_detail::exact_powers_of_ten[decimals - power];
    return value < 0 ? -magnitude : magnitude;
  }
  char text[48];
  const char* end = single_precision ? std::to_chars(text, text + 32, static_cast<float>(value)).ptr
                                     : write_shortest(text, value);
  const number_parser_detail::DecimalDigits digits =
      number_parser_detail::scan_decimal_digits(text, end);
  const bool exponent_follows = digits.stop < end;
  double shifted = 0.0;
  if (!exponent_follows && shift_plain_digits(digits, power, shifted)) return shifted;
  // Otherwise the exponent says it: "1.5e-07" and power 3 read as "1.5e-07e3"
  // would not parse, so the text's own exponent is added to.
  long exponent = 0;
  if (exponent_follows) std::from_chars(digits.stop + 1 + (digits.stop[1] == '+'), end, exponent);
  char* const exponent_at = text + (digits.stop - text);
  const int written = std::snprintf(exponent_at, 16, "e%ld", exponent + power);
  return parse_decimal(text, exponent_at + written);
}

void scale_to_millimetres(Frame& frame, int power, bool single_precision) {
  for (MarkerPoint& point : frame.points) {
    if (!point.seen) continue;
    point.x = shift_decimal_point(point.x, power, single_precision);
    point.y = shift_decimal_point(point.y, power, single_precision);
    point.z = shift_decimal_point(point.z, power, single_precision);
  }
}
