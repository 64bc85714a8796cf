// Every N-th frame of those a time window kept.
#ifndef FRAME_STRIDE_H
#define FRAME_STRIDE_H

#include <cstdint>

class FrameStride {
 public:
  // Keeps one frame in every. Throws ConversionError when every < 1.
  explicit FrameStride(int64_t every);

  // True for the first frame offered and every every-th after it; called
  // once per frame, in order.
  bool keeps_next() { return offered++ % every == 0; }

 private:
  int64_t every;
  int64_t offered = 0;
};

#endif  // FRAME_STRIDE_H
