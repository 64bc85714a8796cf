#include "program_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "child_process.h"

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point deadline_after(double seconds) {
  return Clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000.0));
}

void pause_briefly() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

}  // namespace

ProgramRun::ProgramRun(const std::string& program, const std::string& input,
                       const std::vector<std::string>& arguments, Streams streams) {
  // A program that ends before reading all its input must not kill the test.
  signal(SIGPIPE, SIG_IGN);
  int to_child[2];
  int from_child[2];
  if (pipe2(to_child, O_CLOEXEC) != 0) return;
  if (pipe2(from_child, O_CLOEXEC) != 0) {
    close(to_child[0]);
    close(to_child[1]);
    return;
  }
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  // Closed before the program starts, so its first write already finds no reader.
  if (streams == Streams::output_unread) close(from_child[0]);
  child =
      start_child(argv, environment_with({}), streams == Streams::input_closed ? -1 : to_child[0],
                  streams == Streams::output_closed ? -1 : from_child[1],
                  streams == Streams::error_closed ? -1 : STDERR_FILENO);
  close(to_child[0]);
  close(from_child[1]);
  output_fd = streams == Streams::output_unread ? -1 : from_child[0];
  // The inputs are far below the pipe's capacity, so this never blocks.
  if (child > 0 &&
      write(to_child[1], input.data(), input.size()) != static_cast<ssize_t>(input.size()))
    std::perror("writing the program's input");
  close(to_child[1]);
}

ProgramRun::~ProgramRun() {
  if (child > 0 && !ended && waitpid(child, nullptr, WNOHANG) == 0) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  if (output_fd >= 0) close(output_fd);
}

int ProgramRun::wait_for_exit(double seconds) {
  const auto deadline = deadline_after(seconds);
  while (!ended && child > 0) {
    int raw = 0;
    const pid_t done = waitpid(child, &raw, WNOHANG);
    if (done == child) {
      ended = true;
      exit_status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    } else if (done < 0 || Clock::now() > deadline) {
      return -1;
    } else {
      pause_briefly();
    }
  }
  return exit_status;
}

std::string ProgramRun::output() {
  std::string text;
  char buffer[4096];
  // Reads until the write end is closed, at most five seconds.
  const auto deadline = deadline_after(5.0);
  while (output_fd >= 0 && Clock::now() < deadline) {
    pollfd ready = {output_fd, POLLIN, 0};
    if (poll(&ready, 1, 100) <= 0) continue;
    const ssize_t n = read(output_fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

std::string ProgramRun::window() const {
  const std::string found = run_command("xdotool search --all --pid " + std::to_string(child) +
                                        " --name '^Displays the Markers$' 2>/dev/null");
  return found.substr(0, found.find('\n'));
}

std::string ProgramRun::wait_for_window(double seconds) const {
  const auto deadline = deadline_after(seconds);
  for (;;) {
    const std::string id = window();
    if (!id.empty() || Clock::now() > deadline) return id;
    pause_briefly();
  }
}

void ProgramRun::send_signal(int signal_number) const {
  if (child > 0 && !ended) kill(child, signal_number);
}

std::string run_command(const std::string& command) {
  return run_child({"/bin/sh", "-c", command}, "", {}, 10.0).out;
}
