#include "following.h"

#include <algorithm>
#include <cmath>

#include "conversion_error.h"
#include "fitting.h"

namespace {

// Coordinate `axis` (0 X, 1 Y) of point.
double coordinate(const MarkerPoint& point, int axis) { return axis == 0 ? point.x : point.y; }

// The sum and count of frame's seen, present coordinates on axis, and
// their extent.
struct AxisTally {
  double sum = 0.0;
  int64_t count = 0;
  double low = HUGE_VAL;
  double high = -HUGE_VAL;

  AxisTally(const MarkerPoint* points, size_t points_in_frame, int axis) {
    for (const MarkerPoint* point = points; point != points + points_in_frame; ++point) {
      const double v = coordinate(*point, axis);
      if (!point->seen || std::isnan(v)) continue;
      sum += v;
      ++count;
      low = std::min(low, v);
      high = std::max(high, v);
    }
  }
};

// The centre of every frame on axis: the mean of the frame means within
// half_window frames of it.
std::vector<double> centres(const HeldFrames& frames, int axis, int64_t half_window) {
  const size_t n = frames.size();
  // Running sums of the frame means and of the frames that have one.
  std::vector<double> sums(n + 1, 0.0);
  std::vector<int64_t> counts(n + 1, 0);
  for (size_t f = 0; f < n; ++f) {
    const AxisTally tally(frames.points(f), frames.points_per_frame(), axis);
    const bool has_mean = tally.count > 0;
    sums[f + 1] = sums[f] + (has_mean ? tally.sum / static_cast<double>(tally.count) : 0.0);
    counts[f + 1] = counts[f] + (has_mean ? 1 : 0);
  }
  const size_t reach = static_cast<size_t>(std::max<int64_t>(half_window, 0));
  std::vector<double> centre(n, 0.0);
  for (size_t f = 0; f < n; ++f) {
    const size_t first = f > reach ? f - reach : 0;
    const size_t last = std::min(n, f + reach + 1);
    const int64_t count = counts[last] - counts[first];
    if (count > 0) centre[f] = (sums[last] - sums[first]) / static_cast<double>(count);
  }
  return centre;
}

// Subtracts centre from the coordinates on axis of a frame's count points,
// after moving it aside from every one of them.
void subtract_centre(MarkerPoint* points, size_t count, int axis, double centre) {
  const AxisTally tally(points, count, axis);
  if (tally.count == 0) return;
  auto on_a_coordinate = [points, count, axis](double value) {
    return std::any_of(points, points + count, [&](const MarkerPoint& point) {
      return point.seen && coordinate(point, axis) == value;
    });
  };
  for (int attempt = 1; on_a_coordinate(centre); ++attempt) {
    if (attempt > aside_attempts) throw ConversionError("no centre keeps every coordinate off 0");
    centre += aside_step(tally.high - tally.low, centre, attempt);
  }
  for (MarkerPoint* point = points; point != points + count; ++point) {
    if (point->seen) (axis == 0 ? point->x : point->y) -= centre;
  }
}

}  // namespace

void follow_subject(HeldFrames& frames, int64_t half_window) {
  for (int axis = 0; axis < 2; ++axis) {
    const std::vector<double> centre = centres(frames, axis, half_window);
    for (size_t f = 0; f < frames.size(); ++f) {
      subtract_centre(frames.points(f), frames.points_per_frame(), axis, centre[f]);
    }
  }
}
