// Computed values written with 9 significant digits: far finer than a
// picture shows, and half the text of a double's 17.
#ifndef NINE_DIGITS_H
#define NINE_DIGITS_H

// Writes value at out as printf's "%.9g" does (std::to_chars with
// chars_format::general and precision 9) and returns the end. Needs 32
// bytes at out. A value other than 0 never comes out as 0. Values from 1e-4
// to below 1e9, away from a tie of the ninth digit, take a path of integer
// arithmetic; the others are handed to to_chars.
char* write_nine_digits(char* out, double value);

#endif  // NINE_DIGITS_H
