#include "held_frames.h"

#include <algorithm>
#include <memory>
#include <new>

#include "huge_pages.h"

HeldFrames::HeldFrames(size_t points_per_frame, size_t block_bytes)
    : frame_points(points_per_frame),
      block_frames(std::max<size_t>(
          1, block_bytes / sizeof(MarkerPoint) / std::max<size_t>(1, points_per_frame))) {
  const size_t wanted = block_frames * frame_points * sizeof(MarkerPoint);
  block_size =
      std::max<size_t>(1, (wanted + huge_page_bytes - 1) / huge_page_bytes) * huge_page_bytes;
}

void HeldFrames::add(const Frame& frame) {
  const size_t f = numbers.size();
  if (f % block_frames == 0) {
    void* block = std::aligned_alloc(huge_page_bytes, block_size);
    if (block == nullptr) throw std::bad_alloc();
    advise_huge_pages(block, block_size);
    blocks.emplace_back(static_cast<MarkerPoint*>(block));
  }
  std::uninitialized_copy_n(frame.points.begin(), frame_points, points(f));
  numbers.push_back(frame.number);
}

void HeldFrames::copy_frame(size_t f, Frame& frame) const {
  frame.number = numbers[f];
  frame.points.assign(points(f), points(f) + frame_points);
}
