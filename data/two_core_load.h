// Passes 1 and 4 of a load on two cores: the file splits at a line end near
// its middle, and each half is read on a core of its own.
#ifndef TWO_CORE_LOAD_H
#define TWO_CORE_LOAD_H

#include <sys/types.h>

#include <cstdint>
#include <cstdio>

#include "motion_data.h"

// Where a capture file splits into the halves that two cores read.
struct FileSplit {
  off_t offset = 0;             // the second half's first byte, just after a line end
  char line_end = '\n';         // the character that ends every line, as LineReader chooses it
  int32_t first_half_rows = 0;  // data lines before offset, set by count_samples_in_halves
};

// Sets split to just after the first line end at or past the middle of the
// open file. False, with nothing set, when the file is empty or cannot be
// read, or when no line end lies within the longest line's reach of the
// middle. The file must be at its start; allocates a scratch buffer of
// LineReader::file_start_bytes and frees it.
bool find_split(FILE* file, FileSplit& split);

// Pass 1 on two cores: counts the lines of both halves at once, then sets
// sample_count as count_samples does and split.first_half_rows. Reports
// nothing: returns false, leaving data alone, when a half meets a fault or the
// count does not fit; count_samples, which reads the whole file in order, then
// finds the first fault and reports it.
bool count_samples_in_halves(FILE* file, MotionData& data, FileSplit& split);

// The reading of pass 4 on two cores, into series already created: the rows
// before split.first_half_rows from the first half, the others from the
// second, at once. Returns false when a half meets a fault or no longer holds
// its lines (the file changed since pass 1); some rows are then written, and
// the reading of the whole file in order must write every row again.
bool read_rows_in_halves(FILE* file, MotionData& data, const FileSplit& split);

#endif  // TWO_CORE_LOAD_H
