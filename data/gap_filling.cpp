#include "gap_filling.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstdio>
#include <limits>

#include "messages.h"
#include "motion_data.h"
#include "side_by_side.h"

namespace {

// A coordinate of exactly zero (either sign) stands for a marker not seen.
bool is_missing(double value) { return value == 0.0; }

// Position of the first missing value from `from` on, or length. The scan
// reads every value of the record, so with SSE2 it tests eight values at a
// time, which keeps it at the speed of memory; the last few values, and every
// value on other processors, are tested one by one.
int find_missing(const double* series, int from, int length) {
#if defined(__SSE2__)
  const __m128d zero = _mm_setzero_pd();
  for (; length - from >= 8; from += 8) {
    const double* eight = series + from;
    const __m128d first_half = _mm_or_pd(_mm_cmpeq_pd(_mm_loadu_pd(eight), zero),
                                         _mm_cmpeq_pd(_mm_loadu_pd(eight + 2), zero));
    const __m128d second_half = _mm_or_pd(_mm_cmpeq_pd(_mm_loadu_pd(eight + 4), zero),
                                          _mm_cmpeq_pd(_mm_loadu_pd(eight + 6), zero));
    if (_mm_movemask_pd(_mm_or_pd(first_half, second_half)) != 0) break;
  }
#endif
  while (from < length && !is_missing(series[from])) ++from;
  return from;
}

}  // namespace

void MotionData::fill_gaps() {
  const size_t values = static_cast<size_t>(sample_count > 0 ? sample_count : 0) * 3 *
                        static_cast<size_t>(joint_count > 0 ? joint_count : 0);
  fill_all_series(*this, values * sizeof(double) >= side_by_side_min_bytes ? idle_cores() : 1);
}

void fill_all_series(MotionData& data, int cores) {
  double* JointTrack::*const axes[] = {&JointTrack::x, &JointTrack::y, &JointTrack::z};
  // Series s is axis s % 3 of joint s / 3.
  const auto fill_range = [&data, &axes](int32_t first, int32_t end) {
    for (int32_t s = first; s < end; ++s)
      fill_series(data.joints[s / 3].*axes[s % 3], data.sample_count);
  };
  const int32_t series = 3 * data.joint_count;
  if (cores < 2) {
    fill_range(0, series);
    return;
  }
  run_side_by_side([&] { fill_range(0, series / 2); }, [&] { fill_range(series / 2, series); });
}

void fill_series(double* series, int length) {
  for (int after = -1; after < length;) after = fill_next_gap(series, after, length);
}

int fill_next_gap(double* series, int after, int length) {
  const int start = find_missing(series, after + 1, length);
  if (start >= length) return length;

  const int left = start - 1;
  int right = start;
  while (right < length && is_missing(series[right])) ++right;

  if (left < 0 && right == length) {
    // Nothing present to copy from: the series becomes "no value" (a quiet
    // NaN), which the view does not draw.
    std::fputs(messages::whole_series_missing, stdout);
    std::fflush(stdout);
    for (int k = 0; k < length; ++k) series[k] = std::numeric_limits<double>::quiet_NaN();
  } else if (left < 0) {
    for (int k = 0; k < right; ++k) series[k] = series[right];
  } else if (right == length) {
    for (int k = start; k < length; ++k) series[k] = series[left];
  } else {
    const double left_value = series[left];
    const double right_value = series[right];
    const double span = static_cast<double>(right - left);
    for (int k = start; k < right; ++k) {
      const double fraction = static_cast<double>(k - left) / span;
      const double left_part = (1.0 - fraction) * left_value;
      const double right_part = fraction * right_value;
      series[k] = left_part + right_part;
    }
  }
  return right;
}
