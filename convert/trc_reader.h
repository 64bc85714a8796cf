// Reads a TRC marker table, tab-separated as OpenSim writes it or
// comma-separated as a spreadsheet saves it.
#ifndef TRC_READER_H
#define TRC_READER_H

#include <cstddef>
#include <string>
#include <vector>

#include "marker_recording.h"

class TrcReader : public MarkerRecording {
 public:
  // Reads the whole file at path and its five header rows ("PathFileType",
  // the DataRate... names and their values, the marker names, the X1 Y1 Z1
  // row). Throws ConversionError when the file cannot be read, its header
  // rows are missing, or its rate or marker count are not usable.
  explicit TrcReader(const std::string& path);

  const RecordingInfo& info() const override { return description; }

  // Reads the next data row (blank rows are skipped). An empty cell, or one
  // past the end of a short row, makes its marker not seen. Throws
  // ConversionError when the frame number is no whole number or a cell holds
  // no finite number.
  bool next_frame(Frame& frame) override;

 private:
  // Splits line `index` into its cells.
  std::vector<std::string> cells(size_t index) const;
  // Reads the header rows into description and sets first_data_row.
  void open();

  std::string text;
  std::vector<size_t> line_starts;  // start of each line, plus one past the end
  char delimiter = '\t';
  RecordingInfo description;
  size_t marker_count = 0;
  size_t next_row = 0;  // line index of the next data row
};

#endif  // TRC_READER_H
