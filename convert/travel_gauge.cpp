#include "travel_gauge.h"

#include <algorithm>
#include <limits>

namespace {

constexpr double travel_factor = 3.0;

// The larger of box's X and Y extents; 0 for an axis with no value.
double horizontal_span(const CaptureBounds& box) {
  double span = 0.0;
  for (int a = 0; a < 2; ++a) {
    if (box.high[a] >= box.low[a]) span = std::max(span, box.high[a] - box.low[a]);
  }
  return span;
}

// v, or NaN for a 0 that the viewer reads as missing; CaptureBounds skips NaN.
double present(double v) { return v == 0.0 ? std::numeric_limits<double>::quiet_NaN() : v; }

}  // namespace

void TravelGauge::add(const Frame& frame) {
  CaptureBounds box;
  for (const MarkerPoint& point : frame.points) {
    if (point.seen) box.add(present(point.x), present(point.y), 0.0);
  }
  largest_frame_span = std::max(largest_frame_span, horizontal_span(box));
  for (int a = 0; a < 2; ++a) {
    whole.low[a] = std::min(whole.low[a], box.low[a]);
    whole.high[a] = std::max(whole.high[a], box.high[a]);
  }
}

std::optional<double> TravelGauge::travel() const {
  const double span = horizontal_span(whole);
  if (span > travel_factor * largest_frame_span) return span;
  return std::nullopt;
}
