#include "framing.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace viewer_camera;

double nearest_step(double value) { return slider_step * std::round(value / slider_step); }

// Scene range [low, high] of capture axis `axis`, widened by the cube.
void scene_range(const CaptureBounds& bounds, int axis, double& low, double& high) {
  low = bounds.low[axis] / capture_units_per_scene - cube_half_edge;
  high = bounds.high[axis] / capture_units_per_scene + cube_half_edge;
}

}  // namespace

CameraValues frame_capture(const CaptureBounds& bounds) {
  CameraValues camera;
  if (bounds.empty()) return camera;
  // The view draws capture (x, y, z) at scene (y, z, x) / 100, shifted by
  // (pan horizontal, pan vertical, 0), seen from (0, 0, zoom).
  double horizontal[2];
  double vertical[2];
  double depth[2];
  scene_range(bounds, 1, horizontal[0], horizontal[1]);
  scene_range(bounds, 2, vertical[0], vertical[1]);
  scene_range(bounds, 0, depth[0], depth[1]);
  // 0.0 - keeps a centred box at 0, not -0.
  camera.pan_horizontal = 0.0 - nearest_step((horizontal[0] + horizontal[1]) / 2.0);
  camera.pan_vertical = 0.0 - nearest_step((vertical[0] + vertical[1]) / 2.0);

  const double half_height = std::tan(field_of_view_degrees / 2.0 * M_PI / 180.0);
  const double half_width = half_height * view_width / view_height;
  // A corner at scene (h, v, d) is in view when zoom - d exceeds the near
  // plane and |h| / (zoom - d) and |v| / (zoom - d) stay within the half
  // extents; the needs of the far corners of each face decide.
  double needed = depth[1] + near_plane;
  for (double h : horizontal) {
    for (double v : vertical) {
      const double reach = std::max(std::fabs(h + camera.pan_horizontal) / half_width,
                                    std::fabs(v + camera.pan_vertical) / half_height);
      needed = std::max(needed, depth[1] + reach);
    }
  }
  // The eye stays on +Z, where the view's set-up looks from.
  camera.zoom = std::max(slider_step, slider_step * (std::floor(needed / slider_step) + 1.0));
  return camera;
}
