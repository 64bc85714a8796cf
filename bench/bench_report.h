// What the benchmarks share: their command line, how a target reads.
#ifndef BENCH_REPORT_H
#define BENCH_REPORT_H

#include <functional>

// Runs a benchmark whose command line is "NAME [RUNS]": body(runs), with
// default_runs without the argument, and returns its status. A wrong command
// line prints the usage line and gives 2; an exception (a temporary folder
// that cannot be made, say) prints one "Error:" line and gives 1.
int run_benchmark(int argc, char** argv, const char* name, int default_runs,
                  const std::function<int(int runs)>& body);

// "met" or "MISSED", for a line of the targets.
const char* verdict(bool met);

#endif  // BENCH_REPORT_H
