// A MotionData built in memory, with storage that lives as long as the object.
#ifndef TEST_CAPTURE_H
#define TEST_CAPTURE_H

#include <vector>

#include "motion_data.h"

class TestCapture {
 public:
  // sample_count samples of joint_count joints, every coordinate and every
  // sample time 0.0.
  TestCapture(int sample_count, int joint_count)
      : coordinates(static_cast<size_t>(joint_count) * 3,
                    std::vector<double>(static_cast<size_t>(sample_count))),
        times(static_cast<size_t>(sample_count)),
        tracks(static_cast<size_t>(joint_count)),
        record() {
    for (size_t j = 0; j < tracks.size(); ++j) {
      tracks[j].x = coordinates[3 * j].data();
      tracks[j].y = coordinates[3 * j + 1].data();
      tracks[j].z = coordinates[3 * j + 2].data();
    }
    record.sample_count = sample_count;
    record.joint_count = joint_count;
    record.sample_times = times.data();
    record.joints = tracks.data();
  }

  // Places joint j at capture coordinates (x, y, z) in sample r.
  void place(int j, int r, double x, double y, double z) {
    tracks[static_cast<size_t>(j)].x[r] = x;
    tracks[static_cast<size_t>(j)].y[r] = y;
    tracks[static_cast<size_t>(j)].z[r] = z;
  }

  // Gives sample r the time `seconds`.
  void set_time(int r, double seconds) { times[static_cast<size_t>(r)] = seconds; }

  MotionData* data() { return &record; }

 private:
  std::vector<std::vector<double>> coordinates;  // x, y, z of each joint
  std::vector<double> times;
  std::vector<JointTrack> tracks;
  MotionData record;
};

#endif  // TEST_CAPTURE_H
