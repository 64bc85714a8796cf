// The shortest decimal text of a double, fast for values written with few
// decimals, as recordings hold them.
#ifndef SHORTEST_DECIMAL_H
#define SHORTEST_DECIMAL_H

// Writes value into [out, end) exactly as std::to_chars(out, end, value)
// does (the shortest text that reads back to value, fixed or scientific,
// whichever is shorter) and returns the end of the text; about twice as
// fast for values of at most 7 decimals below 10^8, the others go to
// std::to_chars. end - out must be at least 32. Never allocates.
char* write_shortest_decimal(char* out, char* end, double value);

#endif  // SHORTEST_DECIMAL_H
