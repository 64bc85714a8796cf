// Recordings of one generated motion, as the systems that write each
// format lay them out, for the convert and window benchmarks.
#ifndef RECORDING_TEXTS_H
#define RECORDING_TEXTS_H

#include <cstddef>
#include <cstdint>
#include <string>

// The motion: `markers` markers swaying about a point 1 m from the lab
// origin over `frames` frames at 100 Hz, each not seen for 8 frames every
// 400; positions in mm.
struct BenchMotion {
  int64_t frames;
  size_t markers;

  // False when marker m is not seen in frame f; else its position in mm.
  bool position(int64_t f, size_t m, double xyz[3]) const;
};

// A Qualisys TSV export with Frame and Time columns, mm with 3 decimals, a
// point not seen written as 0.000 three times.
std::string qualisys_export(const BenchMotion& motion);

// A Vicon Nexus CSV export: a Trajectories section padded with commas,
// CRLF, mm with 5 decimals, a point not seen as empty cells.
std::string nexus_export(const BenchMotion& motion);

// A Motive CSV export of format 1.23 in Millimeters (6 decimals) or, with
// metres, in Meters (values / 1000, 6 decimals); Y-up; empty cells.
std::string motive_export(const BenchMotion& motion, bool metres);

// An OpenSim TRC table, tab-separated, mm with 3 decimals, empty cells.
std::string trc_table(const BenchMotion& motion);

// A BVH skeleton of 30 joints: a root with 6 channels and five chains of 3
// rotations each in two rotation orders, each ending in an End Site;
// motion.frames frames of swaying angles with four decimals. (Its joints
// are not the motion's markers: BVH stores angles, not positions.)
std::string bvh_skeleton(const BenchMotion& motion);

// The motion as a C3D file: Intel, float storage, tenths of a mm, with
// analog_samples samples of one analog channel after each frame's points.
std::string c3d_recording(const BenchMotion& motion, int analog_samples);

#endif  // RECORDING_TEXTS_H
