// How far a subject travels across the lab during a capture.
#ifndef TRAVEL_GAUGE_H
#define TRAVEL_GAUGE_H

#include <optional>

#include "framing.h"
#include "marker_recording.h"

class TravelGauge {
 public:
  // Takes the seen X and Y coordinates of an upright frame, leaving out NaN
  // and 0 (missing to the viewer); called once per frame written.
  void add(const Frame& frame);

  // The horizontal span (the larger of the X and Y extents) of the box of
  // every frame added, when it is more than 3 times the largest horizontal
  // span of one frame's box: a subject who walks out of a view framing the
  // whole trial. Nothing for a subject who stays in place.
  std::optional<double> travel() const;

 private:
  CaptureBounds whole;
  double largest_frame_span = 0.0;
};

#endif  // TRAVEL_GAUGE_H
