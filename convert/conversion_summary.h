// What one conversion did, and the line that tells the user.
#ifndef CONVERSION_SUMMARY_H
#define CONVERSION_SUMMARY_H

#include <cstdint>
#include <string>

#include "framing.h"

struct ConversionSummary {
  int64_t markers = 0;
  int64_t frames = 0;          // frames written
  int64_t frames_claimed = 0;  // frames the input says it holds
  double rate_hz = 0.0;
  std::string units;  // as the input names them; empty when it does not
  int64_t points_not_seen = 0;
  uint64_t bytes_written = 0;
  CameraValues camera;
};

// The one summary line, without its newline, e.g.
// "51 markers, 580 frames at 100 Hz in mm, 1.0 % of points not seen; to frame
// it all set Zoom Input 30, Pan Camera Vertical -5, Pan Camera Horizontal -5".
// When the input claims more or fewer frames than it holds, the count says
// so: "580 frames (the file claims 600)".
std::string summary_line(const ConversionSummary& summary);

#endif  // CONVERSION_SUMMARY_H
