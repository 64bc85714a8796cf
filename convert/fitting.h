// Moving and scaling a capture so that the viewer's starting camera shows
// all of it, with no slider moved.
#ifndef FITTING_H
#define FITTING_H

#include "framing.h"
#include "marker_recording.h"

// Every coordinate v of axis a becomes (v - centre[a]) × scale.
struct CaptureFit {
  double centre[3] = {0.0, 0.0, 0.0};
  double scale = 1.0;
};

// The centre of bounds and the largest scale, less a tenth for a margin,
// that keeps every point's cube inside the starting camera's view (zoom
// 10, no pan or rotation). An empty box, or one of no size, gets scale 1.
// Cannot fail.
CaptureFit fit_to_starting_view(const CaptureBounds& bounds);

// How many times a centre is moved aside before the step gives up.
constexpr int aside_attempts = 16;

// The step that moves a centre off the coordinates of a box `size` wide on
// its axis: a small odd fraction of size (of |centre|, at least 1, for a
// box of no size), larger with each attempt, from 1.
double aside_step(double size, double centre, int attempt);

// Moves fit's centre by aside_step of the box on every axis, so that no
// coordinate lands on it.
void move_centre_aside(CaptureFit& fit, const CaptureBounds& bounds, int attempt);

// A coordinate of exactly 0, which the viewer reads as missing, becomes NaN
// (missing) so that no step turns it into a value.
void blank_zero_coordinates(Frame& frame);

// Applies fit to every seen coordinate of frame (NaN stays NaN). Returns
// false when one comes out as exactly 0, which the viewer would read as
// missing: the caller moves the centre aside and starts again.
bool apply_fit(Frame& frame, const CaptureFit& fit);

#endif  // FITTING_H
