// Work on two cores at once.
#ifndef SIDE_BY_SIDE_H
#define SIDE_BY_SIDE_H

#include <cstddef>
#include <functional>

// The cores this process may run on, counting at most 2: 1 on a machine of
// one core or under an affinity to one core.
int available_cores();

// The cores worth using now, at most 2: cores_worth_using for this
// process's processors and the threads ready to run on the machine
// (procs_running of /proc/stat, this one included). Reads /proc/stat once.
int idle_cores();

// The rule of idle_cores: 2 when there are two processors or more and at
// least one of them runs no other thread, so that the second thread finds a
// core to itself or shares one with a single other thread, whose own share
// stays the same (a thread that was running at that instant is most often a
// short one, such as the parent that has just started this process); 1 on
// one processor, or when every processor runs another thread, where a second
// thread would only split this process's share of a busy machine.
int cores_worth_using(int processors, long running_threads);

// Runs second on a new thread and first on this one, and waits for both.
// When no thread can be started, runs both here, one after the other. The
// new thread has a small stack (1 MiB): the work must not need more.
void run_side_by_side(const std::function<void()>& first, const std::function<void()>& second);

// Below this many bytes of file or of record, work stays on one core: a
// second thread would save less time than it takes to start.
constexpr size_t side_by_side_min_bytes = size_t{1} << 20;

#endif  // SIDE_BY_SIDE_H
