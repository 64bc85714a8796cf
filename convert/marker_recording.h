// What the C3D and TRC readers deliver: the recording's description, then its
// frames one after another.
#ifndef MARKER_RECORDING_H
#define MARKER_RECORDING_H

#include <cstdint>
#include <string>
#include <vector>

// One marker in one frame. x, y, z are meaningless when seen is false. A
// seen point may lack single coordinates (a capture file with one empty
// field of three): those are NaN.
struct MarkerPoint {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  bool seen = false;
};

// One frame: its number in the recording and one point per marker.
struct Frame {
  int64_t number = 0;
  std::vector<MarkerPoint> points;
};

// The axis a recording stands along: the one that points up in its lab.
enum class UpAxis { y, z };

// What the recording says about itself.
struct RecordingInfo {
  std::vector<std::string> labels;  // one per marker, as stored (may be empty or repeat)
  std::string units;                // e.g. "mm" or "m"; empty when the file names none
  double rate_hz = 0.0;             // frames per second, > 0
  int64_t first_frame = 0;          // number of the first frame
  int64_t frames_claimed = 0;       // frames the file says it holds
  int64_t frames_present = 0;       // frames it really holds and next_frame delivers
  bool single_precision = false;    // coordinates are single-precision values (C3D)
  UpAxis up = UpAxis::z;            // by the file's own word or its format's convention
};

// A recording opened by a reader. Readers check the whole description when
// they open the file and throw ConversionError on bad input.
class MarkerRecording {
 public:
  virtual ~MarkerRecording() = default;

  // The description; valid for the reader's whole life.
  virtual const RecordingInfo& info() const = 0;

  // Reads the next frame into frame (points resized to the marker count) and
  // returns true, or returns false after the last frame. Throws
  // ConversionError when the frame holds a value that cannot be converted.
  virtual bool next_frame(Frame& frame) = 0;

  // Asks next_frame to deliver every coordinate from now on times
  // 10^power, the double shift_decimal_point gives for it, and returns
  // true; false when the reader leaves that to its caller.
  virtual bool read_times_power_of_ten(int /*power*/) { return false; }

  // Makes next_frame start again at the first frame and returns true when
  // reading the frames again costs less than holding them; false, with
  // nothing changed, otherwise.
  virtual bool read_again() { return false; }
};

#endif  // MARKER_RECORDING_H
