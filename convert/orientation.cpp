#include "orientation.h"

void turn_y_up_to_z_up(Frame& frame) {
  for (MarkerPoint& point : frame.points) {
    const double y = point.y;
    point.y = 0.0 - point.z;  // a z of 0 gives 0, not -0
    point.z = y;
  }
}
