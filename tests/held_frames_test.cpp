// Frames held in blocks read back as they were added, across block ends.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "held_frames.h"

namespace {

// Frame f's point p: a value of its own on each axis, every second z
// missing (NaN), every third point unseen.
Frame numbered_frame(size_t f, size_t points) {
  Frame frame;
  frame.number = static_cast<int64_t>(100 + f);
  for (size_t p = 0; p < points; ++p) {
    const double v = static_cast<double>(f * 1000 + p);
    frame.points.push_back(MarkerPoint{v, -v, p % 2 == 0 ? v / 7.0 : std::nan(""), p % 3 != 0});
  }
  return frame;
}

// Columns: points a frame, bytes a block asks for: one frame a block, some,
// a frame larger than a huge page, many frames, no points.
TEST(HeldFrames, ReadBackAsAddedAcrossBlocks) {
  constexpr size_t many = HeldFrames::default_block_bytes;
  const struct {
    size_t points;
    size_t block_bytes;
  } cases[] = {{1, 1}, {3, 100}, {70000, 1}, {5, many}, {0, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.points));
    HeldFrames held(c.points, c.block_bytes);
    const size_t frames = 4;
    for (size_t f = 0; f < frames; ++f) held.add(numbered_frame(f, c.points));
    ASSERT_EQ(held.size(), frames);
    Frame copy;
    for (size_t f = 0; f < frames; ++f) {
      const Frame expected = numbered_frame(f, c.points);
      held.copy_frame(f, copy);
      EXPECT_EQ(copy.number, expected.number);
      ASSERT_EQ(copy.points.size(), c.points);
      for (size_t p = 0; p < c.points; ++p) {
        const MarkerPoint& a = copy.points[p];
        const MarkerPoint& b = expected.points[p];
        ASSERT_TRUE(a.x == b.x && a.y == b.y && a.seen == b.seen &&
                    (a.z == b.z || (std::isnan(a.z) && std::isnan(b.z))))
            << "frame " << f << " point " << p;
      }
    }
  }
}

}  // namespace
