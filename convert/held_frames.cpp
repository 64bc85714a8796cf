#include "held_frames.h"

#include <algorithm>
#include <memory>
#include <new>

#include "huge_pages.h"

namespace {

// Points a block holds at least: 64 MiB of them, 32 huge pages.
constexpr size_t block_bytes = size_t{64} << 20;

}  // namespace

HeldFrames::HeldFrames(size_t points_per_frame)
    : frame_points(points_per_frame),
      block_frames(std::max<size_t>(
          1, block_bytes / sizeof(MarkerPoint) / std::max<size_t>(1, points_per_frame))) {}

void HeldFrames::add(const Frame& frame) {
  const size_t f = numbers.size();
  if (f % block_frames == 0) {
    // A whole number of huge pages; a frame larger than a block gets a block of its own.
    const size_t wanted = std::max(block_bytes, block_frames * frame_points * sizeof(MarkerPoint));
    const size_t bytes = (wanted + huge_page_bytes - 1) / huge_page_bytes * huge_page_bytes;
    void* block = std::aligned_alloc(huge_page_bytes, bytes);
    if (block == nullptr) throw std::bad_alloc();
    advise_huge_pages(block, bytes);
    blocks.emplace_back(static_cast<MarkerPoint*>(block));
  }
  std::uninitialized_copy_n(frame.points.begin(), frame_points, points(f));
  numbers.push_back(frame.number);
}

void HeldFrames::copy_frame(size_t f, Frame& frame) const {
  frame.number = numbers[f];
  frame.points.assign(points(f), points(f) + frame_points);
}
