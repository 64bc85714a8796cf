// Locale-independent conversion of capture fields to numbers.
#ifndef NUMBER_PARSER_H
#define NUMBER_PARSER_H

#include <cstdint>

// Reads a decimal floating-point number from the start of [begin, end):
// optional white space, optional sign, digits with an optional point and
// fraction, an optional exponent. Whatever follows is ignored; no hex, inf or
// nan. The result is correctly rounded (overflow gives +-infinity). Returns
// where reading stopped (begin when no number begins there) and stores the
// number, or 0.0 when none begins, in value. Never allocates.
const char* scan_decimal(const char* begin, const char* end, double& value);

// scan_decimal's value alone.
double parse_decimal(const char* begin, const char* end);

// Reads an integer from the start of [begin, end): optional white space,
// optional sign, digits; stops at the first other character, so "2.9" is 2.
// 0 when no digit follows; saturates at the limits of int32_t.
int32_t parse_integer(const char* begin, const char* end);

#endif  // NUMBER_PARSER_H
