#include "waiting_viewer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Writes text to fd; a reader that has gone away is no fault of
// capture-view's, so a failed write drops the rest.
void write_all(int fd, const char* text, size_t length) {
  while (length > 0) {
    const ssize_t n = write(fd, text, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    text += n;
    length -= static_cast<size_t>(n);
  }
}

}  // namespace

WaitingViewer::WaitingViewer(const std::string& program) {
  int ends[3][2];  // standard input, output and error: read end, write end
  int made = 0;
  while (made < 3 && pipe2(ends[made], O_CLOEXEC) == 0) ++made;
  if (made < 3) {
    cause = std::strerror(errno);
    for (int p = 0; p < made; ++p) {
      close(ends[p][0]);
      close(ends[p][1]);
    }
    return;
  }
  child.emplace(program, std::vector<std::string>{"marker-viewer"}, ends[0][0], ends[1][1],
                ends[2][1]);
  if (!child->running()) cause = child->error();
  // The viewer has its own copies of its ends.
  close(ends[0][0]);
  close(ends[1][1]);
  close(ends[2][1]);
  prompt_answer = ends[0][1];
  held_output[0] = ends[1][0];
  held_output[1] = ends[2][0];
}

WaitingViewer::~WaitingViewer() {
  if (running()) child->stop();
  for (int fd : {prompt_answer, held_output[0], held_output[1]}) {
    if (fd >= 0) close(fd);
  }
}

int WaitingViewer::answer(const std::string& file_name) {
  const std::string line = file_name + "\n";
  // A viewer that ends before reading its answer is no fault of capture-view's.
  if (write(prompt_answer, line.data(), line.size()) < 0) errno = 0;
  close(prompt_answer);
  prompt_answer = -1;
  // Standard output and error, each passed on to capture-view's own.
  pollfd held[2] = {{held_output[0], POLLIN, 0}, {held_output[1], POLLIN, 0}};
  const int destination[2] = {STDOUT_FILENO, STDERR_FILENO};
  char buffer[4096];
  while (held[0].fd >= 0 || held[1].fd >= 0) {
    if (poll(held, 2, -1) < 0) {
      if (errno == EINTR) continue;  // a signal, passed on to the viewer
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (held[i].fd < 0 || held[i].revents == 0) continue;
      const ssize_t n = read(held[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        write_all(destination[i], buffer, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        held[i].fd = -1;  // ended; closed with the object
      }
    }
  }
  return child->wait();
}
