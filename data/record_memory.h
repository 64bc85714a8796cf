// Whether the record of a capture fits in the memory the process can have.
#ifndef RECORD_MEMORY_H
#define RECORD_MEMORY_H

#include <cstddef>
#include <cstdint>

// Sets bytes to the size of a record of these counts as load_motion_data
// allocates it: the sample numbers and times, the joint table and the block
// of the X, Y and Z series of every joint. Returns false, leaving bytes alone, when that
// size does not fit in a size_t. Allocates nothing.
bool record_bytes(size_t sample_count, size_t joint_count, size_t& bytes);

// Bytes the process can still get: physical memory and swap together, or
// less when RLIMIT_AS or RLIMIT_DATA is set and leaves less above what the
// process already uses. Allocates nothing.
size_t memory_available();

// Ends the process with the out-of-memory line when a record of these counts
// is larger than memory_available(); negative counts count as 0. Called
// once, with the counts, before any storage of the record is created.
void check_record_fits(int32_t sample_count, int32_t joint_count);

#endif  // RECORD_MEMORY_H
