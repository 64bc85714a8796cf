// Runs each measured load in a forked child: fresh heap, own peak RSS, and a
// bad file that ends the process with exit(1) ends only the child.
#include "load_probe.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "motion_data.h"
#include "plain_reader.h"

namespace {

using Clock = std::chrono::steady_clock;

// Seconds taken by the two steps, sent from the child to the parent.
struct StepTimes {
  double load_seconds;
  double fill_seconds;
};

double seconds_between(Clock::time_point start, Clock::time_point end) {
  return std::chrono::duration<double>(end - start).count();
}

// The project's loader: load_motion_data, then fill_gaps.
StepTimes load_and_fill(const char* path) {
  static MotionData data;
  const Clock::time_point start = Clock::now();
  load_motion_data(path, data);
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

// In the child: runs work on path, sends the times and ends the process.
[[noreturn]] void work_and_report(StepTimes (*work)(const char*), const char* path,
                                  int pipe_out) {
  const StepTimes times = work(path);
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

// Forks a child whose pipe_end is the write end of a pipe to the parent; in
// the parent pipe_end is the read end. Returns what fork returns; -1 also
// when the pipe cannot be made. Flushes standard output first so that
// nothing buffered is written twice.
pid_t fork_with_pipe(int& pipe_end) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  std::fflush(stdout);
  const pid_t child = fork();
  close(child == 0 ? fds[0] : fds[1]);
  pipe_end = child == 0 ? fds[1] : fds[0];
  if (child < 0) close(pipe_end);
  return child;
}

// Everything the child writes into the pipe, up to its end; closes it.
std::string read_to_end(int pipe_end) {
  std::string text;
  char chunk[256];
  ssize_t got = 0;
  while ((got = read(pipe_end, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<size_t>(got));
  close(pipe_end);
  return text;
}

LoadRun run_in_child(StepTimes (*work)(const char*), const char* path) {
  LoadRun run;
  int pipe_end = -1;
  const pid_t child = fork_with_pipe(pipe_end);
  if (child == 0) work_and_report(work, path, pipe_end);
  if (child < 0) return run;
  const std::string sent = read_to_end(pipe_end);
  const int status = wait_for(child, run);
  StepTimes times{};
  run.ok = sent.size() == sizeof times && status == 0;
  if (run.ok) std::memcpy(&times, sent.data(), sizeof times);
  run.load_seconds = times.load_seconds;
  run.fill_seconds = times.fill_seconds;
  return run;
}

}  // namespace

LoadRun run_load_in_child(const char* path) { return run_in_child(load_and_fill, path); }

LoadRun run_plain_read_in_child(const char* path) { return run_in_child(read_plainly, path); }

ScriptRun run_pandas_read_csv(const char* python, const char* script, const char* path) {
  ScriptRun run;
  int pipe_end = -1;
  const pid_t child = fork_with_pipe(pipe_end);
  if (child == 0) {
    dup2(pipe_end, STDOUT_FILENO);
    execl(python, python, script, path, static_cast<char*>(nullptr));
    _exit(127);
  }
  if (child < 0) return run;
  const std::string printed = read_to_end(pipe_end);
  LoadRun usage;
  const int status = wait_for(child, usage);
  run.ok = status == 0 && std::sscanf(printed.c_str(), "%lf %lf", &run.load_seconds,
                                      &run.import_seconds) == 2;
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
