#include "playback_clock.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double fallback_steps_per_second = 100.0;
constexpr double longest_typical_step_seconds = 1.0;
constexpr double longest_fitting_step_in_typical_steps = 4.0;

// The median of the rises of the times that are finite and above 0, the
// lower middle one of an even number; 0 when there is none.
double typical_step(const double* times, int32_t count) {
  std::vector<double> rises;
  for (int32_t i = 1; i < count; ++i) {
    const double rise = times[i] - times[i - 1];
    if (std::isfinite(rise) && rise > 0.0) rises.push_back(rise);
  }
  if (rises.empty()) return 0.0;
  const auto middle = rises.begin() + static_cast<std::ptrdiff_t>((rises.size() - 1) / 2);
  std::nth_element(rises.begin(), middle, rises.end());
  return *middle;
}

}  // namespace

PlaybackClock::PlaybackClock(const double* sample_times, int32_t sample_count) {
  if (sample_times == nullptr || sample_count < 2) return;
  const double typical = typical_step(sample_times, sample_count);
  if (!(typical > 0.0 && typical <= longest_typical_step_seconds)) return;

  const double longest_fitting = longest_fitting_step_in_typical_steps * typical;
  std::vector<double> paced(static_cast<size_t>(sample_count));
  // Since the last sample that did not fit (or the first), every time is
  // measured from that sample's, so that a steady stretch keeps the exact
  // differences of its times.
  int32_t anchor = 0;
  int64_t fitting = 0;
  for (int32_t i = 1; i < sample_count; ++i) {
    const double rise = sample_times[i] - sample_times[i - 1];
    // Every comparison with a NaN is false, so a NaN rise does not fit.
    if (rise > 0.0 && rise <= longest_fitting) {
      paced[static_cast<size_t>(i)] =
          paced[static_cast<size_t>(anchor)] + (sample_times[i] - sample_times[anchor]);
      ++fitting;
    } else {
      paced[static_cast<size_t>(i)] = paced[static_cast<size_t>(i - 1)] + typical;
      anchor = i;
    }
  }
  if (2 * fitting >= sample_count - 1) dues = std::move(paced);
}

double PlaybackClock::due(int32_t step) const {
  if (step >= 0 && static_cast<size_t>(step) < dues.size()) return dues[static_cast<size_t>(step)];
  return step / fallback_steps_per_second;
}
