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

// Reads the named capture file into data in four passes; between passes 2
// and 3, before any storage is created, it checks that the record fits in
// the memory the process can have. On any fault it prints one "Error:" line
// on standard output and ends the process with status 1, so it returns only
// after a complete load.
// Files of 1 MiB and more load on two cores when the process may run on two
// or more and not every core runs another thread (idle_cores); see the next.
void load_motion_data(const char* file_name, MotionData& data);

// load_motion_data on the given number of cores, whatever the file's size.
// With 2 (or more), passes 1 and 4 each read the file's pieces, split at
// line ends, on two cores, each core taking the next piece; the record,
// every message and the status are the same as with 1. Returns the cores
// that read both passes: 1 also when no line end lies near where the second
// piece would start, or a pass met a fault in a piece and read the whole
// file again in order.
int load_motion_data(const char* file_name, MotionData& data, int cores);

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

#endif  // MOTION_DATA_H
