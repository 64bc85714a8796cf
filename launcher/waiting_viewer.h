// marker-viewer started before its capture is ready, so that its start-up
// (loading its libraries, reaching the display) overlaps the conversion.
// It waits at its prompt, and everything it writes, to standard output or
// error, waits in a pipe until its prompt is answered: when the conversion
// fails, none of it shows.
#ifndef WAITING_VIEWER_H
#define WAITING_VIEWER_H

#include <optional>
#include <string>

#include "child_program.h"

class WaitingViewer {
 public:
  // Starts program with its standard input, output and error on pipes of its own.
  explicit WaitingViewer(const std::string& program);
  // Closes the pipes; a viewer still running is ended unseen (SIGKILL),
  // and what it wrote is dropped.
  ~WaitingViewer();
  WaitingViewer(const WaitingViewer&) = delete;
  WaitingViewer& operator=(const WaitingViewer&) = delete;

  bool running() const { return child && child->running(); }
  // Why it is not running, when it could not be started.
  const std::string& error() const { return cause; }

  // Answers the prompt with file_name, then passes everything the viewer
  // writes on to standard output and error until it ends. Returns its
  // status (see ChildProgram::wait).
  int answer(const std::string& file_name);

 private:
  int prompt_answer = -1;         // the write end of the viewer's standard input
  int held_output[2] = {-1, -1};  // the read ends of its standard output and error
  std::optional<ChildProgram> child;
  std::string cause;
};

#endif  // WAITING_VIEWER_H
