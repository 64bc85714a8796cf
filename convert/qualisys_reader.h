// Reads the 3D marker export of Qualisys Track Manager: a tab-separated
// text of KEY<TAB>value header lines, then rows of X Y Z per marker in mm.
#ifndef QUALISYS_READER_H
#define QUALISYS_READER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "marker_recording.h"
#include "text_lines.h"

// True when line (trimmed) starts with a key of a Qualisys export's header
// (NO_OF_FRAMES, NO_OF_CAMERAS, NO_OF_MARKERS, FREQUENCY, NO_OF_ANALOG,
// ANALOG_FREQUENCY, DESCRIPTION, TIME_STAMP, DATA_INCLUDED, MARKER_NAMES,
// TRAJECTORY_TYPES) as a word of its own. Never allocates.
bool is_qualisys_key_line(std::string_view line);

class QualisysReader : public MarkerRecording {
 public:
  // Reads the header lines (FREQUENCY, NO_OF_FRAMES, NO_OF_MARKERS,
  // MARKER_NAMES, DATA_INCLUDED; other keys are skipped) up to the
  // Frame<TAB>Time<TAB>... column row or the first data row, and counts the
  // data rows. Throws ConversionError when it holds no 3D data, has no
  // FREQUENCY from 0.001 Hz to 1000000 Hz, names no markers, or its
  // NO_OF_MARKERS differs from the names given, or it holds no data row.
  explicit QualisysReader(InputFile file);

  const RecordingInfo& info() const override { return description; }

  // Reads the next data row: its frame number from the Frame column, or one
  // more than the last row's (from 1) when the file has no such column. A
  // point is not seen when a coordinate is empty, NaN or past the end of a
  // short row, or when all three are exactly 0 (how QTM writes a marker it
  // lost). Throws ConversionError when the frame number is no whole number
  // or a coordinate cell holds no number. Does not allocate once frame has
  // its points.
  bool next_frame(Frame& frame) override;

 private:
  // Reads the header lines and leaves `lines` at the first data row.
  void read_header();
  // Takes one KEY line's value into description; the value cells follow
  // the key word in the line.
  void take_key(std::string_view key, const std::vector<std::string_view>& values);
  // Checks what the header gave and counts the data rows.
  void check_header();
  // Makes row the next data line, skipping blank lines; false at the end.
  bool next_row(std::string_view& row);

  TextLines lines;
  RecordingInfo description;
  std::vector<std::string_view> cells;  // of the row being read
  bool numbered = false;                // rows start with Frame and Time columns
  size_t first_marker_column = 0;
  size_t marker_count = 0;
  int64_t next_number = 1;  // of the next row, in files without a Frame column
  bool has_frequency = false;
  int64_t declared_markers = -1;  // NO_OF_MARKERS, or -1 when absent
  size_t declared_markers_line = 0;
  size_t names_line = 0;  // of MARKER_NAMES, 0 when absent
};

#endif  // QUALISYS_READER_H
