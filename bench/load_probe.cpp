// Runs each measured load in a forked child: fresh heap, own peak RSS, and a
// bad file that ends the process with exit(1) ends only the child.
#include "load_probe.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "motion_data.h"

namespace {

// Seconds taken by the two steps, sent from the child to the parent.
struct StepTimes {
  double load_seconds;
  double fill_seconds;
};

// In the child: loads, fills, sends the times and ends the process.
[[noreturn]] void load_and_report(const char* path, int pipe_out) {
  using Clock = std::chrono::steady_clock;
  static MotionData data;
  const Clock::time_point start = Clock::now();
  load_motion_data(path, data);
  const Clock::time_point loaded = Clock::now();
  data.fill_gaps();
  const Clock::time_point filled = Clock::now();
  const StepTimes times{std::chrono::duration<double>(loaded - start).count(),
                        std::chrono::duration<double>(filled - loaded).count()};
  const bool sent = write(pipe_out, &times, sizeof times) == sizeof times;
  std::fflush(stdout);
  _exit(sent ? 0 : 1);
}

double seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + 1e-6 * static_cast<double>(time.tv_usec);
}

// Waits for the child and returns its exit status (-1 when it did not exit
// normally); run gets the child's processor time and peak resident set.
int wait_for(pid_t child, LoadRun& run) {
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return -1;
  run.cpu_seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  run.peak_rss_kib = usage.ru_maxrss;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

LoadRun run_load_in_child(const char* path) {
  LoadRun run;
  int fds[2];
  if (pipe(fds) != 0) return run;
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    load_and_report(path, fds[1]);
  }
  close(fds[1]);
  if (child < 0) {
    close(fds[0]);
    return run;
  }
  StepTimes times{};
  const bool received = read(fds[0], &times, sizeof times) == sizeof times;
  close(fds[0]);
  const int status = wait_for(child, run);
  run.ok = received && status == 0;
  run.load_seconds = times.load_seconds;
  run.fill_seconds = times.fill_seconds;
  return run;
}

long idle_child_rss_kib() {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) _exit(0);
  LoadRun run;
  if (child < 0 || wait_for(child, run) != 0) return 0;
  return run.peak_rss_kib;
}
