// Reads a capture file, the viewer's own format, by the viewer's rules.
#ifndef CAPTURE_READER_H
#define CAPTURE_READER_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "comma_row.h"
#include "marker_recording.h"
#include "text_lines.h"

class CaptureReader : public MarkerRecording {
 public:
  // Reads the file's header ("KSample", "KTime", then
  // three headings per marker; a marker's label is its first heading less a
  // trailing "_X") and the sample numbers and times of every line. The rate
  // is the median of (sample step / time step) over neighbouring lines whose
  // both steps are positive, rounded to 9 significant digits, so regular
  // times give back the rate they were written at; a capture of a single
  // sample gets 100 Hz. Units are none (the recorded units, never scaled),
  // the up axis Z. Throws ConversionError when its
  // header is not a capture's, a sample number is no whole number, a time no
  // number, or the times never increase or give no rate from 0.001 Hz to
  // 1000000 Hz.
  explicit CaptureReader(InputFile file);

  const RecordingInfo& info() const override { return description; }

  // Reads the next data line (blank lines are skipped). An empty field, NaN
  // or a number of exactly 0 is a missing coordinate: left NaN, and a point
  // with all three missing, or cut off by a short line, is not seen. Throws
  // ConversionError when a field holds no number.
  bool next_frame(Frame& frame) override;

 private:
  // Makes line the next non-blank line; false after the last line.
  bool next_line(std::string_view& line);
  // The sample number in row's first cell.
  int64_t sample_number(CommaRow& row) const;
  // Reads the header into description.
  void read_header();
  // Reads every line's sample number and time: first frame, frame count, rate.
  void read_samples();

  TextLines lines;
  TextLines::Mark first_data_line{0, 0};
  std::vector<std::string_view> cells;
  RecordingInfo description;
  size_t marker_count = 0;
};

#endif  // CAPTURE_READER_H
