// Runs the inputs of a mutation sweep on worker threads and tallies them.
#ifndef SWEEP_RUNNER_H
#define SWEEP_RUNNER_H

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "sanitized_build.h"

// What one input gave: its kind of ending for the tally, and what was wrong
// ("" when the input ended as it must).
struct InputVerdict {
  std::string outcome;
  std::string fault;
};

// Every input's outcome counted, and the faults in input order per worker.
struct SweepTally {
  std::map<std::string, int> outcomes;
  std::vector<std::string> faults;
};

// Calls run_input(i) for every i from 0 to inputs - 1, `workers` at a time
// (each worker takes i = w, w + workers, ...), and gathers the verdicts.
SweepTally run_sweep(int inputs, int workers, const std::function<InputVerdict(int)>& run_input);

// Adds a test failure for each of the first `shown` faults (the rest are
// only counted) and prints the tally, one outcome a line, below `title`.
void report_sweep(const SweepTally& tally, size_t shown, const std::string& title);

#endif  // SWEEP_RUNNER_H
