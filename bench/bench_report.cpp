#include "bench_report.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "child_process.h"

const char* verdict(bool met) { return met ? "met" : "MISSED"; }

void keep_best(double& best, double seconds, bool first) {
  if (first || seconds < best) best = seconds;
}

std::string load_average() {
  double load[3] = {0.0, 0.0, 0.0};
  if (getloadavg(load, 3) != 3) return "";
  char text[64];
  std::snprintf(text, sizeof text, "load average %.2f %.2f %.2f", load[0], load[1], load[2]);
  return text;
}

double time_program(const std::vector<std::string>& argv) {
  const auto start = std::chrono::steady_clock::now();
  const ChildResult result = run_child(argv, "", {}, 600.0);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  return result.exit_status == 0 ? seconds.count() : -1.0;
}

double time_program_into_new_file(const std::vector<std::string>& argv, const std::string& output) {
  std::remove(output.c_str());
  return time_program(argv);
}

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
