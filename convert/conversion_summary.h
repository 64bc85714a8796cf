// What one conversion did, and the line that tells the user.
#ifndef CONVERSION_SUMMARY_H
#define CONVERSION_SUMMARY_H

#include <cstdint>
#include <optional>
#include <string>

#include "fitting.h"
#include "framing.h"

struct ConversionSummary {
  int64_t markers = 0;
  int64_t frames = 0;          // frames written
  int64_t frames_claimed = 0;  // frames the input says it holds
  double rate_hz = 0.0;
  std::string units;            // units written; empty when not known ("recorded units")
  std::string recorded_units;   // the recording's own, when they were turned into units
  bool turned_upright = false;  // a Y-up recording turned Z-up
  int64_t points_not_seen = 0;
  uint64_t bytes_written = 0;
  CameraValues camera;            // values that frame the capture as written
  std::optional<CaptureFit> fit;  // how the capture was fitted to the starting camera
};

// The one summary line, without its newline, e.g.
// "51 markers, 580 frames at 100 Hz in mm (recorded in m), Z-up, 1.0 % of
// points not seen; to frame it all set Zoom Input 30, Pan Camera Vertical
// -5, Pan Camera Horizontal -5". When the input claims more or fewer frames
// than it holds, the count says so: "580 frames (the file claims 600)". A
// fitted capture ends "; fitted: centred on (x, y, z), scaled by s; set
// nothing, the starting Zoom Input 10 and pans 0 frame it all".
std::string summary_line(const ConversionSummary& summary);

#endif  // CONVERSION_SUMMARY_H
