// The frames of a recording kept in memory until every one is read, for
// the steps that need them all before the first is written (following,
// fitting). Their points lie in large blocks offered for huge pages: a
// vector per frame would touch fresh small pages one by one, each a costly
// page fault.
#ifndef HELD_FRAMES_H
#define HELD_FRAMES_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "huge_page_block.h"
#include "marker_recording.h"

class HeldFrames {
 public:
  // Points a block holds at least: 64 MiB of them, 32 huge pages.
  static constexpr size_t default_block_bytes = size_t{64} << 20;

  // Every frame added has points_per_frame points. A block holds as many
  // whole frames as block_bytes has room for, at least one, and is rounded
  // up to whole huge pages.
  explicit HeldFrames(size_t points_per_frame, size_t block_bytes = default_block_bytes);

  // Copies frame to the end. Throws std::bad_alloc when memory runs out.
  void add(const Frame& frame);

  size_t size() const { return numbers.size(); }
  size_t points_per_frame() const { return frame_points; }
  // The points of frame f, points_per_frame of them.
  MarkerPoint* points(size_t f) { return blocks[f / block_frames].get() + offset(f); }
  const MarkerPoint* points(size_t f) const { return blocks[f / block_frames].get() + offset(f); }

  // Makes frame a copy of frame f, reusing frame's memory.
  void copy_frame(size_t f, Frame& frame) const;

 private:
  struct FreeBlock {
    size_t bytes;
    void operator()(MarkerPoint* block) const { free_block(block, bytes); }
  };
  size_t offset(size_t f) const { return f % block_frames * frame_points; }

  size_t frame_points;
  size_t block_frames;  // frames a block holds, at least 1
  size_t block_size;    // bytes asked for a block
  std::vector<int64_t> numbers;
  std::vector<std::unique_ptr<MarkerPoint[], FreeBlock>> blocks;
};

#endif  // HELD_FRAMES_H
