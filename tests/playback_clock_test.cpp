// Playback clock: when each step is due, from the capture's times or at 100 Hz.
#include "playback_clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr double quiet_nan = std::numeric_limits<double>::quiet_NaN();
constexpr double infinite = std::numeric_limits<double>::infinity();
constexpr int32_t max_count = std::numeric_limits<int32_t>::max();

struct Case {
  const char* what;
  std::vector<double> times;  // empty: the clock gets no times at all
  int32_t count;
  std::vector<std::pair<int32_t, double>> dues;  // step, seconds it is due
};

const double* times_of(const Case& c) { return c.times.empty() ? nullptr : c.times.data(); }

// Builds the clock of each case and checks its dues.
template <size_t N>
void expect_dues(const Case (&cases)[N]) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PlaybackClock clock(times_of(c), c.count);
    for (const auto& [step, seconds] : c.dues)
      EXPECT_EQ(clock.due(step), seconds) << "step " << step;
  }
}

TEST(PlaybackClock, SteadyTimesPaceTheStepsFromTheFirstSample) {
  // Columns: what the times are, times, sample count, (step, due) pairs.
  // The times are exact in binary, so every difference is exact too.
  const Case cases[] = {
      {"even rises", {0.5, 0.75, 1.0, 1.25}, 4, {{0, 0}, {1, 0.25}, {3, 0.75}}},
      {"uneven rises, one of exactly 1 s",
       {3.0, 3.5, 4.5, 4.625},
       4,
       {{0, 0}, {1, 0.5}, {2, 1.5}, {3, 1.625}}},
      {"negative start", {-2.0, -1.5, -0.5, 0.0}, 4, {{1, 0.5}, {3, 2.0}}},
      {"far from zero", {1e9, 1e9 + 0.5, 1e9 + 1.0}, 3, {{1, 0.5}, {2, 1.0}}},
      {"tiniest rise", {0.0, 5e-324}, 2, {{1, 5e-324}}},
      {"one finite sample", {42.0}, 1, {{0, 0}}},
      {"count below the times: only those are looked at", {0.0, 0.25, 100.0}, 2, {{1, 0.25}}},
  };
  expect_dues(cases);
}

TEST(PlaybackClock, TimesThatAreNoSteadyClockGiveOneHundredStepsASecond) {
  // Columns: what is wrong with the times, times, sample count, (step, due).
  const Case cases[] = {
      {"all equal", {7.0, 7.0, 7.0}, 3, {{2, 0.02}}},
      {"NaN inside: no rise is a number", {0.0, quiet_nan, 0.5}, 3, {{2, 0.02}}},
      {"rise too big to hold", {-1e308, 1e308}, 2, {{1, 0.01}}},
      {"times in ms by mistake: a typical step of 10 s",
       {0.0, 10.0, 20.0, 30.0},
       4,
       {{1, 0.01}, {3, 0.03}}},
      {"typical step just over 1 s", {0.0, 1.0000001, 2.0000002}, 3, {{1, 0.01}, {2, 0.02}}},
      {"most times repeated", {0.0, 0.25, 0.25, 0.25, 0.25, 1.0}, 6, {{1, 0.01}, {5, 0.05}}},
      {"one NaN sample", {quiet_nan}, 1, {{0, 0}}},
      {"one infinite sample", {infinite}, 1, {{0, 0}}},
      {"no times", {}, 3, {{0, 0}, {1, 0.01}, {2, 0.02}}},
      {"no samples", {}, 0, {{0, 0}, {7, 0.07}}},
      {"negative count", {0.0, 0.25}, -5, {{1, 0.01}}},
      {"most samples a record can count", {}, max_count, {{max_count - 1, 21474836.46}}},
  };
  expect_dues(cases);
}

TEST(PlaybackClock, TimesThatDoNotFitAreBridgedByTheTypicalStep) {
  // Columns: what does not fit, times, sample count, (step, due). The typical
  // step is 0.25 s (0.03125 s in the first case); a sample whose rise does
  // not fit follows the one before by it, and later samples keep the
  // differences of their times.
  const Case cases[] = {
      {"blank last line (time 0)",
       {0.0, 0.03125, 0.0625, 0.09375, 0.0},
       5,
       {{3, 0.09375}, {4, 0.125}}},
      {"one repeated time", {0.0, 0.5, 0.5, 1.0}, 4, {{1, 0.5}, {2, 1.0}, {3, 1.5}}},
      {"one falling time", {0.0, 0.5, 0.25, 1.0}, 4, {{1, 0.5}, {2, 1.0}, {3, 1.75}}},
      {"one time jump", {0.0, 0.25, 0.5, 100.5, 100.75}, 5, {{2, 0.5}, {3, 0.75}, {4, 1.0}}},
      {"jump on the last sample", {0.0, 0.25, 0.5, 100.0}, 4, {{2, 0.5}, {3, 0.75}}},
      {"one glitch: up, then back",
       {0.0, 0.25, 57.0, 0.75, 1.0},
       5,
       {{1, 0.25}, {2, 0.5}, {3, 0.75}, {4, 1.0}}},
      {"rise of 5 typical steps", {0.0, 0.25, 0.5, 1.75, 2.0}, 5, {{3, 0.75}, {4, 1.0}}},
      {"rises of 2 and 4 typical steps fit",
       {0.0, 0.25, 0.75, 1.0, 2.0},
       5,
       {{2, 0.75}, {3, 1.0}, {4, 2.0}}},
      {"NaN first", {quiet_nan, 0.25, 0.5}, 3, {{0, 0}, {1, 0.25}, {2, 0.5}}},
      {"NaN last", {0.0, 0.25, quiet_nan}, 3, {{1, 0.25}, {2, 0.5}}},
      {"infinite start", {-infinite, 0.0, 0.25}, 3, {{1, 0.25}, {2, 0.5}}},
      {"infinite end", {0.0, 0.25, infinite}, 3, {{1, 0.25}, {2, 0.5}}},
      {"one slow step among quick ones: the lower median is typical",
       {0.0, 1.0000001, 1.5},
       3,
       {{1, 1.0000001}, {2, 1.5}}},
  };
  expect_dues(cases);
}

TEST(PlaybackClock, StepsOutsideTheSamplesNeverReadTheTimes) {
  // Two steady times; any read past them would be seen by the sanitizers.
  const std::vector<double> times = {0.0, 0.25};
  const PlaybackClock clock(times.data(), 2);
  // Columns: step, due.
  const std::pair<int32_t, double> dues[] = {{2, 0.02}, {-1, -0.01}, {max_count, 21474836.47}};
  for (const auto& [step, seconds] : dues) EXPECT_EQ(clock.due(step), seconds) << "step " << step;
}

}  // namespace
