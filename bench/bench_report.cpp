#include "bench_report.h"

#include <cstdlib>

std::string temporary_path(const char* pattern) {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + pattern;
}

const char* verdict(bool met) { return met ? "met" : "MISSED"; }
