// Standing a recording upright in the viewer's Z-up frame.
#ifndef ORIENTATION_H
#define ORIENTATION_H

#include "marker_recording.h"

// The right-handed quarter turn about X that stands a Y-up recording
// upright: every seen point (x, y, z) becomes (x, -z, y).
void turn_y_up_to_z_up(Frame& frame);

#endif  // ORIENTATION_H
