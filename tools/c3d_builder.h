// Writes small and large C3D files for the converter's tests and benchmark:
// every processor type, integer or float storage, analog samples between
// frames, labels past 255 points, long captures, an empty parameter section
// and a header that claims more frames than the file holds.
#ifndef C3D_BUILDER_H
#define C3D_BUILDER_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// How a C3D file stores its numbers; the values are the processor type byte.
enum class C3dNumberFormat : uint8_t { intel = 84, dec = 85, mips = 86 };

// One point of one frame as stored: whole numbers that the file's scale
// turns into coordinates (float storage stores value x scale as a float).
struct StoredPoint {
  int16_t x = 0;
  int16_t y = 0;
  int16_t z = 0;
  bool seen = true;  // false: fourth value -1
};

// What to write. The same description always gives the same bytes.
struct C3dDescription {
  C3dNumberFormat format = C3dNumberFormat::intel;
  bool float_storage = false;
  float scale = 0.1f;  // > 0; coordinates are stored values x scale
  float rate_hz = 100.0f;
  int64_t first_frame = 1;
  int64_t frames = 3;             // frames in the data section
  int64_t frames_claimed = 0;     // frames the header claims; 0: as many as written
  int analog_samples = 0;         // analog values after each frame's points
  bool empty_parameters = false;  // parameter section without records
  std::string units = "mm";
  std::string y_screen;             // POINT:Y_SCREEN, e.g. "+Y"; none when empty
  std::vector<std::string> labels;  // one per point; POINT:LABELS, LABELS2, ... 255 each
  // The stored point of marker m in frame f (0-based).
  std::function<StoredPoint(int64_t f, size_t m)> point;
};

// The whole file. Frame counts past 65,535 go into TRIAL:ACTUAL_START_FIELD
// and ACTUAL_END_FIELD and a float POINT:FRAMES, as real files do. Records
// are written with locked names, the TRIAL group after its parameters and a
// description length that does not match, which a reader must walk by the
// records' offsets. Allocates the file's size.
std::vector<unsigned char> build_c3d(const C3dDescription& description);

// Same, into the file at path; false when it cannot be written.
bool write_c3d_file(const std::string& path, const C3dDescription& description);

#endif  // C3D_BUILDER_H
