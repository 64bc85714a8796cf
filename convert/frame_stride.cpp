#include "frame_stride.h"

#include "conversion_error.h"

FrameStride::FrameStride(int64_t every) : every(every) {
  if (every < 1) throw ConversionError("--every takes a whole number of 1 or more");
}
