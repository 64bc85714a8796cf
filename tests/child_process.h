// Runs a program, or a function of the calling process, as a child process
// and collects its output, its end and what it used.
#ifndef CHILD_PROCESS_H
#define CHILD_PROCESS_H

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// How a child process ended and what it wrote.
struct ChildResult {
  bool timed_out = false;  // killed after the time limit
  int exit_status = -1;    // status passed to exit, or -1 when killed
  int signal = 0;          // signal that ended it, or 0
  std::string out;         // everything written to standard output
  std::string err;         // everything written to standard error
  double cpu_seconds = 0;  // the child's user + system time
  long peak_rss_kib = 0;   // the child's peak resident set, in KiB

  double time_limit_seconds = 0;  // the limit it was given
};

// Starts argv[0] (a path, not searched in PATH) with the arguments argv[1..]
// and the environment env ("NAME=VALUE" entries), its standard input, output
// and error on the given descriptors; a negative one leaves that stream
// closed. Those should be close-on-exec, so the child keeps no other end of
// the caller's pipes. The child starts with SIGPIPE at its default action
// and is killed when the calling process ends.
// Returns the child's id; aborts the test program when no child can be made.
pid_t start_child(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                  int input_fd, int output_fd, int error_fd);

// The current environment with the NAME=VALUE entries of extra_env added;
// an extra entry replaces an inherited one of the same name.
std::vector<std::string> environment_with(const std::vector<std::string>& extra_env);

// Starts argv[0] (a path, not searched in PATH) with the arguments argv[1..],
// the current environment plus the NAME=VALUE entries of extra_env, and
// `input` on its standard input, which is closed after it. Waits at most
// time_limit_seconds, then kills the child. Aborts the test program when the
// child cannot be started at all.
ChildResult run_child(const std::vector<std::string>& argv, const std::string& input,
                      const std::vector<std::string>& extra_env, double time_limit_seconds);

// For a test's failure message: "the program did not end within N s
// (deadline)" when the child was killed at its time limit, else "".
std::string deadline_message(const ChildResult& result);

// Runs work in a forked copy of the calling process, its standard output on
// a pipe and its standard error shared with the caller's, and ends the child
// with status 0 when work returns; work may end it earlier with exit or
// _exit. Flushes standard output first, so nothing buffered is written twice.
// The child's peak resident set includes the caller's at the fork. Waits at
// most time_limit_seconds, then kills the child; aborts the test program when
// no child can be made.
ChildResult run_in_child(const std::function<void()>& work, double time_limit_seconds = 300);

#endif  // CHILD_PROCESS_H
