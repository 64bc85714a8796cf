// The text of one capture line: a frame's number, its time and its points.
#ifndef FRAME_TEXT_H
#define FRAME_TEXT_H

#include <cstddef>

#include "marker_recording.h"

// How coordinates are written.
enum class CoordinateDigits {
  shortest_double,   // the shortest text that reads back to the same double
  shortest_float,    // the shortest text that reads back to the same float
  nine_significant,  // at most 9 significant digits: values a program computed
};

// The most bytes write_frame_text writes for a frame of `points` points.
size_t longest_frame_text(size_t points);

// Writes frame's line at out, which has room for longest_frame_text bytes,
// and returns its end: the frame number, seconds, then X, Y, Z of every
// point, three empty fields for a point not seen and an empty field for a
// NaN coordinate of a seen one, then a newline. Cannot fail.
char* write_frame_text(char* out, const Frame& frame, double seconds, CoordinateDigits digits);

#endif  // FRAME_TEXT_H
