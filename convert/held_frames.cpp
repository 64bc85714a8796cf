#include "held_frames.h"

#include <algorithm>
#include <memory>
#include <new>

HeldFrames::HeldFrames(size_t points_per_frame, size_t block_bytes)
    : frame_points(points_per_frame) {
  const size_t frame_bytes = points_per_frame * sizeof(MarkerPoint);
  block_frames = std::max<size_t>(1, block_bytes / std::max<size_t>(1, frame_bytes));
  // At least one huge page, which allocate_block rounds up to whole ones.
  block_size = std::max(block_frames * frame_bytes, huge_page_bytes);
}

void HeldFrames::add(const Frame& frame) {
  const size_t f = numbers.size();
  if (f % block_frames == 0) {
    void* block = allocate_block(block_size);
    if (block == nullptr) throw std::bad_alloc();
    blocks.emplace_back(static_cast<MarkerPoint*>(block), FreeBlock{block_size});
  }
  std::uninitialized_copy_n(frame.points.begin(), frame_points, points(f));
  numbers.push_back(frame.number);
}

void HeldFrames::copy_frame(size_t f, Frame& frame) const {
  frame.number = numbers[f];
  frame.points.assign(points(f), points(f) + frame_points);
}
