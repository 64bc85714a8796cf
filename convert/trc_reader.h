// Reads a TRC marker table, tab-separated as OpenSim writes it or
// comma-separated as a spreadsheet saves it.
#ifndef TRC_READER_H
#define TRC_READER_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "marker_recording.h"
#include "text_lines.h"

class TrcReader : public MarkerRecording {
 public:
  // Reads the file's five header rows ("PathFileType",
  // the DataRate... keys and their values, the marker names, the X1 Y1 Z1
  // row). Throws ConversionError when its header
  // rows are missing, or its rate or marker count are not usable.
  explicit TrcReader(InputFile file);

  // OpenSim's tables, the main home of TRC, are Y-up.
  const RecordingInfo& info() const override { return description; }

  // Reads the next data row (blank rows are skipped). An empty or NaN cell,
  // or one past the end of a short row, makes its marker not seen. Throws
  // ConversionError when the frame number is no whole number or a cell holds
  // no finite number.
  bool next_frame(Frame& frame) override;

 private:
  // Reads the header rows into description and counts the data rows.
  void open();
  // Makes cells the next row that is not blank; false after the last.
  bool next_row();

  TextLines lines;
  char delimiter = '\t';
  std::vector<std::string_view> cells;  // of the row last read
  RecordingInfo description;
  size_t marker_count = 0;
};

#endif  // TRC_READER_H
