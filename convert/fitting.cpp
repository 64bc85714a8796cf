#include "fitting.h"

#include <cmath>
#include <limits>

namespace {

using namespace viewer_camera;

constexpr double margin = 0.9;

}  // namespace

CaptureFit fit_to_starting_view(const CaptureBounds& bounds) {
  CaptureFit fit;
  if (bounds.empty()) return fit;
  double half[3];
  for (int a = 0; a < 3; ++a) {
    fit.centre[a] = (bounds.low[a] + bounds.high[a]) / 2.0;
    half[a] = (bounds.high[a] - bounds.low[a]) / 2.0;
  }
  // The view draws capture (x, y, z) at scene (y, z, x) / 100 and looks
  // from (0, 0, zoom). With k = scale / 100 the nearest cube face lies at
  // depth half[0] k + c, and its corners must stay within the view's half
  // extents at that distance: half[1] k + c <= t_w (zoom - c - half[0] k),
  // the same for half[2] with t_h, and zoom - c - half[0] k >= near plane.
  const double c = cube_half_edge;
  const double t_h = std::tan(field_of_view_degrees / 2.0 * M_PI / 180.0);
  const double t_w = t_h * view_width / view_height;
  const double room = starting_zoom - c;
  double k = std::numeric_limits<double>::infinity();
  auto limit = [&k](double coefficient, double bound) {
    if (coefficient > 0.0) k = std::min(k, bound / coefficient);
  };
  limit(half[1] + t_w * half[0], t_w * room - c);
  limit(half[2] + t_h * half[0], t_h * room - c);
  limit(half[0], room - near_plane);
  if (std::isfinite(k)) fit.scale = margin * k * capture_units_per_scene;
  return fit;
}

double aside_step(double size, double centre, int attempt) {
  const double scale = size > 0.0 ? size : std::max(std::fabs(centre), 1.0);
  // An odd fraction, so that regular values (whole numbers, steps of 0.5) are missed.
  return scale * 1.234567e-7 * attempt;
}

void move_centre_aside(CaptureFit& fit, const CaptureBounds& bounds, int attempt) {
  for (int a = 0; a < 3; ++a) {
    fit.centre[a] += aside_step(bounds.high[a] - bounds.low[a], fit.centre[a], attempt);
  }
}

void blank_zero_coordinates(Frame& frame) {
  for (MarkerPoint& point : frame.points) {
    for (double* v : {&point.x, &point.y, &point.z}) {
      if (*v == 0.0) *v = std::nan("");
    }
  }
}

bool apply_fit(Frame& frame, const CaptureFit& fit) {
  bool no_zero = true;
  for (MarkerPoint& point : frame.points) {
    if (!point.seen) continue;
    double* coordinates[3] = {&point.x, &point.y, &point.z};
    for (int a = 0; a < 3; ++a) {
      double& v = *coordinates[a];
      v = (v - fit.centre[a]) * fit.scale;
      if (v == 0.0) no_zero = false;
    }
  }
  return no_zero;
}
