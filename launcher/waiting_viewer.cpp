#include "waiting_viewer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Writes text to standard output; a reader that has gone away is no fault
// of capture-view's, so a failed write drops the rest.
void write_to_standard_output(const char* text, size_t length) {
  while (length > 0) {
    const ssize_t n = write(STDOUT_FILENO, text, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    text += n;
    length -= static_cast<size_t>(n);
  }
}

}  // namespace

WaitingViewer::WaitingViewer(const std::string& program) {
  int input[2];
  int output[2];
  if (pipe2(input, O_CLOEXEC) != 0) {
    cause = std::strerror(errno);
    return;
  }
  if (pipe2(output, O_CLOEXEC) != 0) {
    cause = std::strerror(errno);
    close(input[0]);
    close(input[1]);
    return;
  }
  child.emplace(program, std::vector<std::string>{"marker-viewer"}, input[0], output[1]);
  close(input[0]);
  close(output[1]);
  prompt_answer = input[1];
  viewer_output = output[0];
  if (!child->running()) cause = child->error();
}

WaitingViewer::~WaitingViewer() {
  if (running()) dismiss();
  if (prompt_answer >= 0) close(prompt_answer);
  if (viewer_output >= 0) close(viewer_output);
}

void WaitingViewer::dismiss() { child->stop(); }

int WaitingViewer::answer(const std::string& file_name) {
  const std::string line = file_name + "\n";
  // A viewer that ends before reading its answer is no fault of capture-view's.
  if (write(prompt_answer, line.data(), line.size()) < 0) errno = 0;
  close(prompt_answer);
  prompt_answer = -1;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(viewer_output, buffer, sizeof buffer);
    if (n > 0) {
      write_to_standard_output(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  return child->wait();
}
