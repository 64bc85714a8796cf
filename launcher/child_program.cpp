#include "child_program.h"

#include <errno.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

namespace {

constexpr int ending_signals[] = {SIGINT, SIGTERM, SIGHUP};

// The running children (the converter and the viewer run at once); 0 in a free slot.
constexpr int most_children = 2;
volatile sig_atomic_t child_pids[most_children] = {0, 0};
volatile sig_atomic_t received_signal = 0;

void pass_on(int signal_number) {
  if (received_signal == 0) received_signal = signal_number;
  for (const volatile sig_atomic_t& child : child_pids) {
    if (child > 0) kill(static_cast<pid_t>(child), signal_number);
  }
}

// Holds the ending signals back while it lives, so that pass_on never sees
// the table of children half changed.
class EndingSignalsHeld {
 public:
  EndingSignalsHeld() {
    sigset_t ending;
    sigemptyset(&ending);
    for (int s : ending_signals) sigaddset(&ending, s);
    sigprocmask(SIG_BLOCK, &ending, &before);
  }
  ~EndingSignalsHeld() { sigprocmask(SIG_SETMASK, &before, nullptr); }
  EndingSignalsHeld(const EndingSignalsHeld&) = delete;
  EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

 private:
  sigset_t before;
};

// Replaces old_pid by new_pid in the table pass_on reads; signals held back.
void note_child(pid_t old_pid, pid_t new_pid) {
  for (volatile sig_atomic_t& child : child_pids) {
    if (child == old_pid) {
      child = new_pid;
      return;
    }
  }
}

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
                           int input_fd, int output_fd, int error_fd) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input_fd, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output_fd, STDOUT_FILENO);
  if (error_fd >= 0) posix_spawn_file_actions_adddup2(&actions, error_fd, STDERR_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

  {
    // Held back until the child's id is known, so none is lost in between.
    const EndingSignalsHeld held;
    pid_t started = -1;
    const int failed =
        posix_spawn(&started, program.c_str(), &actions, &attributes, argv.data(), environ);
    if (failed == 0) {
      pid = started;
      note_child(0, started);
      if (received_signal != 0) kill(started, received_signal);
    } else {
      cause = "cannot start " + program + ": " + std::strerror(failed);
    }
  }
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
}

void ChildProgram::stop() {
  kill(pid, SIGKILL);
  wait();
}

int ChildProgram::wait() {
  int raw = 0;
  while (waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
  }
  {
    const EndingSignalsHeld held;
    note_child(pid, 0);
  }
  pid = -1;
  return WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : WEXITSTATUS(raw);
}
