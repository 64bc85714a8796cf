// Camera values that show a whole capture in the viewer's starting camera.
#ifndef FRAMING_H
#define FRAMING_H

#include <algorithm>
#include <cmath>

// The viewer's starting camera, as the marker view sets it up.
namespace viewer_camera {
constexpr double field_of_view_degrees = 60.0;  // vertical
constexpr double view_width = 535.0;            // pixels of the view
constexpr double view_height = 500.0;
constexpr double near_plane = 0.5;
constexpr double far_plane = 1000.0;
constexpr double capture_units_per_scene = 100.0;
constexpr double cube_half_edge = 0.25;  // scene units around each marker
constexpr double slider_step = 5.0;      // of the zoom and both pan sliders
constexpr double starting_zoom = 10.0;
}  // namespace viewer_camera

// Values for "Zoom Input", "Pan Camera Vertical" and "Pan Camera Horizontal".
struct CameraValues {
  double zoom = viewer_camera::starting_zoom;
  double pan_vertical = 0.0;
  double pan_horizontal = 0.0;
};

// The box around every seen point of a capture, in capture coordinates.
class CaptureBounds {
 public:
  // Widens the box to hold (x, y, z); inline, it runs once per point.
  void add(double x, double y, double z) {
    low[0] = std::min(low[0], x);
    low[1] = std::min(low[1], y);
    low[2] = std::min(low[2], z);
    high[0] = std::max(high[0], x);
    high[1] = std::max(high[1], y);
    high[2] = std::max(high[2], z);
  }
  bool empty() const { return low[0] > high[0]; }

  double low[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};      // smallest x, y, z
  double high[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};  // largest x, y, z
};

// The camera values, multiples of the sliders' step, that put the whole
// cube of every point of bounds inside the starting camera's view (no
// rotation): the pans nearest to centring the box, then the smallest zoom
// above every corner's need. The starting camera for an empty box. Values
// past the sliders' ranges are returned as computed. Cannot fail.
CameraValues frame_capture(const CaptureBounds& bounds);

#endif  // FRAMING_H
