// Coordinates in millimetres, the unit the viewer's scene is built for.
#ifndef MILLIMETRES_H
#define MILLIMETRES_H

#include <optional>
#include <string>

#include "marker_recording.h"

// The power of ten that turns a value in `units` into millimetres: 3 for
// m, meters, metres; 1 for cm, ...; 0 for mm, ...; in any case, blanks
// around ignored. Nothing for an empty or unknown unit.
std::optional<int> millimetre_power(const std::string& units);

// value × 10^power, formed exactly from the value's shortest text (of the
// float when single_precision) with its decimal point moved, so 0.7337041
// and power 3 give the double nearest 733.7041. Non-finite values are kept.
double shift_decimal_point(double value, int power, bool single_precision);

// Reads a plain decimal from the start of [begin, end): optional blanks and
// sign, 1 to 15 digits with an optional point, no exponent. Stores it times
// 10^power, the same double that shift_decimal_point gives for the value
// scan_decimal reads there, and returns where the digits end; returns begin
// when no such decimal starts there.
const char* scan_shifted_decimal(const char* begin, const char* end, int power, double& value);

// Every coordinate of every seen point of frame times 10^power, as above.
void scale_to_millimetres(Frame& frame, int power, bool single_precision);

#endif  // MILLIMETRES_H
