// The plain way to read a capture, as a baseline for the load benchmark.
#ifndef PLAIN_READER_H
#define PLAIN_READER_H

#include <cstddef>
#include <vector>

// Reads the capture at path line by line with fgets, converts every field
// after the header with strtod and appends it to values, which grows as it
// goes. Returns the number of values read, or 0 when the file cannot be read.
size_t read_with_fgets_strtod(const char* path, std::vector<double>& values);

#endif  // PLAIN_READER_H
