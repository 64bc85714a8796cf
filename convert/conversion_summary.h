// What one conversion did, and the line that tells the user.
#ifndef CONVERSION_SUMMARY_H
#define CONVERSION_SUMMARY_H

#include <cstdint>
#include <optional>
#include <string>

#include "fitting.h"
#include "framing.h"

// The frames a time window and a stride kept of those read.
struct KeptFrames {
  double first_seconds = 0.0;  // written time of the first frame written
  double last_seconds = 0.0;   // and of the last one
  int64_t every = 1;           // one frame in `every` of the window's
};

struct ConversionSummary {
  int64_t markers = 0;
  int64_t frames = 0;            // frames written
  int64_t frames_read = 0;       // frames the input holds
  int64_t frames_claimed = 0;    // frames the input says it holds
  int64_t frames_in_window = 0;  // frames read that the time window kept
  double rate_hz = 0.0;          // of the frames written: the recording's rate / every
  std::string units;             // units written; empty when not known ("recorded units")
  std::string recorded_units;    // the recording's own, when they were turned into units
  bool turned_upright = false;   // a Y-up recording turned Z-up
  bool followed = false;         // the subject kept in the middle of the view
  int64_t points_not_seen = 0;
  uint64_t bytes_written = 0;
  std::optional<KeptFrames> kept;  // set when a window or a stride was asked for
  double reach_seconds = 0.0;      // written time of the last frame "Frame Number" reaches
  std::optional<double> travel;    // horizontal travel of a subject who walks out of view
  CameraValues camera;             // values that frame the capture as written
  std::optional<CaptureFit> fit;   // how the capture was fitted to the starting camera
};

// The frames the viewer's "Frame Number" slider (0 to 1000) reaches.
constexpr int64_t frames_in_reach = 1001;

// value with six significant digits, for the user to read: 120.005, 4.
std::string rounded(double value);

// The one summary line, without its newline, e.g.
// "51 markers, 580 frames at 100 Hz in mm (recorded in m), Z-up, 1.0 % of
// points not seen; to frame it all set Zoom Input 30, Pan Camera Vertical
// -5, Pan Camera Horizontal -5". Frame counts are grouped by thousands.
// When the input claims more or fewer frames than it holds, the count says
// so: "580 frames (the file claims 600)"; what a window or stride kept reads
// "501 of 3,361 frames (4 s to 10.25 s, every 2nd)"; a followed capture
// says ", followed" after its up axis. A fitted capture ends "; fitted:
// centred on (x, y, z), scaled by s; set nothing, the starting Zoom Input
// 10 and pans 0 frame it all". Hints follow as ". Note: " and sentences:
// frames beyond "Frame Number"'s reach, a subject who travels out of view.
std::string summary_line(const ConversionSummary& summary);

#endif  // CONVERSION_SUMMARY_H
