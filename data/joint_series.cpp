#include "joint_series.h"

#include <sanitizer/asan_interface.h>

#include <initializer_list>

#include "fault.h"
#include "huge_page_block.h"
#include "messages.h"

namespace {

constexpr size_t cache_line = 64;
constexpr size_t doubles_per_line = cache_line / sizeof(double);

// Distance in cache lines from the start of one series to the start of the
// next: the series, one spare line, and one more when that makes an even
// number of lines. An odd distance in lines sends the same row of 64
// consecutive series to 64 different cache sets, where arrays a multiple of a
// page apart would all compete for one.
size_t series_stride_lines(size_t sample_count) {
  size_t lines = sample_count / doubles_per_line + (sample_count % doubles_per_line != 0) + 1;
  if (lines % 2 == 0) ++lines;
  return lines;
}

}  // namespace

bool joint_series_bytes(size_t sample_count, size_t joint_count, size_t& bytes) {
  size_t series_count, lines, size;
  if (__builtin_mul_overflow(joint_count, size_t{3}, &series_count) ||
      __builtin_mul_overflow(series_count, series_stride_lines(sample_count), &lines) ||
      __builtin_mul_overflow(lines, cache_line, &size)) {
    return false;
  }
  bytes = size;
  return true;
}

void create_joint_series(MotionData& data) {
  if (data.sample_count < 0) {
    for (int32_t j = 0; j < data.joint_count; ++j) {
      data.joints[j].x = data.joints[j].y = data.joints[j].z = nullptr;
    }
    return;
  }
  const size_t length = static_cast<size_t>(data.sample_count);
  size_t block_bytes;
  if (!joint_series_bytes(length, static_cast<size_t>(data.joint_count), block_bytes)) {
    report_fault(messages::out_of_memory);
  }
  auto* const block = static_cast<double*>(allocate_block(block_bytes));
  if (block == nullptr) report_fault(messages::out_of_memory);

  const size_t stride = series_stride_lines(length) * doubles_per_line;
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
