// Reads the Trajectories section of a Vicon Nexus CSV export.
#ifndef NEXUS_READER_H
#define NEXUS_READER_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "marker_recording.h"
#include "text_lines.h"

// The section a line of a Nexus export heads (Trajectories, Devices, Joints,
// Model Outputs or Segments: the name alone but for commas and blanks), or
// an empty text when the line heads none. Never allocates.
std::string_view nexus_section_name(std::string_view line);

class NexusReader : public MarkerRecording {
 public:
  // Reads the head of the file's Trajectories section:
  // the rate, the names row (a marker's name above its X column), the
  // Frame, Sub Frame, X, Y, Z... row and the units row, then counts the data
  // rows up to the first blank line or the end. Sections before and after
  // it are skipped. Throws ConversionError, naming the line, when there is
  // no Trajectories section, its head is damaged, it names no markers or
  // holds no data rows.
  explicit NexusReader(InputFile file);

  const RecordingInfo& info() const override { return description; }

  // Reads the next data row of the section. An empty or NaN cell, or one
  // past the end of a short row, makes its marker not seen. Throws
  // ConversionError, naming the line, when the frame number is no whole
  // number, the sub frame is not 0, or a cell holds no finite number.
  bool next_frame(Frame& frame) override;

 private:
  // Reads the section's head rows after its heading; fills description.
  void read_head();
  // Takes the unit of the marker columns from the units row in cells.
  void read_units();
  // Counts the data rows from here to the section's end and reads the
  // first frame number, then comes back.
  void count_frames();

  TextLines lines;
  RecordingInfo description;
  std::vector<size_t> x_columns;  // the X column of each marker
  std::vector<std::string_view> cells;
  bool has_sub_frames = false;  // the column row has a Sub Frame column
  bool section_ended = false;
};

#endif  // NEXUS_READER_H
