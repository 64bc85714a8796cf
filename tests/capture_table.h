// A capture file read back as numbers, for tests that compare values.
#ifndef CAPTURE_TABLE_H
#define CAPTURE_TABLE_H

#include <cmath>
#include <string>
#include <vector>

struct CaptureTable {
  std::vector<std::string> header;        // the first line's fields
  std::vector<std::vector<double>> rows;  // one per data line; NaN for an empty field
};

// The capture at path split at commas and line ends (LF or CRLF); every data
// field read with strtod, an empty one as NaN. Empty when it cannot be read.
CaptureTable read_capture_table(const std::string& path);

#endif  // CAPTURE_TABLE_H
