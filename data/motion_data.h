// The loaded motion capture: counts, per-sample arrays and one track per joint.
#ifndef MOTION_DATA_H
#define MOTION_DATA_H

#include <cstdint>
#include <cstdio>

// One joint (marker): its name and its X, Y and Z series, one value per sample.
struct JointTrack {
  char name[1000];  // first four characters of the joint's first header token
  double* x;
  double* y;
  double* z;
};

// The whole capture. Filled by load_motion_data, repaired by fill_gaps.
// Every array has exactly sample_count elements (joints: joint_count).
struct MotionData {
  // Replaces every missing (zero) coordinate of every series in place.
  // Writes "The whole data is missing!" for each series with no value at all
  // and fills that series with a quiet NaN.
  void fill_gaps();

  int32_t sample_count;
  int32_t joint_count;
  int32_t* sample_numbers;
  double* sample_times;
  JointTrack* joints;
};

// Reads the named capture file into data in four passes. On any fault it
// prints one "Error:" line on standard output and ends the process with
// status 1, so it returns only after a complete load.
void load_motion_data(const char* file_name, MotionData& data);

// Pass 1: sets sample_count to the number of lines less the header. Checks
// every line for a NUL byte and for more than LineReader::max_line_length
// characters.
void count_samples(FILE* file, MotionData& data);
// Pass 2: checks the header and sets joint_count.
void count_joints(FILE* file, MotionData& data);
// Pass 3: checks the header again and fills every joint's name.
void read_joint_names(FILE* file, MotionData& data);
// Pass 4: creates the series of every joint and fills them and the sample
// arrays from the data lines.
void read_samples(FILE* file, MotionData& data);

// Fills the gaps of one series of the given length in place, one run at a time.
void fill_series(double* series, int length);
// Fills the first run of missing values after position `after` and returns
// the position up to which the series is complete (the run's right neighbour,
// or length); a series with no value at all is filled with a quiet NaN.
// Never reads or writes outside 0 .. length - 1.
int fill_next_gap(double* series, int after, int length);

#endif  // MOTION_DATA_H
