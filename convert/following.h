// Keeping a subject who travels across the lab in the middle of the view.
#ifndef FOLLOWING_H
#define FOLLOWING_H

#include <cstdint>
#include "held_frames.h"

// Moves every frame of an upright (Z-up) capture so that the subject's
// centre is at X = Y = 0. On each horizontal axis on its own, a frame's
// mean is that of its seen coordinates that are not NaN, and its centre is
// the mean of the frame means within half_window frames before or after it,
// itself included, counting only frames that have one; the centre is
// subtracted from the frame's coordinates. Z does not change, NaN stays
// NaN. Where a coordinate would come out exactly 0 (which the viewer reads
// as missing), the frame's centre is first moved aside by a tiny fraction
// of the frame's box. Expects no coordinate of exactly 0 (see
// blank_zero_coordinates). Throws ConversionError when no centre nearby
// keeps them off 0. Allocates a few values per frame.
void follow_subject(HeldFrames& frames, int64_t half_window);

#endif  // FOLLOWING_H
