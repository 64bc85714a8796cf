#include "playback_clock.h"

#include <cmath>

namespace {

constexpr double kFallbackStepsPerSecond = 100.0;
constexpr double kLongestStepSeconds = 1.0;

// True when the first time is finite and each later one rises above the one
// before by more than 0 and at most kLongestStepSeconds. Every comparison
// with a NaN is false, so a NaN anywhere fails the test, and so does an
// infinite time, whose rise is infinite or NaN.
bool is_steady(const double* times, int32_t count) {
  if (times == nullptr || count <= 0 || !std::isfinite(times[0])) return false;
  for (int32_t i = 1; i < count; ++i) {
    const double rise = times[i] - times[i - 1];
    if (!(rise > 0.0 && rise <= kLongestStepSeconds)) return false;
  }
  return true;
}

}  // namespace

PlaybackClock::PlaybackClock(const double* sample_times, int32_t sample_count)
    : times(is_steady(sample_times, sample_count) ? sample_times : nullptr),
      count(sample_count) {}

double PlaybackClock::due(int32_t step) const {
  if (times != nullptr && step >= 0 && step < count)
    return times[step] - times[0];
  return step / kFallbackStepsPerSecond;
}
