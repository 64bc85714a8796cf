// Storing the fields of one data line of a capture into the record.
#ifndef DATA_LINE_H
#define DATA_LINE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "motion_data.h"

// Where each floating-point column of a data line goes: column 1 is the
// time, then X, Y, Z of each joint in turn. Column 0, the sample number, is
// an integer and has no entry of its own (null).
std::vector<double*> column_series(const MotionData& data);

// Splits one data line (without its line end) at every comma and stores its
// fields in row of sample_numbers and of every series. Fields beyond the last
// joint are ignored; the field that ends the line is the last joint's Z;
// values of a short line that no field sets are 0. Sets every value of the
// row and no other; never allocates.
void store_data_line(const char* line, size_t length, int32_t row,
                     const std::vector<double*>& series, int32_t* sample_numbers);

#endif  // DATA_LINE_H
