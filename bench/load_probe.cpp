// Runs each measured load in a forked child: fresh heap, own peak RSS, and a
// bad file that ends the process with exit(1) ends only the child.
#include "load_probe.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "child_process.h"
#include "motion_data.h"
#include "plain_reader.h"

namespace {

using Clock = std::chrono::steady_clock;

// Far longer than any load of the benchmark's captures takes.
constexpr double child_time_limit_seconds = 3600;

// Seconds taken by the two steps, sent from the child to the parent.
struct StepTimes {
  double load_seconds;
  double fill_seconds;
};

double seconds_between(Clock::time_point start, Clock::time_point end) {
  return std::chrono::duration<double>(end - start).count();
}

// The project's loader: load_motion_data on the given cores (0: as the
// viewer calls it), then fill_gaps.
StepTimes load_and_fill(const char* path, int cores) {
  static MotionData data;
  const Clock::time_point start = Clock::now();
  if (cores > 0) {
    load_motion_data(path, data, cores);
  } else {
    load_motion_data(path, data);
  }
  const Clock::time_point loaded = Clock::now();
  data.fill_gaps();
  const Clock::time_point filled = Clock::now();
  return {seconds_between(start, loaded), seconds_between(loaded, filled)};
}

// The baseline reader; a file it cannot read ends the child with status 1.
StepTimes read_plainly(const char* path) {
  static std::vector<double> values;
  const Clock::time_point start = Clock::now();
  if (read_with_fgets_strtod(path, values) == 0) _exit(1);
  return {seconds_between(start, Clock::now()), 0.0};
}

// Runs work in a child process; the child sends the two times on its
// standard output, after anything the load printed there (gap-filling
// warnings, or the "Error:" line of a bad file), which is passed on.
LoadRun measure_in_child(const std::function<StepTimes()>& work) {
  const ChildResult child = run_in_child(
      [&work] {
        const StepTimes times = work();
        std::fflush(stdout);
        if (write(STDOUT_FILENO, &times, sizeof times) != sizeof times) _exit(1);
      },
      child_time_limit_seconds);
  LoadRun run;
  run.cpu_seconds = child.cpu_seconds;
  run.peak_rss_kib = child.peak_rss_kib;
  run.ok = child.exit_status == 0 && child.out.size() >= sizeof(StepTimes);
  const size_t printed = child.out.size() - (run.ok ? sizeof(StepTimes) : 0);
  std::fwrite(child.out.data(), 1, printed, stdout);
  StepTimes times{};
  if (run.ok) std::memcpy(&times, child.out.data() + printed, sizeof times);
  run.load_seconds = times.load_seconds;
  run.fill_seconds = times.fill_seconds;
  return run;
}

}  // namespace

LoadRun run_load_in_child(const char* path, int cores) {
  return measure_in_child([path, cores] { return load_and_fill(path, cores); });
}

LoadRun run_plain_read_in_child(const char* path) {
  return measure_in_child([path] { return read_plainly(path); });
}

ScriptRun run_read_script(const std::vector<std::string>& command,
                          const std::vector<std::string>& extra_env) {
  ScriptRun run;
  const ChildResult child = run_child(command, "", extra_env, child_time_limit_seconds);
  run.ok = child.exit_status == 0 &&
           std::sscanf(child.out.c_str(), "%lf %lf", &run.load_seconds, &run.import_seconds) == 2;
  return run;
}

long idle_child_rss_kib() {
  const ChildResult child = run_in_child([] {}, child_time_limit_seconds);
  return child.exit_status == 0 ? child.peak_rss_kib : 0;
}
