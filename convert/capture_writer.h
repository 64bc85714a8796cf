// Writes a capture file the viewer loads, through a temporary file beside
// the target that takes the target's name only when everything is written.
#ifndef CAPTURE_WRITER_H
#define CAPTURE_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

#include "frame_text_pipeline.h"
#include "marker_recording.h"

class CaptureWriter {
 public:
  // Creates the temporary file beside target. Throws ConversionError when it
  // cannot be created. Coordinates are written with `digits`; the lines are
  // formed on two threads when the process may use two cores, with the same
  // bytes as on one.
  CaptureWriter(const std::string& target, CoordinateDigits digits);
  // Removes the temporary file unless commit has succeeded.
  ~CaptureWriter();
  CaptureWriter(const CaptureWriter&) = delete;
  CaptureWriter& operator=(const CaptureWriter&) = delete;

  // Writes "KSample,KTime," and NAME_X,NAME_Y,NAME_Z for every name; comes
  // before the first frame.
  void write_header(const std::vector<std::string>& names);
  // Writes one line of the frame (see write_frame_text). Throws
  // ConversionError when an earlier write failed.
  void write_frame(const Frame& frame, double seconds) { lines.add(frame, seconds); }
  // Bytes written to the file, all of them after commit.
  uint64_t bytes_written() const { return written; }
  // Writes every line, closes the file and renames it to the target. Throws
  // ConversionError when a write, the close or the rename failed.
  void commit();

 private:
  // Writes length bytes of text to the file.
  void write_all(const char* text, size_t length);
  [[noreturn]] void fail() const;

  std::string target;
  std::string temporary;
  int descriptor = -1;
  bool committed = false;
  uint64_t written = 0;
  FrameTextPipeline lines;
};

#endif  // CAPTURE_WRITER_H
