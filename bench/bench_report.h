// What the benchmarks share: where their temporary files go, how a target reads.
#ifndef BENCH_REPORT_H
#define BENCH_REPORT_H

#include <string>

// A path for a temporary file or folder named after pattern (ending in
// "XXXXXX" for mkstemp or mkdtemp), under $TMPDIR, else /tmp.
std::string temporary_path(const char* pattern);

// The optional RUNS argument of a benchmark's command line "NAME [RUNS]":
// default_runs without it; 0, after printing the usage line, when the
// command line is wrong.
int runs_argument(int argc, char** argv, const char* name, int default_runs);

// "met" or "MISSED", for a line of the targets.
const char* verdict(bool met);

#endif  // BENCH_REPORT_H
