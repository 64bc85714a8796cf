// The shortest text that reads back to the same double, fast for the
// values recordings hold.
#ifndef SHORTEST_TEXT_H
#define SHORTEST_TEXT_H

#include <cstdint>
#include <string>

// The digits of value's shortest text as a whole number and the count of
// its decimals (|value| = whole / 10^decimals), for values from 1e-9 to
// below 1e15 with up to 9 decimals and 15 significant digits. False for
// every other value. Cannot fail otherwise.
bool shortest_decimal(double value, uint64_t& whole, int& decimals);

// Writes value at out as std::to_chars(out, end, value) does (the shortest
// round-tripping digits, fixed or scientific notation, whichever is shorter,
// fixed on a tie) and returns the end. Needs 32 bytes at out. Values with up
// to 9 decimals and 15 significant digits, which recordings are made of,
// take a path of integer arithmetic; all others are handed to to_chars.
char* write_shortest(char* out, double value);

// The text write_shortest writes, as a string, for messages.
std::string shortest_string(double value);

#endif  // SHORTEST_TEXT_H
