#include "bench_report.h"

#include <cstdio>
#include <cstdlib>

std::string temporary_path(const char* pattern) {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + pattern;
}

int runs_argument(int argc, char** argv, const char* name, int default_runs) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : default_runs;
  if (argc <= 2 && runs >= 1) return runs;
  std::printf("Usage: %s [RUNS]\n", name);
  return 0;
}

const char* verdict(bool met) { return met ? "met" : "MISSED"; }
