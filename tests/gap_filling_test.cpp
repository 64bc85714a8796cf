#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gap_filling.h"
#include "motion_data.h"
#include "program_texts.h"
#include "test_capture.h"

namespace {

constexpr double no_value = std::numeric_limits<double>::quiet_NaN();

// Passes when got is expected bit for bit, or both are NaN (a series with no
// value at all is filled with NaN).
testing::AssertionResult same_value(double got, double expected) {
  if (std::isnan(expected) ? std::isnan(got) : got == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "got " << got << ", expected " << expected;
}

// Runs fill_next_gap as fill_series does and returns each call's result.
std::vector<int> fill_calls(std::vector<double>& series) {
  std::vector<int> results;
  const int length = static_cast<int>(series.size());
  for (int after = -1; after < length;) {
    after = fill_next_gap(series.data(), after, length);
    results.push_back(after);
  }
  return results;
}

// Standard output written while work runs.
template <typename Work>
std::string captured_output(Work work) {
  testing::internal::CaptureStdout();
  work();
  return testing::internal::GetCapturedStdout();
}

// Series before, after, the results of the successive calls, lines written.
TEST(GapFilling, WorkedExamples) {
  const struct {
    std::vector<double> before;
    std::vector<double> after;
    std::vector<int> results;
    int messages;
  } cases[] = {
      {{1, 2, 3}, {1, 2, 3}, {3}, 0},
      {{1, 0, 3}, {1, 2, 3}, {2, 3}, 0},
      {{10, 0, 0, 0, 20, 30}, {10, 12.5, 15, 17.5, 20, 30}, {4, 6}, 0},
      {{0, 0, 3, 4}, {3, 3, 3, 4}, {2, 4}, 0},
      {{1, 2, 0, 0}, {1, 2, 2, 2}, {4}, 0},
      {{0, 4, 0, 8, 0}, {4, 4, 6, 8, 8}, {1, 3, 5}, 0},
      {{5, 0, 7, 0, 0, 9}, {5, 6, 7, 7.666666666666667, 8.333333333333334, 9}, {2, 5, 6}, 0},
      {{2, 0, -2}, {2, 0, -2}, {2, 3}, 0},
      {{0, 5}, {5, 5}, {1, 2}, 0},
      {{0, 7, 0}, {7, 7, 7}, {1, 3}, 0},
      {{0, 0, 0}, {no_value, no_value, no_value}, {3}, 1},
      {{-0.0}, {no_value}, {1}, 1},
      {{-0.0, 0, 3}, {3, 3, 3}, {2, 3}, 0},
      {{1e-300, 0, 3}, {1e-300, 1.5, 3}, {2, 3}, 0},
      {{4, 0, 8}, {4, 6, 8}, {2, 3}, 0},
      {{}, {}, {0}, 0},
  };
  for (const auto& c : cases) {
    std::vector<double> series = c.before;
    std::vector<int> results;
    const std::string out = captured_output([&] { results = fill_calls(series); });
    EXPECT_EQ(results, c.results);
    ASSERT_EQ(series.size(), c.after.size());
    for (size_t k = 0; k < series.size(); ++k) {
      // Bit-exact: the values are the doubles the interpolation formula gives.
      EXPECT_TRUE(same_value(series[k], c.after[k])) << "position " << k;
    }
    EXPECT_EQ(out, texts::whole_series_missing_times(c.messages));
  }
}

// One run of every start and length in series long enough to be scanned
// several values at a time, so that a run beginning at any place in a block,
// or in the values after the last whole block, is found. The present values
// are k + 1 at position k, so an interior run is filled with about k + 1.
TEST(GapFilling, EveryRunOfALongSeriesIsFound) {
  for (const int length : {8, 9, 15, 16, 17, 25, 33}) {
    for (int start = 0; start < length; ++start) {
      for (int end = start; end < length; ++end) {
        std::vector<double> series(static_cast<size_t>(length));
        for (int k = 0; k < length; ++k) series[k] = k + 1;
        // Both zeros are missing values.
        for (int k = start; k <= end; ++k) series[k] = k % 2 == 0 ? 0.0 : -0.0;
        const bool leading = start == 0;
        const bool trailing = end == length - 1;
        if (leading && trailing) continue;  // the whole series: a case of its own

        std::vector<int> results;
        const std::string out = captured_output([&] { results = fill_calls(series); });
        const std::string where = "length " + std::to_string(length) + ", run " +
                                  std::to_string(start) + " to " + std::to_string(end);
        EXPECT_EQ(out, "") << where;
        const std::vector<int> expected_results =
            trailing ? std::vector<int>{length} : std::vector<int>{end + 1, length};
        EXPECT_EQ(results, expected_results) << where;
        for (int k = 0; k < length; ++k) {
          const bool in_run = k >= start && k <= end;
          const double expected = !in_run ? k + 1 : leading ? end + 2 : trailing ? start : k + 1;
          EXPECT_NEAR(series[k], expected, 1e-12) << where << ", position " << k;
        }
      }
    }
  }
}

TEST(GapFilling, NothingOutsideTheSeriesIsTouched) {
  // Guards on both sides would be copied into the run if they were read.
  std::vector<double> buffer = {99, 0, 0, 0, 99};
  const std::string out = captured_output([&] { fill_series(buffer.data() + 1, 3); });
  EXPECT_EQ(out, texts::whole_series_missing);
  EXPECT_EQ(buffer.front(), 99);
  EXPECT_EQ(buffer.back(), 99);
  for (size_t k = 1; k < 4; ++k) EXPECT_TRUE(std::isnan(buffer[k])) << "position " << k;
  EXPECT_EQ(fill_next_gap(buffer.data() + 1, -1, 0), 0);
}

TEST(GapFilling, EachAxisOfEachJointIsFilledOnItsOwn) {
  TestCapture capture(3, 2);
  capture.place(0, 0, 1, 10, 100);
  capture.place(0, 1, 0, 20, 200);
  capture.place(0, 2, 3, 30, 300);
  capture.place(1, 1, 0, 5, 0);
  MotionData& data = *capture.data();
  const std::string out = captured_output([&] { data.fill_gaps(); });
  // Joint 1's X and Z are never seen: one line each, in X, Y, Z order.
  EXPECT_EQ(out, texts::whole_series_missing_times(2));
  const double expected[2][3][3] = {
      {{1, 2, 3}, {10, 20, 30}, {100, 200, 300}},
      {{no_value, no_value, no_value}, {5, 5, 5}, {no_value, no_value, no_value}}};
  for (int j = 0; j < 2; ++j) {
    for (int r = 0; r < 3; ++r) {
      EXPECT_TRUE(same_value(data.joints[j].x[r], expected[j][0][r]));
      EXPECT_TRUE(same_value(data.joints[j].y[r], expected[j][1][r]));
      EXPECT_TRUE(same_value(data.joints[j].z[r], expected[j][2][r]));
    }
  }
}

TEST(GapFilling, JointNeverSeenWarnsThreeTimes) {
  TestCapture capture(4, 1);
  const std::string out = captured_output([&] { capture.data()->fill_gaps(); });
  EXPECT_EQ(out, texts::whole_series_missing_times(3));
  for (int r = 0; r < 4; ++r) {
    EXPECT_TRUE(std::isnan(capture.data()->joints[0].x[r]));
    EXPECT_TRUE(std::isnan(capture.data()->joints[0].y[r]));
    EXPECT_TRUE(std::isnan(capture.data()->joints[0].z[r]));
  }
}

// Two cores fill each half of the series at once; the values and the lines
// are those of one core. Columns: joints; the series never seen, by number
// (X, Y, Z of each joint in turn), in both halves.
TEST(GapFilling, TwoCoresFillAsOne) {
  const struct {
    int joints;
    std::vector<int> never_seen;
  } cases[] = {{1, {}}, {1, {0, 2}}, {2, {1, 3, 4}}, {3, {0, 8}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.joints) + " joints");
    TestCapture one(7, c.joints), two(7, c.joints);
    for (int j = 0; j < c.joints; ++j) {
      for (int r = 0; r < 7; ++r) {
        // Gaps at the start, inside and at the end, different in each series.
        const auto value = [&](int s) { return (r + s) % 3 == 0 ? 0.0 : r * 1.5 + s; };
        one.place(j, r, value(3 * j), value(3 * j + 1), value(3 * j + 2));
        two.place(j, r, value(3 * j), value(3 * j + 1), value(3 * j + 2));
      }
    }
    for (int s : c.never_seen) {
      for (int r = 0; r < 7; ++r) {
        double* JointTrack::*axis = s % 3 == 0   ? &JointTrack::x
                                    : s % 3 == 1 ? &JointTrack::y
                                                 : &JointTrack::z;
        (one.data()->joints[s / 3].*axis)[r] = (two.data()->joints[s / 3].*axis)[r] = 0.0;
      }
    }
    const std::string one_out = captured_output([&] { fill_all_series(*one.data(), 1); });
    const std::string two_out = captured_output([&] { fill_all_series(*two.data(), 2); });
    EXPECT_EQ(two_out, one_out);
    EXPECT_EQ(one_out, texts::whole_series_missing_times(static_cast<int>(c.never_seen.size())));
    for (int j = 0; j < c.joints; ++j) {
      for (int r = 0; r < 7; ++r) {
        EXPECT_TRUE(same_value(two.data()->joints[j].x[r], one.data()->joints[j].x[r]));
        EXPECT_TRUE(same_value(two.data()->joints[j].y[r], one.data()->joints[j].y[r]));
        EXPECT_TRUE(same_value(two.data()->joints[j].z[r], one.data()->joints[j].z[r]));
      }
    }
  }
}

TEST(GapFilling, EmptyCapturesWriteNothing) {
  TestCapture no_samples(0, 3);
  TestCapture no_joints(5, 0);
  const std::string out = captured_output([&] {
    no_samples.data()->fill_gaps();
    no_joints.data()->fill_gaps();
  });
  EXPECT_EQ(out, "");
}

}  // namespace
