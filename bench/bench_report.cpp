#include "bench_report.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

const char* verdict(bool met) { return met ? "met" : "MISSED"; }

int run_benchmark(int argc, char** argv, const char* name, int default_runs,
                  const std::function<int(int runs)>& body) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : default_runs;
  if (argc > 2 || runs < 1) {
    std::printf("Usage: %s [RUNS]\n", name);
    return 2;
  }
  try {
    return body(runs);
  } catch (const std::exception& error) {
    std::printf("Error: %s\n", error.what());
    return 1;
  }
}
