// Work on two cores at once.
#ifndef SIDE_BY_SIDE_H
#define SIDE_BY_SIDE_H

#include <cstddef>
#include <functional>

// The cores this process may run on, counting at most 2: 1 on a machine of
// one core or under an affinity to one core.
int available_cores();

// The cores worth using now, at most 2: available_cores(), but 1 when more
// processes are ready to run than the machine has cores besides this one
// (procs_running of /proc/stat), since a second thread would then only split
// this process's share of a busy machine. Reads /proc/stat once.
int idle_cores();

// Runs second on a new thread and first on this one, and waits for both.
// When no thread can be started, runs both here, one after the other. The
// new thread has a small stack (1 MiB): the work must not need more.
void run_side_by_side(const std::function<void()>& first, const std::function<void()>& second);

// Below this many bytes of file or of record, work stays on one core: a
// second thread would save less time than it takes to start.
constexpr size_t side_by_side_min_bytes = size_t{1} << 20;

#endif  // SIDE_BY_SIDE_H
