// Storage of the coordinate series of every joint, created once per load.
#ifndef JOINT_SERIES_H
#define JOINT_SERIES_H

#include <cstddef>

#include "motion_data.h"

// Points the x, y and z of every joint of data at a series of
// data.sample_count doubles, all of them in one block sized once from the
// counts. Consecutive series lie an odd number of cache lines apart, with at
// least one spare line between them, so that storing one row touches a
// different cache set for each series; the block is an allocate_block of
// huge pages, so that filling it takes a few page faults instead of one per
// 4 KiB. The values are not set. A negative sample_count creates nothing
// and leaves every series null.
// Ends the process with the out-of-memory line when the block cannot be had.
void create_joint_series(MotionData& data);

// Sets bytes to the size of the block that create_joint_series makes for
// these counts, spare lines included. Returns false, leaving bytes alone,
// when that size does not fit in a size_t. Allocates nothing.
bool joint_series_bytes(size_t sample_count, size_t joint_count, size_t& bytes);

#endif  // JOINT_SERIES_H
