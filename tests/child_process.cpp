#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const char* what) {
  std::perror(what);
  std::abort();
}

}  // namespace

std::vector<std::string> environment_with(const std::vector<std::string>& extra_env) {
  std::vector<std::string> entries;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    const std::string name = entry.substr(0, entry.find('=') + 1);
    bool replaced = false;
    for (const std::string& extra : extra_env) {
      replaced = replaced || extra.compare(0, name.size(), name) == 0;
    }
    if (!replaced) entries.push_back(entry);
  }
  entries.insert(entries.end(), extra_env.begin(), extra_env.end());
  return entries;
}

namespace {

std::vector<char*> pointers_to(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

void close_and_forget(int& fd) {
  close(fd);
  fd = -1;
}

int milliseconds_until(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Appends what is there on fd to text; closes fd at its end.
void drain(int& fd, std::string& text) {
  char buffer[65536];
  const ssize_t n = read(fd, buffer, sizeof buffer);
  if (n > 0) {
    text.append(buffer, static_cast<size_t>(n));
  } else {
    close_and_forget(fd);
  }
}

}  // namespace

namespace {

// Forks a child whose standard input, output and error are the given
// descriptors (a negative one leaves that stream closed) and which then runs
// body; the child never returns from here.
pid_t fork_child(int input_fd, int output_fd, int error_fd, const std::function<void()>& body) {
  std::fflush(stdout);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) fail("fork");
  if (pid == 0) {
    // The child ends with the test process: a test that crashes must not
    // leave a program running that holds the test's output open, or ctest
    // waits for it until its own time-out.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    // The child starts as from a shell, whatever signals the test ignores.
    signal(SIGPIPE, SIG_DFL);
    const int targets[][2] = {
        {input_fd, STDIN_FILENO}, {output_fd, STDOUT_FILENO}, {error_fd, STDERR_FILENO}};
    for (const auto& [fd, target] : targets) {
      if (fd < 0)
        close(target);
      else if (fd != target)
        dup2(fd, target);
    }
    body();
    std::fflush(stdout);
    _exit(0);
  }
  return pid;
}

double seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + 1e-6 * static_cast<double>(time.tv_usec);
}

// Feeds input to in_fd and collects out_fd and err_fd (each may be -1) until
// both end, then waits for the child pid; kills it at time_limit_seconds.
ChildResult collect(pid_t pid, int in_fd, int out_fd, int err_fd, const std::string& input,
                    double time_limit_seconds) {
  // A child that ends without reading its input must not kill us with SIGPIPE.
  signal(SIGPIPE, SIG_IGN);
  if (in_fd >= 0) fcntl(in_fd, F_SETFL, O_NONBLOCK);
  ChildResult result;
  result.time_limit_seconds = time_limit_seconds;
  const Clock::time_point deadline =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(
                         std::chrono::duration<double>(time_limit_seconds));
  size_t written = 0;
  if (input.empty() && in_fd >= 0) close_and_forget(in_fd);
  while ((out_fd >= 0 || err_fd >= 0) && !result.timed_out) {
    pollfd fds[3] = {{in_fd, POLLOUT, 0}, {out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
    if (poll(fds, 3, milliseconds_until(deadline)) == 0) {
      result.timed_out = true;
    }
    if (fds[0].revents != 0) {
      const ssize_t n = write(in_fd, input.data() + written, input.size() - written);
      written += n > 0 ? static_cast<size_t>(n) : 0;
      if (n < 0 || written == input.size()) close_and_forget(in_fd);
    }
    if (fds[1].revents != 0) drain(out_fd, result.out);
    if (fds[2].revents != 0) drain(err_fd, result.err);
  }
  int status = 0;
  rusage usage{};
  while (!result.timed_out && wait4(pid, &status, WNOHANG, &usage) == 0) {
    result.timed_out = Clock::now() >= deadline;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (result.timed_out) {
    kill(pid, SIGKILL);
    wait4(pid, &status, 0, &usage);
  }
  for (int fd : {in_fd, out_fd, err_fd}) {
    if (fd >= 0) close(fd);
  }
  if (WIFEXITED(status) && !result.timed_out) result.exit_status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.cpu_seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  result.peak_rss_kib = usage.ru_maxrss;
  return result;
}

void make_pipe(int ends[2]) {
  if (pipe2(ends, O_CLOEXEC) != 0) fail("pipe2");
}

}  // namespace

pid_t start_child(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                  int input_fd, int output_fd, int error_fd) {
  std::vector<std::string> args = argv;
  std::vector<std::string> entries = env;
  std::vector<char*> arg_pointers = pointers_to(args);
  std::vector<char*> env_pointers = pointers_to(entries);
  return fork_child(input_fd, output_fd, error_fd, [&] {
    execve(arg_pointers[0], arg_pointers.data(), env_pointers.data());
    _exit(127);
  });
}

ChildResult run_child(const std::vector<std::string>& argv, const std::string& input,
                      const std::vector<std::string>& extra_env, double time_limit_seconds) {
  int in_pipe[2], out_pipe[2], err_pipe[2];
  make_pipe(in_pipe);
  make_pipe(out_pipe);
  make_pipe(err_pipe);
  const pid_t pid =
      start_child(argv, environment_with(extra_env), in_pipe[0], out_pipe[1], err_pipe[1]);
  close(in_pipe[0]);
  close(out_pipe[1]);
  close(err_pipe[1]);
  return collect(pid, in_pipe[1], out_pipe[0], err_pipe[0], input, time_limit_seconds);
}

std::string deadline_message(const ChildResult& result) {
  if (!result.timed_out) return "";
  return "the program did not end within " +
         std::to_string(std::lround(result.time_limit_seconds)) + " s (deadline)";
}

ChildResult run_in_child(const std::function<void()>& work, double time_limit_seconds) {
  int out_pipe[2];
  make_pipe(out_pipe);
  const pid_t pid = fork_child(STDIN_FILENO, out_pipe[1], STDERR_FILENO, work);
  close(out_pipe[1]);
  return collect(pid, -1, out_pipe[0], -1, "", time_limit_seconds);
}
