// Reads an OptiTrack Motive CSV export (format 1.2x): the Position columns of
// its markers, frame by frame.
#ifndef MOTIVE_READER_H
#define MOTIVE_READER_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "marker_recording.h"
#include "text_lines.h"

class MotiveReader : public MarkerRecording {
 public:
  // Reads the file's settings line (Export or Capture
  // Frame Rate, Length Units, Total Exported Frames), its header rows (Type,
  // Name, optionally ID, then the group above the Frame row) and counts its
  // frame rows. Markers are the X, Y, Z Position columns of Type Marker,
  // Rigid Body Marker or Bone Marker; rigid bodies, bones and quality
  // columns are skipped. Motive records Y-up. Throws ConversionError, with
  // the line, when it has no rate from 0.001 Hz to 1000000 Hz, no Frame
  // row, no marker columns or no frame rows.
  explicit MotiveReader(InputFile file);

  const RecordingInfo& info() const override { return description; }

  // Reads the next frame row (blank rows are skipped). An empty or NaN cell,
  // or one past the end of a short row, makes its marker not seen. Throws
  // ConversionError, with the line, when the frame number is no whole
  // number or a marker cell holds no finite number. Does not allocate once
  // frame and the row's cells have grown.
  bool next_frame(Frame& frame) override;

  // Moves the decimal point of each coordinate's text as it reads it.
  bool read_times_power_of_ten(int power) override;

 private:
  // Reads rate, units and claimed frames from the first line.
  void read_settings(std::string_view line);
  // Reads the header rows down to the Frame row and picks the marker columns.
  void read_columns();
  // Counts the frame rows, notes the first frame's number and comes back.
  void count_frames();

  TextLines lines;
  RecordingInfo description;
  std::vector<size_t> x_columns;  // column of each marker's X; Y and Z follow
  std::vector<std::string_view> cells;
  int millimetre_power = 0;  // the power of ten every coordinate read is multiplied by
};

#endif  // MOTIVE_READER_H
