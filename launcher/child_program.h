// A program of the project started as a child of capture-view, and the
// signals that end capture-view passed on to it (to both of two children
// running at once).
#ifndef CHILD_PROGRAM_H
#define CHILD_PROGRAM_H

#include <sys/types.h>

#include <string>
#include <vector>

// Makes SIGINT, SIGTERM and SIGHUP pass on to the running child (see
// ChildProgram) and be remembered, instead of ending capture-view at once, so
// that it can clean up after the child has ended. Call once, first.
void forward_ending_signals();

// The first of SIGINT, SIGTERM, SIGHUP received so far, or 0.
int ending_signal();

class ChildProgram {
 public:
  // Starts program with arguments (argv[0] is program), its standard input
  // and output on the given descriptors, and its standard error on error_fd,
  // or shared when that is -1. Every other descriptor not marked
  // close-on-exec is inherited. While it runs, the signals of
  // forward_ending_signals reach it too. Returns with running() false and
  // the cause in error() when it cannot be started.
  ChildProgram(const std::string& program, const std::vector<std::string>& arguments, int input_fd,
               int output_fd, int error_fd = -1);

  bool running() const { return pid > 0; }
  const std::string& error() const { return cause; }

  // Ends the child at once (SIGKILL) and waits for it.
  void stop();

  // Waits for the child to end (through any signal capture-view receives)
  // and returns its exit status, or 128 + the signal that ended it.
  int wait();

 private:
  pid_t pid = -1;
  std::string cause;
};

#endif  // CHILD_PROGRAM_H
