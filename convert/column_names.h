// Marker names for the capture file's header.
#ifndef COLUMN_NAMES_H
#define COLUMN_NAMES_H

#include <string>
#include <vector>

// One name per label, in order: blanks, commas and control characters
// replaced by '_', an empty label named P1, P2, ... by its position, and a
// name already taken given the first free suffix _2, _3, ... (LASI, LASI_2).
// Allocates the result.
std::vector<std::string> unique_marker_names(const std::vector<std::string>& labels);

#endif  // COLUMN_NAMES_H
