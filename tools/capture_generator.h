// Writes synthetic capture files: a figure walking in place, with gaps.
#ifndef CAPTURE_GENERATOR_H
#define CAPTURE_GENERATOR_H

#include <cstdint>
#include <cstdio>

// What to generate. The same shape and seed always give the same bytes.
struct CaptureShape {
  int32_t samples = 300;   // data lines after the header
  int32_t markers = 16;    // joints, 1 .. max_capture_markers
  double rate_hz = 100.0;  // samples per second
  double scale = 1.0;      // size of the figure, (0, 10]; 2.3 is a person
  double offset_mm = 0.0;  // added to every coordinate, at most 5000 in size
  uint64_t seed = 1;       // drives the measurement noise and the gaps
};

// Most markers a capture may have: hand and face sets of several hundred
// fit, and so do data lines far longer than the 998 characters that once
// were the reader's limit (about 28 characters a marker).
constexpr int32_t max_capture_markers = 5000;

// Writes the header and shape.samples data lines to file. Coordinates are in
// mm with 3 decimals and never exactly 0.000, so only the empty triples
// (about 2 % of them, in runs of 3 to 12 samples per marker) count as missing.
// Markers 1 to 16 sit on body landmarks, the further ones in a widening
// disc around them. At scale 1 and up to 32 markers the figure stays within
// |x| < 300, |y| < 400, |z| < 400, so it fills the viewer's initial camera
// (with 5000 markers the discs reach 0.34 m out); at scale 2.3 and offset
// 2000 it is a 1.75 m person standing in a lab whose origin is in a corner,
// and the file has about 830 bytes per line at 30 markers. Returns false
// when the shape is out of range or a write fails; allocates one line and
// one counter per marker.
bool write_capture(FILE* file, const CaptureShape& shape);

// Same as write_capture into a new file at path (replaced if it exists).
// Returns false when the file cannot be created or written.
bool write_capture_file(const char* path, const CaptureShape& shape);

#endif  // CAPTURE_GENERATOR_H
