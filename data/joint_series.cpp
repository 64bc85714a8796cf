#include "joint_series.h"

#include <sanitizer/asan_interface.h>
#include <sys/mman.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <new>

#include "fault.h"
#include "messages.h"

namespace {

constexpr size_t cache_line = 64;
constexpr size_t doubles_per_line = cache_line / sizeof(double);
constexpr uintptr_t huge_page = uintptr_t{2} << 20;

// Distance in doubles from the start of one series to the start of the next:
// the series, one spare line, and one more when that makes an even number of
// lines. An odd distance in lines sends the same row of 64 consecutive series
// to 64 different cache sets, where arrays a multiple of a page apart would
// all compete for one.
size_t series_stride(int32_t sample_count) {
  size_t lines = (static_cast<size_t>(sample_count) + doubles_per_line - 1) / doubles_per_line + 1;
  if (lines % 2 == 0) ++lines;
  return lines * doubles_per_line;
}

// Asks for huge pages on the 2 MiB-aligned part of [begin, begin + bytes).
// Only advice: without it, or when the kernel declines, the pages are small.
void advise_huge_pages(void* begin, size_t bytes) {
  const uintptr_t start = reinterpret_cast<uintptr_t>(begin);
  const uintptr_t first = (start + huge_page - 1) & ~(huge_page - 1);
  const uintptr_t last = (start + bytes) & ~(huge_page - 1);
  if (first < last) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace

void create_joint_series(MotionData& data) {
  if (data.sample_count < 0) {
    for (int32_t j = 0; j < data.joint_count; ++j) {
      data.joints[j].x = data.joints[j].y = data.joints[j].z = nullptr;
    }
    return;
  }
  const size_t stride = series_stride(data.sample_count);
  const size_t series_count = 3 * static_cast<size_t>(data.joint_count);
  if (series_count > std::numeric_limits<size_t>::max() / sizeof(double) / stride) {
    report_fault(messages::out_of_memory);
  }
  const size_t block_doubles = series_count * stride;
  double* const block = new (std::align_val_t{cache_line}, std::nothrow) double[block_doubles];
  if (block == nullptr) report_fault(messages::out_of_memory);
  advise_huge_pages(block, block_doubles * sizeof(double));

  const size_t length = static_cast<size_t>(data.sample_count);
  double* series = block;
  for (int32_t j = 0; j < data.joint_count; ++j) {
    for (double* JointTrack::*axis : {&JointTrack::x, &JointTrack::y, &JointTrack::z}) {
      data.joints[j].*axis = series;
      // Under AddressSanitizer a write past the end of a series is still caught.
      ASAN_POISON_MEMORY_REGION(series + length, (stride - length) * sizeof(double));
      series += stride;
    }
  }
}
