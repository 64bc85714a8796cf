// The shortest decimal text of a coordinate, fast for the values recordings
// hold: numbers with a few decimals, read from text.
#ifndef DECIMAL_TEXT_H
#define DECIMAL_TEXT_H

// Writes value at out as std::to_chars(out, end, value) does (the shortest
// text that reads back as value) and returns the end of the text. Values
// from 0.001 to 100,000 with at most six decimals take a fast path; the
// rest go to std::to_chars. out must have room for 24 characters. Never
// allocates.
char* write_shortest(char* out, double value);

#endif  // DECIMAL_TEXT_H
