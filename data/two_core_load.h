// Passes 1 and 4 of a load on two cores: the file splits at line ends into
// pieces, and each core reads the next piece that no core has taken yet, so
// that a core slowed by other work takes fewer of them.
#ifndef TWO_CORE_LOAD_H
#define TWO_CORE_LOAD_H

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "line_reader.h"
#include "motion_data.h"

// Where a capture file splits into the pieces that two cores read.
struct FileSplit {
  std::vector<off_t> starts;        // each piece's first byte: 0, then just after a line end
  char line_end = '\n';             // the character that ends every line, as LineReader chooses it
  std::vector<int32_t> first_rows;  // data lines before each piece, set by count_samples_in_pieces

  // Piece k, for a LineReader.
  FilePart piece(size_t k) const;
};

// Splits the open file into pieces of about a MiB, at least two and at most
// 32, each starting just after the first line end at or past its planned
// start. False, with nothing set, when the file is empty or cannot be read,
// or when no line end lies within the longest line's reach of where the
// second piece would start.
// The file must be at its start; allocates a scratch buffer of
// LineReader::file_start_bytes and frees it.
bool find_split(FILE* file, FileSplit& split);

// Pass 1 on two cores: counts the lines of every piece, then sets
// sample_count as count_samples does and split.first_rows. Reports nothing:
// returns false, leaving data alone, when a piece meets a fault or the count
// does not fit; count_samples, which reads the whole file in order, then
// finds the first fault and reports it.
bool count_samples_in_pieces(FILE* file, MotionData& data, FileSplit& split);

// The reading of pass 4 on two cores, into series already created: the rows
// of every piece where split.first_rows places them. Returns false when a
// piece meets a fault or no longer holds its lines (the file changed since
// pass 1); some rows are then written, and the reading of the whole file in
// order must write every row again.
bool read_rows_in_pieces(FILE* file, MotionData& data, const FileSplit& split);

#endif  // TWO_CORE_LOAD_H
