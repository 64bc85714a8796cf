// What the benchmarks share: their command line, how a target reads, the
// machine's load and the time a program takes.
#ifndef BENCH_REPORT_H
#define BENCH_REPORT_H

#include <functional>
#include <string>
#include <vector>

// Runs a benchmark whose command line is "NAME [RUNS]": body(runs), with
// default_runs without the argument, and returns its status. A wrong command
// line prints the usage line and gives 2; an exception (a temporary folder
// that cannot be made, say) prints one "Error:" line and gives 1.
int run_benchmark(int argc, char** argv, const char* name, int default_runs,
                  const std::function<int(int runs)>& body);

// "met" or "MISSED", for a line of the targets.
const char* verdict(bool met);

// Makes best the least of the times seen: seconds itself for the first.
void keep_best(double& best, double seconds, bool first);

// "load average 1.00 0.50 0.25" of the machine now, or "" when unknown.
std::string load_average();

// Wall-clock seconds of one run of the program argv[0] (a path) with the
// arguments argv[1..], its output discarded; -1 when it did not end with
// status 0 within ten minutes.
double time_program(const std::vector<std::string>& argv);

// time_program of a program that writes output, which is removed first
// and outside the time: a conversion into a new file, as users and
// capture-view make them. Replacing the last run's file would add the
// freeing of its pages (about 0.1 s for 200 MB here) to the time.
double time_program_into_new_file(const std::vector<std::string>& argv, const std::string& output);

#endif  // BENCH_REPORT_H
