// Writes a capture file the viewer loads, through a temporary file beside
// the target that takes the target's name only when everything is written.
#ifndef CAPTURE_WRITER_H
#define CAPTURE_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

#include "marker_recording.h"

class CaptureWriter {
 public:
  // Creates the temporary file beside target. Throws ConversionError when it
  // cannot be created. Coordinates are written as the shortest text that
  // reads back to the same float (single_precision) or double.
  CaptureWriter(const std::string& target, bool single_precision);
  // Removes the temporary file unless commit has succeeded.
  ~CaptureWriter();
  CaptureWriter(const CaptureWriter&) = delete;
  CaptureWriter& operator=(const CaptureWriter&) = delete;

  // Writes "KSample,KTime," and NAME_X,NAME_Y,NAME_Z for every name.
  void write_header(const std::vector<std::string>& names);
  // Writes one line: the frame number, seconds, then X, Y, Z of every point,
  // three empty fields for a point not seen and an empty field for a NaN
  // coordinate of a seen one.
  void write_frame(const Frame& frame, double seconds);
  // Bytes written to the file so far (all of them after commit).
  uint64_t bytes_written() const { return written; }
  // Flushes and closes the file and renames it to the target. Throws
  // ConversionError when a write, the close or the rename failed.
  void commit();

 private:
  // Room for `length` more bytes in the buffer, writing it out first when
  // it is full; returns where they go.
  char* room(size_t length);
  // Writes the buffer to the file and empties it.
  void flush_buffer();
  [[noreturn]] void fail() const;

  std::string target;
  std::string temporary;
  int descriptor = -1;
  bool single_precision;
  bool committed = false;
  uint64_t written = 0;
  std::vector<char> buffer;  // lines not yet written
  size_t filled = 0;         // bytes of buffer in use
};

#endif  // CAPTURE_WRITER_H
