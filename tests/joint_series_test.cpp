#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "joint_series.h"
#include "sanitized_build.h"

namespace {

constexpr double* JointTrack::*axes[] = {&JointTrack::x, &JointTrack::y, &JointTrack::z};

// A record of the given counts whose series create_joint_series has made.
class SeriesRecord {
 public:
  SeriesRecord(int32_t sample_count, int32_t joint_count)
      : tracks(static_cast<size_t>(joint_count)), record() {
    record.sample_count = sample_count;
    record.joint_count = joint_count;
    record.joints = tracks.data();
    create_joint_series(record);
  }
  MotionData& data() { return record; }

 private:
  std::vector<JointTrack> tracks;
  MotionData record;
};

// A value that only one element of one series holds.
double tag(int32_t joint, int axis, int32_t row) { return (joint * 3 + axis + 1) * 1e7 + row; }

// Sample counts around whole cache lines and across 2 MiB pages, joint
// counts from one up: each series must be its own, sample_count long.
TEST(JointSeries, EverySeriesHoldsItsOwnValues) {
  const struct {
    int32_t samples;
    int32_t joints;
  } cases[] = {{0, 2}, {1, 1}, {7, 2}, {8, 3}, {9, 1}, {16, 4}, {17, 2}, {1000, 31}, {262145, 3}};
  for (const auto& c : cases) {
    SeriesRecord record(c.samples, c.joints);
    MotionData& data = record.data();
    for (int32_t j = 0; j < c.joints; ++j) {
      for (int axis = 0; axis < 3; ++axis) {
        double* series = data.joints[j].*axes[axis];
        for (int32_t r = 0; r < c.samples; ++r) series[r] = tag(j, axis, r);
      }
    }
    int mismatches = 0;
    for (int32_t j = 0; j < c.joints; ++j) {
      for (int axis = 0; axis < 3; ++axis) {
        const double* series = data.joints[j].*axes[axis];
        for (int32_t r = 0; r < c.samples; ++r) mismatches += series[r] != tag(j, axis, r);
      }
    }
    EXPECT_EQ(mismatches, 0) << c.samples << " samples x " << c.joints << " joints";
  }
}

// An empty file counts -1 samples; no storage may come from that count.
TEST(JointSeries, NegativeSampleCountLeavesEverySeriesNull) {
  double dummy = 1.0;
  JointTrack tracks[2];
  for (JointTrack& track : tracks) track.x = track.y = track.z = &dummy;
  MotionData data{};
  data.sample_count = -1;
  data.joint_count = 2;
  data.joints = tracks;
  create_joint_series(data);
  for (const JointTrack& track : tracks) {
    EXPECT_EQ(track.x, nullptr);
    EXPECT_EQ(track.y, nullptr);
    EXPECT_EQ(track.z, nullptr);
  }
}

TEST(JointSeries, WritePastTheEndOfASeriesIsCaught) {
  if (!sanitized_build) {
    GTEST_SKIP() << "only AddressSanitizer sees a write between two series of the one block";
  }
  SeriesRecord record(10, 2);
  volatile double* const x = record.data().joints[0].x;
  EXPECT_DEATH(x[10] = 1.0, "AddressSanitizer");
}

}  // namespace
