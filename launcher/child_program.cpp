#include "child_program.h"

#include <errno.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

namespace {

volatile sig_atomic_t child_pid = 0;
volatile sig_atomic_t received_signal = 0;

void pass_on(int signal_number) {
  if (received_signal == 0) received_signal = signal_number;
  if (child_pid > 0) kill(static_cast<pid_t>(child_pid), signal_number);
}

constexpr int ending_signals[] = {SIGINT, SIGTERM, SIGHUP};

}  // namespace

void forward_ending_signals() {
  struct sigaction action {};
  action.sa_handler = pass_on;
  sigemptyset(&action.sa_mask);
  for (int s : ending_signals) sigaddset(&action.sa_mask, s);
  for (int s : ending_signals) sigaction(s, &action, nullptr);
}

int ending_signal() { return received_signal; }

ChildProgram::ChildProgram(const std::string& program, const std::vector<std::string>& arguments,
                           int input_fd, int output_fd) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input_fd, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output_fd, STDOUT_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

  // Held back until the child's id is known, so none is lost in between.
  sigset_t ending;
  sigset_t before;
  sigemptyset(&ending);
  for (int s : ending_signals) sigaddset(&ending, s);
  sigprocmask(SIG_BLOCK, &ending, &before);
  pid_t started = -1;
  const int failed =
      posix_spawn(&started, program.c_str(), &actions, &attributes, argv.data(), environ);
  if (failed == 0) {
    pid = started;
    child_pid = started;
    if (received_signal != 0) kill(started, received_signal);
  } else {
    cause = "cannot start " + program + ": " + std::strerror(failed);
  }
  sigprocmask(SIG_SETMASK, &before, nullptr);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
}

int ChildProgram::wait() {
  int raw = 0;
  while (waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
  }
  child_pid = 0;
  pid = -1;
  return WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : WEXITSTATUS(raw);
}
