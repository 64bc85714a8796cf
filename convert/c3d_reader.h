// Reads the marker trajectories of a C3D file: Intel, DEC and MIPS
// processor types, integer and float storage, analog samples skipped.
#ifndef C3D_READER_H
#define C3D_READER_H

#include <cstddef>

#include "c3d_bytes.h"
#include "input_file.h"
#include "marker_recording.h"

class C3dReader : public MarkerRecording {
 public:
  // Checks the file's header and parameter section. Throws ConversionError
  // when it is no C3D file, its parameter section or values are
  // inconsistent, or its rate is not from 0.001 Hz to 1000000 Hz.
  explicit C3dReader(InputFile file);

  const RecordingInfo& info() const override { return description; }

  // Decodes the next frame. A point is not seen when its fourth value, as a
  // 16-bit integer, is negative. Throws ConversionError when a seen point
  // has a coordinate that is not a finite number.
  bool next_frame(Frame& frame) override;

  // The frames lie in the mapped file: decoding them again costs less than
  // copying them into fresh memory.
  bool read_again() override {
    next_index = 0;
    return true;
  }

 private:
  InputFile file;
  C3dBytes bytes;
  RecordingInfo description;
  size_t point_count = 0;
  bool float_storage = false;
  float scale = 1.0f;
  size_t data_start = 0;   // byte offset of the first frame
  size_t frame_bytes = 0;  // points and analog samples of one frame
  int64_t next_index = 0;  // index of the frame next_frame reads
};

#endif  // C3D_READER_H
