// Judges how the loader program ended on one capture file.
#ifndef LOADER_VERDICT_H
#define LOADER_VERDICT_H

#include <string>

#include "child_process.h"

// Empty when the run ended as a load must: status 0 with nothing on standard
// output but "The whole data is missing!" lines, or status 1 with exactly one
// standard output line, one of the reader's "Error:" messages; in both cases
// nothing on standard error (where a sanitizer writes its report). Otherwise
// says what was wrong.
std::string loader_fault(const ChildResult& run);

// The kind of ending, for the sweep's tally: "status 0", "status 1: " and the
// message with its line number replaced by N, "signal 11", "timed out".
std::string loader_outcome(const ChildResult& run);

// Environment for a loader child: sanitizer faults end it by abort, and the
// leak check is off because the program never frees its data by design.
const std::vector<std::string>& loader_environment();

#endif  // LOADER_VERDICT_H
